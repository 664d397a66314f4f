// Conversion of a record value (one 32-bit slot per member) to the packed
// native layout a DLL function expects, and back after the call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace program {

struct RecordMember {
    enum Kind { kByte, kShort, kInt, kArray, kRecord } kind;
    // Element kind and count for an array member; nested layout for records
    // and for arrays of records.
    Kind elementKind = kInt;
    int count = 1;
    const struct RecordLayout* nested = nullptr;
};

struct RecordLayout {
    std::vector<RecordMember> members;
};

size_t NativeSize(const RecordLayout& layout);
// Writes the record's members packed into native; returns bytes written.
size_t ToNative(const RecordLayout& layout, const uint32_t* record, uint8_t* native);
// Reads them back, widening narrow members into their slots.
size_t FromNative(const RecordLayout& layout, uint32_t* record, const uint8_t* native);

// A DLL call with one record argument passed by reference in position
// recordArgument: the record travels through a temporary native block.
uint32_t CallDllWithRecord(int index, const RecordLayout& layout, uint32_t* record, std::vector<uint32_t> words,
                           size_t recordArgument);

}  // namespace program
