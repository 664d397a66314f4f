// Commands on live windows and units: loading with an owner or modally,
// closing at once or through the posted request, destroying a unit, focus,
// repainting and native handles.
#include <windows.h>

#include "gtest/gtest.h"
#include "runtime/errors.h"
#include "tests/commands/command_call.h"
#include "tests/support/child_process.h"
#include "tests/support/unit_window.h"
#include "window/own_data.h"
#include "units/button/button_data.h"
#include "units/label/label_data.h"
#include "window/window_list.h"

using namespace qytest;
using qy::Windows;

namespace {
constexpr uint32_t kMain = 0x52030001, kMainOwn = 0x06030000;
constexpr uint32_t kButton = 0x16030001, kLabel = 0x16030002;
constexpr uint32_t kSecond = 0x52030002, kSecondOwn = 0x06030003;
constexpr uint32_t kWindowType = 0x10001, kButtonType = 0x1000B, kLabelType = 0x1000A;

qy::UnitRecord MakeUnit(uint32_t type, int left, int top, int width, int height, qy::Bytes data) {
    qy::UnitRecord u;
    u.typeRef = type;
    u.left = left, u.top = top, u.width = width, u.height = height;
    u.state = qy::kStateVisible | qy::kStateTabStop;
    u.ownData = std::move(data);
    return u;
}

qy::Bytes Segment() {
    qy::WindowData wd;
    wd.caption = "主窗口";
    qy::ButtonData bd;
    bd.caption = "按钮";
    qy::LabelData ld;
    qy::WindowTemplate main;
    main.id = kMain;
    main.units = qy::UnitTable::Build({{kMainOwn, qy::EncodeUnit(MakeUnit(kWindowType, 50, 50, 300, 200, wd.Write()))},
                                       {kButton, qy::EncodeUnit(MakeUnit(kButtonType, 10, 10, 80, 25, bd.Write()))},
                                       {kLabel, qy::EncodeUnit(MakeUnit(kLabelType, 10, 50, 80, 25, ld.Write()))}});
    wd.caption = "第二窗口";
    qy::WindowTemplate second;
    second.id = kSecond;
    second.units =
        qy::UnitTable::Build({{kSecondOwn, qy::EncodeUnit(MakeUnit(kWindowType, 80, 80, 200, 100, wd.Write()))}});
    return qy::WriteSegment({main, second});
}

ValueRecord Ref(uint32_t window, uint32_t unit, uint32_t type) { return ValueRecord{window, unit, type}; }
ValueRecord MainWindow() { return Ref(kMain, kMainOwn, kWindowType); }
ValueRecord SecondWindow() { return Ref(kSecond, kSecondOwn, kWindowType); }
ValueRecord Button() { return Ref(kMain, kButton, kButtonType); }
ValueRecord Label() { return Ref(kMain, kLabel, kLabelType); }

HWND Handle(ValueRecord reference) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(Call(CoreCommand::GetWindowHandle, {reference}).low));
}
HWND LiveHandle(uint32_t window, uint32_t unit) {
    qy::Unit* u = Windows().FindUnitObject(window, unit, false);
    return u ? u->hwnd() : nullptr;
}
bool Load(ValueRecord window, ValueRecord owner = Omitted(), bool modal = false) {
    return Call(CoreCommand::LoadWindow, {window, owner, Logical(modal)}).low != 0;
}
void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

class WindowCommands : public ::testing::Test {
protected:
    void SetUp() override { InstallSegment(Segment()); }
    void TearDown() override {
        Windows().Clear();
        Pump();
    }
};

struct ModalObservation {
    bool mainEnabledDuringModal = true;
    bool closed = false;
} modal;

void CALLBACK CloseSecondWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    modal.mainEnabledDuringModal = IsWindowEnabled(LiveHandle(kMain, 0)) != FALSE;
    Call(CoreCommand::Destroy, {SecondWindow()});
    modal.closed = true;
}
}  // namespace

TEST_F(WindowCommands, LoadWindowCreatesTheWindowWithItsOwner) {
    ASSERT_TRUE(Load(MainWindow()));
    HWND main = Handle(MainWindow());
    ASSERT_TRUE(IsWindow(main));
    EXPECT_EQ(main, LiveHandle(kMain, 0));
    EXPECT_TRUE(IsWindowVisible(main));
    ASSERT_TRUE(Load(SecondWindow(), MainWindow()));
    EXPECT_EQ(GetWindow(Handle(SecondWindow()), GW_OWNER), main);
    EXPECT_TRUE(Load(MainWindow())) << "a loaded window is only activated";
    EXPECT_EQ(Handle(MainWindow()), main);
    EXPECT_FALSE(Load(Ref(0x52030009, 0x06030009, kWindowType))) << "no such window";
}

