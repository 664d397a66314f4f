// Double-byte aware scanning of GBK text: a lead byte (0x81-0xFE) and the
// byte after it form one character, so a trail byte is never taken for ASCII.
#pragma once
#include <cstdint>

namespace qy {

inline bool IsGbkLeadByte(uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }

// Last occurrence of an ASCII byte that is not the trail of a double-byte
// character, or null.
const char* LastGbkByte(const char* text, char wanted);
// First such occurrence, or null.
const char* FirstGbkByte(const char* text, char wanted);

}  // namespace qy
