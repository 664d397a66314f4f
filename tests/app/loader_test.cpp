// The in-memory library loader, the method thunks and the ripple effect,
// with small DLLs of our own that the build puts beside the tests.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/call_function.h"
#include "app/library_loader.h"
#include "app/method_thunk.h"
#include "app/ripple_effect.h"
#include "gtest/gtest.h"
#include "runtime/runtime_app.h"
#include "tests/support/gdi_objects.h"
#include "tests/support/pump.h"

namespace {

using namespace program;

// A file beside the test program, as a byte set block: header, then bytes.
std::vector<uint8_t> ByteSetOfFile(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, length);
    file = file.substr(0, file.rfind('\\') + 1) + name;
    std::vector<uint8_t> block(8);
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << file;
    if (h == INVALID_HANDLE_VALUE) return block;
    block.resize(8 + GetFileSize(h, nullptr));
    DWORD read = 0;
    ReadFile(h, block.data() + 8, static_cast<DWORD>(block.size() - 8), &read, nullptr);
    CloseHandle(h);
    const int32_t header[2] = {1, static_cast<int32_t>(read)};
    std::memcpy(block.data(), header, 8);
    return block;
}

uint32_t U32(const std::vector<uint8_t>& block, size_t at) {
    uint32_t v;
    std::memcpy(&v, block.data() + 8 + at, 4);
    return v;
}
void PutU32(std::vector<uint8_t>& block, size_t at, uint32_t v) { std::memcpy(block.data() + 8 + at, &v, 4); }
void Truncate(std::vector<uint8_t>& block, size_t length) {
    block.resize(8 + length);
    PutU32(block, static_cast<size_t>(-4), static_cast<uint32_t>(length));  // the length word of the header
}

// Changes the first letter of a name the image holds, so nothing of that name is found.
void Misspell(std::vector<uint8_t>& block, const std::string& name) {
    auto at = std::search(block.begin() + 8, block.end(), name.begin(), name.end());
    ASSERT_NE(at, block.end()) << name;
    *at = 'X';
}

// The entry-point calls a test DLL logged: one reason digit per call.
std::string EntryLog(const char* variable) {
    char log[64] = {};
    GetEnvironmentVariableA(variable, log, sizeof log);
    return log;
}
void ClearEntryLog(const char* variable) { SetEnvironmentVariableA(variable, nullptr); }

constexpr char kPointerLog[] = "QY_POINTER_DLL_ENTRY";
constexpr char kRefusingLog[] = "QY_REFUSING_DLL_ENTRY";
constexpr int kPointerGreeting = 0x51A7E;

class LoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!qy::Runtime().initialised()) program::InitRuntime();
    }
    void SetUp() override {
        ClearEntryLog(kPointerLog);
        ClearEntryLog(kRefusingLog);
    }
    static uint32_t Call(LibraryLoader& loader, const char* name, uint32_t argument = 0) {
        uint32_t function = loader.GetFunction(name);
        EXPECT_NE(function, 0u) << name << " not found";
        return function ? CallWithWords(function, argument) : 0;
    }
    std::vector<uint8_t> pointerDll_ = ByteSetOfFile("qyloader_pointer.dll");
};

