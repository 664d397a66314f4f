#include "runtime/conversions.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "runtime/command_args.h"
#include "runtime/gbk.h"

namespace qy {

namespace {

// Element bytes of an array argument of a numeric element type; empty for
// any other element type. oneDimension rejects arrays of other shapes.
std::string NumericArrayBytes(const ValueRecord& array, bool oneDimension) {
    int size = NumericSize(BaseType(array));
    auto* block = AddressOf<int32_t>(array);
    if (size == 0 || !block) return std::string();
    if (oneDimension && block[0] != 1) return std::string();
    int count = 0;
    const void* elements = ArrayElements(block, &count);
    if (count <= 0) return std::string();
    return std::string(static_cast<const char*>(elements), static_cast<size_t>(count) * static_cast<size_t>(size));
}

std::string Printed(const char* format, double value) {
    char buffer[64];
    int n = std::snprintf(buffer, sizeof buffer, format, value);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

// Days since 1970-01-01 to a proleptic Gregorian date.
void CivilFromDays(int64_t days, int* year, int* month, int* day) {
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t mp = (5 * dayOfYear + 2) / 153;
    *day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    *month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *year = static_cast<int>(yearOfEra + era * 400 + (*month <= 2 ? 1 : 0));
}

constexpr int64_t kDaysFrom1970To1899_12_30 = -25569;

}  // namespace

std::string FloatText(float value) {
    double x = value;
    if (x != 0.0 && std::isfinite(x)) {
        // Round half away from zero at the sixth significant digit first, so
        // that ties do not depend on the binary value's exact expansion.
        int exponent = static_cast<int>(std::floor(std::log10(std::fabs(x))));
        double scale = std::pow(10.0, 5 - exponent);
        double rounded = std::round(x * scale) / scale;
        if (std::isfinite(rounded)) x = rounded;
    }
    return Printed("%.6g", x);
}

std::string DoubleText(double value) { return Printed("%.13g", value); }

std::string DateTimeText(double days) {
    double clamped = ClampDateTime(days);
    // The fraction is the time of day for dates before 1899-12-30 too, so
    // the day is the whole part toward zero and the time its distance to it.
    double whole = std::trunc(clamped);
    auto day = static_cast<int64_t>(whole);
    auto seconds = static_cast<int64_t>(std::llround(std::fabs(clamped - whole) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        day += 1;
    }
    int year, month, dayOfMonth;
    CivilFromDays(day + kDaysFrom1970To1899_12_30, &year, &month, &dayOfMonth);
    int hour = static_cast<int>(seconds / 3600), minute = static_cast<int>(seconds / 60 % 60),
        second = static_cast<int>(seconds % 60);

    char buffer[96];
    int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", year, month, dayOfMonth);
    if (second != 0) {
        n += std::snprintf(buffer + n, sizeof buffer - n, "%d时%d分%d秒", hour, minute, second);
    } else if (minute != 0) {
        n += std::snprintf(buffer + n, sizeof buffer - n, "%d时%d分", hour, minute);
    } else if (hour != 0) {
        n += std::snprintf(buffer + n, sizeof buffer - n, "%d时", hour);
    }
    return std::string(buffer, static_cast<size_t>(n));
}

std::string ConvertToText(const ValueRecord& value) {
    if (IsByAddress(value)) {
        std::string bytes = NumericArrayBytes(value, false);
        return bytes.substr(0, bytes.find('\0'));
    }
    char buffer[32];
    switch (value.type) {
        case kTypeByte: std::snprintf(buffer, sizeof buffer, "%u", value.low & 0xFFu); return buffer;
        case kTypeShort: std::snprintf(buffer, sizeof buffer, "%d", static_cast<int16_t>(value.low)); return buffer;
        case kTypeInt: std::snprintf(buffer, sizeof buffer, "%d", static_cast<int32_t>(value.low)); return buffer;
        case kTypeLong:
            std::snprintf(buffer, sizeof buffer, "%lld",
                          static_cast<long long>((static_cast<uint64_t>(value.high) << 32) | value.low));
            return buffer;
        case kTypeFloat: {
            float f;
            std::memcpy(&f, &value.low, 4);
            return FloatText(f);
        }
        case kTypeDouble: return DoubleText(RecordDouble(value));
        case kTypeLogical: return value.low != 0 ? "真" : "假";
        case kTypeDateTime: return DateTimeText(RecordDouble(value));
        case kTypeText: {
            const char* text = TextOf(value);
            return text ? text : "";
        }
        case kTypeByteSet: {
            ByteSpan bytes = ByteSetArgument(value);
            if (bytes.length == 0) return std::string();
            const void* zero = std::memchr(bytes.data, 0, static_cast<size_t>(bytes.length));
            size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes.data)
                                 : static_cast<size_t>(bytes.length);
            return std::string(reinterpret_cast<const char*>(bytes.data), length);
        }
        default: return std::string();
    }
}

int32_t ParseDecimalInteger(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    // Digits beyond the int range wrap around, as the value is the low 32
    // bits of the number read.
    uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<uint32_t>(*p - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

int32_t ConvertToInteger(const ValueRecord& value) {
    if (IsByAddress(value)) return 0;
    switch (value.type) {
        case kTypeLogical: return value.low != 0 ? 1 : 0;
        case kTypeByte: return static_cast<uint8_t>(value.low);
        case kTypeShort: return static_cast<int16_t>(value.low);
        case kTypeInt:
        case kTypeLong:
        case kTypeSubroutine: return static_cast<int32_t>(value.low);
        case kTypeFloat: {
            float f;
            std::memcpy(&f, &value.low, 4);
            return Low32OfInteger(std::trunc(static_cast<double>(f)));
        }
        case kTypeDouble: return Low32OfInteger(std::trunc(RecordDouble(value)));
        case kTypeText: {
            const char* text = TextOf(value);
            return text ? ParseDecimalInteger(GbkToHalfWidth(text).c_str()) : 0;
        }
        default: return 0;
    }
}

std::string ConvertToBytes(const ValueRecord& value) {
    if (IsByAddress(value)) return NumericArrayBytes(value, true);
    const char* words = reinterpret_cast<const char*>(&value.low);
    switch (value.type) {
        case kTypeText: {
            const char* text = TextOf(value);
            return text ? text : "";
        }
        case kTypeByte: return std::string(words, 1);
        case kTypeShort: return std::string(words, 2);
        case kTypeInt:
        case kTypeFloat:
        case kTypeLogical:
        case kTypeSubroutine: return std::string(words, 4);
        case kTypeLong:
        case kTypeDouble:
        case kTypeDateTime: return std::string(words, 8);
        case kTypeByteSet: {
            ByteSpan bytes = ByteSetArgument(value);
            if (bytes.length == 0) return std::string();
            return std::string(reinterpret_cast<const char*>(bytes.data), static_cast<size_t>(bytes.length));
        }
        default: return std::string();
    }
}

int32_t Low32OfInteger(double value) {
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(value))));
}

int32_t FloorWithSnap(double value) {
    double whole;
    double fraction = std::modf(value, &whole);
    if (std::fabs(fraction) > 0.999999999999) value = value > 0 ? whole + 1.0 : whole - 1.0;
    return Low32OfInteger(std::floor(value));
}

}  // namespace qy
