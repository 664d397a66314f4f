// The core library's command table: the 42 commands the program calls, in
// the fixed order of the library record, with the entry form every command
// has. Compiled code and tools reach a command through CoreCommandEntry.
#pragma once
#include <cstdint>

#include "runtime/command_args.h"

namespace qy {

// The 42 commands in the order of the library record's entry array, each
// with the result type a caller assumes when the command leaves the type
// word at 0 (kResultVaries: the command writes the type word itself). The
// text commands and the system commands live in this folder, unit methods
// with their unit and picture loading with the media commands.
#define QY_CORE_COMMANDS(X)                   \
    X(TextLength, kTypeInt)                   \
    X(MidText, kTypeText)                     \
    X(RightText, kTypeText)                   \
    X(CompareText, kTypeInt)                  \
    X(PointerToText, kTypeText)               \
    X(ByteSetLength, kTypeInt)                \
    X(PointerToByteSet, kTypeByteSet)         \
    X(BitAnd, kTypeInt)                       \
    X(BitOr, kTypeInt)                        \
    X(ShiftRight, kTypeInt)                   \
    X(FloorToInteger, kTypeInt)               \
    X(ToInteger, kTypeInt)                    \
    X(ToText, kTypeText)                      \
    X(ToByteSet, kTypeByteSet)                \
    X(ReadByteSetValue, kResultVaries)        \
    X(MakeColor, kTypeInt)                    \
    X(RunProgram, kTypeLogical)               \
    X(ReadWholeFile, kTypeByteSet)            \
    X(WriteToFile, kTypeLogical)              \
    X(GetClipboardText, kTypeText)            \
    X(SetClipboardText, kTypeLogical)         \
    X(PlayAudio, kTypeLogical)                \
    X(LoadWindow, kTypeLogical)               \
    X(Destroy, kResultNone)                   \
    X(FocusUnit, kResultNone)                 \
    X(UpdateDisplay, kResultNone)             \
    X(GetWindowHandle, kTypeInt)              \
    X(CreatePictureObject, kTypeLogical)      \
    X(NumberMethod, kTypeDouble)              \
    X(ReleaseObject, kResultNone)             \
    X(OpenDialog, kTypeLogical)               \
    X(Clear, kResultNone)                     \
    X(WriteAt, kResultNone)                   \
    X(DrawPicture, kResultNone)               \
    X(ReadPixel, kTypeInt)                    \
    X(TextWidth, kTypeInt)                    \
    X(TextHeight, kTypeInt)                   \
    X(PictureWidth, kTypeInt)                 \
    X(PictureHeight, kTypeInt)                \
    X(LoadPicture, kTypeInt)                  \
    X(ReadPixelGrid, kTypeByteSet)            \
    X(ReleasePicture, kResultNone)

enum class CoreCommand : int {
#define QY_ENUM(name, result) name,
    QY_CORE_COMMANDS(QY_ENUM)
#undef QY_ENUM
    Count
};
constexpr int kCoreCommandCount = static_cast<int>(CoreCommand::Count);
static_assert(kCoreCommandCount == 42, "the core library record lists 42 commands");

// The result type a caller assumes when the command leaves word 2 at 0;
// kResultVaries marks commands that write word 2 themselves.
constexpr uint32_t kResultNone = kTypeNone;
constexpr uint32_t kResultVaries = 0xFFFFFFFFu;

struct CoreCommandInfo {
    const char* name;
    CommandEntry entry;
    uint32_t resultType;
};

const CoreCommandInfo& CoreCommandAt(CoreCommand command);
inline CommandEntry CoreCommandEntry(CoreCommand command) { return CoreCommandAt(command).entry; }
// The command of that name, or null.
const CoreCommandInfo* FindCoreCommand(const char* name);
// Copies the entries into a library record's entry array of kCoreCommandCount slots.
void FillCoreCommandArray(const void** slots);

namespace commands {
#define QY_DECLARE(name, result) QY_COMMAND(name);
QY_CORE_COMMANDS(QY_DECLARE)
#undef QY_DECLARE
}  // namespace commands

}  // namespace qy
