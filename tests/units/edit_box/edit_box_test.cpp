// Edit boxes on a window made for these tests, driven through property
// reads and writes and real input messages: content events, the spin
// control, selections in bytes, word wrap, the input filter, Enter, the
// height rule, re-creation and painting.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/unit_window.h"
#include "units/edit_box/edit_box.h"
#include "units/button/button.h"
#include "units/button/button_data.h"
#include "units/edit_box/edit_box_data.h"
#include "window/window_list.h"

using namespace qy;
using namespace qytest;

extern "C" {
void TestHandler0();
void TestHandler1();
}

namespace {
struct Call {
    uint32_t unit;
    std::vector<int32_t> args;
};
std::vector<Call> calls;

constexpr uint32_t kSingle = 0x16030001, kSpinAuto = 0x16030002, kSpinManual = 0x16030003, kWrap = 0x16030004,
                   kWrapV = 0x16030005, kNoWrapH = 0x16030006, kNoWrapBoth = 0x16030007, kDigits = 0x16030008,
                   kLimited = 0x16030009, kReadOnlyMulti = 0x1603000A, kTiny = 0x1603000B, kDefault = 0x1603000C;
constexpr uint32_t kEditType = 0x10005, kButtonType = 0x1000B;

uintptr_t CodeBase() { return reinterpret_cast<uintptr_t>(&TestHandler0); }
int32_t Offset(void (*handler)()) { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(handler) - CodeBase()); }

TestUnit EditUnit(uint32_t id, int left, int top, int width, int height, const char* content,
                  void (*tweak)(EditBoxData&) = nullptr, std::vector<EventBinding> bindings = {}) {
    EditBoxData d;
    d.content = content;
    if (tweak) tweak(d);
    return MakeTestUnit(id, kEditType, left, top, width, height, d.Write(), kStateVisible | kStateTabStop,
                        std::move(bindings));
}

void InstallEditBoxes() {
    const char* wrapText = "alpha beta gamma delta epsilon zeta eta theta iota kappa";
    std::vector<EventBinding> changed = {{edit_box::kContentChanged, Offset(&TestHandler0)},
                                         {edit_box::kSpun, Offset(&TestHandler1)}};
    TestWindow window;
    window.at = RECT{50, 50, 650, 450};
    ButtonData defaultButton;
    defaultButton.type = 1;
    defaultButton.caption = "确定";
    InstallUnitWindow(
        {
            EditUnit(kSingle, 10, 10, 120, 24, "abc", nullptr, changed),
            EditUnit(kSpinAuto, 10, 40, 80, 24, "9", [](EditBoxData& d) { d.spinMode = 1, d.spinMin = 72, d.spinMax = 9; },
                     changed),
            EditUnit(kSpinManual, 10, 70, 80, 24, "5", [](EditBoxData& d) { d.spinMode = 2, d.border = 2; }, changed),
            EditUnit(kWrap, 150, 10, 100, 80, wrapText, [](EditBoxData& d) { d.multiLine = 1; }),
            EditUnit(kWrapV, 260, 10, 100, 80, wrapText, [](EditBoxData& d) { d.multiLine = 1, d.scrollBars = 2; }),
            EditUnit(kNoWrapH, 370, 10, 100, 80, wrapText, [](EditBoxData& d) { d.multiLine = 1, d.scrollBars = 1; }),
            EditUnit(kNoWrapBoth, 480, 10, 100, 80, wrapText,
                     [](EditBoxData& d) { d.multiLine = 1, d.scrollBars = 3; }),
            EditUnit(kDigits, 10, 100, 80, 24, "", [](EditBoxData& d) { d.inputMode = 5; }, changed),
            EditUnit(kLimited, 10, 130, 80, 24, "ab", [](EditBoxData& d) { d.maxLength = 4; }),
            EditUnit(kReadOnlyMulti, 150, 100, 100, 60, "只读", [](EditBoxData& d) { d.multiLine = 1, d.inputMode = 1; }),
            EditUnit(kTiny, 10, 160, 80, 5, "tiny"),
            MakeTestUnit(kDefault, kButtonType, 10, 200, 80, 25, defaultButton.Write(), kStateVisible | kStateTabStop,
                         {{button::kClicked, Offset(&TestHandler0)}}),
        },
        CodeBase(), window);
}

class EditBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallEditBoxes();
        ASSERT_TRUE(LoadUnitWindow());
        PumpMessages();
        calls.clear();
    }
    void TearDown() override { Windows().Clear(); }

    HWND Spin(uint32_t unit) { return GetDlgItem(GetParent(UnitHandle(unit)), GetDlgCtrlID(UnitHandle(unit)) + 4); }
    int32_t Read(uint32_t unit, int property, int sub = -1) { return static_cast<int32_t>(ReadInt(unit, property, sub)); }
    void Write(uint32_t unit, int property, int32_t value, int sub = -1) {
        WriteInt(unit, property, static_cast<uint32_t>(value), sub);
    }
    int CallsFrom(uint32_t unit) {
        int n = 0;
        for (const Call& c : calls) n += c.unit == unit;
        return n;
    }
    // Characters as the keyboard delivers them: Unicode in the queue, taken
    // out in the form the window expects.
    void Type(uint32_t unit, const std::wstring& text) {
        for (wchar_t c : text) PostMessageW(UnitHandle(unit), WM_CHAR, c, 1);
        PumpMessages();
    }
    // A click on the upper or lower half of a spin control.
    void Press(HWND spin, bool up) {
        RECT r;
        GetClientRect(spin, &r);
        LPARAM at = MAKELPARAM(r.right / 2, up ? 2 : r.bottom - 3);
        SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(spin, WM_LBUTTONUP, 0, at);
        PumpMessages();
    }
    void SetClipboard(const char* text) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
        memcpy(GlobalLock(block), text, strlen(text) + 1);
        GlobalUnlock(block);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
    RECT RectInWindow(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};
}  // namespace

extern "C" uint64_t __cdecl TestEventSink(const int32_t* args, int count) {
    calls.push_back({Windows().eventUnit, std::vector<int32_t>(args, args + count)});
    return 0;
}

TEST_F(EditBoxTest, ContentWritesRaiseEventZeroExactlyOnceEvenWhenUnchanged) {
    WriteText(kSingle, OwnIndex(edit_box::kContent), "abc");
    EXPECT_EQ(CallsFrom(kSingle), 1) << "the same text again";
    WriteText(kSingle, OwnIndex(edit_box::kContent), "xyz");
    EXPECT_EQ(CallsFrom(kSingle), 2);
    EXPECT_EQ(ReadText(kSingle, OwnIndex(edit_box::kContent)), "xyz");
    Write(kSingle, OwnIndex(edit_box::kSelStart), -1);
    Type(kSingle, L"q");
    EXPECT_EQ(CallsFrom(kSingle), 3) << "typing changes the content once";
    EXPECT_EQ(ReadText(kSingle, OwnIndex(edit_box::kContent)), "xyzq");
}

TEST_F(EditBoxTest, ALongContentRepaintsOnceAndAHiddenBoxStaysHidden) {
    HWND box = UnitHandle(kWrap);
    std::string text;
    for (int i = 0; i < 400; ++i) text += "第" + std::to_string(i) + "行 text\r\n";
    UpdateWindow(box);
    WriteText(kWrap, OwnIndex(edit_box::kContent), text);
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_TRUE(GetUpdateRect(box, nullptr, FALSE)) << "the box is left to repaint";
    EXPECT_EQ(ReadText(kWrap, OwnIndex(edit_box::kContent)), text);
    ShowWindow(box, SW_HIDE);
    WriteText(kWrap, OwnIndex(edit_box::kContent), "short");
    EXPECT_FALSE(IsWindowVisible(box)) << "turning redrawing back on would show it";
    EXPECT_EQ(ReadText(kWrap, OwnIndex(edit_box::kContent)), "short");
}

