// The drawing panel's method entries in the core command table. Each reads
// its value records (the first is the unit reference) and hands plain values
// to the panel; values to write or measure are converted as ToText does.
#include "commands/command_args.h"
#include "commands/command_table.h"
#include "commands/conversions.h"
#include "units/drawing_panel/panel_methods.h"

namespace qy {
namespace commands {

namespace {
panel::OptionalInt Optional(const ValueRecord& r) {
    panel::OptionalInt value;
    if (!IsOmitted(r)) value.present = true, value.value = IntArgument(r);
    return value;
}

DrawPanel& PanelOf(const Arguments& args) { return panel::Resolve(args[0].low, args[0].high); }

// The text a value is written as; false for the types the panel skips
// (byte sets, subroutine pointers, arrays, unit references).
bool ValueText(const ValueRecord& r, std::string* text) {
    text->clear();
    if (IsOmitted(r)) return true;
    if (IsByAddress(r)) return false;
    if (!IsNumericType(r.type) && r.type != kTypeText && r.type != kTypeLogical && r.type != kTypeDateTime)
        return false;
    *text = ConvertToText(r);
    return true;
}
}  // namespace

void __cdecl Clear(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    panel::Clear(PanelOf(args), Optional(args[1]), Optional(args[2]), Optional(args[3]), Optional(args[4]));
}

void __cdecl WriteAt(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    DrawPanel& target = PanelOf(args);
    std::vector<std::string> texts;
    std::string text;
    for (int i = 3; i < args.count(); ++i)
        if (ValueText(args[i], &text)) texts.push_back(text);
    panel::WriteAt(target, Optional(args[1]), Optional(args[2]), texts);
}

void __cdecl DrawPicture(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    panel::DrawPicture(PanelOf(args), IntArgument(args[1]), IntArgument(args[2]), IntArgument(args[3]),
                       Optional(args[4]), Optional(args[5]), Optional(args[6]));
}

void __cdecl ReadPixel(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, panel::ReadPixel(PanelOf(args), IntArgument(args[1]), IntArgument(args[2])));
}

void __cdecl TextWidth(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    DrawPanel& target = PanelOf(args);
    std::string text;
    SetIntResult(result, ValueText(args[1], &text) ? panel::TextWidth(target, text) : 0);
}

void __cdecl TextHeight(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    DrawPanel& target = PanelOf(args);
    std::string text;
    SetIntResult(result, ValueText(args[1], &text) ? panel::TextHeight(target, text) : 0);
}

void __cdecl PictureWidth(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, panel::PictureWidth(PanelOf(args), IntArgument(args[1])));
}

void __cdecl PictureHeight(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, panel::PictureHeight(PanelOf(args), IntArgument(args[1])));
}

}  // namespace commands
}  // namespace qy
