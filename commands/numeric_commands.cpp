// Bitwise, rounding and conversion commands.
#include <algorithm>
#include <cstring>

#include "runtime/command_args.h"
#include "commands/command_table.h"
#include "runtime/conversions.h"

namespace qy {
namespace commands {

void __cdecl BitAnd(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    int32_t value = IntArgument(args[0]);
    for (int i = 1; i < args.count(); ++i) value &= IntArgument(args[i]);
    SetIntResult(result, value);
}

void __cdecl BitOr(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    int32_t value = IntArgument(args[0]);
    for (int i = 1; i < args.count(); ++i) value |= IntArgument(args[i]);
    SetIntResult(result, value);
}

void __cdecl ShiftRight(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, IntArgument(args[0]) >> (IntArgument(args[1]) & 31));
}

void __cdecl FloorToInteger(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, FloorWithSnap(DoubleArgument(args[0])));
}

void __cdecl ToInteger(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, ConvertToInteger(args[0]));
}

void __cdecl ToText(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetTextResult(result, ConvertToText(args[0]));
}

void __cdecl ToByteSet(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetByteSetResult(result, ConvertToBytes(args[0]));
}

namespace {
struct ReadKind {
    uint32_t type;
    int size;  // 0 for text, whose length is found in the data
};
const ReadKind kReadKinds[10] = {
    {kTypeByte, 1},  {kTypeShort, 2},   {kTypeInt, 4},      {kTypeLong, 8},       {kTypeFloat, 4},
    {kTypeDouble, 8}, {kTypeLogical, 4}, {kTypeDateTime, 8}, {kTypeSubroutine, 4}, {kTypeText, 0},
};
}  // namespace

void __cdecl ReadByteSetValue(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    int kind = IntArgument(args[1]);
    if (kind < 1 || kind > 10) CommandError("“欲取出数据的类型”参数值无效");
    const ReadKind& read = kReadKinds[kind - 1];

    ByteSpan data = ByteSetArgument(args[0]);
    const ValueRecord& position = args[2];
    int64_t start = IsOmitted(position) ? 1 : IntArgument(position);
    int available = start >= 1 && start - 1 < data.length ? static_cast<int>(data.length - (start - 1)) : 0;
    const uint8_t* from = available > 0 ? data.data + (start - 1) : nullptr;

    ValueRecord value{0, 0, read.type};
    int consumed;
    if (read.type == kTypeText) {
        consumed = available > 0 ? StoreValue(&value, from, available) : 0;
    } else {
        // Missing high bytes read as zero.
        uint8_t buffer[8] = {};
        if (available > 0) std::memcpy(buffer, from, static_cast<size_t>(std::min(available, read.size)));
        StoreValue(&value, buffer, read.size);
        consumed = read.size;
    }
    *result = value;

    if (IsByAddress(position)) {
        // A position before the data reads nothing and so ends the reading
        // too, rather than sending a reading loop back into the data.
        int64_t next = start - 1 + consumed;
        StoreIntoVariable(position, start < 1 || next >= data.length ? -1 : next + 1);
    }
}

void __cdecl MakeColor(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, (IntArgument(args[0]) & 0xFF) | (IntArgument(args[1]) & 0xFF) << 8 |
                             (IntArgument(args[2]) & 0xFF) << 16);
}

}  // namespace commands
}  // namespace qy