TEST_F(EditBoxTest, AutomaticSpinWrapsAroundItsRange) {
    HWND spin = Spin(kSpinAuto);
    ASSERT_NE(spin, nullptr);
    int low = -1, high = -1;
    SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 9);
    EXPECT_EQ(high, 72);

    Press(spin, false);
    EXPECT_EQ(ReadText(kSpinAuto, OwnIndex(edit_box::kContent)), "72");
    EXPECT_EQ(Read(kSpinAuto, OwnIndex(edit_box::kSelStart)), 0);
    EXPECT_EQ(Read(kSpinAuto, OwnIndex(edit_box::kSelLength)), 2) << "the new number is selected";
    EXPECT_EQ(GetFocus(), UnitHandle(kSpinAuto));
    EXPECT_EQ(CallsFrom(kSpinAuto), 1) << "the new content raises event 0";
    Press(spin, true);
    EXPECT_EQ(ReadText(kSpinAuto, OwnIndex(edit_box::kContent)), "9");

    WriteText(kSpinAuto, OwnIndex(edit_box::kContent), "abc");
    Press(spin, true);
    EXPECT_EQ(ReadText(kSpinAuto, OwnIndex(edit_box::kContent)), "9") << "no number counts as 0, below the range goes to the lower bound";
    WriteText(kSpinAuto, OwnIndex(edit_box::kContent), "40 px");
    Press(spin, true);
    EXPECT_EQ(ReadText(kSpinAuto, OwnIndex(edit_box::kContent)), "41");
    Press(spin, false);
    Press(spin, false);
    EXPECT_EQ(ReadText(kSpinAuto, OwnIndex(edit_box::kContent)), "39");
    WriteText(kSpinAuto, OwnIndex(edit_box::kContent), "500");
    Press(spin, false);
    EXPECT_EQ(ReadText(kSpinAuto, OwnIndex(edit_box::kContent)), "72") << "above the range going down lands on the upper bound";

    Write(kSpinAuto, OwnIndex(edit_box::kSpinMax), 20);
    SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 20);
    EXPECT_EQ(high, 72);
}

TEST_F(EditBoxTest, ManualSpinRaisesEventOneAndLeavesTheContent) {
    HWND spin = Spin(kSpinManual);
    ASSERT_NE(spin, nullptr);
    Press(spin, true);
    Press(spin, false);
    ASSERT_EQ(CallsFrom(kSpinManual), 2);
    EXPECT_EQ(calls[0].args, std::vector<int32_t>{1});
    EXPECT_EQ(calls[1].args, std::vector<int32_t>{-1});
    EXPECT_EQ(ReadText(kSpinManual, OwnIndex(edit_box::kContent)), "5");
}

