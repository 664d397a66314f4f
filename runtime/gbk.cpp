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

}  // namespace qy
