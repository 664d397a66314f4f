// A bounds-checked cursor over untrusted bytes: templates, pictures, WAV data
// and archives all read through it. A read that does not fit returns zeros
// (or an empty value) and fails the cursor for good with a reason, so a
// decoder can read a whole header and check ok() once. Nothing is allocated
// before the data has been checked to hold what a length field claims.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace qy {

class ByteCursor {
public:
    ByteCursor(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

    bool ok() const { return failure_ == nullptr; }
    // Why the cursor failed first, or null while it is still good.
    const char* failure() const { return failure_; }
    size_t size() const { return size_; }
    size_t position() const { return position_; }
    size_t remaining() const { return size_ - position_; }
    bool atEnd() const { return position_ == size_; }
    bool Has(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }
    const uint8_t* data() const { return data_; }

    // Marks the cursor failed; the first reason is kept.
    void Fail(const char* reason) {
        if (!failure_) failure_ = reason;
        position_ = size_;
    }

    void Seek(size_t offset) {
        if (offset > size_) Fail("seek past the end");
        else position_ = offset;
    }
    void Skip(size_t count) { Take(count); }

    // Address of the next count bytes, or null (and failed) when they are not all there.
    const uint8_t* Take(size_t count) {
        if (!ok() || count > remaining()) {
            Fail("data ends early");
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
        return p ? LoadU16(p) : 0;
    }
    uint32_t U32() {
        const uint8_t* p = Take(4);
        return p ? LoadU32(p) : 0;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint16_t U16BE() {
        const uint8_t* p = Take(2);
        return p ? static_cast<uint16_t>(p[0] << 8 | p[1]) : 0;
    }
    uint32_t U32BE() {
        const uint8_t* p = Take(4);
        return p ? static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
                       static_cast<uint32_t>(p[2]) << 8 | p[3]
                 : 0;
    }

    // An int32 length, then that many bytes; null (and failed) for a negative
    // or over-long length, checked before the caller copies anything.
    const uint8_t* Counted(size_t* length) {
        int32_t stated = I32();
        *length = 0;
        if (stated < 0) {
            Fail("negative length");
            return nullptr;
        }
        const uint8_t* p = Take(static_cast<size_t>(stated));
        if (p) *length = static_cast<size_t>(stated);
        return p;
    }
    std::string CountedText() {
        size_t length;
        const uint8_t* p = Counted(&length);
        return p ? std::string(reinterpret_cast<const char*>(p), length) : std::string();
    }
    // Bytes up to the next 0 byte; the terminator is consumed.
    std::string ZeroText() {
        const void* end = ok() ? std::memchr(data_ + position_, 0, remaining()) : nullptr;
        if (!end) {
            Fail("unterminated text");
            return std::string();
        }
        const char* start = reinterpret_cast<const char*>(data_ + position_);
        size_t length = static_cast<size_t>(static_cast<const char*>(end) - start);
        position_ += length + 1;
        return std::string(start, length);
    }

    // Random access that leaves the cursor where it is.
    uint8_t At(size_t offset) const { return offset < size_ ? data_[offset] : 0; }

    static uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
    static uint32_t LoadU32(const uint8_t* p) {
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    const char* failure_ = nullptr;
};

// Little-endian stores into a buffer the caller has sized.
inline void StoreU16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}
inline uint32_t LoadU32(const uint8_t* p) { return ByteCursor::LoadU32(p); }

}  // namespace qy