TEST_F(EditBoxTest, TheSpinControlFollowsItsEditBox) {
    HWND edit = UnitHandle(kSpinAuto), spin = Spin(kSpinAuto);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(GetDlgCtrlID(spin), GetDlgCtrlID(edit) + 4);
    EXPECT_EQ(GetWindow(edit, GW_HWNDPREV), spin) << "directly above the edit box";
    RECT e = RectInWindow(edit), s = RectInWindow(spin);
    EXPECT_TRUE(e.left < s.left && s.right <= e.right && s.right >= e.right - 3) << "at the right edge, inside the frame";
    RECT client;
    GetClientRect(edit, &client);
    EXPECT_LE(client.right, s.left - e.left) << "the text area stops where the spin control starts";
    EXPECT_TRUE(GetWindowLongPtrA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE) << "border 0: the spin has its own edge";
    EXPECT_FALSE(GetWindowLongPtrA(Spin(kSpinManual), GWL_EXSTYLE) & WS_EX_STATICEDGE) << "border 2";

    Write(kSpinAuto, kPropertyLeft, e.left + 30);
    EXPECT_EQ(RectInWindow(spin).left, s.left + 30);
    Write(kSpinAuto, kPropertyWidth, e.right - e.left + 20);
    EXPECT_EQ(RectInWindow(spin).left, s.left + 50) << "a wider box takes its spin control along";
    Write(kSpinAuto, kPropertyDisabled, 1);
    EXPECT_FALSE(IsWindowEnabled(spin));
    Write(kSpinAuto, kPropertyDisabled, 0);
    EXPECT_TRUE(IsWindowEnabled(spin));
    Write(kSpinAuto, OwnIndex(edit_box::kBorder), 2);
    EXPECT_FALSE(GetWindowLongPtrA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_TRUE(GetWindowLongPtrA(edit, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    Write(kSpinAuto, kPropertyVisible, 0);
    EXPECT_FALSE(IsWindowVisible(spin));
    Press(spin, true);
    EXPECT_EQ(ReadText(kSpinAuto, OwnIndex(edit_box::kContent)), "9") << "a hidden edit box ignores its spin control";
    Write(kSpinAuto, kPropertyVisible, 1);
    EXPECT_TRUE(IsWindowVisible(spin));
}

TEST_F(EditBoxTest, SelectionsCountBytesAndMinusOneMeansTheEnd) {
    Write(kSingle, OwnIndex(edit_box::kSelStart), -1);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSelStart)), 3);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSelLength)), 0);
    DWORD from = 0, to = 0;
    SendMessageA(UnitHandle(kSingle), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 3u) << "the caret is after the c";
    EXPECT_EQ(to, 3u);

    Write(kSingle, OwnIndex(edit_box::kSelLength), -1);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSelStart)), 0);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSelLength)), 3);
    Write(kSingle, OwnIndex(edit_box::kSelStart), 1);
    Write(kSingle, OwnIndex(edit_box::kSelLength), 1);
    EXPECT_EQ(ReadText(kSingle, OwnIndex(edit_box::kSelText)), "b");
    WriteText(kSingle, OwnIndex(edit_box::kSelText), "XY");
    EXPECT_EQ(ReadText(kSingle, OwnIndex(edit_box::kContent)), "aXYc");
    Write(kSingle, OwnIndex(edit_box::kSelStart), -7);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSelStart)), 0) << "other negative values are clamped";

    WriteText(kSingle, OwnIndex(edit_box::kContent), "中文ab");
    Write(kSingle, OwnIndex(edit_box::kSelStart), 2);
    Write(kSingle, OwnIndex(edit_box::kSelLength), 3);
    EXPECT_EQ(ReadText(kSingle, OwnIndex(edit_box::kSelText)), "文a");
    SendMessageA(UnitHandle(kSingle), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 1u) << "byte 2 is the second character";
    EXPECT_EQ(to, 3u);
    Write(kSingle, OwnIndex(edit_box::kSelStart), -1);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSelStart)), 6);
}

