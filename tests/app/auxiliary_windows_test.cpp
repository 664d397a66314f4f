// The style and colour window, the skin window and the help window, loaded
// over the main window and worked through their buttons and handlers.
#include <vector>

#include "app/ripple_effect.h"
#include "styling/control_style.h"
#include "tests/app/main_window_fixture.h"
#include "units/colour_picker/colour_picker.h"

namespace apptest {
namespace {

namespace S = forms::风格配色窗口;
namespace P = forms::皮肤窗口;
namespace H = forms::帮助窗口;

// A colour property of an edit box or check box.
uint32_t Colour(const UnitRef& unit, int which) { return static_cast<uint32_t>(ReadInt(unit, Own(which))); }
uint32_t WindowBack(const UnitRef& window) {
    return static_cast<uint32_t>(ReadInt(window, Own(qy::window::kBackColor)));
}

class AuxiliaryWindowTest : public MainWindowTest {
protected:
    void TearDown() override {
        // Newest first: a window may own the one opened from it.
        for (auto it = opened_.rbegin(); it != opened_.rend(); ++it)
            if (IsWindow(it->second)) Command(CoreCommand::Destroy, {UnitValue(it->first), IntValue(1)});
        qytest::PumpMessages();
    }
    HWND Open(const UnitRef& window) {
        Result loaded = Command(CoreCommand::LoadWindow, {UnitValue(window), UnitValue(W::窗口), IntValue(0)});
        EXPECT_TRUE(loaded.Logical());
        qytest::PumpMessages();
        return Track(window);
    }
    HWND Track(const UnitRef& window) {
        opened_.push_back({window, Handle(window)});
        return opened_.back().second;
    }
    static void Click(const UnitRef& button) {
        SendMessageA(Handle(button), BM_CLICK, 0, 0);
        qytest::PumpMessages();
    }

private:
    std::vector<std::pair<UnitRef, HWND>> opened_;
};

TEST_F(AuxiliaryWindowTest, TheStyleWindowStartsFromTheCurrentColoursAndItsPickersPassThemOn) {
    WriteInt(W::编辑框1, Own(qy::edit_box::kTextColor), RGB(1, 2, 3));
    WriteInt(W::编辑框1, Own(qy::edit_box::kBackColor), RGB(4, 5, 6));
    WriteInt(W::编辑框2, Own(qy::edit_box::kTextColor), RGB(7, 8, 9));
    WriteInt(W::编辑框2, Own(qy::edit_box::kBackColor), RGB(10, 11, 12));
    WriteInt(W::置顶, Own(qy::check_box::kTextColor), RGB(13, 14, 15));
    Open(S::窗口);
    auto picker = [](const UnitRef& p) { return static_cast<uint32_t>(ReadInt(p, Own(qy::colour_picker::kColor))); };
    EXPECT_EQ(picker(S::颜色选择器1), RGB(1, 2, 3));
    EXPECT_EQ(picker(S::颜色选择器2), RGB(4, 5, 6));
    EXPECT_EQ(picker(S::颜色选择器3), RGB(7, 8, 9));
    EXPECT_EQ(picker(S::颜色选择器4), RGB(10, 11, 12));
    EXPECT_EQ(Colour(S::说明4, qy::check_box::kBackColor), RGB(10, 11, 12));
    EXPECT_EQ(Colour(S::说明1, qy::check_box::kTextColor), RGB(13, 14, 15));
    EXPECT_EQ(WindowBack(S::窗口), RGB(10, 11, 12));

    auto choose = [](const UnitRef& p, COLORREF colour, EventHandler handler) {
        WriteInt(p, Own(qy::colour_picker::kColor), colour);
        handler(nullptr);
    };
    choose(S::颜色选择器1, RGB(20, 0, 0), OnTextColourChosen);
    EXPECT_EQ(Colour(W::编辑框1, qy::edit_box::kTextColor), RGB(20, 0, 0));
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(W::通框字体, Own(qy::common_dialog::kFontColor))), RGB(20, 0, 0));
    choose(S::颜色选择器2, RGB(0, 20, 0), OnBackgroundColourChosen);
    EXPECT_EQ(Colour(W::编辑框1, qy::edit_box::kBackColor), RGB(0, 20, 0));
    choose(S::颜色选择器3, RGB(0, 0, 20), OnUnitTextColourChosen);
    EXPECT_EQ(Colour(W::编辑框2, qy::edit_box::kTextColor), RGB(0, 0, 20));
    EXPECT_EQ(Colour(W::说明5, qy::check_box::kTextColor), RGB(0, 0, 20));
    EXPECT_EQ(Colour(S::说明2, qy::check_box::kTextColor), RGB(0, 0, 20));
    choose(S::颜色选择器4, RGB(30, 30, 0), OnUnitBackgroundChosen);
    EXPECT_EQ(Colour(W::编辑框2, qy::edit_box::kBackColor), RGB(30, 30, 0));
    EXPECT_EQ(Colour(W::复制1, qy::check_box::kBackColor), RGB(30, 30, 0));
    EXPECT_EQ(Colour(S::说明3, qy::check_box::kBackColor), RGB(30, 30, 0));
    EXPECT_EQ(WindowBack(W::窗口), RGB(30, 30, 0));
    EXPECT_EQ(WindowBack(S::窗口), RGB(30, 30, 0));

