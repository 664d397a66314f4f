// The colour picker on a live window: its properties, its painting, and the
// popup palette driven with the mouse and the keyboard as a user would, down
// to the system colour dialog, with the notifications its parent receives
// and the change event the application gets.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/dialog_driver.h"
#include "units/colour_picker/colour_picker.h"
#include "tests/support/unit_window.h"
#include "units/colour_picker/colour_picker_data.h"

using namespace qytest;

extern "C" {
void PickerChanged();
void WindowMouseMoved();
}

namespace {
constexpr uint32_t kPicker = 0x16030011, kClearPicker = 0x16030012;
constexpr uint32_t kColourPickerRef = 0x1001C;
constexpr uint32_t kTransparent = 0xFF000000;
constexpr UINT kSelChange = 33769, kDropDown = 33770, kCloseUp = 33771, kEndOk = 33772, kEndCancel = 33773;
constexpr int kCell = 18;

struct Change {
    uint32_t unit;
    uint32_t colourSeen;  // the unit's Color while its subroutine runs
};
std::vector<Change> changes;
int windowMouseMoves = 0;

struct Notice {
    UINT message;
    uint32_t colour;
    LPARAM id;
};
std::vector<Notice> notices;
WNDPROC parentProc = nullptr;

LRESULT CALLBACK RecordingParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kSelChange && message <= kEndCancel) notices.push_back({message, static_cast<uint32_t>(wParam), lParam});
    return CallWindowProcA(parentProc, hwnd, message, wParam, lParam);
}

qy::Bytes PickerData(uint32_t colour, int32_t allowTransparent) {
    qy::ColourPickerData d;
    d.color = colour;
    d.allowTransparent = allowTransparent;
    return d.Write();
}

HWND FindPopup() { return FindWindowA("_QY_ColourPopup", nullptr); }

// Where the popup was put when it was shown: a window manager then moves a
// new window where it likes.
RECT popupShownAt;
LRESULT CALLBACK WatchPopupShow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char name[32] = {};
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam &&
        GetClassNameA(call->hwnd, name, sizeof name) && std::string(name) == "_QY_ColourPopup")
        GetWindowRect(call->hwnd, &popupShownAt);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class ColourPickerUnit : public ::testing::Test {
protected:
    void SetUp() override {
        // A popup that opens under the mouse takes it as a move: keep the
        // mouse in a corner no popup reaches.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, 0);
        Install(PickerData(0, 0), PickerData(kTransparent, 1));
    }
    void TearDown() override {
        qy::Windows().Clear();
        PumpMessages();
    }

    // The window closes on Esc and reports mouse moves, as the program's
    // style window may: neither must act on what happens in the popup.
    void Install(const qy::Bytes& picker, const qy::Bytes& clearPicker, RECT at = RECT{700, 500, 1000, 700}) {
        uintptr_t codeBase = reinterpret_cast<uintptr_t>(&PickerChanged);
        TestWindow window;
        window.at = at_ = at;
        window.data.escCloses = 1;
        window.bindings = {{-6, static_cast<int32_t>(reinterpret_cast<uintptr_t>(&WindowMouseMoved) - codeBase)}};
        qy::EventBinding onChange{qy::colour_picker::kColourChanged, 0};
        InstallUnitWindow({MakeTestUnit(kPicker, kColourPickerRef, 10, 10, 59, 22, picker,
                                        qy::kStateVisible | qy::kStateTabStop, {onChange}),
                           MakeTestUnit(kClearPicker, kColourPickerRef, 10, 50, 59, 22, clearPicker, qy::kStateVisible,
                                        {onChange})},
                          codeBase, window);
        changes.clear();
        notices.clear();
        windowMouseMoves = 0;
    }

    // Where the popup opens depends on where the window is: a window
    // manager's own choice of place is undone.
    void Load() {
        ASSERT_TRUE(LoadUnitWindow());
        HWND parent = GetParent(UnitHandle(kPicker));
        ASSERT_TRUE(PlaceWindow(parent, at_));
        parentProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingParent)));
        PumpMessages();
    }

    // Clicks the picker and returns its popup.
    HWND Open(uint32_t unit) {
        notices.clear();
        SetRectEmpty(&popupShownAt);
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchPopupShow, nullptr, GetCurrentThreadId());
        SendMessageA(UnitHandle(unit), BM_CLICK, 0, 0);
        PumpMessages();
        UnhookWindowsHookEx(hook);
        return FindPopup();
    }

    // Centre of a colour cell of a popup without the transparent entry.
    static POINT CellCentre(HWND popup, int index) {
        RECT client;
        GetClientRect(popup, &client);
        int left = (client.right - 7 * kCell) / 2, top = GetSystemMetrics(SM_CXEDGE);
        return POINT{left + (index % 7) * kCell + kCell / 2, top + (index / 7) * kCell + kCell / 2};
    }

    static void Hover(HWND popup, POINT p) {
        PostMessageA(popup, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        PumpMessages();
    }
    static void Release(HWND popup, POINT p) {
        PostMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        PumpMessages();
    }
    static void Key(HWND popup, WPARAM key) {
        PostMessageA(popup, WM_KEYDOWN, key, 0);
        PumpMessages();
    }

    static std::vector<uint32_t> Sent(UINT message) {
        std::vector<uint32_t> colours;
        for (const Notice& n : notices)
            if (n.message == message) colours.push_back(n.colour);
        return colours;
    }
    static std::vector<UINT> Endings() {
        std::vector<UINT> messages;
        for (const Notice& n : notices)
            if (n.message != kSelChange) messages.push_back(n.message);
        return messages;
    }

    static COLORREF BarPixel(uint32_t unit) {
        HWND hwnd = UnitHandle(unit);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT client;
        GetClientRect(hwnd, &client);
        HDC dc = GetDC(hwnd);
        COLORREF pixel = GetPixel(dc, GetSystemMetrics(SM_CXEDGE) + 5, client.bottom / 2);
        ReleaseDC(hwnd, dc);
        return pixel;
    }

    RECT at_{};
};
}  // namespace

