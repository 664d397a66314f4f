// Live windows made of the unit types built so far: loading, stacking,
// property reads and writes, event dispatch and the window's keyboard
// handling, under the real runtime.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/abi/program_abi.h"
#include "gtest/gtest.h"
#include "styling/library_list.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "runtime/services.h"
#include "tests/support/child_process.h"
#include "tests/support/test_program.h"
#include "tests/support/unit_window.h"
#include "units/button/button.h"
#include "window/own_data.h"
#include "units/button/button_data.h"
#include "units/label/label_data.h"
#include "window/window_list.h"

using namespace qy;

extern "C" {
void TestHandler0();
void TestHandler1();
void TestHandler2();
void TestHandler3();
}

namespace {
struct Call {
    uint32_t window, unit;
    std::vector<int32_t> args;
    std::string text;  // the first argument read as text, where the test asks for it
};
std::vector<Call> calls;
bool firstArgumentIsText = false;
bool answerGiven = false;
int32_t answer = 0;

constexpr uint32_t kWindow = 0x52020001, kOwn = 0x06020000;
constexpr uint32_t kHidden = 0x52020002, kHiddenOwn = 0x06020003;
constexpr uint32_t kDoomed = 0x52020003, kDoomedOwn = 0x06020005, kDoomedButton = 0x16020006;
// The unit whose events make the subroutine destroy the doomed window.
uint32_t destroyingUnit = 0;
constexpr uint32_t kButton = 0x16020001, kCheck = 0x16020002, kPlainLabel = 0x16020003, kFramedLabel = 0x16020004;

uintptr_t CodeBase() { return reinterpret_cast<uintptr_t>(&TestHandler0); }
int32_t Offset(void (*handler)()) { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(handler) - CodeBase()); }

UnitRecord MakeUnit(uint32_t type, const char* name, int left, int top, int width, int height, uint32_t state, int tab,
                Bytes data) {
    UnitRecord u;
    u.typeRef = type;
    u.name = name;
    u.left = left, u.top = top, u.width = width, u.height = height;
    u.state = state;
    u.tabOrder = tab;
    u.ownData = std::move(data);
    return u;
}

Bytes TestSegment() {
    WindowData wd;
    wd.caption = "测试窗口";
    wd.position = 0;
    wd.escCloses = 1;
    UnitRecord own = MakeUnit(0x10001, "", 100, 100, 400, 300, kStateVisible, 0, wd.Write());
    own.bindings = {{0, Offset(&TestHandler0)}, {kEventLeftDown, Offset(&TestHandler3)},
                    {kWindowFilesDropped, Offset(&TestHandler1)}};

    ButtonData bd;
    bd.caption = "按钮";
    UnitRecord button = MakeUnit(0x1000B, "按钮1", 10, 10, 80, 25, 5, 1, bd.Write());
    button.bindings = {{0, Offset(&TestHandler0)}, {-11, Offset(&TestHandler1)}, {-12, Offset(&TestHandler2)}};

    CheckBoxData cd;
    cd.caption = "选择";
    UnitRecord check = MakeUnit(0x1000C, "选择框1", 10, 40, 80, 25, 5, 2, cd.Write());
    check.bindings = {{0, Offset(&TestHandler0)}};

    LabelData plain;
    plain.border = 6;
    plain.borderWidth = 5;
    plain.borderColor[0] = 0x00FF00;  // one usable colour: no frame
    plain.backColor = 0x0000FF;
    UnitRecord plainLabel = MakeUnit(0x1000A, "标签1", 10, 80, 60, 30, kStateVisible, 3, plain.Write());
    plainLabel.bindings = {{-2, -1}, {-1, Offset(&TestHandler3)}};

    LabelData framed = plain;
    framed.borderColor[1] = 0x008000;
    UnitRecord framedLabel = MakeUnit(0x1000A, "标签2", 80, 80, 60, 30, kStateVisible, 4, framed.Write());

    WindowTemplate shown;
    shown.id = kWindow;
    shown.units = UnitTable::Build({{kOwn, EncodeUnit(own)},
                                    {kButton, EncodeUnit(button)},
                                    {kCheck, EncodeUnit(check)},
                                    {kPlainLabel, EncodeUnit(plainLabel)},
                                    {kFramedLabel, EncodeUnit(framedLabel)}});
    // A window whose activation and whose button both run the subroutine
    // that destroys it.
    UnitRecord doomedOwn = MakeUnit(0x10001, "", 60, 60, 300, 200, kStateVisible, 0, wd.Write());
    doomedOwn.bindings = {{5, Offset(&TestHandler0)}};
    UnitRecord doomedButton = MakeUnit(0x1000B, "按钮1", 10, 10, 80, 25, 5, 1, bd.Write());
    doomedButton.bindings = {{0, Offset(&TestHandler0)}};
    WindowTemplate doomed;
    doomed.id = kDoomed;
    doomed.units = UnitTable::Build({{kDoomedOwn, EncodeUnit(doomedOwn)}, {kDoomedButton, EncodeUnit(doomedButton)}});
    WindowTemplate hidden;
    hidden.id = kHidden;
    UnitRecord hiddenOwn = MakeUnit(0x10001, "", 50, 50, 200, 100, 0, 0, wd.Write());
    hidden.units = UnitTable::Build({{kHiddenOwn, EncodeUnit(hiddenOwn)}});
    return WriteSegment({shown, hidden, doomed});
}

