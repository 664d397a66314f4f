// The engines as the running program uses them: both mapped from the
// constant block, the ripple on 生成 and the seven skins on the main window.
#include <set>
#include <vector>

#include "app/library_loader.h"
#include "app/ripple_effect.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/gdi_objects.h"

namespace apptest {
namespace {

// What the ripple engine drew on the window, read back from its client area.
std::vector<COLORREF> ShownPixels(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; y += 2)
        for (int x = 0; x < r.right; x += 3) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return pixels;
}

// The window as it paints itself, frame included (Wine leaves the frame of a
// managed window to the window manager, so the screen cannot show it here):
// the caption row a few pixels below the window's top edge, as printed.
COLORREF CaptionColour(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PrintWindow(window, dc, 0);
    int caption = GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    COLORREF colour = GetPixel(dc, (r.right - r.left) / 3, caption);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return colour;
}

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

TEST_F(MainWindowTest, TheLabelRipplesUnderTheMouseAndSettles) {
    HWND label = Handle(W::生成);
    auto picture = [&] {
        qytest::PumpMessages();
        return ShownPixels(label);
    };
    // Still water: two looks a few ticks apart are the same.
    std::vector<COLORREF> still;
    auto settled = [&] {
        std::vector<COLORREF> a = picture();
        Sleep(50);
        still = picture();
        return a == still;
    };
    ASSERT_TRUE(qytest::PumpUntil(settled));
    int before = qytest::LiveGdiObjects();
    for (int i = 0; i < 5; ++i) SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(10 + 8 * i, 20));
    SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 22));
    bool rippled = qytest::PumpUntil([&] { return picture() != still; }, 3000);
    EXPECT_TRUE(rippled) << "the label did not ripple";
    // The water calms down again (the engine then shows its plain picture).
    EXPECT_TRUE(qytest::PumpUntil(settled)) << "the ripple did not settle";
    // Each tick's device context is given back.
    EXPECT_LE(qytest::LiveGdiObjects(), before + 2);
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