TEST_F(EditBoxTest, MultiLineBoxesWrapWordsOnlyWithoutAHorizontalScrollBar) {
    EXPECT_GT(SendMessageA(UnitHandle(kWrap), EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_GT(SendMessageA(UnitHandle(kWrapV), EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(UnitHandle(kNoWrapH), EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(UnitHandle(kNoWrapBoth), EM_GETLINECOUNT, 0, 0), 1);
    LONG_PTR style = GetWindowLongPtrA(UnitHandle(kNoWrapBoth), GWL_STYLE);
    EXPECT_TRUE((style & WS_HSCROLL) && (style & WS_VSCROLL));
    EXPECT_FALSE(GetWindowLongPtrA(UnitHandle(kWrapV), GWL_STYLE) & WS_HSCROLL);
}

TEST_F(EditBoxTest, InputModesFilterTypedCharacters) {
    Type(kDigits, L"1a-.2 中");
    EXPECT_EQ(ReadText(kDigits, OwnIndex(edit_box::kContent)), "12") << "mode 5: digits only, a double-byte character whole";
    Type(kDigits, L"\b");
    EXPECT_EQ(ReadText(kDigits, OwnIndex(edit_box::kContent)), "1") << "control characters pass";
    Write(kDigits, OwnIndex(edit_box::kInputMode), 3);
    Type(kDigits, L"-.x7");
    EXPECT_EQ(ReadText(kDigits, OwnIndex(edit_box::kContent)), "1-7");
    Write(kDigits, OwnIndex(edit_box::kInputMode), 4);
    Type(kDigits, L".e5");
    EXPECT_EQ(ReadText(kDigits, OwnIndex(edit_box::kContent)), "1-7.5");
    Write(kDigits, OwnIndex(edit_box::kInputMode), 0);
    Type(kDigits, L"e");
    EXPECT_EQ(ReadText(kDigits, OwnIndex(edit_box::kContent)), "1-7.5e");
}

TEST_F(EditBoxTest, MaxLengthCountsBytes) {
    Write(kLimited, OwnIndex(edit_box::kSelStart), -1);
    Type(kLimited, L"中x");
    EXPECT_EQ(ReadText(kLimited, OwnIndex(edit_box::kContent)), "ab中") << "four bytes fill the limit of 4";
    Write(kLimited, OwnIndex(edit_box::kSelStart), 0);
    Write(kLimited, OwnIndex(edit_box::kSelLength), 2);
    Type(kLimited, L"123");
    EXPECT_EQ(ReadText(kLimited, OwnIndex(edit_box::kContent)), "12中") << "the replaced selection makes room";
    SetClipboard("+-\r\nsecond line");
    Write(kLimited, OwnIndex(edit_box::kSelStart), 0);
    Write(kLimited, OwnIndex(edit_box::kSelLength), 1);
    SendMessageA(UnitHandle(kLimited), WM_PASTE, 0, 0);
    EXPECT_EQ(ReadText(kLimited, OwnIndex(edit_box::kContent)), "+2中") << "a paste is cut where the room ends";
    Write(kLimited, OwnIndex(edit_box::kMaxLength), -5);
    EXPECT_EQ(Read(kLimited, OwnIndex(edit_box::kMaxLength)), 0);
    Write(kLimited, OwnIndex(edit_box::kSelStart), -1);
    Type(kLimited, L"yz");
    EXPECT_EQ(ReadText(kLimited, OwnIndex(edit_box::kContent)), "+2中yz") << "0 lifts the limit";
    SendMessageA(UnitHandle(kLimited), WM_PASTE, 0, 0);
    EXPECT_EQ(ReadText(kLimited, OwnIndex(edit_box::kContent)), "+2中yz+-") << "a single-line box takes the first line";
}

TEST_F(EditBoxTest, MultiLineBoxesKeepEnterUnlessReadOnly) {
    SetForegroundWindow(GetParent(UnitHandle(kWrap)));
    SetFocus(UnitHandle(kWrap));
    MSG m{UnitHandle(kWrap), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(Runtime().PreTranslateMessage(&m));
    EXPECT_EQ(CallsFrom(kDefault), 0);
    m.hwnd = UnitHandle(kSingle);
    SetFocus(UnitHandle(kSingle));
    EXPECT_TRUE(Runtime().PreTranslateMessage(&m));
    EXPECT_EQ(CallsFrom(kDefault), 1) << "Enter in a single-line box clicks the default button";
    m.hwnd = UnitHandle(kReadOnlyMulti);
    SetFocus(UnitHandle(kReadOnlyMulti));
    EXPECT_TRUE(Runtime().PreTranslateMessage(&m));
    EXPECT_EQ(CallsFrom(kDefault), 2);
}

TEST_F(EditBoxTest, SingleLineBoxesAreAtLeastOneLineTall) {
    HDC dc = GetDC(UnitHandle(kTiny));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(UnitHandle(kTiny), dc);
    EXPECT_EQ(Read(kTiny, kPropertyHeight), metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE));
    EXPECT_EQ(Read(kSingle, kPropertyHeight), 24) << "tall enough already";
    EXPECT_EQ(Read(kWrap, kPropertyHeight), 80);
    int before = Read(kSingle, kPropertyHeight);
    Write(kSingle, OwnIndex(edit_box::kFont), 40, 5);
    EXPECT_GT(Read(kSingle, kPropertyHeight), before) << "a larger font makes the box taller";
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kFont), 5), 40);
}

TEST_F(EditBoxTest, StyleChangesRecreateTheBoxWithItsContent) {
    qy::Unit* first = UnitObject(kSingle);
    int id = GetDlgCtrlID(first->hwnd());
    Write(kSingle, OwnIndex(edit_box::kSelStart), 1);
    Write(kSingle, OwnIndex(edit_box::kSelLength), 1);
    Write(kSingle, OwnIndex(edit_box::kMultiLine), 0);
    EXPECT_EQ(UnitObject(kSingle), first) << "an unchanged MultiLine keeps the box";
    Write(kSingle, OwnIndex(edit_box::kAlignment), 7);
    qy::Unit* second = UnitObject(kSingle);
    ASSERT_NE(second, first);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kAlignment)), 2);
    EXPECT_TRUE(GetWindowLongPtrA(second->hwnd(), GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(GetDlgCtrlID(second->hwnd()), id);
    EXPECT_EQ(ReadText(kSingle, OwnIndex(edit_box::kContent)), "abc");
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSelStart)), 1);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSelLength)), 1);

    Write(kSingle, OwnIndex(edit_box::kHideSelection), 0);
    EXPECT_TRUE(GetWindowLongPtrA(UnitHandle(kSingle), GWL_STYLE) & ES_NOHIDESEL);
    Write(kSingle, OwnIndex(edit_box::kSpinMode), 1);
    EXPECT_NE(Spin(kSingle), nullptr);
    Write(kSingle, OwnIndex(edit_box::kMultiLine), 1);
    EXPECT_TRUE(GetWindowLongPtrA(UnitHandle(kSingle), GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(Spin(kSingle), nullptr) << "multi-line boxes have no spin control";
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kSpinMode)), 1);

    HWND oldSpin = Spin(kSpinAuto);
    Write(kSpinAuto, OwnIndex(edit_box::kSpinMode), 0);
    EXPECT_FALSE(IsWindow(oldSpin));
    EXPECT_EQ(Spin(kSpinAuto), nullptr);
}