TEST_F(LoaderTest, MalformedImagesLoadNothing) {
    const size_t newHeader = U32(pointerDll_, 60);
    const size_t sections = pointerDll_[8 + newHeader + 6];
    struct Case {
        const char* what;
        void (*spoil)(std::vector<uint8_t>&, size_t newHeader, size_t sections);
    } cases[] = {
        {"shorter than a DOS header", [](std::vector<uint8_t>& b, size_t, size_t) { Truncate(b, 63); }},
        {"no MZ", [](std::vector<uint8_t>& b, size_t, size_t) { b[8] = 'N'; }},
        {"NT headers past the end", [](std::vector<uint8_t>& b, size_t h, size_t) { Truncate(b, h + 247); }},
        {"no PE signature", [](std::vector<uint8_t>& b, size_t h, size_t) { b[8 + h + 1] = 'X'; }},
        {"section table past the end",
         [](std::vector<uint8_t>& b, size_t h, size_t n) { Truncate(b, h + 248 + 40 * n - 1); }},
        {"not an executable image", [](std::vector<uint8_t>& b, size_t h, size_t) { b[8 + h + 22] &= ~0x02; }},
        {"a section's data past the end",
         [](std::vector<uint8_t>& b, size_t h, size_t) { PutU32(b, h + 248 + 20, 0x7FFFFFF0); }},
        {"a section beyond the image once rounded to an alignment of 1",
         [](std::vector<uint8_t>& b, size_t h, size_t) { PutU32(b, h + 56, 1), PutU32(b, h + 260, 0x80000000u); }},
        {"a relocation block of 4 bytes (the DOS header, read as one)",
         [](std::vector<uint8_t>& b, size_t h, size_t) { PutU32(b, h + 160, 0), PutU32(b, h + 164, 8), PutU32(b, 4, 4); }},
        {"a missing import library", [](std::vector<uint8_t>& b, size_t, size_t) { Misspell(b, "qytestdll.dll"); }},
        {"a missing import function",
         [](std::vector<uint8_t>& b, size_t, size_t) { Misspell(b, "SetEnvironmentVariableA"); }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> image = pointerDll_;
        c.spoil(image, newHeader, sections);
        LibraryLoader loader;
        EXPECT_FALSE(loader.Load(image.data())) << c.what;
        EXPECT_EQ(loader.ModuleBase(), 0u) << c.what;
        EXPECT_EQ(loader.GetFunction("GreetingValue"), 0u) << c.what;
    }
    EXPECT_EQ(EntryLog(kPointerLog), "") << "no malformed image may run its entry point";
}

TEST_F(LoaderTest, ImageAtATakenBaseIsRelocatedAndBoundByOrdinal) {
    LibraryLoader loader;
    ASSERT_TRUE(loader.Load(pointerDll_.data()));
    EXPECT_NE(loader.ModuleBase(), 0x00400000u) << "the program itself lives at the preferred base";
    EXPECT_EQ(Call(loader, "GreetingValue"), static_cast<uint32_t>(kPointerGreeting));
    EXPECT_EQ(Call(loader, "ImportedFive"), 5u);
    EXPECT_EQ(EntryLog(kPointerLog), "1") << "attached once, with no instance handle";
    EXPECT_EQ(loader.EntryPoint() - loader.ModuleBase(), U32(pointerDll_, U32(pointerDll_, 60) + 40));
}

TEST_F(LoaderTest, OrdinalImportUsesTheLowSixteenBits) {
    // High bits below the ordinal flag would make GetProcAddress take the
    // entry for a name pointer.
    std::vector<uint8_t> image = pointerDll_;
    int patched = 0;
    for (size_t at = 0; at + 4 <= image.size() - 8; at += 4) {
        if (U32(image, at) == 0x80000005u) PutU32(image, at, 0x80FF0005u), ++patched;
    }
    ASSERT_GT(patched, 0) << "the ordinal import of QyFive is missing";
    LibraryLoader loader;
    ASSERT_TRUE(loader.Load(image.data()));
    EXPECT_EQ(Call(loader, "ImportedFive"), 5u);
}

TEST_F(LoaderTest, ExportLookupIsExactAndCaseSensitive) {
    LibraryLoader loader;
    EXPECT_EQ(loader.GetFunction("GreetingValue"), 0u) << "nothing loaded yet";
    ASSERT_TRUE(loader.Load(pointerDll_.data()));
    EXPECT_NE(loader.GetFunction("GreetingValue"), 0u);
    EXPECT_NE(loader.GetFunction("ImportedFive"), loader.GetFunction("GreetingValue"));
    for (const char* other : {"greetingvalue", "GREETINGVALUE", "Greeting", "GreetingValue2", ""})
        EXPECT_EQ(loader.GetFunction(other), 0u) << other;
    auto* base = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(loader.ModuleBase()));
    const auto& optional = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + U32(pointerDll_, 60))->OptionalHeader;
    const uint32_t end = optional.SizeOfImage;
    const auto* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + optional.DataDirectory[0].VirtualAddress);
    std::memcpy(base + end - 8, "Greeting", 8);  // an export name ending past the image
    reinterpret_cast<uint32_t*>(base + exports->AddressOfNames)[0] = end - 8;
    reinterpret_cast<uint32_t*>(base + exports->AddressOfFunctions)[1] = end;  // ImportedFive's
    EXPECT_EQ(loader.GetFunction("Greeting"), 0u) << "a name running past the image";
    EXPECT_EQ(loader.GetFunction("ImportedFive"), 0u) << "a function outside the image";
}

