// Flat control styles on real standard controls: the registry through
// install, re-install, removal and window lifetimes, the controls that keep
// their system look, the painted pixels of each scheme and state, and hot
// and pressed states driven by the real mouse.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "gtest/gtest.h"
#include "runtime/win32_handles.h"
#include "styling/control_style.h"
#include "styling/styled_controls.h"
#include "tests/styling/real_mouse.h"
#include "tests/support/gdi_objects.h"
#include "tests/support/pump.h"

using namespace qy::styling;
using styletest::Mouse;

namespace {
constexpr COLORREF kParentBack = RGB(200, 220, 240), kParentText = RGB(10, 20, 30);
// Real mouse input goes to whatever lies under the cursor: keep clear of
// the windows that other test programs show.
constexpr RECT kPlace{680, 560, 1100, 860};

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    static HBRUSH brush = CreateSolidBrush(kParentBack);
    if (message == WM_CTLCOLORBTN || message == WM_CTLCOLORSTATIC) {
        SetTextColor(reinterpret_cast<HDC>(wParam), kParentText);
        return reinterpret_cast<LRESULT>(brush);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

COLORREF PixelOf(HWND window, int x, int y) {
    qy::WindowDc dc(window);
    return GetPixel(dc.get(), x, y) & 0xFFFFFF;
}

// Stands for a unit's subclass set on top of a styled control.
WNDPROC unitProc;
int unitMessages;
LRESULT CALLBACK UnitLikeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++unitMessages;
    return CallWindowProcA(unitProc, hwnd, message, wParam, lParam);
}

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)); }

std::vector<COLORREF> PixelsOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    std::vector<COLORREF> pixels;
    qy::WindowDc dc(window);
    for (int y = 0; y < r.bottom - r.top; ++y)
        for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(GetPixel(dc.get(), x, y) & 0xFFFFFF);
    return pixels;
}

