// The core library's command table: its fixed order and the library record's
// entry array that mirrors it.
#include <string>

#include "gtest/gtest.h"
#include "commands/libraries.h"
#include "tests/commands/command_call.h"

using namespace qy;

TEST(CoreCommandTable, ListsItsCommandsInLibraryRecordOrder) {
    const char* const expected[] = {
        "TextLength",    "MidText",          "RightText",       "CompareText",      "PointerToText",
        "ByteSetLength", "PointerToByteSet", "BitAnd",          "BitOr",            "ShiftRight",
        "FloorToInteger", "ToInteger",       "ToText",          "ToByteSet",        "ReadByteSetValue",
        "MakeColor",     "RunProgram",       "ReadWholeFile",   "WriteToFile",      "GetClipboardText",
        "SetClipboardText", "PlayAudio",     "LoadWindow",      "Destroy",          "FocusUnit",
        "UpdateDisplay", "GetWindowHandle",  "CreatePictureObject", "NumberMethod", "ReleaseObject",
        "OpenDialog",    "Clear",            "WriteAt",         "DrawPicture",      "ReadPixel",
        "TextWidth",     "TextHeight",       "PictureWidth",    "PictureHeight",    "LoadPicture",
        "ReadPixelGrid", "ReleasePicture",
    };
    static_assert(sizeof expected / sizeof expected[0] == kCoreCommandCount, "one name per slot");
    ASSERT_EQ(kCoreCommandCount, CoreLibrary.commandCount);
    for (int i = 0; i < kCoreCommandCount; ++i) {
        const CoreCommandInfo& info = CoreCommandAt(static_cast<CoreCommand>(i));
        EXPECT_STREQ(expected[i], info.name) << "slot " << i;
        EXPECT_EQ(&info, FindCoreCommand(expected[i])) << "the name finds its own slot";
    }
    EXPECT_EQ(nullptr, FindCoreCommand("textlength")) << "names are exact";
    EXPECT_EQ(nullptr, FindCoreCommand(""));
}

TEST(CoreCommandTable, TheLibraryRecordCarriesTheSameEntries) {
    // The core library fills its entry array when the runtime starts it.
    if (!qy::Runtime().initialised()) program::InitRuntime();
    const void* const* slots = CoreLibrary.commands;
    ASSERT_EQ(MutableCommands(CoreLibrary), slots);
    for (int i = 0; i < kCoreCommandCount; ++i)
        EXPECT_EQ(reinterpret_cast<const void*>(CoreCommandEntry(static_cast<CoreCommand>(i))), slots[i]) << "slot " << i;
    // Every command of the text and conversion groups is built.
    for (int i = static_cast<int>(CoreCommand::TextLength); i <= static_cast<int>(CoreCommand::MakeColor); ++i)
        EXPECT_NE(nullptr, slots[i]) << CoreCommandAt(static_cast<CoreCommand>(i)).name;
}