TEST_F(LoaderTest, UnloadAndReloadDetachTheImage) {
    LibraryLoader loader;
    ASSERT_TRUE(loader.Load(pointerDll_.data()));
    const uint32_t first = loader.ModuleBase();
    ASSERT_TRUE(loader.Load(pointerDll_.data())) << "loading over a loaded image";
    EXPECT_EQ(EntryLog(kPointerLog), "101") << "the first image is detached before the second attaches";
    EXPECT_TRUE(loader.Unload());
    EXPECT_EQ(loader.ModuleBase(), 0u);
    EXPECT_EQ(EntryLog(kPointerLog), "1010");
    EXPECT_FALSE(loader.Unload()) << "nothing left to unload";
    MEMORY_BASIC_INFORMATION memory{};
    VirtualQuery(reinterpret_cast<void*>(static_cast<uintptr_t>(first)), &memory, sizeof memory);
    EXPECT_EQ(memory.State, static_cast<DWORD>(MEM_FREE)) << "the first image's memory is released";
    {
        LibraryLoader destroyed;
        ASSERT_TRUE(destroyed.Load(pointerDll_.data()));
    }
    EXPECT_EQ(EntryLog(kPointerLog), "101010") << "destroying a loader unloads its image";
}

TEST_F(LoaderTest, ACopySharesTheImageUntilTheLastLoaderLetsGo) {
    LibraryLoader original;
    ASSERT_TRUE(original.Load(pointerDll_.data()));
    const uint32_t base = original.ModuleBase();
    {
        LibraryLoader copy;
        LibraryLoader::Copy(&original, &copy);
        EXPECT_EQ(copy.ModuleBase(), base);
        EXPECT_TRUE(original.Unload());
        EXPECT_EQ(Call(copy, "GreetingValue"), static_cast<uint32_t>(kPointerGreeting)) << "the copy's image is mapped";
        EXPECT_EQ(EntryLog(kPointerLog), "1") << "not detached while the copy holds it";
    }
    EXPECT_EQ(EntryLog(kPointerLog), "10") << "detached once, by the last loader";
    MEMORY_BASIC_INFORMATION memory{};
    VirtualQuery(reinterpret_cast<void*>(static_cast<uintptr_t>(base)), &memory, sizeof memory);
    EXPECT_EQ(memory.State, static_cast<DWORD>(MEM_FREE));
}

TEST_F(LoaderTest, EntryPointRefusingToAttachFailsTheLoadAndIsDetached) {
    std::vector<uint8_t> image = ByteSetOfFile("qyloader_refusing.dll");
    LibraryLoader loader;
    EXPECT_FALSE(loader.Load(image.data()));
    EXPECT_EQ(loader.ModuleBase(), 0u);
    EXPECT_EQ(EntryLog(kRefusingLog), "10");
}

// An object whose one operation records what a thunk passed it.
struct Recorder {
    OperationTable operations;
    const Recorder* self = nullptr;
    uint32_t arguments[3] = {};
    uint16_t controlWord = 0;

    static uint32_t __stdcall Record(Recorder* self, uint32_t a, uint32_t b, uint32_t c) {
        self->self = self;
        self->arguments[0] = a, self->arguments[1] = b, self->arguments[2] = c;
        __asm__ volatile("fnstcw %0" : "=m"(self->controlWord));
        return a ^ b ^ c;
    }
};
const void* const kRecorderOperations[] = {reinterpret_cast<const void*>(&Recorder::Record), nullptr};

// Calls a function with three stack arguments; how many bytes of them it removed.
int CallThree(uint32_t function, const uint32_t (&args)[3], uint32_t* result) {
    const uint32_t frame[4] = {args[0], args[1], args[2], function};
    uint32_t before, after;
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "pushl 8(%%ebx)\n\t"
        "pushl 4(%%ebx)\n\t"
        "pushl (%%ebx)\n\t"
        "call *12(%%ebx)\n\t"
        "movl %%esp, %%edi\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(*result), "=S"(before), "=D"(after)
        : "b"(frame)
        : "ecx", "edx", "memory", "cc");
    return static_cast<int>(12 - (before - after));
}