TEST_F(WindowCommands, AModalLoadDisablesTheOthersUntilItCloses) {
    ASSERT_TRUE(Load(MainWindow()));
    modal = ModalObservation();
    // The timer's tick comes from the modal window's own message loop.
    SetTimer(nullptr, 0, 0, &CloseSecondWindow);
    EXPECT_TRUE(Load(SecondWindow(), Omitted(), true));
    EXPECT_TRUE(modal.closed) << "LoadWindow returned before the modal window was closed";
    EXPECT_FALSE(modal.mainEnabledDuringModal);
    EXPECT_TRUE(IsWindowEnabled(Handle(MainWindow()))) << "the main window was not re-enabled";
    EXPECT_EQ(nullptr, LiveHandle(kSecond, 0));
}

TEST_F(WindowCommands, DestroyWithoutNowReturnsBeforeTheWindowIsGone) {
    ASSERT_TRUE(Load(MainWindow()));
    HWND main = Handle(MainWindow());
    Call(CoreCommand::Destroy, {MainWindow()});
    EXPECT_TRUE(IsWindow(main)) << "the close waits for the posted request";
    Pump();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(nullptr, LiveHandle(kMain, 0));
}

TEST_F(WindowCommands, DestroyNowClosesAtOnceAndTheLateRequestDoesNothing) {
    ASSERT_TRUE(Load(MainWindow()));
    HWND main = Handle(MainWindow());
    Call(CoreCommand::Destroy, {MainWindow()});
    Call(CoreCommand::Destroy, {MainWindow(), Logical(true)});
    EXPECT_FALSE(IsWindow(main));
    ASSERT_TRUE(Load(MainWindow()));
    Pump();
    EXPECT_TRUE(IsWindow(Handle(MainWindow()))) << "the request posted to the first window closed the second load";
}

TEST_F(WindowCommands, DestroyOnAUnitRemovesOnlyThatUnit) {
    ASSERT_TRUE(Load(MainWindow()));
    HWND button = Handle(Button());
    Call(CoreCommand::Destroy, {Button()});
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(nullptr, Windows().FindUnitObject(kMain, kButton, false));
    EXPECT_TRUE(IsWindow(Handle(MainWindow())));
    EXPECT_TRUE(IsWindow(Handle(Label())));
}

TEST_F(WindowCommands, FocusUnitGivesTheKeyboardFocus) {
    ASSERT_TRUE(Load(MainWindow()));
    SetForegroundWindow(Handle(MainWindow()));
    SetFocus(Handle(MainWindow()));
    Call(CoreCommand::FocusUnit, {Button()});
    EXPECT_EQ(GetFocus(), Handle(Button()));
}

TEST_F(WindowCommands, UpdateDisplayPaintsWhatIsPending) {
    ASSERT_TRUE(Load(MainWindow()));
    Pump();
    for (ValueRecord reference : {Label(), MainWindow()}) {
        HWND hwnd = Handle(reference);
        RECT pending;
        EXPECT_FALSE(GetUpdateRect(hwnd, &pending, FALSE)) << "nothing is invalid yet";
        Call(CoreCommand::UpdateDisplay, {reference});
        EXPECT_FALSE(GetUpdateRect(hwnd, &pending, FALSE)) << "UpdateDisplay invalidated something itself";
        InvalidateRect(hwnd, nullptr, FALSE);
        ASSERT_TRUE(GetUpdateRect(hwnd, &pending, FALSE));
        Call(CoreCommand::UpdateDisplay, {reference});
        EXPECT_FALSE(GetUpdateRect(hwnd, &pending, FALSE)) << "the invalid part was not painted";
    }
}

TEST_F(WindowCommands, GetWindowHandleGivesTheNativeWindows) {
    ASSERT_TRUE(Load(MainWindow()));
    EXPECT_EQ(Handle(Button()), LiveHandle(kMain, kButton));
    EXPECT_EQ(GetParent(Handle(Button())), Handle(MainWindow()));
    EXPECT_EQ(Handle(Ref(kMain, 0, kWindowType)), Handle(MainWindow())) << "unit id 0 names the window itself";
}

QY_SCENARIO(handle_of_unloaded_window) {
    InstallSegment(Segment());
    Log("handle " + std::to_string(reinterpret_cast<uintptr_t>(Handle(SecondWindow()))));
    return 0;
}

TEST(WindowCommandErrors, AReferenceToAWindowNotLoadedStopsTheProgram) {
    ChildResult child = RunScenario("handle_of_unloaded_window");
    EXPECT_EQ(child.exitCode, 0xFFFFFFFFu);
    EXPECT_NE(child.log.find(qy::RuntimeErrorText(qy::msg::kNoSuchUnit, 0)), std::string::npos) << child.log;
    EXPECT_EQ(child.log.find("handle"), std::string::npos) << "the command returned";
}
