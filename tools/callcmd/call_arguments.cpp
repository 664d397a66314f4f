#include "tools/callcmd/call_arguments.h"

#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace callcmd {

using namespace qy;

namespace {

bool ParseHex(const std::string& hex, std::string* bytes) {
    if (hex.size() % 2 != 0) return false;
    bytes->clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (size_t k = i; k < i + 2; ++k) {
            char c = hex[k];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0) return false;
            value = value * 16 + digit;
        }
        *bytes += static_cast<char>(value);
    }
    return true;
}

// A decimal number with an optional sign, or 0x followed by hex digits,
// within [low, high].
bool ParseInteger(const std::string& text, long double low, long double high, int64_t* out) {
    if (text.empty()) return false;
    const char* s = text.c_str();
    bool negative = *s == '-';
    if (*s == '-' || *s == '+') ++s;
    int base = 10;
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s += 2;
    }
    if (!*s) return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long magnitude = std::strtoull(s, &end, base);
    if (*end || errno == ERANGE || *s == '-' || *s == '+') return false;
    long double value = negative ? -static_cast<long double>(magnitude) : static_cast<long double>(magnitude);
    if (value < low || value > high) return false;
    *out = negative ? static_cast<int64_t>(0ull - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

bool ParseDouble(const std::string& text, double* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    *out = std::strtod(text.c_str(), &end);
    return *end == 0;
}

ValueRecord Words(uint64_t bits, uint32_t type) {
    return ValueRecord{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
}

bool NotANumber(const std::string& kind, const std::string& text, std::string* reason) {
    *reason = "'" + text + "' is not a " + kind + ": value";
    return false;
}

uint32_t AddressWord(const void* address) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address)); }

}  // namespace

std::string Hex(const void* data, int length) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    const auto* p = static_cast<const uint8_t*>(data);
    for (int i = 0; i < length; ++i) {
        out += kDigits[p[i] >> 4];
        out += kDigits[p[i] & 15];
    }
    return out;
}

bool ParseArgument(const std::string& given, const char* emptyText, const void* emptyByteSet, Argument* out,
                   std::string* reason) {
    std::string form = given;
    out->byReference = !form.empty() && form[0] == '&';
    if (out->byReference) form.erase(0, 1);
    if (form == "-") {
        if (out->byReference) {
            *reason = "an omitted argument cannot be a variable";
            return false;
        }
        out->value = ValueRecord{0, 0, 0};
        return true;
    }
    size_t colon = form.find(':');
    if (colon == std::string::npos) {
        *reason = "expected TYPE:VALUE or -";
        return false;
    }
    std::string kind = form.substr(0, colon), text = form.substr(colon + 1);
    int64_t n = 0;
    double d = 0;
    std::string bytes;
    if (kind == "t" || kind == "tx") {
        if (kind == "tx" && !ParseHex(text, &bytes)) {
            *reason = "tx: needs pairs of hex digits";
            return false;
        }
        if (kind == "t") bytes = text;
        // A text ends at its first zero byte, whatever followed it.
        int length = static_cast<int>(std::strlen(bytes.c_str()));
        const char* block = length > 0 ? NewText(bytes.data(), length) : emptyText;
        out->value = ValueRecord{AddressWord(block), 0, kTypeText};
    } else if (kind == "x") {
        if (!ParseHex(text, &bytes)) {
            *reason = "x: needs pairs of hex digits";
            return false;
        }
        const void* block = bytes.empty() ? emptyByteSet : NewByteSet(bytes.data(), static_cast<int>(bytes.size()));
        out->value = ValueRecord{AddressWord(block), 0, kTypeByteSet};
    } else if (kind == "i") {
        if (!ParseInteger(text, -2147483648.0L, 4294967295.0L, &n)) return NotANumber(kind, text, reason);
        out->value = Words(static_cast<uint32_t>(n), kTypeInt);
    } else if (kind == "s") {
        if (!ParseInteger(text, -32768.0L, 65535.0L, &n)) return NotANumber(kind, text, reason);
        out->value = Words(static_cast<uint16_t>(n), kTypeShort);
    } else if (kind == "b") {
        if (!ParseInteger(text, -128.0L, 255.0L, &n)) return NotANumber(kind, text, reason);
        out->value = Words(static_cast<uint8_t>(n), kTypeByte);
    } else if (kind == "l") {
        if (!ParseInteger(text, -9223372036854775808.0L, 18446744073709551615.0L, &n)) return NotANumber(kind, text, reason);
        out->value = Words(static_cast<uint64_t>(n), kTypeLong);
    } else if (kind == "f") {
        if (!ParseDouble(text, &d)) return NotANumber(kind, text, reason);
        float f = std::strtof(text.c_str(), nullptr);
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        out->value = Words(bits, kTypeFloat);
    } else if (kind == "d" || kind == "dt") {
        if (!ParseDouble(text, &d)) return NotANumber(kind, text, reason);
        out->value = MakeDoubleRecord(d, kind == "d" ? kTypeDouble : kTypeDateTime);
    } else if (kind == "L") {
        if (text != "0" && text != "1") {
            *reason = "L: takes 0 or 1";
            return false;
        }
        out->value = Words(text == "1" ? 1 : 0, kTypeLogical);
    } else {
        *reason = "unknown type '" + kind + "'";
        return false;
    }
    return true;
}

std::string ValueLine(const ValueRecord& value) {
    char buffer[64];
    switch (value.type) {
        case kTypeNone: return "none";
        case kTypeText: {
            const char* text = TextOf(value);
            int length = qy::TextLength(text);
            return length > 0 ? "text " + Hex(text, length) : "text";
        }
        case kTypeByteSet: {
            const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(value.low));
            int length = qy::ByteSetLength(block);
            return length > 0 ? "bytes " + Hex(qy::ByteSetData(block), length) : "bytes";
        }
        case kTypeInt: std::snprintf(buffer, sizeof buffer, "int %d", static_cast<int32_t>(value.low)); break;
        case kTypeShort: std::snprintf(buffer, sizeof buffer, "short %d", static_cast<int16_t>(value.low)); break;
        case kTypeByte: std::snprintf(buffer, sizeof buffer, "byte %u", value.low & 0xFFu); break;
        case kTypeLong:
            std::snprintf(buffer, sizeof buffer, "long %" PRId64,
                          static_cast<int64_t>((static_cast<uint64_t>(value.high) << 32) | value.low));
            break;
        case kTypeFloat: {
            float f;
            std::memcpy(&f, &value.low, 4);
            std::snprintf(buffer, sizeof buffer, "float %.9g", static_cast<double>(f));
            break;
        }
        case kTypeDouble: std::snprintf(buffer, sizeof buffer, "double %.17g", RecordDouble(value)); break;
        case kTypeDateTime: std::snprintf(buffer, sizeof buffer, "date %.17g", RecordDouble(value)); break;
        case kTypeLogical: std::snprintf(buffer, sizeof buffer, "bool %d", value.low != 0 ? 1 : 0); break;
        case kTypeSubroutine: std::snprintf(buffer, sizeof buffer, "subroutine 0x%08x", value.low); break;
        default: std::snprintf(buffer, sizeof buffer, "type 0x%08x %u %u", value.type, value.low, value.high); break;
    }
    return buffer;
}

}  // namespace callcmd
