// The program's own template segment, as compiled from forms/: its window
// directory, and its windows loaded through the window system and looked at
// as the user sees them.
#include <windows.h>

#include "forms/template_segment.h"
#include "gtest/gtest.h"
#include "runtime/archive.h"
#include "runtime/services.h"
#include "tests/support/unit_window.h"
#include "window/own_data.h"
#include "units/button/button_data.h"
#include "units/colour_picker/colour_picker_data.h"
#include "units/combo_box/combo_box_data.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "units/edit_box/edit_box_data.h"
#include "units/label/label_data.h"
#include "units/scroll_bar/scroll_bar_data.h"
#include "window/template_format.h"
#include "window/window_list.h"

using namespace qy;

namespace {
std::vector<WindowTemplate> ProgramWindows() {
    MemoryFile file(ProgramTemplateSegment, kProgramTemplateSegmentSize);
    LoadingArchive archive(file, 4096);
    return ReadSegment(archive);
}

constexpr uint32_t kMainWindow = 0x52010001, kStyleWindow = 0x52010481, kSkinWindow = 0x5201068E,
                   kHelpWindow = 0x52010E44;

// The program's windows loaded from its own segment; their subroutines are
// not part of the test program, so events are held while they are loaded.
class LoadedProgramWindow : public ::testing::Test {
protected:
    void SetUp() override {
        qytest::InstallSegment(Bytes(ProgramTemplateSegment, ProgramTemplateSegment + kProgramTemplateSegmentSize));
        RuntimeNotify(kNotifyHoldEvents, 0, 0);
    }
    void TearDown() override {
        Windows().Clear();
        RuntimeNotify(kNotifyReleaseEvents, 0, 0);
    }
    HWND Handle(uint32_t window, uint32_t unit) {
        Unit* u = Windows().FindUnitObject(window, unit, false);
        return u ? u->hwnd() : nullptr;
    }
    int32_t Read(uint32_t window, uint32_t unit, int property) {
        return Windows().ReadProperty(window, unit, property, -1);
    }
    static std::string Text(HWND hwnd) {
        char text[4096] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        return text;
    }
    static LOGFONTA FontOf(HWND hwnd) {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font;
    }
};
}  // namespace

TEST(ProgramForms, FourWindowsInDirectoryOrderWithTheirUnitCounts) {
    std::vector<WindowTemplate> windows = ProgramWindows();
    ASSERT_EQ(windows.size(), 4u);
    EXPECT_EQ(windows[0].id, 0x52010001u);
    EXPECT_EQ(windows[0].stamp, 0x00D64130u);
    EXPECT_EQ(windows[1].id, 0x52010481u);
    EXPECT_EQ(windows[2].id, 0x5201068Eu);
    EXPECT_EQ(windows[3].id, 0x52010E44u);
    EXPECT_EQ(windows[0].units.count(), 42);
    EXPECT_EQ(windows[1].units.count(), 14);
    EXPECT_EQ(windows[2].units.count(), 9);
    EXPECT_EQ(windows[3].units.count(), 3);
    for (const WindowTemplate& w : windows) EXPECT_TRUE(IsOwnUnitId(w.units.id(0)));
}

TEST_F(LoadedProgramWindow, TheMainWindowShowsItsCaptionControlsAndTheirStates) {
    ASSERT_TRUE(Windows().LoadStartupWindow(kMainWindow));
    HWND main = Handle(kMainWindow, 0);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Text(main), "砌字成图1.4版");
    uint32_t own = ProgramWindows()[0].units.id(0);
    EXPECT_EQ(static_cast<uint32_t>(Read(kMainWindow, own, 10)), 0xBFBFFFu) << "back colour";
    EXPECT_EQ(Read(kMainWindow, own, 22), 1) << "Esc closes the window";

    HWND lock = Handle(kMainWindow, 0x16010DA1);
    EXPECT_EQ(Text(lock), "锁定宽高比例");
    EXPECT_FALSE(IsWindowEnabled(lock));
    EXPECT_EQ(SendMessageA(lock, BM_GETCHECK, 0, 0), BST_CHECKED);

    RECT notepad;
    GetWindowRect(Handle(kMainWindow, 0x16010DAC), &notepad);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&notepad), 2);
    EXPECT_EQ(notepad.left, -1) << "the notepad button starts one pixel left of the client area";
    EXPECT_FALSE(IsWindowVisible(Handle(kMainWindow, 0x16010271))) << "the restore label starts hidden";

    HWND help = Handle(kMainWindow, 0x16010DAF);
    EXPECT_EQ(Text(help), "？");
    EXPECT_EQ(FontOf(help).lfWeight, FW_BOLD);
    SendMessageA(help, WM_SETCURSOR, reinterpret_cast<WPARAM>(help), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HELP)) << "the help button shows the help cursor";

    HWND colours = Handle(kMainWindow, 0x16010DA3);
    EXPECT_EQ(SendMessageA(colours, CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(SendMessageA(colours, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(GetWindowLongA(colours, GWL_STYLE) & 3, CBS_DROPDOWNLIST);

    uint32_t generate = 0x16010DB2;
    EXPECT_EQ(Read(kMainWindow, generate, 9), 3) << "effect";
    EXPECT_EQ(Read(kMainWindow, generate, 10), 6) << "border";
    EXPECT_EQ(Read(kMainWindow, generate, 11), 8) << "border width";

    SCROLLINFO size{sizeof size, SIF_RANGE | SIF_POS};
    ASSERT_TRUE(GetScrollInfo(Handle(kMainWindow, 0x16010DBE), SB_CTL, &size));
    EXPECT_EQ(size.nMin, 1);
    EXPECT_EQ(size.nMax, 72);
    EXPECT_EQ(size.nPos, 9);
}

TEST_F(LoadedProgramWindow, StyleSkinAndHelpWindowsShowTheirSettings) {
    ASSERT_TRUE(Windows().LoadStartupWindow(kStyleWindow));
    uint32_t styleOwn = ProgramWindows()[1].units.id(0);
    EXPECT_EQ(Read(kStyleWindow, styleOwn, 27), 1) << "the style window is dragged by its body";
    EXPECT_TRUE(GetWindowLongA(Handle(kStyleWindow, 0x16010796), GWL_STYLE) & WS_TABSTOP);

    ASSERT_TRUE(Windows().LoadStartupWindow(kSkinWindow));
    EXPECT_EQ(Text(Handle(kSkinWindow, 0x16010693)), "QQ影音");

    ASSERT_TRUE(Windows().LoadStartupWindow(kHelpWindow));
    HWND help = Handle(kHelpWindow, 0x16010E45);
    LONG style = GetWindowLongA(help, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
    std::string text = Text(help);
    EXPECT_NE(text.find("锁定宽高比例----Ctrl键 + ` 键"), std::string::npos);
    EXPECT_NE(text.find("@"), std::string::npos);
}
