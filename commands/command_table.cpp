#include "commands/command_table.h"

#include <cstring>

#include "runtime/library_runtime.h"

namespace qy {

namespace {
using namespace commands;

// One line per command, in library-record order; a command whose entry is
// still null is not built yet.
const CoreCommandInfo kCoreCommands[kCoreCommandCount] = {
    {"TextLength", &TextLength, kTypeInt},
    {"MidText", &MidText, kTypeText},
    {"RightText", &RightText, kTypeText},
    {"CompareText", &CompareText, kTypeInt},
    {"PointerToText", &PointerToText, kTypeText},
    {"ByteSetLength", &ByteSetLength, kTypeInt},
    {"PointerToByteSet", &PointerToByteSet, kTypeByteSet},
    {"BitAnd", &BitAnd, kTypeInt},
    {"BitOr", &BitOr, kTypeInt},
    {"ShiftRight", &ShiftRight, kTypeInt},
    {"FloorToInteger", &FloorToInteger, kTypeInt},
    {"ToInteger", &ToInteger, kTypeInt},
    {"ToText", &ToText, kTypeText},
    {"ToByteSet", &ToByteSet, kTypeByteSet},
    {"ReadByteSetValue", &ReadByteSetValue, kResultVaries},
    {"MakeColor", &MakeColor, kTypeInt},
    {"RunProgram", &RunProgram, kTypeLogical},
    {"ReadWholeFile", &ReadWholeFile, kTypeByteSet},
    {"WriteToFile", &WriteToFile, kTypeLogical},
    {"GetClipboardText", &GetClipboardText, kTypeText},
    {"SetClipboardText", &SetClipboardText, kTypeLogical},
    {"PlayAudio", &PlayAudio, kTypeLogical},
    {"LoadWindow", &LoadWindow, kTypeLogical},
    {"Destroy", &Destroy, kResultNone},
    {"FocusUnit", &FocusUnit, kResultNone},
    {"UpdateDisplay", &UpdateDisplay, kResultNone},
    {"GetWindowHandle", &GetWindowHandle, kTypeInt},
    {"CreatePictureObject", &CreatePictureObject, kTypeLogical},
    {"NumberMethod", &NumberMethod, kTypeDouble},
    {"ReleaseObject", &ReleaseObject, kResultNone},
    {"OpenDialog", &commands::OpenDialog, kTypeLogical},
    {"Clear", &Clear, kResultNone},
    {"WriteAt", &WriteAt, kResultNone},
    {"DrawPicture", &DrawPicture, kResultNone},
    {"ReadPixel", &ReadPixel, kTypeInt},
    {"TextWidth", &TextWidth, kTypeInt},
    {"TextHeight", &TextHeight, kTypeInt},
    {"PictureWidth", &PictureWidth, kTypeInt},
    {"PictureHeight", &PictureHeight, kTypeInt},
    {"LoadPicture", &LoadPicture, kTypeInt},
};

// The library record's entry array mirrors this table; nothing reads it at
// run time, but it is part of the image a program carries.
struct CommandArrayFiller {
    CommandArrayFiller() {
        const void** slots = MutableCommands(CoreLibrary);
        for (int i = 0; i < kCoreCommandCount; ++i)
            slots[i] = reinterpret_cast<const void*>(kCoreCommands[i].entry);
    }
} filler;
}  // namespace

const CoreCommandInfo& CoreCommandAt(CoreCommand command) { return kCoreCommands[static_cast<int>(command)]; }

const CoreCommandInfo* FindCoreCommand(const char* name) {
    for (const CoreCommandInfo& info : kCoreCommands)
        if (std::strcmp(info.name, name) == 0) return &info;
    return nullptr;
}

}  // namespace qy
