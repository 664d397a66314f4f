#include "window/byte_io.h"

namespace qy {

Bytes ReadBuffer(ByteCursor& in) {
    size_t length;
    const uint8_t* p = in.Counted(&length);
    return p ? Bytes(p, p + length) : Bytes();
}

std::vector<std::string> ReadTextList(ByteCursor& in) {
    uint32_t count = in.U16();
    if (count == 0xFFFF) count = in.U32();
    std::vector<std::string> texts;
    // Each text takes at least its four length bytes.
    if (count > in.remaining() / 4) {
        in.Fail("text list longer than its data");
        return texts;
    }
    texts.reserve(count);
    for (uint32_t i = 0; i < count && in.ok(); ++i) texts.push_back(in.CountedText());
    return texts;
}

std::vector<std::string> ReadTextList(const uint8_t* data, size_t size) {
    ByteCursor in(data, size);
    std::vector<std::string> texts = ReadTextList(in);
    Require(in);
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