extern "C" void __cdecl PickerEventSink() {
    uint32_t unit = qy::Windows().eventUnit;
    changes.push_back({unit, ReadInt(unit, OwnIndex(qy::colour_picker::kColor))});
}

extern "C" void __cdecl WindowMouseSink() { ++windowMouseMoves; }

TEST_F(ColourPickerUnit, TemplateValuesAndTransparencyRules) {
    Install(PickerData(kTransparent, 0), PickerData(kTransparent, 1));
    Load();
    // Without the transparent entry a stored transparent colour becomes black.
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0u);
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kAllowTransparent)), 0u);
    EXPECT_EQ(ReadInt(kClearPicker, OwnIndex(qy::colour_picker::kColor)), kTransparent);
    EXPECT_EQ(ReadInt(kClearPicker, OwnIndex(qy::colour_picker::kAllowTransparent)), 1u);
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), kTransparent);
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0u);
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), 0x00C0FF);
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0x00C0FFu);
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kAllowTransparent), 1);
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), kTransparent);
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), kTransparent);
    char name[32] = {};
    GetClassNameA(UnitHandle(kPicker), name, sizeof name);
    EXPECT_STREQ(name, "Button");
    EXPECT_EQ(GetWindowLongA(UnitHandle(kPicker), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(ColourPickerUnit, AnEmptyOwnDataBlockGivesTheDefaults) {
    Install(qy::Bytes(), PickerData(0x0000FF, 1));
    Load();
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0u);
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kAllowTransparent)), 0u);
    EXPECT_EQ(ReadInt(kClearPicker, OwnIndex(qy::colour_picker::kColor)), 0x0000FFu);
}

TEST_F(ColourPickerUnit, AnUnknownTemplateVersionFailsTheWindowLoad) {
    qy::ColourPickerData d;
    d.version = 2;
    Install(d.Write(), PickerData(0, 0));
    EXPECT_FALSE(LoadUnitWindow());
}

TEST_F(ColourPickerUnit, TheBarShowsTheColourAtOnce) {
    Load();
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), 0x0000FF);
    EXPECT_EQ(BarPixel(kPicker), RGB(255, 0, 0));
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), 0x00FF00);
    EXPECT_EQ(BarPixel(kPicker), RGB(0, 255, 0));
    // Transparent shows white behind its text, disabled shows the button face.
    EXPECT_EQ(BarPixel(kClearPicker), RGB(255, 255, 255));
    EnableWindow(UnitHandle(kPicker), FALSE);
    EXPECT_EQ(BarPixel(kPicker), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ColourPickerUnit, ChoosingRedRaisesEventZeroOnceWithItsColour) {
    Load();
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(Endings(), std::vector<UINT>{kDropDown});
    EXPECT_EQ(notices[0].id, GetDlgCtrlID(UnitHandle(kPicker)));

    // A click straight onto the cell, without a move over it first.
    EXPECT_EQ(GetCapture(), popup);
    PostMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(CellCentre(popup, 12).x, CellCentre(popup, 12).y));
    Release(popup, CellCentre(popup, 12));
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(Sent(kSelChange), std::vector<uint32_t>{0x0000FF});
    EXPECT_EQ(Endings(), (std::vector<UINT>{kDropDown, kCloseUp, kEndOk}));
    EXPECT_EQ(Sent(kEndOk), std::vector<uint32_t>{0x0000FF});
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0x0000FFu);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].unit, kPicker);
    EXPECT_EQ(changes[0].colourSeen, 0x0000FFu);
}

