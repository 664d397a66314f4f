// The keyboard commands as released keys reach the units, and the main
// window's full screen, layout and always-on-top.
#include "tests/app/main_window_fixture.h"
#include "tests/support/dialog_driver.h"
#include "units/label/label.h"

namespace apptest {
namespace {

namespace Help = forms::帮助窗口;

// Lets the main window grow wider than the test display, as on a wide screen.
WNDPROC mainProcedure = nullptr;
LRESULT CALLBACK AllowWideWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(mainProcedure, hwnd, message, wParam, lParam);
    if (message == WM_GETMINMAXINFO) reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize.x = 2000;
    return result;
}

class KeyboardTest : public MainWindowTest {
protected:
    void TearDown() override {
        if (Visible(W::还原)) ToggleFullScreen();
        SetTicked(W::置顶, false);
        OnTopmostClicked(nullptr);
    }

    // Posts a key release to a unit's window, with Ctrl held or not, and runs
    // it through the runtime's message path as the message loop would.
    static void Release(const UnitRef& unit, int key, bool ctrl = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(Handle(unit), WM_KEYUP, key, 0xC0000001);
        qytest::PumpMessages();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    static bool Visible(const UnitRef& unit) { return ReadInt(unit, qy::kPropertyVisible) != 0; }
    static bool Topmost() { return (GetWindowLongA(Handle(W::窗口), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
    static bool HasFocus(const UnitRef& unit) {
        return GetFocus() == Handle(unit) || IsChild(Handle(unit), GetFocus());
    }
    static int32_t Left(const UnitRef& unit) { return ReadInt(unit, qy::kPropertyLeft); }
    static int32_t Width(const UnitRef& unit) { return ReadInt(unit, qy::kPropertyWidth); }
    // Whether a key opened a common dialog, which is cancelled.
    static bool OpensDialog(int key) {
        qytest::DialogDriver driver([](HWND d) { qytest::DialogDriver::Press(d, IDCANCEL); });
        Release(W::编辑框1, key);
        return driver.answered() != 0;
    }
};

TEST_F(KeyboardTest, FunctionKeysRunTheirCommands) {
    const struct {
        int key;
        UnitRef box;
        bool regenerates;
    } toggles[] = {{VK_F2, W::复制1, false}, {VK_F4, W::反向, true}, {VK_F5, W::接顶, true}, {VK_F6, W::补齐, false}};
    for (const auto& toggle : toggles) {
        SCOPED_TRACE(toggle.key - VK_F1 + 1);
        bool was = Ticked(toggle.box);
        SetContent(W::编辑框1, "");
        Release(W::编辑框1, toggle.key);
        EXPECT_NE(Ticked(toggle.box), was);
        EXPECT_EQ(Content(W::编辑框1).empty(), !toggle.regenerates);
    }
    Release(W::编辑框1, VK_F7);
    EXPECT_FALSE(Ticked(W::复制1)) << "F7 restores the defaults";
    EXPECT_TRUE(Ticked(W::补齐));
    Release(W::编辑框1, VK_F9);
    EXPECT_FALSE(Content(W::编辑框1).empty()) << "F9 composes";
    Release(W::编辑框1, VK_F1);
    EXPECT_EQ(Command(CoreCommand::GetClipboardText, {}).Text(), Content(W::编辑框1)) << "F1 copies";
    Release(W::编辑框1, VK_F8);
    EXPECT_EQ(Content(W::编辑框1), "") << "F8 clears";
    Release(W::分界色组合框, VK_INSERT);
    EXPECT_TRUE(HasFocus(W::别字本字));
    Release(W::别字本字, VK_PAUSE);
    EXPECT_TRUE(HasFocus(W::分界色组合框));
    Release(W::编辑框1, VK_HOME);
    EXPECT_EQ(CurrentMode(), Mode::kPicture);
}

TEST_F(KeyboardTest, ArrowsAndDialogKeysFollowTheMode) {
    Release(W::编辑框1, VK_RIGHT);
    EXPECT_EQ(Position(W::字符大小), 10);
    EXPECT_EQ(Content(W::字符大小1), "10");
    Release(W::编辑框1, VK_LEFT);
    EXPECT_EQ(Position(W::字符大小), 9);
    Release(W::编辑框1, VK_UP);
    EXPECT_EQ(Position(W::图片高), 44) << "Up moved the picture height in shape-text mode";
    EXPECT_TRUE(OpensDialog(VK_DELETE));
    EXPECT_FALSE(OpensDialog(VK_SCROLL));

    // The default picture is tall: its height is free and its width locked.
    SwitchToPictureMode();
    Release(W::编辑框1, VK_UP);
    EXPECT_EQ(Position(W::图片高), 45);
    Release(W::编辑框1, VK_DOWN);
    EXPECT_EQ(Position(W::图片高), 44);
    Release(W::编辑框1, VK_RIGHT);
    EXPECT_EQ(Position(W::图片宽), 44);
    EXPECT_EQ(Position(W::字符大小), 9);
    SetTicked(W::锁定比例, false);
    OnLockClicked(nullptr);
    Release(W::编辑框1, VK_LEFT);
    EXPECT_EQ(Position(W::图片宽), 43);
    EXPECT_FALSE(OpensDialog(VK_DELETE));
    EXPECT_TRUE(OpensDialog(VK_SCROLL));
}

TEST_F(KeyboardTest, F11TwiceReturnsToTheNormalLayoutAndKeepsOnTopOnlyIfAsked) {
    for (bool onTop : {false, true}) {
        SCOPED_TRACE(onTop ? "置顶 ticked" : "置顶 not ticked");
        SetTicked(W::置顶, onTop);
        OnTopmostClicked(nullptr);
        Release(W::编辑框1, VK_F11);
        EXPECT_TRUE(Visible(W::还原));
        EXPECT_FALSE(Visible(W::编辑框2));
        EXPECT_EQ(ReadInt(W::编辑框1, qy::kPropertyTop), 8);
        EXPECT_TRUE(Topmost());
        EXPECT_EQ(ReadInt(W::还原, Own(qy::label::kGradientColor1)), ReadInt(W::编辑框2, Own(qy::edit_box::kBackColor)));

        Release(W::编辑框1, VK_F11);
        EXPECT_FALSE(Visible(W::还原));
        EXPECT_TRUE(Visible(W::编辑框2));
        EXPECT_EQ(ReadInt(W::编辑框1, qy::kPropertyTop), 238);
        EXPECT_EQ(Width(W::编辑框1), Width(W::窗口) - 28);
        EXPECT_EQ(Topmost(), onTop);
    }
}

TEST_F(KeyboardTest, LayoutFollowsTheWindowOutsideFullScreenOnly) {
    int32_t original = Width(W::窗口);
    ASSERT_LT(original, 1360);
    OnFullScreenClicked(nullptr);
    int32_t displayWidth = Width(W::编辑框1), labelLeft = Left(W::透明标签1);
    WriteInt(W::窗口, qy::kPropertyWidth, Width(W::窗口) - 200);
    EXPECT_EQ(Width(W::编辑框1), displayWidth);
    EXPECT_EQ(Left(W::透明标签1), labelLeft);
    OnRestorePressed(nullptr);

    HWND main = Handle(W::窗口);
    mainProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AllowWideWindow)));
    WriteInt(W::窗口, qy::kPropertyWidth, 1400);
    SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainProcedure));
    int32_t wide = Width(W::窗口);
    ASSERT_GE(wide, 1360) << "the window stayed narrow";
    EXPECT_EQ(Left(W::透明标签1), wide - 270);
    EXPECT_TRUE(Visible(W::透明标签1));
    EXPECT_EQ(Width(W::编辑框1), wide - 28);
    EXPECT_EQ(Left(W::编辑框4), Width(W::编辑框3) + 132);

