#include "window/byte_io.h"

#include <cstring>

namespace qy {

const uint8_t* ByteReader::Take(size_t count) {
    if (count > remaining()) throw TemplateError("template data ends early");
    const uint8_t* p = data_ + position_;
    position_ += count;
    return p;
}

uint16_t ByteReader::U16() {
    const uint8_t* p = Take(2);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ByteReader::U32() { return LoadU32(Take(4)); }

Bytes ByteReader::Buffer() {
    int32_t length = I32();
    if (length < 0) throw TemplateError("negative buffer length");
    const uint8_t* p = Take(static_cast<size_t>(length));
    return Bytes(p, p + length);
}

std::string ByteReader::CountedText() {
    int32_t length = I32();
    if (length < 0) throw TemplateError("negative text length");
    const uint8_t* p = Take(static_cast<size_t>(length));
    return std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(length));
}

std::string ByteReader::ZeroText() {
    const void* end = std::memchr(data_ + position_, 0, remaining());
    if (!end) throw TemplateError("unterminated text");
    size_t length = static_cast<size_t>(static_cast<const uint8_t*>(end) - (data_ + position_));
    std::string text(reinterpret_cast<const char*>(data_ + position_), length);
    position_ += length + 1;
    return text;
}

std::vector<std::string> ByteReader::TextList() {
    uint32_t count = U16();
    if (count == 0xFFFF) count = U32();
    // Each text takes at least its four length bytes.
    if (count > remaining() / 4) throw TemplateError("text list longer than its data");
    std::vector<std::string> texts;
    texts.reserve(count);
    for (uint32_t i = 0; i < count; ++i) texts.push_back(CountedText());
    return texts;
}

void ByteWriter::U16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
    uint8_t b[4];
    StoreU32(b, v);
    Raw(b, 4);
}

void ByteWriter::Raw(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
}

void ByteWriter::Buffer(const Bytes& bytes) {
    I32(static_cast<int32_t>(bytes.size()));
    Raw(bytes);
}

void ByteWriter::CountedText(const std::string& text) {
    I32(static_cast<int32_t>(text.size()));
    Raw(text.data(), text.size());
}

void ByteWriter::ZeroText(const std::string& text) {
    Raw(text.data(), text.size());
    U8(0);
}

void ByteWriter::TextList(const std::vector<std::string>& texts) {
    if (texts.size() >= 0xFFFF) {
        U16(0xFFFF);
        U32(static_cast<uint32_t>(texts.size()));
    } else {
        U16(static_cast<uint16_t>(texts.size()));
    }
    for (const std::string& text : texts) CountedText(text);
}

}  // namespace qy
