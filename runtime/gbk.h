// Double-byte aware scanning of GBK text: a lead byte (0x81-0xFE) and the
// byte after it form one character, so a trail byte is never taken for ASCII.
#pragma once
#include <cstdint>
#include <string>

namespace qy {

inline bool IsGbkLeadByte(uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }

// Last occurrence of an ASCII byte that is not the trail of a double-byte
// character, or null.
const char* LastGbkByte(const char* text, char wanted);
// First such occurrence, or null.
const char* FirstGbkByte(const char* text, char wanted);

// Bytes of the character at text: 2 for a lead byte followed by a non-zero
// byte, 1 for any other byte, 0 at the terminator.
inline int GbkCharLength(const char* text) {
    if (!*text) return 0;
    return IsGbkLeadByte(static_cast<uint8_t>(*text)) && text[1] ? 2 : 1;
}

// The text with its full-width forms replaced by their single-byte
// counterparts: A3A1-A3FE become 0x21-0x7E, A1A1 a space, A1AB "~", A1EE
// and A1EF "*"; every other character stays as it is.
std::string GbkToHalfWidth(const char* text);

}  // namespace qy
