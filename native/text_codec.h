// Conversions between the core's GB18030 texts, UTF-8 and code points.
#pragma once
#include <cstdint>
#include <string>

namespace native {

// False when the bytes are not valid UTF-8.
bool Utf8ToGb18030(const std::string& utf8, std::string* gb);
// A byte that starts no character (half of one, cut by a byte position)
// becomes U+FFFD.
bool Gb18030ToUtf8(const std::string& gb, std::string* utf8);
std::u32string Gb18030ToCodePoints(const std::string& gb);

}  // namespace native
