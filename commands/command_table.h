// The core library's command table: the 40 commands the program calls, in
// the fixed order of the library record, with the entry form every command
// has. Compiled code and tools reach a command through CoreCommandEntry.
#pragma once
#include <cstdint>

#include "runtime/value.h"

namespace qy {

// A command fills the result record (zeroed by the frame) from count
// argument records; the caller removes the arguments.
typedef void(__cdecl* CommandEntry)(ValueRecord* result, int count, ValueRecord* args);

enum class CoreCommand : int {
    TextLength,
    MidText,
    RightText,
    CompareText,
    PointerToText,
    ByteSetLength,
    PointerToByteSet,
    BitAnd,
    BitOr,
    ShiftRight,
    FloorToInteger,
    ToInteger,
    ToText,
    ToByteSet,
    ReadByteSetValue,
    MakeColor,
    RunProgram,
    ReadWholeFile,
    WriteToFile,
    GetClipboardText,
    SetClipboardText,
    PlayAudio,
    LoadWindow,
    Destroy,
    FocusUnit,
    UpdateDisplay,
    GetWindowHandle,
    CreatePictureObject,
    NumberMethod,
    ReleaseObject,
    OpenDialog,
    Clear,
    WriteAt,
    DrawPicture,
    ReadPixel,
    TextWidth,
    TextHeight,
    PictureWidth,
    PictureHeight,
    LoadPicture,
    Count
};
constexpr int kCoreCommandCount = static_cast<int>(CoreCommand::Count);
static_assert(kCoreCommandCount == 40, "the core library record lists 40 commands");

// The result type a caller assumes when the command leaves word 2 at 0;
// kResultVaries marks commands that write word 2 themselves.
constexpr uint32_t kResultNone = kTypeNone;
constexpr uint32_t kResultVaries = 0xFFFFFFFFu;

struct CoreCommandInfo {
    const char* name;
    CommandEntry entry;  // null until the command is built
    uint32_t resultType;
};

const CoreCommandInfo& CoreCommandAt(CoreCommand command);
inline CommandEntry CoreCommandEntry(CoreCommand command) { return CoreCommandAt(command).entry; }
// The command of that name, or null.
const CoreCommandInfo* FindCoreCommand(const char* name);

// Entries of the core commands. Each is defined by the file that builds it
// (text, numeric, system commands here; unit methods with their unit) and
// listed once in command_table.cpp.
namespace commands {
#define QY_COMMAND(name) void __cdecl name(ValueRecord* result, int count, ValueRecord* args)
QY_COMMAND(TextLength);
QY_COMMAND(MidText);
QY_COMMAND(RightText);
QY_COMMAND(CompareText);
QY_COMMAND(PointerToText);
QY_COMMAND(ByteSetLength);
QY_COMMAND(PointerToByteSet);
QY_COMMAND(BitAnd);
QY_COMMAND(BitOr);
QY_COMMAND(ShiftRight);
QY_COMMAND(FloorToInteger);
QY_COMMAND(ToInteger);
QY_COMMAND(ToText);
QY_COMMAND(ToByteSet);
QY_COMMAND(ReadByteSetValue);
QY_COMMAND(MakeColor);
QY_COMMAND(RunProgram);
QY_COMMAND(ReadWholeFile);
QY_COMMAND(WriteToFile);
QY_COMMAND(GetClipboardText);
QY_COMMAND(SetClipboardText);
QY_COMMAND(PlayAudio);
QY_COMMAND(LoadWindow);
QY_COMMAND(Destroy);
QY_COMMAND(FocusUnit);
QY_COMMAND(UpdateDisplay);
QY_COMMAND(GetWindowHandle);
QY_COMMAND(CreatePictureObject);
QY_COMMAND(NumberMethod);
QY_COMMAND(ReleaseObject);
QY_COMMAND(OpenDialog);
QY_COMMAND(Clear);
QY_COMMAND(WriteAt);
QY_COMMAND(DrawPicture);
QY_COMMAND(ReadPixel);
QY_COMMAND(TextWidth);
QY_COMMAND(TextHeight);
QY_COMMAND(PictureWidth);
QY_COMMAND(PictureHeight);
QY_COMMAND(LoadPicture);
#undef QY_COMMAND
}  // namespace commands

}  // namespace qy
