// The value model shared by compiled code, the runtime and the libraries:
// type codes, value records and the layouts of texts, byte sets and arrays.
// Byte-level only; allocation goes through the memory services.
#pragma once
#include <cstdint>

namespace qy {

enum TypeCode : uint32_t {
    kTypeNone = 0,
    kTypeLogical = 0x80000002,
    kTypeDateTime = 0x80000003,
    kTypeText = 0x80000004,
    kTypeByteSet = 0x80000005,
    kTypeSubroutine = 0x80000006,
    kTypeEightByte = 0x80000008,
    kTypeByte = 0x80000101,
    kTypeShort = 0x80000201,
    kTypeInt = 0x80000301,
    kTypeLong = 0x80000401,
    kTypeFloat = 0x80000501,
    kTypeDouble = 0x80000601,
};

// Set in an argument's type code when word 0 holds the address of the value.
constexpr uint32_t kByAddress = 0x20000000;

constexpr double kDateTimeMin = -657434.0;  // 100-01-01
constexpr double kDateTimeMax = 2958465.0;  // 9999-12-31

struct ValueRecord {
    uint32_t low;
    uint32_t high;
    uint32_t type;
};
static_assert(sizeof(ValueRecord) == 12, "value records are three packed words");

// Byte-set block header; the bytes follow directly.
struct ByteSetHeader {
    int32_t dimensions;  // always 1
    int32_t length;
};

enum TypeClassKind { kClassNone = 0, kClassBasic = 1, kClassUser = 2, kClassLibrary = 3 };

int TypeClass(uint32_t type);
bool IsNumericType(uint32_t type);
// 1, 2, 4 or 8 for the six numeric types, 0 for anything else.
int NumericSize(uint32_t type);
// Address and size of a value's bytes, or null for a type without a flat form.
const void* ValueDataSize(const ValueRecord* record, int* size);
// Stores a value of the record's type from raw bytes; see the text rule.
int StoreValue(ValueRecord* destination, const void* source, int length);
// First element of an array block; count is the product of its dimensions.
void* ArrayElements(void* block, int* count);
char* NewText(const void* bytes, int length);
void* NewByteSet(const void* bytes, int length);
double ClampDateTime(double value);

// Reading helpers that treat the constant empty text/byte set like null.
inline const char* TextOf(const ValueRecord& r) { return reinterpret_cast<const char*>(static_cast<uintptr_t>(r.low)); }
int TextLength(const char* text);
int ByteSetLength(const void* block);
const uint8_t* ByteSetData(const void* block);

// Conversions of a general value to a number. The first raises runtime error 2
// for a non-numeric value; the second is kNotifyValueToInt.
double ValueToNumber(const ValueRecord& record);
int64_t ValueToInt64(const ValueRecord& record);
int32_t ValueToInt(const ValueRecord& record);

inline double RecordDouble(const ValueRecord& r) {
    uint64_t bits = (static_cast<uint64_t>(r.high) << 32) | r.low;
    double d;
    __builtin_memcpy(&d, &bits, 8);
    return d;
}
inline ValueRecord MakeDoubleRecord(double d, uint32_t type = kTypeDouble) {
    uint64_t bits;
    __builtin_memcpy(&bits, &d, 8);
    return ValueRecord{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
}
inline ValueRecord MakeIntRecord(int32_t v) { return ValueRecord{static_cast<uint32_t>(v), 0, kTypeInt}; }
inline ValueRecord MakeTextRecord(const char* t) {
    return ValueRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(t)), 0, kTypeText};
}

}  // namespace qy
