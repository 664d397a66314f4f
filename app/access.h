// How the application reads and writes its units and calls library
// commands: property reads and writes through the service table, commands
// through the command frame, with the value records compiled code passes.
// Texts and byte sets the runtime returns belong to the caller and are freed
// through the service table once copied.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "forms/template_units.h"
#include "window/protocol.h"

namespace program {

using forms::UnitRef;
using qy::CoreCommand;

// A unit type's own property index in the unit's whole property table.
constexpr int Own(int32_t own) { return qy::kCommonPropertyCount + own; }

// Property access. Index is a sub-field (a font member) or -1.
int32_t ReadInt(const UnitRef& unit, int property, int index = -1);
std::string ReadText(const UnitRef& unit, int property, int index = -1);
void WriteInt(const UnitRef& unit, int property, int32_t value, int index = -1);
void WriteText(const UnitRef& unit, int property, const char* text, int index = -1);
inline void WriteText(const UnitRef& unit, int property, const std::string& text, int index = -1) {
    WriteText(unit, property, text.c_str(), index);
}

// Value records of the arguments compiled code passes.
inline ValueRecord IntValue(int32_t v) { return qy::MakeIntRecord(v); }
inline ValueRecord TextValue(const char* text) { return qy::MakeTextRecord(text); }
inline ValueRecord ByteSetValue(const void* block) {
    return ValueRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)), 0, qy::kTypeByteSet};
}
inline ValueRecord UnitValue(const UnitRef& unit) { return ValueRecord{unit.window, unit.unit, unit.type}; }

// A command's result record; a text or byte set in it is freed with it.
class Result {
public:
    explicit Result(const ValueRecord& record) : record_(record) {}
    ~Result();
    Result(Result&& other) noexcept : record_(other.record_) { other.record_ = ValueRecord{0, 0, 0}; }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;

    int32_t Int() const { return static_cast<int32_t>(record_.low); }
    bool Logical() const { return record_.low != 0; }
    // The text result as a string (empty for no text).
    std::string Text() const;
    // The byte-set result's block, valid while this result lives.
    const void* Block() const { return reinterpret_cast<const void*>(static_cast<uintptr_t>(record_.low)); }
    const ValueRecord& record() const { return record_; }

private:
    ValueRecord record_;
};

// A core-library command, and a unit method with its unit reference first.
Result Command(CoreCommand command, std::initializer_list<ValueRecord> args);
Result Method(const UnitRef& unit, CoreCommand command, std::initializer_list<ValueRecord> args);

// The library commands the application uses most, by name.
inline void FocusUnit(const UnitRef& unit) { Command(CoreCommand::FocusUnit, {UnitValue(unit)}); }
int32_t ByteLength(const std::string& text);  // ToByteSet then ByteSetLength
// The XP-style library's one command.
int32_t SetControlStyle(int32_t style);

}  // namespace program