    WriteInt(W::透明标签1, qy::kPropertyLeft, 764);
    WriteInt(W::窗口, qy::kPropertyWidth, original);
    EXPECT_EQ(Left(W::透明标签1), 764) << "a narrower window moved the label";
    EXPECT_FALSE(Visible(W::透明标签1)) << "the label stays over the units of a narrower window";
    EXPECT_EQ(Width(W::编辑框1), Width(W::窗口) - 28);
}

TEST_F(KeyboardTest, CtrlCombinationsActOnlyInTheirModeAndOnlyWithCtrl) {
    Release(W::字符大小1, '1');
    EXPECT_FALSE(Ticked(W::粗)) << "1 without Ctrl";
    Release(W::字符大小1, '1', true);
    EXPECT_TRUE(Ticked(W::粗));
    Release(W::别字本字, VK_OEM_3, true);
    EXPECT_TRUE(Ticked(W::锁定比例)) << "Ctrl+` in shape-text mode";

    SwitchToPictureMode();
    Release(W::图片高1, '2', true);
    EXPECT_FALSE(Ticked(W::斜)) << "Ctrl+2 in picture mode";
    Release(W::图片高1, VK_OEM_3, true);
    EXPECT_FALSE(Ticked(W::锁定比例));
}

TEST_F(KeyboardTest, TheHelpWindowForwardsKeysWithoutCtrlAndRestylesItsText) {
    Release(W::编辑框1, VK_F12);
    ASSERT_NE(Handle(Help::窗口), nullptr);
    Release(Help::编辑框1, VK_F9);
    EXPECT_FALSE(Content(W::编辑框1).empty()) << "F9 in the help window did not regenerate";
    Release(Help::编辑框1, '1', true);
    EXPECT_FALSE(Ticked(W::粗)) << "Ctrl+1 in the help window ticked 粗";

    const UnitRef& dialog = Help::字体通用对话框1;
    WriteText(dialog, Own(qy::common_dialog::kFontName), "Arial");
    WriteInt(dialog, Own(qy::common_dialog::kFontUnderline), 1);
    qytest::DialogDriver driver([](HWND d) { qytest::DialogDriver::Press(d, IDOK); });
    Release(Help::编辑框1, VK_F10);
    EXPECT_EQ(driver.answered(), 1);
    int font = Own(qy::edit_box::kFont);
    EXPECT_EQ(ReadText(Help::编辑框1, font, qy::kFontFieldFace), ReadText(dialog, Own(qy::common_dialog::kFontName)));
    EXPECT_EQ(ReadInt(Help::编辑框1, font, qy::kFontFieldUnderline), 1);
    EXPECT_TRUE(HasFocus(Help::编辑框1));
    Command(CoreCommand::Destroy, {UnitValue(Help::窗口), ValueRecord{1, 0, qy::kTypeLogical}});
    qytest::PumpMessages();
}

}  // namespace
}  // namespace apptest
