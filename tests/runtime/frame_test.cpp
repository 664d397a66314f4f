// The command frame, OtherHelp and RuntimeNotify as compiled code and the
// libraries reach them.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/abi/program_abi.h"
#include "gtest/gtest.h"
#include "runtime/events.h"
#include "commands/libraries.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "tests/runtime/runtime_fixture.h"

using namespace qy;

namespace {
struct Seen {
    int count = -1;
    ValueRecord args[4] = {};
    ValueRecord resultOnEntry = {1, 1, 1};
} seen;

void __cdecl RecordingCommand(ValueRecord* result, int count, ValueRecord* args) {
    seen.count = count;
    for (int i = 0; i < count && i < 4; ++i) seen.args[i] = args[i];
    seen.resultOnEntry = *result;
    result->low = 0x11111111;
    result->high = 0x22222222;
    result->type = kTypeLong;
}

// A command that answers a fresh text and leaves the type word alone.
void __cdecl TextCommand(ValueRecord* result, int, ValueRecord* args) {
    result->low = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(NewText(TextOf(args[0]), 2)));
}

int32_t Notify(int32_t code, const void* a1 = nullptr, int32_t a2 = 0) {
    return RuntimeNotify(code, static_cast<int32_t>(reinterpret_cast<uintptr_t>(a1)), a2);
}

int atExitCalls = 0;
void __cdecl CountingAtExit() { ++atExitCalls; }
}  // namespace

TEST(CommandFrame, PassesCountAndRecordsInOrderWithAZeroedResult) {
    const ValueRecord omitted{0, 0, 0};
    ValueRecord result = program::CallCore(reinterpret_cast<const void*>(&RecordingCommand),
                                           {MakeIntRecord(7), omitted, MakeDoubleRecord(2.5)});
    EXPECT_EQ(3, seen.count);
    EXPECT_EQ(7u, seen.args[0].low);
    EXPECT_EQ(kTypeInt, seen.args[0].type);
    EXPECT_EQ(0u, seen.args[1].low);
    EXPECT_EQ(0u, seen.args[1].high);
    EXPECT_EQ(0u, seen.args[1].type) << "an omitted argument is three zero words";
    EXPECT_EQ(2.5, RecordDouble(seen.args[2]));
    EXPECT_EQ(0u, seen.resultOnEntry.low);
    EXPECT_EQ(0u, seen.resultOnEntry.high);
    EXPECT_EQ(0u, seen.resultOnEntry.type);
    EXPECT_EQ(0x11111111u, result.low);
    EXPECT_EQ(0x22222222u, result.high);
    EXPECT_EQ(kTypeLong, result.type);

    ValueRecord none = program::CallCore(reinterpret_cast<const void*>(&RecordingCommand), nullptr, 0);
    EXPECT_EQ(0, seen.count);
    EXPECT_EQ(kTypeLong, none.type);
}

TEST(CommandFrame, LibraryCommandsUseTheSameFrameAndResultsAreOwnedByTheCaller) {
    ValueRecord result =
        program::CallLibrary(reinterpret_cast<const void*>(&TextCommand), {MakeTextRecord("abcdef")});
    EXPECT_STREQ("ab", TextOf(result));
    EXPECT_EQ(0u, result.type) << "the type word stays as the frame zeroed it";
    Free(const_cast<char*>(TextOf(result)));
}

TEST(OtherHelp, RegisterAtExitKeepsOneEntryPerRoutine) {
    qytest::EnsureRuntime();
    const std::vector<AtExitRoutine>& routines = Runtime().atExitRoutines();
    program::RegisterAtExit(&CountingAtExit);
    program::RegisterAtExit(&CountingAtExit);
    EXPECT_EQ(1, std::count(routines.begin(), routines.end(), &CountingAtExit));
}