TEST_F(ColourPickerUnit, HoveringReportsColoursButTheColourWaitsForTheChoice) {
    Load();
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    Hover(popup, CellCentre(popup, 9));
    Hover(popup, CellCentre(popup, 9));
    Hover(popup, CellCentre(popup, 31));
    EXPECT_EQ(Sent(kSelChange), (std::vector<uint32_t>{0xFF0000, 0x606060}));
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0u);
    Release(popup, CellCentre(popup, 31));
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0x606060u);
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(ColourPickerUnit, ChoosingTheSameColourStillRaisesTheEvent) {
    Load();
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), 0x0000FF);
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    Release(popup, CellCentre(popup, 12));
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0x0000FFu);
    EXPECT_EQ(changes.size(), 1u);
    // The keyboard's confirmation counts the same.
    popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    Key(popup, VK_RETURN);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0x0000FFu);
}

TEST_F(ColourPickerUnit, EscapeAfterHoveringLeavesTheColour) {
    Load();
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), 0x808080);
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(GetFocus(), UnitHandle(kPicker));
    Hover(popup, CellCentre(popup, 0));
    Hover(popup, CellCentre(popup, 5));
    Hover(popup, CellCentre(popup, 20));
    Key(popup, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(IsWindow(GetParent(UnitHandle(kPicker)))) << "Esc in the popup closed the window";
    EXPECT_EQ(GetFocus(), UnitHandle(kPicker));
    EXPECT_EQ(windowMouseMoves, 0) << "the popup's mouse moves reached the window's subroutine";
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0x808080u);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(Endings(), (std::vector<UINT>{kDropDown, kCloseUp, kEndCancel}));
    EXPECT_EQ(Sent(kEndCancel), std::vector<uint32_t>{0x808080});
}

TEST_F(ColourPickerUnit, ReleasingOutsideThePopupCancels) {
    Load();
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    Hover(popup, CellCentre(popup, 3));
    RECT client;
    GetClientRect(popup, &client);
    Release(popup, POINT{client.right + 5, client.bottom + 5});
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0u);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(Sent(kEndCancel), std::vector<uint32_t>{0});
}

TEST_F(ColourPickerUnit, ThePopupOpensBelowThePickerWithFocusAndTooltips) {
    Load();
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    RECT picker, box = popupShownAt;
    GetWindowRect(UnitHandle(kPicker), &picker);
    ASSERT_FALSE(IsRectEmpty(&box));
    EXPECT_EQ(box.left, picker.left);
    EXPECT_EQ(box.top, picker.bottom);
    EXPECT_EQ(GetCapture(), popup);
    EXPECT_EQ(GetFocus(), popup);

    HWND tips = nullptr;
    for (HWND w = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w;
         w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr))
        if (GetWindow(w, GW_OWNER) == popup) tips = w;
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 32);
    const char* expected[] = {"黑色", "红色", "白色", "藏蓝", "深灰"};
    int cells[] = {0, 12, 15, 17, 31};
    for (int k = 0; k < 5; ++k) {
        char text[80] = {};
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = popup;
        tool.uId = static_cast<UINT_PTR>(cells[k]);
        tool.lpszText = text;
        SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, expected[k]) << "cell " << cells[k];
        SendMessageA(tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
        POINT centre = CellCentre(popup, cells[k]);
        EXPECT_TRUE(PtInRect(&tool.rect, centre)) << "cell " << cells[k];
    }
    Key(popup, VK_ESCAPE);
}