class LiveWindow : public ::testing::Test {
protected:
    void SetUp() override {
        qytest::InstallSegment(TestSegment(), CodeBase());
        calls.clear();
        answerGiven = false;
        destroyingUnit = 0;
    }
    void TearDown() override { Windows().Clear(); }

    HWND Handle(uint32_t unit) {
        qy::Unit* u = Windows().FindUnitObject(kWindow, unit, false);
        return u ? u->hwnd() : nullptr;
    }
    int CallsFrom(uint32_t unit) {
        int n = 0;
        for (const Call& c : calls) n += c.unit == unit;
        return n;
    }
    uint32_t Read(uint32_t window, uint32_t unit, int property, int sub = -1) {
        return static_cast<uint32_t>(Windows().ReadProperty(window, unit, property, sub));
    }
    void Write(uint32_t window, uint32_t unit, int property, uint32_t value, int sub = -1) {
        Windows().WriteProperty(window, unit, property, sub, value, 0);
    }
    bool Load(uint32_t window) { return Windows().LoadStartupWindow(window); }
};
}  // namespace

extern "C" uint64_t __cdecl TestEventSink(const int32_t* args, int count) {
    calls.push_back({Windows().eventWindow, Windows().eventUnit, std::vector<int32_t>(args, args + count), ""});
    if (firstArgumentIsText && count > 0) calls.back().text = reinterpret_cast<const char*>(args[0]);
    if (destroyingUnit && Windows().eventUnit == destroyingUnit) {
        if (Unit* window = Windows().FindUnitObject(kDoomed, 0, false)) DestroyWindow(window->hwnd());
    }
    if (!answerGiven) return 0;
    return static_cast<uint64_t>(1) << 32 | static_cast<uint32_t>(answer);
}

TEST_F(LiveWindow, ASubroutineMayDestroyItsWindowFromAClickOrAnActivation) {
    ASSERT_TRUE(Load(kDoomed));
    HWND window = Windows().FindUnitObject(kDoomed, 0, false)->hwnd();
    HWND button = Windows().FindUnitObject(kDoomed, kDoomedButton, false)->hwnd();
    destroyingUnit = kDoomedButton;
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(window)) << "the click's subroutine destroys the window";
    EXPECT_EQ(Windows().FindUnitObject(kDoomed, 0, false), nullptr);

    ASSERT_TRUE(Load(kDoomed));
    window = Windows().FindUnitObject(kDoomed, 0, false)->hwnd();
    destroyingUnit = kDoomedOwn;
    calls.clear();
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(IsWindow(window)) << "the activation's subroutine destroys the window";
    EXPECT_EQ(calls.size(), 1u) << "nothing is raised for the window once it is gone";
}