BOOL CALLBACK NoteWindow(HWND window, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

BOOL CALLBACK NoteWithChildren(HWND top, LPARAM out) {
    NoteWindow(top, out);
    EnumChildWindows(top, &NoteWindow, out);
    return TRUE;
}

// Every window of this thread, children included.
std::vector<HWND> ThreadWindows() {
    std::vector<HWND> all;
    EnumThreadWindows(GetCurrentThreadId(), &NoteWithChildren, reinterpret_cast<LPARAM>(&all));
    return all;
}

int StyledThreadWindows() {
    int count = 0;
    for (HWND window : ThreadWindows()) count += IsStyled(window) ? 1 : 0;
    return count;
}

class ControlStyle : public ::testing::Test {
protected:
    void SetUp() override {
        SetControlStyle(0);
        static const ATOM parentClass = [] {
            WNDCLASSA c{};
            c.lpfnWndProc = &ParentProc;
            c.hInstance = GetModuleHandleA(nullptr);
            c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            c.lpszClassName = "QyStyleTestParent";
            return RegisterClassA(&c);
        }();
        ASSERT_NE(parentClass, 0);
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        SetCursorPos(5, 5);
        parent_.reset(CreateWindowExA(WS_EX_TOPMOST, "QyStyleTestParent", "styles", WS_POPUP | WS_VISIBLE,
                                      kPlace.left, kPlace.top, kPlace.right - kPlace.left,
                                      kPlace.bottom - kPlace.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                                      nullptr));
        ASSERT_TRUE(parent_);
        push_ = Child("BUTTON", "Push", BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 100, 30);
        defaultPush_ = Child("BUTTON", "Default", BS_DEFPUSHBUTTON, 120, 10, 100, 30);
        check_ = Child("BUTTON", "Check", BS_AUTO3STATE, 10, 50, 150, 20);
        radio_ = Child("BUTTON", "Radio", BS_AUTORADIOBUTTON, 170, 50, 150, 20);
        edit_ = Child("EDIT", "text", ES_AUTOHSCROLL, 10, 80, 120, 24, WS_EX_CLIENTEDGE);
        combo_ = Child("COMBOBOX", "", CBS_DROPDOWNLIST, 140, 80, 120, 200);
        SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
        SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
        group_ = Child("BUTTON", "Group", BS_GROUPBOX, 10, 120, 200, 60);
        // A caption-less tab-stop child that is not even visible, and an owner-drawn button.
        placeholder_ = CreateWindowExA(0, "BUTTON", "", 0x40010000, 0, 0, 10, 10, parent_.get(), nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
        ownerDrawn_ = Child("BUTTON", "Owner", BS_OWNERDRAW, 230, 10, 80, 30);
        SetForegroundWindow(parent_.get());
        qytest::SettledRect(parent_.get());
        Settle();
    }
    void TearDown() override {
        SetControlStyle(0);
        parent_.reset();
        qytest::PumpMessages();
    }

    HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, DWORD ex = 0) {
        return CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent_.get(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    void Settle() {
        RedrawWindow(parent_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        qytest::PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
        UpdateWindow(parent_.get());
    }
    static POINT CentreOf(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static bool StateBecomes(HWND window, uint32_t bits, bool set) {
        return qytest::PumpUntil([&] { return ((StyledState(window) & bits) == bits) == set; });
    }

    qy::WindowHandle parent_;
    HWND push_{}, defaultPush_{}, check_{}, radio_{}, edit_{}, combo_{}, group_{}, placeholder_{}, ownerDrawn_{};
};

TEST_F(ControlStyle, TheRegistryHoldsOneNodePerStyledControlForExactlyAsLongAsItIsStyled) {
    std::vector<HWND> controls{push_, defaultPush_, check_, radio_, edit_, combo_, group_, placeholder_, ownerDrawn_};
    std::vector<WNDPROC> before;
    for (HWND control : controls) before.push_back(ProcOf(control));

    EXPECT_EQ(SetControlStyle(0), 0) << "nothing installed, nothing to remove";
    EXPECT_EQ(StyledCount(), 0);
    for (size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(ProcOf(controls[i]), before[i]);

    ASSERT_EQ(SetControlStyle(2), 1);
    ASSERT_EQ(SetControlStyle(2), 1);
    EXPECT_EQ(CurrentStyle(), 2);
    for (HWND control : {push_, defaultPush_, check_, radio_, edit_, combo_, group_}) EXPECT_TRUE(IsStyled(control));
    EXPECT_EQ(StyledCount(), StyledThreadWindows()) << "the second call re-created the nodes instead of adding some";
    EXPECT_TRUE(StyledState(defaultPush_) & kDefaultButton);
    for (HWND plain : {placeholder_, ownerDrawn_}) {
        EXPECT_FALSE(IsStyled(plain));
        EXPECT_EQ(ProcOf(plain), before[plain == placeholder_ ? 7 : 8]) << "keeps its system look";
    }

    // Created after the call: styled through the hook, buddy sides included.
    HWND later = Child("EDIT", "", 0, 10, 200, 80, 24, WS_EX_CLIENTEDGE);
    HWND spin = Child(UPDOWN_CLASSA, nullptr, UDS_ALIGNRIGHT, 0, 0, 0, 0);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(later), 0);
    EXPECT_TRUE(IsStyled(later));
    EXPECT_TRUE(IsStyled(spin));
    EXPECT_TRUE(StyledState(later) & kUpDownOnRight);
    EXPECT_TRUE(StyledState(spin) & kAlignedRight);
    int withLater = StyledCount();
    DestroyWindow(later);
    DestroyWindow(spin);
    EXPECT_EQ(StyledCount(), withLater - 2) << "a destroyed control leaves no node";

    // A unit subclasses its control after the hook styled it; removal must
    // not cut the unit's procedure out of the chain.
    HWND covered = Child("EDIT", "kept", 0, 10, 200, 80, 24, WS_EX_CLIENTEDGE);
    unitProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(covered, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UnitLikeProc)));

    EXPECT_NE(SetControlStyle(0), 0);
    EXPECT_EQ(StyledCount(), 0);
    for (size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(ProcOf(controls[i]), before[i]) << "control " << i;
    unitMessages = 0;
    char text[16] = {};
    EXPECT_EQ(GetWindowTextA(covered, text, sizeof text), 4);
    EXPECT_STREQ(text, "kept");
    EXPECT_GT(unitMessages, 0);
    DestroyWindow(covered);
}

TEST_F(ControlStyle, EachSchemePaintsItsColoursAndRemovalBringsTheSystemLookBack) {
    std::vector<COLORREF> systemButton = PixelsOf(push_), systemEdit = PixelsOf(edit_);
    constexpr COLORREF kBorder[3] = {0x733C00, 0x066237, 0x743C00}, kFrame[3] = {0xBD9E7B, 0x7FB9A4, 0xD7C5C6};
    for (int style = 1; style <= 3; ++style) {
        SCOPED_TRACE(style);
        SetControlStyle(style);
        Settle();
        EXPECT_EQ(PixelOf(push_, 0, 15), kBorder[style - 1]);
        EXPECT_EQ(PixelOf(push_, 0, 0), GetSysColor(COLOR_BTNFACE)) << "rounded corner";
        EXPECT_EQ(PixelOf(edit_, 0, 12), kFrame[style - 1]);
        EXPECT_EQ(PixelOf(edit_, 1, 12), GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(PixelOf(combo_, 0, 10), kFrame[style - 1]);
        EXPECT_EQ(PixelOf(check_, 140, 2), kParentBack) << "the parent's brush behind the check box";
    }
    SendMessageA(edit_, EM_SETREADONLY, TRUE, 0);
    UpdateWindow(edit_);
    EXPECT_EQ(PixelOf(edit_, 1, 12), GetSysColor(COLOR_BTNFACE)) << "a read-only edit's inner frame";
    SendMessageA(edit_, EM_SETREADONLY, FALSE, 0);
    // The dropped list of a combo box gets the edit frames too.
    COMBOBOXINFO combo{sizeof combo};
    ASSERT_TRUE(GetComboBoxInfo(combo_, &combo));
    SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
    UpdateWindow(combo.hwndList);
    EXPECT_TRUE(IsStyled(combo.hwndList));
    EXPECT_EQ(PixelOf(combo.hwndList, 0, 5), kFrame[2]);
    SendMessageA(combo_, CB_SHOWDROPDOWN, FALSE, 0);

    // Check box: frame, tick and the indeterminate fill.
    SendMessageA(check_, BM_SETCHECK, BST_CHECKED, 0);
    UpdateWindow(check_);
    RECT box{0, 3, 13, 16};  // a 13-pixel box centred in the 20-pixel control
    EXPECT_EQ(PixelOf(check_, box.left, box.top + 6), 0x845118u);
    EXPECT_EQ(PixelOf(check_, box.left + 5, box.top + 8), 0x21A221u) << "tick";
    SendMessageA(check_, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(PixelOf(check_, box.left + 6, box.top + 6), 0x73C373u);

    // Disabled: the solid face and the darkened frames.
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    COLORREF disabledFrame = RGB(GetRValue(face) - 0x20, GetGValue(face) - 0x20, GetBValue(face) - 0x20);
    for (HWND control : {push_, edit_, check_}) EnableWindow(control, FALSE);
    Settle();
    EXPECT_EQ(PixelOf(push_, 3, 15), 0xEAF4F5u);
    EXPECT_EQ(PixelOf(push_, 0, 15), disabledFrame);
    EXPECT_EQ(PixelOf(edit_, 0, 12), disabledFrame);
    EXPECT_EQ(PixelOf(edit_, 1, 12), face) << "a disabled edit's inner frame";
    EXPECT_EQ(PixelOf(check_, box.left, box.top + 6), disabledFrame);
    for (HWND control : {push_, edit_, check_}) EnableWindow(control, TRUE);
    SendMessageA(check_, BM_SETCHECK, BST_UNCHECKED, 0);

    // Hovering repaints a control many times a second: painting must give back every GDI object.
    int objects = qytest::LiveGdiObjects();
    for (int i = 0; i < 20; ++i) Settle();
    EXPECT_EQ(qytest::LiveGdiObjects(), objects);

    SetControlStyle(0);
    Settle();
    EXPECT_EQ(PixelsOf(push_), systemButton);
    EXPECT_EQ(PixelsOf(edit_), systemEdit);
}

TEST_F(ControlStyle, HotAndPressedFollowTheRealMouse) {
    SetControlStyle(1);
    Settle();
    RECT box{0, 3, 13, 16};
    POINT onCheck = CentreOf(check_);
    Mouse(onCheck);
    ASSERT_TRUE(StateBecomes(check_, kHot, true));
    UpdateWindow(check_);
    EXPECT_EQ(PixelOf(check_, box.left + 4, box.top + 4), 0xE7E7E7u) << "hot and unchecked";

    Mouse(onCheck, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(StateBecomes(check_, kPressed, true));
    EXPECT_NE(PixelOf(check_, box.left + 4, box.top + 4), 0xE7E7E7u) << "pressed, not hot";
    Mouse(onCheck, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(StateBecomes(check_, kPressed, false));
    EXPECT_TRUE(StyledState(check_) & kChecked) << "the click went through";
    EXPECT_EQ(PixelOf(check_, box.left + 4, box.top + 4), 0xF7F7F7u) << "hot and checked";

    // Leaving for the push button: the check box cools, the button warms up and shows it.
    std::vector<COLORREF> coolButton = PixelsOf(push_);
    Mouse(CentreOf(push_));
    ASSERT_TRUE(StateBecomes(check_, kHot, false));
    ASSERT_TRUE(StateBecomes(push_, kHot, true));
    EXPECT_NE(PixelsOf(push_), coolButton);
    Mouse(CentreOf(push_), MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(StateBecomes(push_, kPressed | kFocused, true));
    Mouse(CentreOf(push_), MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(StateBecomes(push_, kPressed, false));
    Mouse(POINT{5, 5});
    EXPECT_TRUE(StateBecomes(push_, kHot, false));
}

}  // namespace
