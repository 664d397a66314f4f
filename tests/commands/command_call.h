// Calls core commands through the command frame, as compiled code does, and
// takes ownership of their results.
#pragma once
#include <cstring>
#include <initializer_list>
#include <string>

#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "tests/support/test_program.h"

namespace qytest {

using qy::CoreCommand;
using qy::ValueRecord;

inline ValueRecord Call(CoreCommand command, std::initializer_list<ValueRecord> args) {
    if (!qy::Runtime().initialised()) program::InitRuntime();
    const void* entry = reinterpret_cast<const void*>(qy::CoreCommandEntry(command));
    return program::CallCore(entry, args);
}

inline uint32_t Word(const void* address) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address)); }

// Argument records. An empty text or byte set is passed as the constant, as
// compiled code passes it; other values live on the heap like variables.
struct Owned {
    void* block = nullptr;
    ~Owned() { qy::Free(block); }
};
inline ValueRecord Text(const std::string& text, Owned& holder) {
    if (text.empty()) return ValueRecord{Word(TestConstantBlock.emptyText), 0, qy::kTypeText};
    holder.block = qy::NewText(text.data(), static_cast<int>(text.size()));
    return ValueRecord{Word(holder.block), 0, qy::kTypeText};
}
inline ValueRecord ByteSet(const std::string& bytes, Owned& holder) {
    if (bytes.empty()) return ValueRecord{Word(TestConstantBlock.emptyByteSet), 0, qy::kTypeByteSet};
    holder.block = qy::NewByteSet(bytes.data(), static_cast<int>(bytes.size()));
    return ValueRecord{Word(holder.block), 0, qy::kTypeByteSet};
}
inline ValueRecord Int(int32_t v) { return qy::MakeIntRecord(v); }
inline ValueRecord Logical(bool v) { return ValueRecord{v ? 1u : 0u, 0, qy::kTypeLogical}; }
inline ValueRecord Double(double v) { return qy::MakeDoubleRecord(v); }
inline ValueRecord Omitted() { return ValueRecord{0, 0, 0}; }
template <typename T>
ValueRecord Variable(T* storage, uint32_t type) {
    return ValueRecord{Word(storage), 0, type | qy::kByAddress};
}

// A text or byte-set result as bytes; the block is freed. isNull tells
// whether the command answered the null address.
inline std::string TakeText(const ValueRecord& result, bool* isNull = nullptr) {
    const char* text = qy::TextOf(result);
    if (isNull) *isNull = text == nullptr;
    std::string out = text ? text : "";
    qy::Free(const_cast<char*>(text));
    return out;
}
inline std::string TakeBytes(const ValueRecord& result, bool* isNull = nullptr) {
    void* block = reinterpret_cast<void*>(static_cast<uintptr_t>(result.low));
    if (isNull) *isNull = block == nullptr;
    std::string out;
    if (block) out.assign(reinterpret_cast<const char*>(qy::ByteSetData(block)), static_cast<size_t>(qy::ByteSetLength(block)));
    qy::Free(block);
    return out;
}

}  // namespace qytest