TEST_F(LiveWindow, UnitsAreCreatedFromTheLastEntryAndStackedInTableOrder) {
    ASSERT_TRUE(Load(kWindow));
    EXPECT_EQ(GetDlgCtrlID(Handle(kFramedLabel)), 100);
    EXPECT_EQ(GetDlgCtrlID(Handle(kPlainLabel)), 110);
    EXPECT_EQ(GetDlgCtrlID(Handle(kCheck)), 120);
    EXPECT_EQ(GetDlgCtrlID(Handle(kButton)), 130);
    HWND top = GetWindow(Handle(kButton), GW_HWNDFIRST);
    EXPECT_EQ(top, Handle(kButton));
    EXPECT_EQ(GetWindow(top, GW_HWNDNEXT), Handle(kCheck));
    EXPECT_EQ(GetWindow(Handle(kCheck), GW_HWNDNEXT), Handle(kPlainLabel));
    char className[32] = {};
    GetClassNameA(Handle(kPlainLabel), className, sizeof className);
    EXPECT_STREQ(className, "_QY_Label");
    GetClassNameA(GetParent(Handle(kButton)), className, sizeof className);
    EXPECT_STREQ(className, "WTWindow");
}

TEST_F(LiveWindow, LoadingTwiceKeepsOneWindowAndCreatedIsRaisedOnce) {
    ASSERT_TRUE(Load(kWindow));
    qy::Unit* first = Windows().FindUnitObject(kWindow, 0, false);
    ASSERT_TRUE(Load(kWindow));
    EXPECT_EQ(Windows().FindUnitObject(kWindow, 0, false), first);
    EXPECT_EQ(CallsFrom(kOwn), 1);  // event 0 (created); 3 and 4 have no bindings
    EXPECT_TRUE(IsWindowVisible(first->hwnd()));
}

TEST_F(LiveWindow, EventsWhileHeldNeverReachTheApplication) {
    ASSERT_TRUE(Load(kWindow));
    calls.clear();
    RuntimeNotify(kNotifyHoldEvents, 0, 0);
    SendMessageA(Handle(kButton), BM_CLICK, 0, 0);
    RuntimeNotify(kNotifyReleaseEvents, 0, 0);
    EXPECT_EQ(CallsFrom(kButton), 0);
    SendMessageA(Handle(kButton), BM_CLICK, 0, 0);
    ASSERT_EQ(CallsFrom(kButton), 1);
    EXPECT_EQ(calls.back().window, kWindow);
    EXPECT_EQ(Windows().eventUnit, 0u);  // the event source lasts only while the subroutine runs
}

TEST_F(LiveWindow, UnboundAndMinusOneHandlersCallNothing) {
    ASSERT_TRUE(Load(kWindow));
    uint32_t record[11] = {kWindow, kPlainLabel, static_cast<uint32_t>(-2), 0};
    EXPECT_EQ(RuntimeNotify(kNotifyRaiseEvent, static_cast<int32_t>(reinterpret_cast<uintptr_t>(record)), 0), 0);
    record[2] = static_cast<uint32_t>(-1);
    record[3] = 3;
    record[4] = 5, record[5] = 6, record[6] = 1;
    answerGiven = true;
    answer = 0;
    EXPECT_EQ(RuntimeNotify(kNotifyRaiseEvent, static_cast<int32_t>(reinterpret_cast<uintptr_t>(record)), 0), 1);
    EXPECT_EQ(record[9], 1u);
    ASSERT_EQ(calls.back().args, (std::vector<int32_t>{5, 6, 1}));
}

TEST_F(LiveWindow, CharacterEventsSwallowOrReplaceTheCharacter) {
    ASSERT_TRUE(Load(kWindow));
    answerGiven = true;
    answer = 0;
    MSG m{Handle(kButton), WM_CHAR, 'x', 0, 0, {0, 0}};
    EXPECT_TRUE(Runtime().PreTranslateMessage(&m));
    answer = 65;
    m.wParam = 'x';
    EXPECT_FALSE(Runtime().PreTranslateMessage(&m));
    EXPECT_EQ(m.wParam, 65u);
    answerGiven = false;
    m.wParam = 'y';
    EXPECT_FALSE(Runtime().PreTranslateMessage(&m));
    EXPECT_EQ(m.wParam, static_cast<WPARAM>('y'));
}