TEST(MethodThunk, ForwardsArgumentsAndResultWithAFreshFpuState) {
    Recorder recorder{kRecorderOperations};
    void* stdcallThunk = BuildMethodThunk(&recorder, 1, 3);
    void* cdeclThunk = BuildMethodThunk(&recorder, 1, 3, MethodThunkOptions{false, true});
    ASSERT_NE(stdcallThunk, nullptr);
    ASSERT_NE(cdeclThunk, nullptr);

    uint16_t callerWord = 0x0C7F, restored = 0;  // truncating, single precision: not the default
    uint16_t saved;
    __asm__ volatile("fnstcw %0\n\tfldcw %1" : "=m"(saved) : "m"(callerWord));
    uint32_t result = 0;
    const int removed = CallThree(ThunkAddress(stdcallThunk), {0x11, 0x2200, 0x330000}, &result);
    __asm__ volatile("fnstcw %0\n\tfldcw %1" : "=m"(restored) : "m"(saved));

    EXPECT_EQ(recorder.self, &recorder);
    EXPECT_EQ(recorder.arguments[0], 0x11u);
    EXPECT_EQ(recorder.arguments[1], 0x2200u);
    EXPECT_EQ(recorder.arguments[2], 0x330000u);
    EXPECT_EQ(result, 0x332211u);
    EXPECT_EQ(removed, 12) << "a stdcall thunk removes its arguments";
    EXPECT_EQ(recorder.controlWord, 0x037F) << "the operation runs with a re-initialised FPU";
    EXPECT_EQ(restored, callerWord) << "the caller's control word comes back";

    EXPECT_EQ(CallThree(ThunkAddress(cdeclThunk), {7, 8, 9}, &result), 0) << "returns without removing them";
    EXPECT_EQ(result, 7u ^ 8u ^ 9u);
    Svc_Free(stdcallThunk);
    Svc_Free(cdeclThunk);
}

TEST(MethodThunk, RefusesTooManyArgumentsAndMissingOperations) {
    Recorder recorder{kRecorderOperations};
    void* largest = BuildMethodThunk(&recorder, 1, 256);
    EXPECT_NE(largest, nullptr) << "1024 bytes of arguments are allowed";
    Svc_Free(largest);
    EXPECT_EQ(BuildMethodThunk(&recorder, 1, 257), nullptr);
    EXPECT_EQ(BuildMethodThunk(&recorder, 1, -1), nullptr);
    EXPECT_EQ(BuildMethodThunk(&recorder, 0, 1), nullptr);
    EXPECT_EQ(BuildMethodThunk(&recorder, 2, 1), nullptr) << "past the end of the table";
}

// A window of the test's own with its own procedure, which counts what reaches it.
struct TargetWindow {
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN) ++mouseSeen;
        if (message == WM_USER + 7) return static_cast<LRESULT>(wParam + lParam);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    TargetWindow() {
        WNDCLASSA type{};
        type.lpfnWndProc = &Procedure;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "QyRippleTarget";
        RegisterClassA(&type);
        hwnd = CreateWindowExA(0, "QyRippleTarget", "", WS_POPUP | WS_VISIBLE, 0, 0, 120, 90, nullptr, nullptr,
                               type.hInstance, nullptr);
        mouseSeen = 0;
    }
    ~TargetWindow() { DestroyWindow(hwnd); }
    uint32_t Handle() const { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)); }
    LONG_PTR CurrentProcedure() const { return GetWindowLongPtrA(hwnd, GWLP_WNDPROC); }

    HWND hwnd;
    static inline int mouseSeen = 0;
};

// What the stand-in ripple engine saw, in the order of its record.
enum EngineSeen { kBitmapWidth, kTicks, kActions, kLastX, kLastY, kLastStrength, kLastSpread, kPaints };

class RippleTest : public LoaderTest {
protected:
    int Seen(EngineSeen what) { return static_cast<int>(Call(ripple_.Engine(), "RippleSeen", what)); }
    void StartRipple() {
        ripple_.Start(window_.Handle(), &K.defaultPicture, engine_.data());
        ASSERT_TRUE(ripple_.Running());
    }
    std::vector<uint8_t> engine_ = ByteSetOfFile("qyloader_ripple.dll");
    TargetWindow window_;
    RippleEffect ripple_;
};

