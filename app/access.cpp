#include "app/access.h"

#include <vector>

#include "styling/xp_style_library.h"

namespace program {

namespace {
const void* Entry(CoreCommand command) { return reinterpret_cast<const void*>(qy::CoreCommandEntry(command)); }

void FreeBlock(uint32_t address) {
    if (address) Svc_Free(reinterpret_cast<void*>(static_cast<uintptr_t>(address)));
}

// Compiled code knows each command's declared result type; a command may
// leave the type word at 0 when the result has that type.
Result Typed(CoreCommand command, ValueRecord record) {
    uint32_t declared = qy::CoreCommandAt(command).resultType;
    if (record.type == 0 && declared != qy::kResultVaries) record.type = declared;
    return Result(record);
}

uint32_t Address(const char* text) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)); }
}  // namespace

int32_t ReadInt(const UnitRef& unit, int property, int index) {
    return static_cast<int32_t>(Svc_ReadProperty(unit.window, unit.unit, property, index));
}

std::string ReadText(const UnitRef& unit, int property, int index) {
    uint32_t block = static_cast<uint32_t>(Svc_ReadProperty(unit.window, unit.unit, property, index));
    std::string text;
    if (block) text = reinterpret_cast<const char*>(static_cast<uintptr_t>(block));
    FreeBlock(block);
    return text;
}

void WriteInt(const UnitRef& unit, int property, int32_t value, int index) {
    Svc_WriteProperty(unit.window, unit.unit, property, index, static_cast<uint32_t>(value), 0);
}

void WriteText(const UnitRef& unit, int property, const char* text, int index) {
    Svc_WriteProperty(unit.window, unit.unit, property, index, Address(text), 0);
}

Result::~Result() {
    if (record_.type == qy::kTypeText || record_.type == qy::kTypeByteSet) FreeBlock(record_.low);
}

std::string Result::Text() const {
    if (record_.type != qy::kTypeText || !record_.low) return std::string();
    return std::string(reinterpret_cast<const char*>(static_cast<uintptr_t>(record_.low)));
}

Result Command(CoreCommand command, std::initializer_list<ValueRecord> args) {
    return Typed(command, CallCore(Entry(command), args));
}

Result Method(const UnitRef& unit, CoreCommand command, std::initializer_list<ValueRecord> args) {
    std::vector<ValueRecord> all;
    all.reserve(args.size() + 1);
    all.push_back(UnitValue(unit));
    all.insert(all.end(), args.begin(), args.end());
    return Typed(command, CallCore(Entry(command), all.data(), static_cast<int>(all.size())));
}

int32_t ByteLength(const std::string& text) {
    Result bytes = Command(CoreCommand::ToByteSet, {TextValue(text.c_str())});
    return Command(CoreCommand::ByteSetLength, {ByteSetValue(bytes.Block())}).Int();
}

int32_t SetControlStyle(int32_t style) {
    const void* entry = qy::XpStyleLibrary.commands[qy::kSetControlStyleCommand];
    return static_cast<int32_t>(CallLibrary(entry, {IntValue(style)}).low);
}

}  // namespace program