    // Each caption sends the focus to the unit-text picker.
    SetFocus(Handle(S::蓝色风格));
    Click(S::说明2);
    EXPECT_EQ(GetFocus(), Handle(S::颜色选择器3));
}

TEST_F(AuxiliaryWindowTest, EachStyleSchemeSetsTheStyleAndItsColours) {
    Open(S::窗口);
    const struct {
        UnitRef button;
        int32_t style;
        COLORREF units, entry;
    } schemes[] = {
        {S::绿色风格, 2, RGB(128, 160, 128), RGB(207, 220, 207)},
        {S::银色风格, 3, RGB(236, 236, 236), RGB(255, 255, 255)},
        {S::无风格, 0, RGB(236, 236, 236), RGB(255, 255, 255)},
        // The start-up scheme last, for the tests after this one.
        {S::蓝色风格, 1, RGB(200, 210, 255), RGB(230, 230, 255)},
    };
    for (const auto& scheme : schemes) {
        SCOPED_TRACE(scheme.style);
        WriteInt(W::编辑框2, Own(qy::edit_box::kTextColor), RGB(1, 1, 1));
        WriteInt(S::说明1, Own(qy::check_box::kTextColor), RGB(1, 1, 1));
        WriteInt(W::编辑框3, Own(qy::edit_box::kBackColor), RGB(1, 1, 1));
        Click(scheme.button);
        EXPECT_EQ(qy::styling::CurrentStyle(), scheme.style);
        EXPECT_EQ(Colour(W::编辑框2, qy::edit_box::kTextColor), 0u);
        EXPECT_EQ(Colour(S::说明1, qy::check_box::kTextColor), 0u);
        EXPECT_EQ(Colour(W::置顶, qy::check_box::kTextColor), 0u);
        EXPECT_EQ(WindowBack(W::窗口), scheme.units);
        EXPECT_EQ(WindowBack(S::窗口), scheme.units);
        EXPECT_EQ(Colour(W::编辑框2, qy::edit_box::kBackColor), scheme.units);
        EXPECT_EQ(Colour(W::下, qy::check_box::kBackColor), scheme.units);
        EXPECT_EQ(Colour(W::编辑框3, qy::edit_box::kBackColor), scheme.entry);
        EXPECT_EQ(Colour(W::编辑框4, qy::edit_box::kBackColor), scheme.entry);
    }
}

TEST_F(AuxiliaryWindowTest, OnlyTheFirstSkinWindowRipplesAndCloseDestroysItAtOnce) {
    // A fresh ripple object, as at start-up, whatever ran before this test.
    delete skinWindowRipple;
    skinWindowRipple = new RippleEffect;
    HWND style = Open(S::窗口);
    Click(S::皮肤_按钮);
    HWND first = Track(P::窗口);
    EXPECT_EQ(GetWindow(first, GW_OWNER), style);
    uint64_t picture = Svc_ReadProperty(P::窗口.window, P::窗口.unit, Own(qy::window::kBackPicture), -1);
    const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(picture));
    ASSERT_EQ(qy::ByteSetLength(block), K.skinBackground.length);
    EXPECT_EQ(memcmp(qy::ByteSetData(block), K.skinBackground.bytes, K.skinBackground.length), 0);
    Svc_Free(const_cast<void*>(block));
    EXPECT_TRUE(skinWindowRipple->Running());
    // The ripple subclasses the window it runs on; other windows keep the
    // procedure the style window has.
    LONG_PTR plain = GetWindowLongPtrA(style, GWLP_WNDPROC);
    EXPECT_NE(GetWindowLongPtrA(first, GWLP_WNDPROC), plain) << "the first skin window does not ripple";

    Click(P::关闭);
    EXPECT_FALSE(IsWindow(first));

    Click(S::皮肤_按钮);
    HWND second = Track(P::窗口);
    EXPECT_TRUE(skinWindowRipple->Running());
    EXPECT_EQ(GetWindowLongPtrA(second, GWLP_WNDPROC), plain) << "the second skin window ripples";
}

