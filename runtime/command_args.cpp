#include "runtime/command_args.h"

#include <cmath>
#include <cstring>

#include "runtime/conversions.h"
#include "runtime/errors.h"
#include "runtime/services.h"

namespace qy {

ValueRecord Dereferenced(const ValueRecord& r) {
    if (!IsByAddress(r)) return r;
    ValueRecord plain{0, 0, BaseType(r)};
    const uint8_t* storage = AddressOf<const uint8_t>(r);
    if (!storage) return ValueRecord{0, 0, kTypeNone};
    switch (plain.type) {
        case kTypeByte: plain.low = storage[0]; break;
        case kTypeShort: {
            uint16_t s;
            std::memcpy(&s, storage, 2);
            plain.low = s;
            break;
        }
        case kTypeLong:
        case kTypeDouble:
        case kTypeDateTime: std::memcpy(&plain.low, storage, 8); break;
        case kTypeInt:
        case kTypeFloat:
        case kTypeLogical:
        case kTypeSubroutine:
        case kTypeText:
        case kTypeByteSet: std::memcpy(&plain.low, storage, 4); break;
        default: return ValueRecord{0, 0, kTypeNone};
    }
    return plain;
}

void StoreIntoVariable(const ValueRecord& variable, int64_t value) {
    uint8_t* storage = AddressOf<uint8_t>(variable);
    if (!IsByAddress(variable) || !storage) return;
    switch (BaseType(variable)) {
        case kTypeByte: storage[0] = static_cast<uint8_t>(value); break;
        case kTypeShort: {
            uint16_t s = static_cast<uint16_t>(value);
            std::memcpy(storage, &s, 2);
            break;
        }
        case kTypeInt: {
            uint32_t i = static_cast<uint32_t>(value);
            std::memcpy(storage, &i, 4);
            break;
        }
        case kTypeLong: std::memcpy(storage, &value, 8); break;
        case kTypeFloat: {
            float f = static_cast<float>(value);
            std::memcpy(storage, &f, 4);
            break;
        }
        case kTypeDouble: {
            double d = static_cast<double>(value);
            std::memcpy(storage, &d, 8);
            break;
        }
        default: break;
    }
}

const char* TextArgument(const ValueRecord& r) {
    ValueRecord plain = Dereferenced(r);
    const char* text = plain.type == kTypeText ? TextOf(plain) : nullptr;
    return text ? text : "";
}

ByteSpan ByteSetArgument(const ValueRecord& r) {
    ValueRecord plain = Dereferenced(r);
    if (plain.type != kTypeByteSet) return ByteSpan{nullptr, 0};
    const void* block = AddressOf<const void>(plain);
    int length = ByteSetLength(block);
    return length > 0 ? ByteSpan{ByteSetData(block), length} : ByteSpan{nullptr, 0};
}

int32_t IntArgument(const ValueRecord& r) {
    ValueRecord plain = Dereferenced(r);
    switch (plain.type) {
        case kTypeByte: return static_cast<uint8_t>(plain.low);
        case kTypeShort: return static_cast<int16_t>(plain.low);
        case kTypeInt:
        case kTypeLong: return static_cast<int32_t>(plain.low);
        case kTypeLogical: return plain.low != 0 ? 1 : 0;
        case kTypeFloat:
        case kTypeDouble: return Low32OfInteger(std::trunc(DoubleArgument(plain)));
        default: return 0;
    }
}

double DoubleArgument(const ValueRecord& r) {
    ValueRecord plain = Dereferenced(r);
    switch (plain.type) {
        case kTypeByte:
        case kTypeShort:
        case kTypeInt:
        case kTypeLong:
        case kTypeFloat:
        case kTypeDouble: return ValueToNumber(plain);
        default: return 0.0;
    }
}

void SetTextResult(ValueRecord* result, const char* bytes, int length) {
    SetResult(result, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(NewText(bytes, length))));
}

void SetByteSetResult(ValueRecord* result, const void* bytes, int length) {
    SetResult(result, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(NewByteSet(bytes, length))));
}

void CommandError(const char* message) {
    RuntimeNotify(kNotifyErrorText, static_cast<int32_t>(reinterpret_cast<uintptr_t>(message)), 0);
    ShowRuntimeError(message);
}

}  // namespace qy
