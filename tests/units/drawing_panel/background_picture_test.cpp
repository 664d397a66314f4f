// Window and label background pictures decoded and drawn by the picture
// code, read back from the shown window.
#include <windows.h>

#include "gtest/gtest.h"
#include "tests/support/unit_window.h"
#include "tests/media/picture/test_pictures.h"
#include "units/label/label.h"
#include "units/label/label_data.h"
#include "window/window_list.h"

using namespace qy;
using namespace qytest;

namespace {
constexpr uint32_t kLabel = 0x16050001;
constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGrey = RGB(128, 128, 128),
                   kGreen = RGB(0, 255, 0);
constexpr int kWindowPicture = OwnIndex(window::kBackPicture), kWindowPictureMode = OwnIndex(window::kPictureMode),
              kLabelPicture = OwnIndex(label::kPicture);

// 8 x 8, left half red, right half blue, as a 24-bit BMP.
Bytes RedBlueBmp() {
    return pictest::EncodeBmp(pictest::Halves(8, 8, {255, 0, 0, 255}, {0, 0, 255, 255}), 24, false);
}

class BackgroundPicture : public ::testing::Test {
protected:
    void TearDown() override { Windows().Clear(); }

    bool Load(const Bytes& windowPicture, int windowMode, const Bytes& labelPicture) {
        TestWindow window;
        window.at = RECT{60, 60, 360, 260};
        window.data.backColor = kGrey;
        window.data.picture = windowPicture;
        window.data.pictureMode = windowMode;
        LabelData ld;
        ld.backColor = kGreen;
        ld.picture = labelPicture;
        ld.pictureMode = 0;
        InstallUnitWindow({MakeTestUnit(kLabel, 0x1000A, 100, 100, 40, 30, ld.Write())}, 0, window);
        if (!LoadUnitWindow()) return false;
        Redraw();
        return true;
    }
    HWND Handle(uint32_t unit) { return UnitHandle(unit); }
    void Redraw() {
        RedrawWindow(Handle(0), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    COLORREF At(uint32_t unit, int x, int y) {
        HWND h = Handle(unit);
        HDC dc = GetDC(h);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(h, dc);
        return c;
    }
    void WritePicture(uint32_t unit, int property, const Bytes& bytes) {
        WriteBytes(unit, property, bytes);
        Redraw();
    }
};
}  // namespace

TEST_F(BackgroundPicture, TheWindowDrawsItsPictureInFourModes) {
    ASSERT_TRUE(Load(RedBlueBmp(), 0, Bytes()));
    EXPECT_EQ(At(0, 1, 1), kRed);
    EXPECT_EQ(At(0, 6, 6), kBlue);
    EXPECT_EQ(At(0, 9, 1), kGrey) << "mode 0: one copy at the top left";

    WriteInt(kUnitWindowOwn, kWindowPictureMode, kPictureTiled);
    Redraw();
    EXPECT_EQ(At(0, 9, 1), kRed) << "mode 1: tiled";
    EXPECT_EQ(At(0, 86, 17), kBlue);

    RECT client;
    GetClientRect(Handle(0), &client);
    WriteInt(kUnitWindowOwn, kWindowPictureMode, kPictureCentred);
    Redraw();
    EXPECT_EQ(At(0, (client.right - 8) / 2, (client.bottom - 8) / 2), kRed) << "mode 2: centred";
    EXPECT_EQ(At(0, 1, 1), kGrey);

    WriteInt(kUnitWindowOwn, kWindowPictureMode, kPictureStretched);
    Redraw();
    EXPECT_EQ(At(0, 2, client.bottom / 2), kRed) << "mode 3: stretched";
    EXPECT_EQ(At(0, client.right - 3, client.bottom / 2), kBlue);
}

TEST_F(BackgroundPicture, UndecodableWindowPictureFallsBackToTheColour) {
    ASSERT_TRUE(Load(Bytes{'B', 'M', 0, 0, 0, 0, 0}, 1, Bytes()));
    EXPECT_EQ(At(0, 1, 1), kGrey);
    EXPECT_EQ(ReadBytes(kUnitWindowOwn, kWindowPicture).size(), 0u) << "the data is dropped";
    WritePicture(kUnitWindowOwn, kWindowPicture, RedBlueBmp());
    EXPECT_EQ(At(0, 1, 1), kRed) << "a new picture is decoded afresh";
}

TEST_F(BackgroundPicture, TheLabelDrawsItsPictureOverItsBackground) {
    ASSERT_TRUE(Load(Bytes(), 1, RedBlueBmp()));
    EXPECT_EQ(At(kLabel, 1, 1), kRed);
    EXPECT_EQ(At(kLabel, 6, 6), kBlue);
    EXPECT_EQ(At(kLabel, 20, 20), kGreen);
    WritePicture(kLabel, kLabelPicture, Bytes{1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(At(kLabel, 1, 1), kGreen) << "an undecodable picture leaves the background";
}