TEST_F(AuxiliaryWindowTest, EachSkinButtonAppliesItsSkin) {
    Open(P::窗口);
    const struct {
        UnitRef button;
        COLORREF shape, fill;
    } skins[] = {
        {P::美丽黑色, RGB(240, 240, 240), RGB(250, 250, 250)}, {P::紫色流光, RGB(247, 245, 248), RGB(254, 252, 255)},
        {P::七彩条幅, RGB(239, 239, 239), RGB(244, 244, 244)}, {P::pf_QQ影音, RGB(219, 236, 255), RGB(236, 245, 255)},
        {P::温馨家园, RGB(236, 233, 204), RGB(244, 242, 225)}, {P::QQ2008, RGB(170, 213, 244), RGB(214, 235, 250)},
        {P::中国红, RGB(237, 237, 237), RGB(244, 244, 244)},
    };
    for (const auto& skin : skins) {
        Click(skin.button);
        EXPECT_EQ(Colour(W::编辑框2, qy::edit_box::kBackColor), skin.shape) << std::hex << skin.shape;
        EXPECT_EQ(Colour(W::编辑框3, qy::edit_box::kBackColor), skin.fill) << std::hex << skin.fill;
        EXPECT_EQ(Colour(W::编辑框4, qy::edit_box::kBackColor), skin.fill) << std::hex << skin.fill;
    }
    // A window made under a skin wears it from its creation: the last skin's
    // red caption, lighter while inactive.
    HWND help = Open(H::窗口);
    EXPECT_EQ(ReadInt(H::编辑框1, qy::kPropertyWidth), 688 - 15);
    auto red = [](COLORREF c) { return GetRValue(c) > GetGValue(c) + 40 && GetRValue(c) > GetBValue(c) + 40; };
    EXPECT_TRUE(SendMessageA(help, WM_NCACTIVATE, FALSE, 0));
    COLORREF inactive = CaptionColour(help);
    EXPECT_TRUE(SendMessageA(help, WM_NCACTIVATE, TRUE, 0));
    COLORREF active = CaptionColour(help);
    EXPECT_TRUE(red(active) && red(inactive) && active != inactive) << std::hex << active << ", " << inactive;
}

TEST_F(AuxiliaryWindowTest, TheHelpWindowOpensAtItsSizeAndItsTextFollowsTheWindow) {
    WriteInt(W::编辑框2, Own(qy::edit_box::kTextColor), RGB(1, 2, 3));
    WriteInt(W::编辑框2, Own(qy::edit_box::kBackColor), RGB(4, 5, 6));
    Open(H::窗口);
    EXPECT_EQ(ReadText(H::字体通用对话框1, Own(qy::common_dialog::kFontName)), "新宋体");
    EXPECT_EQ(ReadInt(H::字体通用对话框1, Own(qy::common_dialog::kFontSize)), 14);
    EXPECT_EQ(ReadInt(H::字体通用对话框1, Own(qy::common_dialog::kFontBold)), 1);
    EXPECT_EQ(Colour(H::编辑框1, qy::edit_box::kTextColor), RGB(1, 2, 3));
    EXPECT_EQ(Colour(H::编辑框1, qy::edit_box::kBackColor), RGB(4, 5, 6));
    EXPECT_EQ(ReadInt(H::窗口, qy::kPropertyWidth), 688);
    EXPECT_EQ(ReadInt(H::窗口, qy::kPropertyHeight), 700);
    EXPECT_EQ(ReadInt(H::编辑框1, qy::kPropertyWidth), 688 - 15);
    EXPECT_EQ(ReadInt(H::编辑框1, qy::kPropertyHeight), 700 - 37);

    WriteInt(H::编辑框1, Own(qy::edit_box::kSelStart), 0);
    WriteInt(H::窗口, qy::kPropertyWidth, 500);
    qytest::PumpMessages();
    EXPECT_EQ(ReadInt(H::编辑框1, qy::kPropertyWidth), 500 - 15);
    EXPECT_EQ(ReadInt(H::编辑框1, qy::kPropertyHeight), 700 - 37);
    EXPECT_GT(ReadInt(H::编辑框1, Own(qy::edit_box::kSelStart)), 0) << "the caret stays at the start";
}

}  // namespace
}  // namespace apptest
