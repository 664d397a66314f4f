#include "commands/code_page.h"

#include <windows.h>

#include <cstdint>

namespace qy {

namespace {

struct CodePageTables {
    bool lead[256] = {};
    uint8_t upper[256] = {};
    bool doubleByte = false;
};

// Upper-case form of one character of the code page, or the character
// itself when the locale has none or it does not map back to the same width.
int UpperInCodePage(const char* bytes, int length) {
    wchar_t wide[2];
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, length, wide, 2) != 1) return -1;
    wchar_t upper[2];
    if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, wide, 1, upper, 2) != 1) return -1;
    if (upper[0] == wide[0]) return -1;
    char back[4];
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, upper, 1, back, sizeof back, nullptr, &lossy);
    if (lossy || n != length) return -1;
    return length == 1 ? static_cast<uint8_t>(back[0])
                       : (static_cast<uint8_t>(back[0]) << 8) | static_cast<uint8_t>(back[1]);
}

CodePageTables BuildTables() {
    CodePageTables t;
    CPINFO info{};
    if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1) {
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
            for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) {
                t.lead[b] = true;
                t.doubleByte = true;
            }
    }
    for (int b = 0; b < 256; ++b) {
        t.upper[b] = static_cast<uint8_t>(b);
        if (b == 0 || t.lead[b]) continue;
        char c = static_cast<char>(b);
        int upper = UpperInCodePage(&c, 1);
        if (upper >= 0) t.upper[b] = static_cast<uint8_t>(upper);
    }
    return t;
}

const CodePageTables& Tables() {
    static const CodePageTables tables = BuildTables();
    return tables;
}

// The character at p as a 16-bit value, advancing p past it.
unsigned NextCharacter(const CodePageTables& t, const uint8_t*& p) {
    unsigned c = *p;
    if (c == 0) return 0;
    ++p;
    if (t.lead[c] && *p) return (c << 8) | *p++;
    return c;
}

unsigned Folded(const CodePageTables& t, unsigned c) {
    if (c < 256) return t.upper[c];
    char bytes[2] = {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    int upper = UpperInCodePage(bytes, 2);
    return upper >= 0 ? static_cast<unsigned>(upper) : c;
}

}  // namespace

int CompareMultiByteText(const char* a, const char* b, bool caseSensitive) {
    const CodePageTables& t = Tables();
    const auto* p = reinterpret_cast<const uint8_t*>(a);
    const auto* q = reinterpret_cast<const uint8_t*>(b);
    for (;;) {
        unsigned x = NextCharacter(t, p);
        unsigned y = NextCharacter(t, q);
        if (x != y && !caseSensitive) {
            x = Folded(t, x);
            y = Folded(t, y);
        }
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

}  // namespace qy
