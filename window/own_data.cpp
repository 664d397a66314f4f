#include "window/own_data.h"

#include <cstring>

namespace qy {

void FieldReader::Words(std::vector<int32_t>& v) {
    Bytes values = ReadBuffer(in_);
    Require(in_);
    if (values.size() % 4 != 0) throw TemplateError("item values not whole words");
    v.clear();
    for (size_t i = 0; i < values.size(); i += 4) v.push_back(static_cast<int32_t>(LoadU32(&values[i])));
}

void FieldWriter::Words(const std::vector<int32_t>& v) {
    ByteWriter values;
    for (int32_t word : v) values.I32(word);
    out_.Buffer(values.bytes());
}

Bytes LogFont::Make(const std::string& face, int32_t height, int32_t weight) {
    Bytes font(kSize, 0);
    StoreU32(&font[kHeight], static_cast<uint32_t>(height));
    StoreU32(&font[kWeight], static_cast<uint32_t>(weight));
    font[kCharSet] = kGb2312CharSet;
    std::memcpy(&font[kFaceName], face.data(), face.size() < kFaceSize - 1 ? face.size() : kFaceSize - 1);
    return font;
}

std::string LogFont::Face(const Bytes& font) {
    if (font.size() != kSize) return std::string();
    const char* face = reinterpret_cast<const char*>(&font[kFaceName]);
    return std::string(face, strnlen(face, kFaceSize));
}

}  // namespace qy
