// How commands read their argument records and fill their result record.
// Readers are forgiving: a record of an unexpected type reads as the empty
// or zero value rather than being dereferenced.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/value.h"

namespace qy {

// A command fills the result record (zeroed by the frame) from count
// argument records; the caller removes the arguments.
typedef void(__cdecl* CommandEntry)(ValueRecord* result, int count, ValueRecord* args);
#define QY_COMMAND(name) void __cdecl name(::qy::ValueRecord* result, int count, ::qy::ValueRecord* args)

inline bool IsByAddress(const ValueRecord& r) { return (r.type & kByAddress) != 0; }
inline uint32_t BaseType(const ValueRecord& r) { return r.type & ~kByAddress; }
inline bool IsOmitted(const ValueRecord& r) { return r.type == kTypeNone; }
template <typename T>
inline T* AddressOf(const ValueRecord& r) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(r.low));
}

// The argument records of one call; a position past the count reads as an
// omitted argument, so a short list never reads beyond the frame.
class Arguments {
public:
    Arguments(int count, const ValueRecord* records) : count_(count > 0 ? count : 0), records_(records) {}
    int count() const { return count_; }
    const ValueRecord& operator[](int i) const { return i < count_ ? records_[i] : kOmitted; }

private:
    static constexpr ValueRecord kOmitted{0, 0, 0};
    int count_;
    const ValueRecord* records_;
};

// The value a by-reference variable holds, as a plain record; any other
// record is returned as it is.
ValueRecord Dereferenced(const ValueRecord& r);
// Stores a number into a by-reference numeric variable, converted to the
// variable's type.
void StoreIntoVariable(const ValueRecord& variable, int64_t value);

// Text of a text argument; "" for anything else, never null.
const char* TextArgument(const ValueRecord& r);
// Bytes of a byte-set argument; length 0 for anything else.
struct ByteSpan {
    const uint8_t* data;
    int length;
};
ByteSpan ByteSetArgument(const ValueRecord& r);
// A numeric or logical argument as an int (floating values truncated
// toward zero, low 32 bits); 0 for other types.
int32_t IntArgument(const ValueRecord& r);
// A numeric argument as a double; 0 for other types.
double DoubleArgument(const ValueRecord& r);

// Stops the program with a runtime error box carrying the message, through
// the runtime service libraries use for that.
[[noreturn]] void CommandError(const char* message);

// Results. Empty texts and byte sets are the null address.
inline void SetResult(ValueRecord* result, uint32_t low, uint32_t high = 0) {
    result->low = low;
    result->high = high;
}
inline void SetIntResult(ValueRecord* result, int32_t value) { SetResult(result, static_cast<uint32_t>(value)); }
void SetTextResult(ValueRecord* result, const char* bytes, int length);
inline void SetTextResult(ValueRecord* result, const std::string& text) {
    SetTextResult(result, text.data(), static_cast<int>(text.size()));
}
void SetByteSetResult(ValueRecord* result, const void* bytes, int length);
inline void SetByteSetResult(ValueRecord* result, const std::string& bytes) {
    SetByteSetResult(result, bytes.data(), static_cast<int>(bytes.size()));
}

}  // namespace qy
