// Template bytes: writing, and the checks that turn a failed read of the
// shared byte cursor into a TemplateError, so a malformed block never
// reaches past its buffer. Byte-level only: compiles for the host generator
// as well.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/byte_cursor.h"

namespace qy {

struct TemplateError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

typedef std::vector<uint8_t> Bytes;

// Throws TemplateError with the cursor's failure reason once it has failed.
inline void Require(const ByteCursor& in) {
    if (!in.ok()) throw TemplateError(in.failure());
}
inline ByteCursor CursorOver(const Bytes& bytes) { return ByteCursor(bytes.data(), bytes.size()); }

// An int32 length, then that many bytes.
Bytes ReadBuffer(ByteCursor& in);
// 16-bit count (0xFFFF: an int32 count follows), then counted texts.
std::vector<std::string> ReadTextList(ByteCursor& in);
// A whole byte set as a text list; throws TemplateError when it is not one.
std::vector<std::string> ReadTextList(const uint8_t* data, size_t size);

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

    size_t position() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }
    Bytes Take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

}  // namespace qy
