// The skin engine as the program uses it: loaded from build/bin, applied to
// top-level windows of this thread, read back pixel by pixel.
#include <windows.h>

#include <initializer_list>
#include <vector>

#include "engines/skin/skin_format.h"
#include "gtest/gtest.h"
#include "skins/skins.h"
#include "tests/support/gdi_objects.h"

namespace {

const unsigned char kBlack[] = {
#include "skins/beautiful_black.inc"
};
const unsigned char kRainbow[] = {
#include "skins/rainbow_banner.inc"
};
const unsigned char kRed[] = {
#include "skins/china_red.inc"
};
static_assert(sizeof kBlack == program::kSkinBeautifulBlackBytes && sizeof kRed == program::kSkinChinaRedBytes);

using AttachRes = int(WINAPI*)(const void*);
const char kClass[] = "QySkinTestWindow";
const COLORREF kOwnBackground = RGB(30, 160, 90);  // the test windows' own, which no skin has

COLORREF SkinColour(const unsigned char* file, skin::SkinColour which) {
    const unsigned char* c = file + skin::kSkinColoursOffset + which * skin::kSkinColourBytes;
    return RGB(c[0], c[1], c[2]);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// A pixel of the window as it shows, in window coordinates. Under a window
// manager Wine leaves the frame to it and the window DC cannot be read
// there; the window's own printout (WM_PRINT) then stands in.
COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour != CLR_INVALID ? colour : qytest::PrintedPixel(window, x, y);
}

struct Caption {
    COLORREF left, right, closeFace, client;
};

// The caption's two ends (next to the frame, above the buttons), the close
// button's face and the client area.
Caption ReadCaption(HWND window) {
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    GetWindowInfo(window, &info);
    const int bx = info.cxWindowBorders, by = info.cyWindowBorders;
    const int width = info.rcWindow.right - info.rcWindow.left;
    const int middle = by + GetSystemMetrics(SM_CYCAPTION) / 2;
    return Caption{WindowPixel(window, bx, middle), WindowPixel(window, width - bx - 1, by),
                   WindowPixel(window, width - bx - 4, by + 3),
                   WindowPixel(window, info.rcClient.left - info.rcWindow.left + 5,
                               info.rcClient.top - info.rcWindow.top + 5)};
}

void ExpectSkin(HWND window, const unsigned char* file, bool active, const char* what) {
    const Caption c = ReadCaption(window);
    EXPECT_EQ(c.left, SkinColour(file, active ? skin::kActiveCaptionStart : skin::kInactiveCaptionStart)) << what;
    EXPECT_EQ(c.right, SkinColour(file, active ? skin::kActiveCaptionEnd : skin::kInactiveCaptionEnd)) << what;
    EXPECT_EQ(c.closeFace, SkinColour(file, skin::kButtonFace)) << what;
    EXPECT_EQ(c.client, kOwnBackground) << what << ": the window no longer erases its own background";
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int procRestoredAtDestroy = -1;  // whether the last window died with its own procedure back

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY)
        procRestoredAtDestroy = GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(PlainProc);
    return DefWindowProcA(window, message, wParam, lParam);
}

class SkinEngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = CreateSolidBrush(kOwnBackground);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }
    void SetUp() override { Load(); }
    // Unloading takes the engine out of every window, so the next test and
    // the other engine's tests start with plain windows.
    void TearDown() override {
        for (HWND w : windows_)
            if (IsWindow(w)) DestroyWindow(w);
        if (library_) FreeLibrary(library_);
    }
    void Load() {
        library_ = LoadLibraryA("qy_skin.dll");
        ASSERT_NE(library_, nullptr) << "qy_skin.dll is not beside the test program";
        attach_ = reinterpret_cast<AttachRes>(reinterpret_cast<void*>(GetProcAddress(library_, "SkinH_AttachRes")));
        ASSERT_NE(attach_, nullptr);
    }
    HWND Open(int left, int top, DWORD style = WS_OVERLAPPEDWINDOW) {
        HWND w = CreateWindowExA(0, kClass, "皮肤", style, left, top, 320, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ShowWindow(w, SW_SHOW);
        UpdateWindow(w);
        Pump();
        windows_.push_back(w);
        return w;
    }
    static void SetActiveLook(HWND w, bool active) { SendMessageA(w, WM_NCACTIVATE, active, 0); }

    HMODULE library_ = nullptr;
    AttachRes attach_ = nullptr;
    std::vector<HWND> windows_;
};

