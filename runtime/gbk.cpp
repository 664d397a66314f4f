#include "runtime/gbk.h"

namespace qy {

const char* LastGbkByte(const char* text, char wanted) {
    const char* found = nullptr;
    for (const char* p = text; *p; ++p) {
        if (IsGbkLeadByte(static_cast<uint8_t>(*p)) && p[1]) {
            ++p;
            continue;
        }
        if (*p == wanted) found = p;
    }
    return found;
}

const char* FirstGbkByte(const char* text, char wanted) {
    for (const char* p = text; *p; ++p) {
        if (IsGbkLeadByte(static_cast<uint8_t>(*p)) && p[1]) {
            ++p;
            continue;
        }
        if (*p == wanted) return p;
    }
    return nullptr;
}

std::string GbkToHalfWidth(const char* text) {
    std::string out;
    for (const char* p = text; *p;) {
        int length = GbkCharLength(p);
        if (length == 2) {
            auto lead = static_cast<uint8_t>(p[0]), trail = static_cast<uint8_t>(p[1]);
            if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
                out += static_cast<char>(trail - 0x80);
            } else if (lead == 0xA1 && trail == 0xA1) {
                out += ' ';
            } else if (lead == 0xA1 && trail == 0xAB) {
                out += '~';
            } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
                out += '*';
            } else {
                out.append(p, 2);
            }
        } else {
            out += *p;
        }
        p += length;
    }
    return out;
}

}  // namespace qy