TEST_F(ColourPickerUnit, APopupNearTheScreenEdgeIsMovedOntoTheScreen) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    Install(PickerData(0, 0), PickerData(kTransparent, 1), RECT{width - 60, height - 110, width + 340, height + 190});
    Load();
    for (uint32_t unit : {kPicker, kClearPicker}) {
        HWND popup = Open(unit);
        ASSERT_NE(popup, nullptr);
        RECT box = popupShownAt, picker;
        GetWindowRect(UnitHandle(unit), &picker);
        ASSERT_FALSE(IsRectEmpty(&box));
        EXPECT_GE(box.left, 0);
        EXPECT_GE(box.top, 0);
        EXPECT_LE(box.right, width);
        EXPECT_LE(box.bottom, height);
        // It moved up rather than over the picker.
        EXPECT_LE(box.bottom, picker.top);
        Key(popup, VK_ESCAPE);
        EXPECT_FALSE(IsWindow(popup));
    }
}

TEST_F(ColourPickerUnit, ArrowKeysWrapAndStepOntoTheEntries) {
    Load();
    HWND popup = Open(kClearPicker);  // starts on the transparent entry
    ASSERT_NE(popup, nullptr);
    for (WPARAM key : {VK_DOWN, VK_LEFT, VK_LEFT, VK_UP, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_UP, VK_UP})
        Key(popup, key);
    // 0, transparent, custom (the initial colour), 28 (bottom of column 0),
    // custom, transparent, 0, 1, transparent, custom.
    EXPECT_EQ(Sent(kSelChange), (std::vector<uint32_t>{0x000000, kTransparent, kTransparent, 0x0080FF, kTransparent,
                                                        kTransparent, 0x000000, 0x800000, kTransparent, kTransparent}));
    Key(popup, VK_UP);    // column 1's bottom cell, 29
    Key(popup, VK_SPACE);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(ReadInt(kClearPicker, OwnIndex(qy::colour_picker::kColor)), 0x8050FFu);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].unit, kClearPicker);

    // Without the transparent entry: up from the first row goes to the custom
    // entry, and down from a column without a last-row cell too.
    notices.clear();
    popup = Open(kPicker);  // black, cell 0
    for (WPARAM key : {VK_UP, VK_RIGHT, VK_LEFT, VK_LEFT, VK_UP, VK_UP, VK_UP, VK_UP, VK_RIGHT, VK_RIGHT, VK_RIGHT,
                       VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN})
        Key(popup, key);
    // custom, 0 (wrap), custom, 31, 24, 17, 10, 3, 4, 5, 6, 13, 20, 27, custom
    EXPECT_EQ(Sent(kSelChange), (std::vector<uint32_t>{0, 0, 0, 0x606060, 0xFF0090, 0xE03058, 0x00FF00, 0x808000,
                                                        0x000080, 0x800080, 0x008080, 0xFF00FF, 0x0060C0, 0xC06000,
                                                        0}));
    Key(popup, VK_ESCAPE);
}

TEST_F(ColourPickerUnit, ACancelledColourDialogCancelsTheChoice) {
    Load();
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), 0x0000FF);
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    Key(popup, VK_UP);
    Key(popup, VK_UP);  // row 0, then the custom entry
    std::string title;
    DialogDriver driver([&](HWND dialog) {
        title = DialogDriver::Text(dialog);
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Key(popup, VK_RETURN);
    EXPECT_EQ(driver.answered(), 1);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0x0000FFu);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(Endings(), (std::vector<UINT>{kDropDown, kCloseUp, kEndCancel}));
    EXPECT_EQ(Sent(kEndCancel), std::vector<uint32_t>{0x0000FF});
}

TEST_F(ColourPickerUnit, TheColourDialogStartsAtTheColourAndItsOkChooses) {
    Load();
    WriteInt(kPicker, OwnIndex(qy::colour_picker::kColor), 0x123456);  // not in the palette: the custom entry is the initial cell
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    DialogDriver driver([&](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    Key(popup, VK_RETURN);
    EXPECT_EQ(driver.answered(), 1);
    EXPECT_EQ(driver.abandoned(), 0);
    EXPECT_EQ(ReadInt(kPicker, OwnIndex(qy::colour_picker::kColor)), 0x123456u);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(Sent(kEndOk), std::vector<uint32_t>{0x123456});
}

TEST_F(ColourPickerUnit, ClosingTheWindowWithThePopupOpenClosesThePopup) {
    Load();
    HWND popup = Open(kPicker);
    ASSERT_NE(popup, nullptr);
    HWND window = GetParent(UnitHandle(kPicker));
    DestroyWindow(window);
    PumpMessages();
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(changes.empty());
}
