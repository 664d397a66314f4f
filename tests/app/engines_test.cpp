// The engines as the running program uses them: both mapped from the
// constant block, the ripple running on 生成 and the seven skins on the main
// window. The ripple's drawing and mouse handling are tested with the engine
// and the ripple class.
#include <set>

#include "app/library_loader.h"
#include "app/ripple_effect.h"
#include "tests/app/main_window_fixture.h"

namespace apptest {
namespace {

TEST_F(MainWindowTest, BothEnginesAreMappedFromTheProgramsOwnData) {
    ASSERT_NE(skinEngine, nullptr);
    EXPECT_NE(skinEngine->ModuleBase(), 0u);
    EXPECT_NE(skinEngine->GetFunction("SkinH_AttachRes"), 0u);
    // Mapped, not loaded: the system knows no module of that name.
    EXPECT_EQ(GetModuleHandleA("qy_skin.dll"), nullptr);
    EXPECT_EQ(GetModuleHandleA("qy_ripple.dll"), nullptr);
    ASSERT_NE(labelRipple, nullptr);
    EXPECT_TRUE(labelRipple->Running());
    EXPECT_NE(labelRipple->Engine().GetFunction("WaterTimer"), 0u);
}

TEST_F(MainWindowTest, EachSkinRestylesTheMainWindowAndItsBoxes) {
    HWND main = Handle(W::窗口);
    std::set<COLORREF> captions;
    for (Skin skin : {kBeautifulBlack, kPurpleGlow, kRainbowBanner, kQqPlayer, kWarmHome, kQq2008, kChinaRed}) {
        ApplySkin(skin);
        qytest::PumpMessages();
        captions.insert(CaptionColour(main));
    }
    EXPECT_EQ(captions.size(), 7u) << "every skin paints its own caption";
    // The last skin's colours for the shape and fill boxes.
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(W::编辑框2, Own(qy::edit_box::kBackColor))), 0xEDEDEDu);
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(W::编辑框4, Own(qy::edit_box::kBackColor))), 0xF4F4F4u);
    // The window still sizes and answers as before.
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_TRUE(SetWindowPos(main, nullptr, r.left, r.top, r.right - r.left - 10, r.bottom - r.top, SWP_NOZORDER));
    qytest::PumpMessages();
    EXPECT_TRUE(IsWindow(main));
}

}  // namespace
}  // namespace apptest