TEST_F(LiveWindow, PartNotchesOfTheWheelAddUpAndNeverStepBackwards) {
    ASSERT_TRUE(Load(kWindow));
    std::vector<int32_t> steps;
    for (int delta : {40, 40, 40, 80, -40, -80, 360, -20}) {
        calls.clear();
        MSG m{Handle(kButton), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0, 0, {0, 0}};
        Runtime().PreTranslateMessage(&m);
        steps.push_back(calls.empty() ? 0 : calls.back().args.at(0));
    }
    EXPECT_EQ(steps, (std::vector<int32_t>{0, 0, 1, 0, 0, -1, 3, 0}));
}

TEST_F(LiveWindow, MouseCoordinatesLeftOfOrAboveTheWindowStayNegative) {
    ASSERT_TRUE(Load(kWindow));
    calls.clear();
    MSG m{Handle(0), WM_LBUTTONDOWN, MK_SHIFT, MAKELPARAM(-5, -7), 0, {0, 0}};
    Runtime().PreTranslateMessage(&m);
    ASSERT_EQ(CallsFrom(kOwn), 1);
    EXPECT_EQ(calls.back().args, (std::vector<int32_t>{-5, -7, 2})) << "x, y and Shift";
}

namespace {
// The drop record the shell hands a window for one file.
HDROP DropOf(const std::wstring& path) {
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    path.copy(reinterpret_cast<wchar_t*>(drop + 1), path.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// The name the program received for a file dropped on its window.
std::string DroppedName(HWND window, const std::wstring& path) {
    calls.clear();
    firstArgumentIsText = true;
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(path)), 0);
    firstArgumentIsText = false;
    return calls.size() == 1 ? calls.back().text : "(" + std::to_string(calls.size()) + " events)";
}
}  // namespace

TEST_F(LiveWindow, ADroppedFileArrivesByANameTheProgramCanOpen) {
    ASSERT_TRUE(Load(kWindow));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // Chinese has a GBK spelling; Korean has none, and would have come as "??".
    for (const wchar_t* file : {L"\u4E2D\u6587 drop.txt", L"\uD55C\uAE00 drop.txt"}) {
        std::wstring path = std::wstring(temp) + file;
        HANDLE made = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(made, INVALID_HANDLE_VALUE);
        DWORD n = 0;
        WriteFile(made, "drop", 4, &n, nullptr);
        CloseHandle(made);
        std::string name = DroppedName(Handle(0), path);
        char content[8] = {};
        HANDLE opened = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (opened != INVALID_HANDLE_VALUE) ReadFile(opened, content, 4, &n, nullptr), CloseHandle(opened);
        EXPECT_STREQ(content, "drop") << "the program could not open the dropped file by \"" << name << "\"";
        DeleteFileW(path.c_str());
    }
}