TEST_F(EditBoxTest, InputModeAndPasswordCharacterApplyAtOnce) {
    WriteText(kSingle, OwnIndex(edit_box::kPasswordChar), "#x");
    EXPECT_EQ(ReadText(kSingle, OwnIndex(edit_box::kPasswordChar)), "#");
    EXPECT_EQ(SendMessageA(UnitHandle(kSingle), EM_GETPASSWORDCHAR, 0, 0), 0) << "not in password mode";
    qy::Unit* unit = UnitObject(kSingle);
    Write(kSingle, OwnIndex(edit_box::kInputMode), 2);
    EXPECT_EQ(SendMessageA(UnitHandle(kSingle), EM_GETPASSWORDCHAR, 0, 0), '#');
    Write(kSingle, OwnIndex(edit_box::kInputMode), 1);
    EXPECT_EQ(SendMessageA(UnitHandle(kSingle), EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_TRUE(GetWindowLongPtrA(UnitHandle(kSingle), GWL_STYLE) & ES_READONLY);
    Write(kSingle, OwnIndex(edit_box::kInputMode), 0);
    EXPECT_FALSE(GetWindowLongPtrA(UnitHandle(kSingle), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(UnitObject(kSingle), unit) << "no re-creation";
}

TEST_F(EditBoxTest, BackgroundAndTheSingleLineBorderArePainted) {
    HWND window = GetParent(UnitHandle(kSingle));
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Write(kSingle, OwnIndex(edit_box::kBackColor), 0x0000FF);
    Write(kSingle, OwnIndex(edit_box::kBorder), 9);
    EXPECT_EQ(Read(kSingle, OwnIndex(edit_box::kBorder)), 5);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);
    RECT client;
    GetClientRect(UnitHandle(kSingle), &client);
    EXPECT_EQ(client.right, 120 - 2) << "one pixel of frame on each side";
    HDC dc = GetWindowDC(UnitHandle(kSingle));
    EXPECT_EQ(GetPixel(dc, 0, 0) & 0xFFFFFF, GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(GetPixel(dc, 110, 20) & 0xFFFFFF, 0x0000FFu);
    ReleaseDC(UnitHandle(kSingle), dc);
}