TEST_F(RippleTest, SwallowsMouseMovesAndPressesAndPassesTheRestOn) {
    const LONG_PTR own = window_.CurrentProcedure();
    StartRipple();
    EXPECT_NE(window_.CurrentProcedure(), own);
    EXPECT_GT(Seen(kBitmapWidth), 0) << "WaterInit got the picture's bitmap";

    EXPECT_EQ(SendMessageA(window_.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(7, -3)), 0);
    EXPECT_EQ(Seen(kLastX), 7);
    EXPECT_EQ(Seen(kLastY), -3) << "y is the high word, signed";
    EXPECT_EQ(Seen(kLastStrength), 5);
    EXPECT_EQ(Seen(kLastSpread), 200);
    EXPECT_EQ(SendMessageA(window_.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30)), 0);
    EXPECT_EQ(Seen(kLastX), 40);
    EXPECT_EQ(Seen(kLastY), 30);
    EXPECT_EQ(Seen(kLastStrength), 60);
    EXPECT_EQ(Seen(kLastSpread), 500);
    EXPECT_EQ(Seen(kActions), 2);
    EXPECT_EQ(TargetWindow::mouseSeen, 0) << "the window's own procedure saw a swallowed message";

    EXPECT_EQ(SendMessageA(window_.hwnd, WM_USER + 7, 40, 2), 42) << "other messages reach the window's procedure";

    const int ticks = Seen(kTicks);
    EXPECT_TRUE(qytest::PumpUntil([&] { return Seen(kTicks) > ticks + 2; })) << "the timer drives WaterTimer";

    RippleEffect::Destroy(&ripple_);
    EXPECT_FALSE(ripple_.Running());
    EXPECT_EQ(window_.CurrentProcedure(), own) << "stopping restores the window's procedure";
    EXPECT_EQ(ripple_.Engine().ModuleBase(), 0u);
    EXPECT_EQ(EntryLog("QY_RIPPLE_ENGINE_ENTRY").back(), '0') << "the engine was detached";
}

TEST_F(RippleTest, RestingWaterStopsTheTimerUntilTheNextRippleAndPaintsAreReported) {
    StartRipple();
    SendMessageA(window_.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
    const int moving = Seen(kTicks);
    ASSERT_TRUE(qytest::PumpUntil([&] { return Seen(kTicks) > moving + 5; })) << "moving water is not ticked";
    // A timer still running would tick dozens of times in half a second.
    const int resting = Seen(kTicks);
    qytest::PumpUntil([] { return false; }, 500);
    EXPECT_LE(Seen(kTicks), resting + 1) << "resting water keeps the process awake";

    const int paints = Seen(kPaints);
    InvalidateRect(window_.hwnd, nullptr, TRUE);
    UpdateWindow(window_.hwnd);
    EXPECT_EQ(Seen(kPaints), paints + 1) << "the engine was not told of the window's repaint";

    SendMessageA(window_.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(7, 3));
    EXPECT_TRUE(qytest::PumpUntil([&] { return Seen(kTicks) > resting + 3; })) << "a new ripple starts no ticks";
}

TEST_F(RippleTest, StartingARunningRippleDoesNothing) {
    StartRipple();
    const LONG_PTR procedure = window_.CurrentProcedure();
    const uint32_t engine = ripple_.Engine().ModuleBase();
    ripple_.Start(window_.Handle(), &K.defaultPicture, engine_.data());
    EXPECT_EQ(window_.CurrentProcedure(), procedure);
    EXPECT_EQ(ripple_.Engine().ModuleBase(), engine) << "the engine was not loaded again";
}

TEST_F(RippleTest, WithoutAnEngineTheCallsAreSkipped) {
    ripple_.Start(window_.Handle(), &K.defaultPicture, EmptyByteSet());
    ASSERT_TRUE(ripple_.Running());
    EXPECT_EQ(ripple_.Engine().ModuleBase(), 0u);
    EXPECT_EQ(SendMessageA(window_.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4)), 0);
    RippleEffect::TimerTick(&ripple_);
    EXPECT_EQ(TargetWindow::mouseSeen, 0);
}

TEST_F(RippleTest, StartThatCannotSubclassLeavesNoTimer) {
    ripple_.Start(0, &K.defaultPicture, engine_.data());  // SetTimer would make a thread timer
    Sleep(100);
    MSG timer{};
    EXPECT_FALSE(PeekMessageA(&timer, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE) && !timer.hwnd) << "a stray timer";
}

TEST_F(RippleTest, TimerTicksLeaveNoDeviceContextsBehind) {
    StartRipple();
    for (int i = 0; i < 20; ++i) RippleEffect::TimerTick(&ripple_);  // the DC cache warms up first
    const int before = qytest::LiveGdiObjects();
    ASSERT_GE(before, 0);
    const int ticks = Seen(kTicks);
    for (int i = 0; i < 1000; ++i) RippleEffect::TimerTick(&ripple_);
    for (int i = 0; i < 100; ++i) RippleEffect::MoveRipple(&ripple_, i, i);
    EXPECT_GE(Seen(kTicks), ticks + 1000);
    EXPECT_LE(qytest::LiveGdiObjects() - before, 10);
}

}  // namespace
