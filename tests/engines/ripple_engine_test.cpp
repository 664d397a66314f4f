// The ripple engine loaded as a DLL: it draws its picture, refracts it after
// a drop, comes back to rest on its own, draws flat water again only when
// told of a repaint and keeps no GDI objects from one tick to the next.
#include <windows.h>

#include "gtest/gtest.h"
#include "tests/support/gdi_objects.h"

namespace {

constexpr int kWidth = 60;
constexpr int kHeight = 45;
// Drawn pixels carry no meaningful top byte.
constexpr unsigned kColour = 0xFFFFFF;

using WaterInitFn = void(WINAPI*)(HBITMAP);
using WaterTimerFn = BOOL(WINAPI*)(HDC);
using WaterPaintedFn = void(WINAPI*)(HDC);
using WaterMouseActionFn = void(WINAPI*)(HDC, int, int, int, int, int, int);

// A 32-bit top-down DIB section whose pixels the test reads and writes directly.
struct Dib {
    HBITMAP bitmap = nullptr;
    unsigned* pixels = nullptr;

    Dib(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<unsigned*>(bits);
    }
    ~Dib() { DeleteObject(bitmap); }
};

class RippleEngine : public testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA("qy_ripple.dll");
        ASSERT_NE(nullptr, module_) << "qy_ripple.dll is not beside the test program";
        init_ = Export<WaterInitFn>("WaterInit");
        timer_ = Export<WaterTimerFn>("WaterTimer");
        mouse_ = Export<WaterMouseActionFn>("WaterMouseAction");
        painted_ = Export<WaterPaintedFn>("WaterPainted");
        ASSERT_TRUE(init_ && timer_ && mouse_ && painted_) << "an export is missing";
        // Checks of eight pixels with a diagonal gradient, so any displacement shows.
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                picture_.pixels[y * kWidth + x] =
                    ((x / 8 + y / 8) % 2 ? 0x2050C0u : 0xE0D090u) + static_cast<unsigned>(x + y);
            }
        }
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, target_.bitmap);
        init_(picture_.bitmap);
    }

    void TearDown() override {
        if (dc_) {
            SelectObject(dc_, old_);
            DeleteDC(dc_);
        }
        if (module_) FreeLibrary(module_);
    }

    template <typename Fn>
    Fn Export(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    void Ticks(int count) {
        for (int i = 0; i < count; ++i) timer_(dc_);
    }

    void ClearTarget() { FillMemory(target_.pixels, kWidth * kHeight * 4, 0); }

    // Pixels of the target that differ from the picture.
    int Changed(const Dib& picture) const {
        int changed = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            if ((target_.pixels[i] & kColour) != (picture.pixels[i] & kColour)) ++changed;
        }
        return changed;
    }

    HMODULE module_ = nullptr;
    WaterInitFn init_ = nullptr;
    WaterTimerFn timer_ = nullptr;
    WaterMouseActionFn mouse_ = nullptr;
    WaterPaintedFn painted_ = nullptr;
    Dib picture_{kWidth, kHeight};
    Dib target_{kWidth, kHeight};
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST_F(RippleEngine, RipplesAfterADropAndSettlesBackToThePicture) {
    Ticks(1);
    EXPECT_EQ(0, Changed(picture_)) << "flat water must show the picture as it is";

    mouse_(nullptr, 0, 0, 30, 22, 60, 500);
    Ticks(1);
    EXPECT_GT(Changed(picture_), 50) << "a press must disturb a wide ring";

    EXPECT_TRUE(timer_(dc_)) << "moving water asks for more ticks";
    Ticks(600);
    EXPECT_EQ(0, Changed(picture_)) << "the water did not come back to rest";
    EXPECT_FALSE(timer_(dc_)) << "flat water asks for more ticks";

    // The window may paint over the picture while the water is flat.
    ClearTarget();
    Ticks(5);
    EXPECT_EQ(kWidth * kHeight, Changed(picture_)) << "ticks on flat water drew";
    painted_(dc_);
    EXPECT_EQ(0, Changed(picture_)) << "the paint notice did not draw the picture again";

    // A small drag-sized drop near the edge ripples too.
    mouse_(nullptr, 0, 0, 2, 2, 5, 200);
    Ticks(1);
    EXPECT_GT(Changed(picture_), 0) << "a small drop did not ripple";
}

TEST_F(RippleEngine, ANewPictureReplacesTheOldOneAndItsWaves) {
    mouse_(nullptr, 0, 0, 30, 22, 60, 500);
    Ticks(3);
    Dib plain(kWidth, kHeight);
    FillMemory(plain.pixels, kWidth * kHeight * 4, 0x40);
    init_(plain.bitmap);
    Ticks(1);
    EXPECT_EQ(0, Changed(plain)) << "the new picture is drawn flat, without the old waves";

    // A null or dead handle leaves the engine idle: it draws nothing.
    ClearTarget();
    init_(nullptr);
    mouse_(nullptr, 0, 0, 30, 22, 60, 500);
    Ticks(3);
    HBITMAP dead = CreateBitmap(4, 4, 1, 32, nullptr);
    DeleteObject(dead);
    init_(dead);
    Ticks(3);
    EXPECT_EQ(kWidth * kHeight, Changed(plain)) << "an idle engine drew";
}

TEST_F(RippleEngine, KeepsNoGdiObjectsAcrossTicks) {
    int before = qytest::LiveGdiObjects();
    for (int i = 0; i < 1000; ++i) {
        if (i % 50 == 0) mouse_(nullptr, 0, 0, (i * 7) % kWidth, (i * 3) % kHeight, 60, 500);
        timer_(dc_);
    }
    EXPECT_LE(qytest::LiveGdiObjects(), before + 2) << "ticks leave GDI objects behind";
}

}  // namespace
