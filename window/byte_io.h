// Bounds-checked little-endian reading and writing of template bytes. A read
// past the end throws TemplateError, so a malformed block never reaches past
// its buffer. Byte-level only: compiles for the host generator as well.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qy {

struct TemplateError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

typedef std::vector<uint8_t> Bytes;

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const Bytes& bytes) : data_(bytes.data()), size_(bytes.size()) {}

    size_t position() const { return position_; }
    size_t remaining() const { return size_ - position_; }
    bool atEnd() const { return position_ == size_; }

    const uint8_t* Take(size_t count);
    void Skip(size_t count) { Take(count); }
    uint8_t U8() { return *Take(1); }
    uint16_t U16();
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // int32 length, then that many bytes.
    Bytes Buffer();
    std::string CountedText();
    // Bytes up to the next 0 byte; the terminator is consumed.
    std::string ZeroText();
    // 16-bit count (0xFFFF: an int32 count follows), then counted texts.
    std::vector<std::string> TextList();

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

class ByteWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Raw(const void* data, size_t size);
    void Raw(const Bytes& bytes) { Raw(bytes.data(), bytes.size()); }
    void Buffer(const Bytes& bytes);
    void CountedText(const std::string& text);
    void ZeroText(const std::string& text);
    void TextList(const std::vector<std::string>& texts);

    const Bytes& bytes() const { return bytes_; }
    Bytes Take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

inline uint32_t LoadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace qy