TEST(OtherHelp, FindFileFiltersEntriesAndClosesTheSearchAtTheEnd) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "qy_find_test";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
    for (const char* name : {"\\a.txt", "\\b.txt"}) {
        HANDLE f = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(f);
    }
    SetFileAttributesA((folder + "\\b.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);

    uintptr_t slot = 0;
    std::string pattern = folder + "\\*";
    // All entries: every name that is not a directory.
    std::string names;
    for (char* name = program::FindFile(pattern.c_str(), 0, true, &slot); name;
         name = program::FindFile("", 0, true, &slot)) {
        names += std::string(name) + ";";
        Free(name);
    }
    EXPECT_EQ(0u, slot) << "the search is closed when nothing is left";
    EXPECT_NE(std::string::npos, names.find("a.txt;"));
    EXPECT_NE(std::string::npos, names.find("b.txt;"));
    EXPECT_EQ(std::string::npos, names.find("sub;"));

    // Mask: only hidden entries.
    char* hidden = program::FindFile(pattern.c_str(), FILE_ATTRIBUTE_HIDDEN, false, &slot);
    ASSERT_NE(nullptr, hidden);
    EXPECT_STREQ("b.txt", hidden);
    Free(hidden);
    EXPECT_EQ(nullptr, program::FindFile("", FILE_ATTRIBUTE_HIDDEN, false, &slot));
    EXPECT_EQ(0u, slot);

    // Mask 0x10 (directory) finds the sub-folder; EndFindFile closes a search still open.
    char* dir = program::FindFile(pattern.c_str(), FILE_ATTRIBUTE_DIRECTORY, false, &slot);
    ASSERT_NE(nullptr, dir);
    EXPECT_NE(0u, slot);
    Free(dir);
    program::EndFindFile(slot);

    SetFileAttributesA((folder + "\\b.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((folder + "\\a.txt").c_str());
    DeleteFileA((folder + "\\b.txt").c_str());
    RemoveDirectoryA((folder + "\\sub").c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(RuntimeNotify, ServesTheLibrariesAfterInitialisation) {
    qytest::EnsureRuntime();
    RuntimeApp& app = Runtime();
    EXPECT_EQ(reinterpret_cast<RuntimeNotifyEntry>(&RuntimeNotify), LibraryRuntimeNotify(CoreLibrary));
    EXPECT_EQ(reinterpret_cast<RuntimeNotifyEntry>(&RuntimeNotify), LibraryRuntimeNotify(SpecialFunctionsLibrary));
    EXPECT_EQ(3, Notify(kNotifyRunMode));
    EXPECT_EQ(70613u, app.counter()) << "the counter starts one above header word 2";

    EXPECT_EQ(app.programDirectory(), std::string(reinterpret_cast<const char*>(Notify(kNotifyProgramDirectory))));
    EXPECT_EQ("runtime_tests.exe", std::string(reinterpret_cast<const char*>(Notify(kNotifyProgramFileName))));
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_STREQ(app.programDirectory().c_str(), current) << "the program directory becomes current";

    // Event hold count: incremented and decremented, never below zero.
    LONG hold = app.eventHolds();
    uint32_t counter = app.counter();
    Notify(kNotifyHoldEvents);
    EXPECT_EQ(hold + 1, app.eventHolds());
    Notify(kNotifyReleaseEvents);
    Notify(kNotifyReleaseEvents);
    Notify(kNotifyReleaseEvents);
    EXPECT_EQ(0, app.eventHolds());
    Notify(kNotifyCount);
    EXPECT_EQ(counter + 5, app.counter());

    ValueRecord shortValue{0xFFFE, 0, kTypeShort};
    EXPECT_EQ(-2, Notify(kNotifyValueToInt, &shortValue));

    void* block = reinterpret_cast<void*>(RuntimeNotify(kNotifyAllocate, 16, 0));
    ASSERT_NE(nullptr, block);
    Free(block);
    void* quiet = reinterpret_cast<void*>(RuntimeNotify(kNotifyAllocate, 32, 1));
    ASSERT_NE(nullptr, quiet);
    quiet = reinterpret_cast<void*>(RuntimeNotify(kNotifyReallocate, static_cast<int32_t>(reinterpret_cast<uintptr_t>(quiet)), 64));
    ASSERT_NE(nullptr, quiet);
    EXPECT_EQ(0, Notify(kNotifyFree, quiet));

    EXPECT_EQ(0, Notify(999));
    EXPECT_EQ(0, Notify(5000));
    EXPECT_EQ(0, Notify(1013)) << "a runtime function this program does not use";
}

TEST(RuntimeNotify, SmallRecordsAndArrays) {
    qytest::EnsureRuntime();
    auto* record = static_cast<SmallRecord*>(Allocate(sizeof(SmallRecord)));
    record->icon = nullptr;
    record->buffer = Allocate(10);
    EXPECT_EQ(0, Notify(kNotifyHasSmallRecord, record));
    Notify(kNotifyAddSmallRecord, record);
    EXPECT_EQ(1, Notify(kNotifyHasSmallRecord, record));

    // A text array owns its elements: releasing it frees them and the block.
    // HeapValidate of one block fails once that block is back on the heap.
    auto live = [](const void* block) { return HeapValidate(GetProcessHeap(), 0, block) != FALSE; };
    auto* array = static_cast<int32_t*>(Allocate(4 * 4));
    char* element = NewText("x", 1);
    array[0] = 1;
    array[1] = 2;
    array[2] = static_cast<int32_t>(reinterpret_cast<uintptr_t>(element));
    array[3] = 0;
    ASSERT_TRUE(live(array));
    ASSERT_TRUE(live(element));
    EXPECT_EQ(0, RuntimeNotify(kNotifyReleaseArray, static_cast<int32_t>(kTypeText),
                               static_cast<int32_t>(reinterpret_cast<uintptr_t>(array))));
    EXPECT_FALSE(live(element)) << "the element is freed with its array";
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

TEST(RuntimeNotify, DataTypeEntriesByLibraryTypeCode) {
    qytest::EnsureRuntime();
    const void* eighth = reinterpret_cast<const void*>(Notify(kNotifyDataType, reinterpret_cast<void*>(0x00010008)));
    EXPECT_EQ(static_cast<const void*>(&CoreLibrary.dataTypes[7]), eighth);
    EXPECT_EQ(0, Notify(kNotifyDataType, reinterpret_cast<void*>(0x00010000 + 52))) << "past the core library's 51 types";
    EXPECT_EQ(0, Notify(kNotifyDataType, reinterpret_cast<void*>(0x00020001))) << "the XP-style library has no types";
    EXPECT_EQ(0, Notify(kNotifyDataType, reinterpret_cast<void*>(0x00050001))) << "no fifth library";
}

TEST(RuntimeApp, HiddenOwnerWindowIsAHiddenToolWindow) {
    qytest::EnsureRuntime();
    HWND owner = Runtime().hiddenOwnerHandle();
    ASSERT_TRUE(IsWindow(owner));
    char className[64];
    GetClassNameA(owner, className, sizeof className);
    EXPECT_STREQ("_QY_HideOwner", className);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_TRUE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetCurrentThreadId(), Runtime().mainThreadId());
}

namespace {
// Event handlers as compiled code writes them: a result in EAX:EDX and the
// has-result flag in ECX.
extern "C" void HandlerWithValue();
extern "C" void HandlerWithoutValue();
extern "C" int32_t handlerArgs[4];
__asm__(
    ".data\n"
    "_handlerArgs: .long 0,0,0,0\n"
    ".text\n"
    "_HandlerWithValue:\n"
    "  mov 4(%esp), %eax\n  mov %eax, _handlerArgs\n"
    "  mov 8(%esp), %eax\n  mov %eax, _handlerArgs+4\n"
    "  mov 12(%esp), %eax\n  mov %eax, _handlerArgs+8\n"
    "  mov $0x1234, %eax\n  mov $0x5678, %edx\n  mov $1, %ecx\n  ret\n"
    "_HandlerWithoutValue:\n"
    "  mov $0x9999, %eax\n  xor %ecx, %ecx\n  ret $8\n");
}  // namespace

TEST(EventDelivery, ShortAndLongRecordsReachTheHandler) {
    uint32_t shortRecord[11] = {0x52010001, 0, 0, 2, 0xAAAA, 0xBBBB, 0, 0, 0, 0, 77};
    EXPECT_TRUE(DeliverEvent(reinterpret_cast<const void*>(&HandlerWithValue), shortRecord, false));
    EXPECT_EQ(0xAAAA, handlerArgs[0]);
    EXPECT_EQ(0xBBBB, handlerArgs[1]);
    EXPECT_EQ(1u, shortRecord[9]);
    EXPECT_EQ(0x1234u, shortRecord[10]);

    uint32_t untouched[11] = {0x52010001, 0, 0, 2, 1, 2, 0, 0, 0, 0, 77};
    EXPECT_FALSE(DeliverEvent(reinterpret_cast<const void*>(&HandlerWithoutValue), untouched, false));
    EXPECT_EQ(0u, untouched[9]);
    EXPECT_EQ(77u, untouched[10]) << "no value leaves the result word as it was";

    // Long record: a short slot is sign-extended, a double takes two words.
    uint32_t longRecord[55] = {};
    longRecord[3] = 2;
    longRecord[4] = 0xFFFF;
    longRecord[6] = kTypeShort;
    ValueRecord d = MakeDoubleRecord(1.0);
    longRecord[8] = d.low;
    longRecord[9] = d.high;
    longRecord[10] = kTypeDouble;
    EXPECT_TRUE(DeliverEvent(reinterpret_cast<const void*>(&HandlerWithValue), longRecord, true));
    EXPECT_EQ(-1, handlerArgs[0]);
    EXPECT_EQ(static_cast<int32_t>(d.low), handlerArgs[1]);
    EXPECT_EQ(static_cast<int32_t>(d.high), handlerArgs[2]);
    EXPECT_EQ(1u, longRecord[52]);
    EXPECT_EQ(0x1234u, longRecord[53]);
    EXPECT_EQ(0x5678u, longRecord[54]);
}

TEST(RuntimeNotify, ProgramIconsAreLoadedOnceAndKept) {
    qytest::EnsureRuntime();
    HICON icons[2] = {nullptr, nullptr};
    int32_t second = RuntimeNotify(kNotifyProgramIcons, static_cast<int32_t>(reinterpret_cast<uintptr_t>(icons)), 0);
    ASSERT_NE(nullptr, icons[0]);
    ASSERT_NE(nullptr, icons[1]);
    EXPECT_EQ(reinterpret_cast<int32_t>(icons[1]), second);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icons[1], &info));
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), bitmap.bmWidth);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    HICON again[2] = {nullptr, nullptr};
    RuntimeNotify(kNotifyProgramIcons, static_cast<int32_t>(reinterpret_cast<uintptr_t>(again)), 0);
    EXPECT_EQ(icons[0], again[0]);
}