TEST_F(SkinEngineTest, SkinsPresentAndLaterWindowsAndAnotherSkinReplacesIt) {
    HWND present = Open(40, 40);
    ASSERT_EQ(attach_(kBlack), 1);
    SetActiveLook(present, true);
    ExpectSkin(present, kBlack, true, "black, active");
    SetActiveLook(present, false);
    ExpectSkin(present, kBlack, false, "black, inactive");

    ASSERT_EQ(attach_(kRed), 1);
    ExpectSkin(present, kRed, false, "red replaces black");
    HWND later = Open(420, 40);
    SetActiveLook(later, true);
    ExpectSkin(later, kRed, true, "a window made after the skin");
}

TEST_F(SkinEngineTest, InvalidDataIsRefusedAndChangesNothing) {
    HWND w = Open(40, 300);
    ASSERT_EQ(attach_(kBlack), 1);
    SetActiveLook(w, true);
    const auto spoilt = [](int offset, unsigned char value) {
        std::vector<unsigned char> bytes(kRed, kRed + sizeof kRed);
        bytes[offset] = value;
        return bytes;
    };
    EXPECT_EQ(attach_(nullptr), 0);
    for (const auto& bad : {spoilt(0, 'X'), spoilt(skin::kSkinVersionOffset, 2), spoilt(skin::kSkinSizeOffset, 40),
                            spoilt(skin::kSkinColoursOffset + 3, 1)})
        EXPECT_EQ(attach_(bad.data()), 0) << "a spoilt copy of a good skin was taken";
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ExpectSkin(w, kBlack, true, "after refused skins");
}

TEST_F(SkinEngineTest, RainbowCaptionRunsThroughTheHues) {
    HWND w = Open(420, 300);
    ASSERT_EQ(attach_(kRainbow), 1);
    SetActiveLook(w, true);
    // Between red and violet a straight mix is a dull pink; round the colour
    // wheel the middle is green.
    RECT r;
    GetWindowRect(w, &r);
    const COLORREF middle = WindowPixel(w, (r.right - r.left) / 2, GetSystemMetrics(SM_CYFRAME) + 1);
    EXPECT_GT(GetGValue(middle), GetRValue(middle));
    EXPECT_GT(GetGValue(middle), 128);
}

TEST_F(SkinEngineTest, CloseButtonUnderTheMouseShowsTheHotFace) {
    HWND w = Open(40, 560);
    ASSERT_EQ(attach_(kRed), 1);
    SendMessageA(w, WM_NCMOUSEMOVE, HTCLOSE, 0);
    EXPECT_EQ(ReadCaption(w).closeFace, SkinColour(kRed, skin::kButtonHotFace));
    SendMessageA(w, WM_NCMOUSELEAVE, 0, 0);
    EXPECT_EQ(ReadCaption(w).closeFace, SkinColour(kRed, skin::kButtonFace));
}

TEST_F(SkinEngineTest, SkinnedWindowStillMovesSizesAndClosesAndDiesUnskinned) {
    HWND w = Open(420, 560);
    ASSERT_EQ(attach_(kBlack), 1);
    ASSERT_TRUE(SetWindowPos(w, nullptr, 100, 120, 400, 260, SWP_NOZORDER | SWP_NOACTIVATE));
    Pump();
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 260);
    SetActiveLook(w, true);
    ExpectSkin(w, kBlack, true, "after sizing");

    procRestoredAtDestroy = -1;
    SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(w)) << "SC_CLOSE did not destroy the window";
    EXPECT_EQ(procRestoredAtDestroy, 1) << "the window died still subclassed";
}

TEST_F(SkinEngineTest, UnloadingGivesWindowsTheirOwnProcedureBack) {
    HWND w = Open(40, 40);
    ASSERT_EQ(attach_(kRed), 1);
    EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(PlainProc));
    FreeLibrary(library_);
    library_ = nullptr;
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(PlainProc));
    HWND later = Open(420, 40);
    EXPECT_EQ(GetWindowLongPtrA(later, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(PlainProc))
        << "the creation hook outlived the engine";
}

TEST_F(SkinEngineTest, RepaintingAndReskinningLeaveNoGdiObjects) {
    HWND w = Open(420, 300);
    const auto round = [&] {
        ASSERT_EQ(attach_(kRed), 1);
        SetActiveLook(w, true);
        SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("另一个标题"));
        SendMessageA(w, WM_NCMOUSEMOVE, HTCLOSE, 0);
        ReadCaption(w);
    };
    for (int i = 0; i < 5; ++i) round();
    const int before = qytest::LiveGdiObjects();
    for (int i = 0; i < 100; ++i) round();
    EXPECT_LE(qytest::LiveGdiObjects(), before + 2) << "painting the skin leaks GDI objects";
}

}  // namespace
