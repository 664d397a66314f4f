#include "runtime/value.h"

#include <cmath>
#include <cstring>

#include "runtime/errors.h"
#include "runtime/memory.h"

namespace qy {

int TypeClass(uint32_t type) {
    type &= ~kByAddress;
    if (type == 0) return kClassNone;
    switch (type >> 30) {
        case 2: return kClassBasic;
        case 1: return kClassUser;
        default: return kClassLibrary;
    }
}

bool IsNumericType(uint32_t type) { return NumericSize(type) != 0; }

int NumericSize(uint32_t type) {
    switch (type) {
        case kTypeByte: return 1;
        case kTypeShort: return 2;
        case kTypeInt:
        case kTypeFloat: return 4;
        case kTypeLong:
        case kTypeDouble: return 8;
        default: return 0;
    }
}

int TextLength(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

int ByteSetLength(const void* block) {
    return block ? static_cast<const ByteSetHeader*>(block)->length : 0;
}

const uint8_t* ByteSetData(const void* block) {
    return block ? static_cast<const uint8_t*>(block) + sizeof(ByteSetHeader) : nullptr;
}

const void* ValueDataSize(const ValueRecord* record, int* size) {
    switch (record->type) {
        case kTypeLogical:
        case kTypeSubroutine:
        case kTypeInt:
        case kTypeFloat: *size = 4; return record;
        case kTypeDateTime:
        case kTypeEightByte:
        case kTypeLong:
        case kTypeDouble: *size = 8; return record;
        case kTypeByte: *size = 1; return record;
        case kTypeShort: *size = 2; return record;
        case kTypeText: {
            const char* text = TextOf(*record);
            *size = TextLength(text) + 1;
            return text;
        }
        case kTypeByteSet: {
            const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(record->low));
            *size = ByteSetLength(block);
            return ByteSetData(block);
        }
        default: *size = 0; return nullptr;
    }
}

double ClampDateTime(double value) {
    // A NaN fails both comparisons and so lands on the upper bound.
    if (value >= kDateTimeMin && value <= kDateTimeMax) return value;
    if (value < kDateTimeMin) return kDateTimeMin;
    return kDateTimeMax;
}

int StoreValue(ValueRecord* destination, const void* source, int length) {
    const auto* bytes = static_cast<const uint8_t*>(source);
    switch (destination->type) {
        case kTypeLogical: {
            uint32_t word;
            std::memcpy(&word, bytes, 4);
            destination->low = word != 0 ? 1 : 0;
            destination->high = 0;
            return 0;
        }
        case kTypeDateTime: {
            double d;
            std::memcpy(&d, bytes, 8);
            ValueRecord r = MakeDoubleRecord(ClampDateTime(d), kTypeDateTime);
            destination->low = r.low;
            destination->high = r.high;
            return 0;
        }
        case kTypeText: {
            if (length <= 0) {
                destination->low = 0;
                return 0;
            }
            const void* zero = std::memchr(bytes, 0, static_cast<size_t>(length));
            int textLength = zero ? static_cast<int>(static_cast<const uint8_t*>(zero) - bytes) : length;
            destination->low = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(NewText(bytes, textLength)));
            destination->high = 0;
            return zero ? textLength + 1 : textLength;
        }
        case kTypeByteSet:
            destination->low = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(NewByteSet(bytes, length)));
            destination->high = 0;
            return 0;
        case kTypeSubroutine:
        case kTypeInt:
        case kTypeFloat:
            std::memcpy(&destination->low, bytes, 4);
            destination->high = 0;
            return 0;
        case kTypeByte:
            destination->low = bytes[0];
            destination->high = 0;
            return 0;
        case kTypeShort: {
            uint16_t s;
            std::memcpy(&s, bytes, 2);
            destination->low = s;
            destination->high = 0;
            return 0;
        }
        case kTypeLong:
        case kTypeDouble:
            std::memcpy(&destination->low, bytes, 8);
            return 0;
        default: return 0;
    }
}

void* ArrayElements(void* block, int* count) {
    auto* words = static_cast<int32_t*>(block);
    int dimensions = words[0];
    int elements = 1;
    for (int i = 0; i < dimensions; ++i) elements *= words[1 + i];
    *count = elements;
    return words + 1 + (dimensions > 0 ? dimensions : 0);
}

char* NewText(const void* bytes, int length) {
    if (length < 1) return nullptr;
    char* text = static_cast<char*>(Allocate(length + 1));
    std::memcpy(text, bytes, static_cast<size_t>(length));
    text[length] = 0;
    return text;
}

void* NewByteSet(const void* bytes, int length) {
    if (length <= 0) return nullptr;
    auto* block = static_cast<uint8_t*>(Allocate(length + 8));
    ByteSetHeader header{1, length};
    std::memcpy(block, &header, sizeof header);
    if (bytes) std::memcpy(block + 8, bytes, static_cast<size_t>(length));
    return block;
}

double ValueToNumber(const ValueRecord& r) {
    switch (r.type) {
        case kTypeByte: return static_cast<uint8_t>(r.low);
        case kTypeShort: return static_cast<int16_t>(r.low);
        case kTypeInt: return static_cast<int32_t>(r.low);
        case kTypeLong: return static_cast<double>(ValueToInt64(r));
        case kTypeFloat: {
            float f;
            std::memcpy(&f, &r.low, 4);
            return f;
        }
        case kTypeDouble: return RecordDouble(r);
        default: ReportError(2);
    }
}

int64_t ValueToInt64(const ValueRecord& r) {
    if (r.type == kTypeLong) return static_cast<int64_t>((static_cast<uint64_t>(r.high) << 32) | r.low);
    return static_cast<int64_t>(ValueToNumber(r));
}

int32_t ValueToInt(const ValueRecord& r) {
    switch (r.type) {
        case kTypeByte: return static_cast<uint8_t>(r.low);
        case kTypeShort: return static_cast<int16_t>(r.low);
        case kTypeInt:
        case kTypeLong: return static_cast<int32_t>(r.low);
        case kTypeFloat: {
            float f;
            std::memcpy(&f, &r.low, 4);
            return static_cast<int32_t>(std::trunc(static_cast<double>(f)));
        }
        case kTypeDouble: return static_cast<int32_t>(std::trunc(RecordDouble(r)));
        default: ShowRuntimeError(msg::kNotNumeric);
    }
}

}  // namespace qy
