// A bounds-checked cursor over encoded picture bytes. A read past the end
// returns zeros and marks the cursor failed for good, so a decoder reads a
// whole header and then checks ok() once; raw memory is never indexed with
// a length that came from the file.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qy {

class PictureBytes {
public:
    PictureBytes(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

    bool ok() const { return ok_; }
    size_t size() const { return size_; }
    size_t position() const { return position_; }
    size_t remaining() const { return size_ - position_; }
    bool Has(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }

    void Seek(size_t offset) {
        if (offset > size_) Fail();
        else position_ = offset;
    }
    void Skip(size_t count) { Take(count); }

    // Address of the next count bytes, or null (and failed) when they are not all there.
    const uint8_t* Take(size_t count) {
        if (!ok_ || count > remaining()) {
            Fail();
            return nullptr;
        }
        const uint8_t* p = data_ + position_;
        position_ += count;
        return p;
    }
    uint8_t U8() {
        const uint8_t* p = Take(1);
        return p ? p[0] : 0;
    }
    uint16_t U16() {
        const uint8_t* p = Take(2);
        return p ? static_cast<uint16_t>(p[0] | (p[1] << 8)) : 0;
    }
    uint32_t U32() {
        const uint8_t* p = Take(4);
        return p ? static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24)
                 : 0;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }

    // Random access that leaves the cursor where it is.
    uint8_t At(size_t offset) const { return offset < size_ ? data_[offset] : 0; }
    const uint8_t* data() const { return data_; }

private:
    void Fail() {
        ok_ = false;
        position_ = size_;
    }

    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    bool ok_ = true;
};

inline void PutU16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace qy