TEST_F(LiveWindow, EscClosesAndTheSnapshotComesBack) {
    ASSERT_TRUE(Load(kWindow));
    Write(kWindow, kButton, 0, 55);
    EXPECT_EQ(Read(kWindow, kButton, 0), 55u);
    MSG m{Handle(kButton), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(Runtime().PreTranslateMessage(&m));
    qytest::PumpMessages();
    EXPECT_EQ(Windows().FindUnitObject(kWindow, 0, false), nullptr);
    EXPECT_EQ(Read(kWindow, kButton, 0), 10u);  // the value written while loaded is gone
}

TEST_F(LiveWindow, TabMovesTheFocusInTabOrder) {
    ASSERT_TRUE(Load(kWindow));
    SetForegroundWindow(GetParent(Handle(kButton)));
    SetFocus(Handle(kButton));
    MSG m{Handle(kButton), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(Runtime().PreTranslateMessage(&m));
    EXPECT_EQ(GetFocus(), Handle(kCheck));
}

TEST_F(LiveWindow, AHiddenWindowStaysHiddenUntilVisibleIsWritten) {
    ASSERT_TRUE(Load(kHidden));
    HWND hwnd = Windows().FindUnitObject(kHidden, 0, false)->hwnd();
    EXPECT_FALSE(IsWindowVisible(hwnd));
    Write(kHidden, kHiddenOwn, 5, 1);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

// Another library's subclass, put on each new main window before its unit
// attaches, as a skin engine's creation hook does.
WNDPROC foreignPrevious = nullptr;
int foreignCalls = 0;
LRESULT CALLBACK ForeignProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++foreignCalls;
    return CallWindowProcA(foreignPrevious, hwnd, message, wParam, lParam);
}
LRESULT CALLBACK SubclassNewWindows(int code, WPARAM wParam, LPARAM lParam) {
    char name[32] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name) &&
        std::string(name) == "WTWindow")
        foreignPrevious = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(reinterpret_cast<HWND>(wParam), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(LiveWindow, AWindowSubclassedBeforeItsUnitAttachesSeesEachMessageOnce) {
    HHOOK hook = SetWindowsHookExA(WH_CBT, &SubclassNewWindows, nullptr, GetCurrentThreadId());
    bool loaded = Load(kWindow);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(CallsFrom(kOwn), 1) << "created is raised once";
    foreignCalls = 0;
    SendMessageA(Handle(0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
    EXPECT_EQ(foreignCalls, 1);
}

TEST_F(LiveWindow, GeometryOfUnloadedWindowsIsClamped) {
    EXPECT_EQ(Read(kWindow, kButton, 0), 10u);
    Write(kWindow, kButton, 0, 40000);
    EXPECT_EQ(static_cast<int32_t>(Read(kWindow, kButton, 0)), 32627);
    Write(kWindow, kButton, 1, static_cast<uint32_t>(-40000));
    EXPECT_EQ(static_cast<int32_t>(Read(kWindow, kButton, 1)), -32627);
    Write(kWindow, kButton, 2, static_cast<uint32_t>(-5));
    EXPECT_EQ(Read(kWindow, kButton, 2), 0u);
    Write(kWindow, kButton, 4, reinterpret_cast<uintptr_t>("标记"));
    char* tag = reinterpret_cast<char*>(static_cast<uintptr_t>(Read(kWindow, kButton, 4)));
    EXPECT_STREQ(tag, "标记");
    Free(tag);
    EXPECT_EQ(Read(kWindow, kCheck, 0), 10u);  // the later record survives the rewrite
}

TEST_F(LiveWindow, OwnPropertiesConvertByTheirTypeCodes) {
    ASSERT_TRUE(Load(kWindow));
    Write(kWindow, kCheck, 18, 5);
    EXPECT_EQ(Read(kWindow, kCheck, 18), 1u);
    EXPECT_EQ(SendMessageA(Handle(kCheck), BM_GETCHECK, 0, 0), BST_CHECKED);

    Write(kWindow, kButton, 13, static_cast<uint32_t>(-10), 0);
    EXPECT_EQ(Read(kWindow, kButton, 13, 0), 3590u);

    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    HDC dc = GetDC(nullptr);
    int points = MulDiv(std::abs(gui.lfHeight), 72, GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(static_cast<int>(Read(kWindow, kCheck, 17, 5)), points);  // no stored font: the default GUI font

    Write(kWindow, kButton, 10, reinterpret_cast<uintptr_t>("新标题"));
    char* caption = reinterpret_cast<char*>(static_cast<uintptr_t>(Read(kWindow, kButton, 10)));
    EXPECT_STREQ(caption, "新标题");
    Free(caption);
    EXPECT_EQ(Read(kWindow, kPlainLabel, 11), 5u);
    Write(kWindow, kPlainLabel, 11, 2);
    EXPECT_EQ(Read(kWindow, kPlainLabel, 11), 5u);  // a border width below 5 is stored as 5
}

TEST_F(LiveWindow, APictureChangeRecreatesTheButtonInPlace) {
    ASSERT_TRUE(Load(kWindow));
    qy::Unit* before = Windows().FindUnitObject(kWindow, kButton, false);
    RECT r1 = qytest::SettledRect(before->hwnd());
    uint8_t picture[8 + 4] = {1, 0, 0, 0, 4, 0, 0, 0, 'B', 'M', 0, 0};
    Write(kWindow, kButton, 8, reinterpret_cast<uintptr_t>(picture));
    qy::Unit* after = Windows().FindUnitObject(kWindow, kButton, false);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    RECT r2;
    GetWindowRect(after->hwnd(), &r2);
    EXPECT_TRUE(EqualRect(&r1, &r2));
    EXPECT_EQ(GetDlgCtrlID(after->hwnd()), 130);
    EXPECT_EQ(GetWindow(after->hwnd(), GW_HWNDNEXT), Handle(kCheck));
}

TEST_F(LiveWindow, AGradientBorderNeedsTwoColours) {
    ASSERT_TRUE(Load(kWindow));
    HWND window = GetParent(Handle(kPlainLabel));
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    HDC plain = GetDC(Handle(kPlainLabel));
    EXPECT_EQ(GetPixel(plain, 0, 0) & 0xFFFFFF, 0x0000FFu);  // background up to the edge
    ReleaseDC(Handle(kPlainLabel), plain);
    HDC framed = GetDC(Handle(kFramedLabel));
    EXPECT_EQ(GetPixel(framed, 0, 0) & 0xFFFFFF, 0x00FF00u);  // outer ring in the first colour
    EXPECT_EQ(GetPixel(framed, 30, 15) & 0xFFFFFF, 0x0000FFu);
    ReleaseDC(Handle(kFramedLabel), framed);
}

namespace {
Bytes brokenSegment;

ProgramHeader HeaderWith(const Bytes& segment) {
    ProgramHeader header = ProgramHeaderRecord;
    header.templates = segment.data();
    header.templateSize = static_cast<uint32_t>(segment.size());
    header.libraries = kLibraryList;
    return header;
}
}  // namespace

QY_SCENARIO(truncated_segment) {
    Bytes segment = TestSegment();
    brokenSegment.assign(segment.begin(), segment.end() - 3);
    Runtime().InitRuntime(HeaderWith(brokenSegment));
    qytest::Log("parsed");
    return 0;
}

// One window whose record 0 carries a menu item's id, found by fuzzing.
QY_SCENARIO(menu_item_as_the_window_unit) {
    const char* hex = "08000000010001520000000001000000020000000000000000000000010000003700000001000021000000002b000000";
    for (; *hex; hex += 2) brokenSegment.push_back(static_cast<uint8_t>(std::stoi(std::string(hex, 2), nullptr, 16)));
    brokenSegment.insert(brokenSegment.end(), 39, 0);
    brokenSegment.insert(brokenSegment.end(), 4, 0xFF);
    Runtime().InitRuntime(HeaderWith(brokenSegment));
    Svc_LoadStartupWindow(0x52010001);
    qytest::Log("loaded");
    return 0;
}

QY_SCENARIO(own_property_of_unloaded_window) {
    static Bytes segment = TestSegment();
    Runtime().InitRuntime(HeaderWith(segment));
    qytest::Log("left " + std::to_string(ReadProperty(kWindow, kButton, kPropertyLeft, -1)));
    ReadProperty(kWindow, kButton, qytest::OwnIndex(button::kCaption), -1);
    qytest::Log("read");
    return 0;
}

TEST(WindowErrors, ATruncatedOrMalformedSegmentIsTheTemplateError) {
    for (const char* scenario : {"truncated_segment", "menu_item_as_the_window_unit"}) {
        qytest::ChildResult result = qytest::RunScenario(scenario);
        EXPECT_EQ(result.exitCode, 0xFFFFFFFFu) << scenario;
        EXPECT_NE(result.log.find("载入窗口模板数据段出错!"), std::string::npos) << scenario << ": " << result.log;
        EXPECT_EQ(result.log.find("parsed"), std::string::npos) << scenario;
        EXPECT_EQ(result.log.find("loaded"), std::string::npos) << scenario;
    }
}

TEST(WindowErrors, OwnPropertiesNeedTheWindowLoaded) {
    qytest::ChildResult result = qytest::RunScenario("own_property_of_unloaded_window");
    EXPECT_EQ(result.exitCode, 0xFFFFFFFFu);
    EXPECT_NE(result.log.find("left 10"), std::string::npos) << result.log;
    EXPECT_NE(result.log.find("指定窗口尚未载入"), std::string::npos) << result.log;
    EXPECT_EQ(result.log.find("read"), std::string::npos);
}
