// Window and label background pictures decoded and drawn by the picture
// code, read back from the shown window.
#include <windows.h>

#include <functional>

#include "app/abi/program_abi.h"
#include "gtest/gtest.h"
#include "runtime/archive.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "window/own_data.h"
#include "window/template_format.h"
#include "window/window_list.h"

using namespace qy;

namespace {
constexpr uint32_t kWindow = 0x52050001, kOwn = 0x06050000, kLabel = 0x16050001;
constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGrey = RGB(128, 128, 128),
                   kGreen = RGB(0, 255, 0);
constexpr int kWindowPicture = 11, kWindowPictureMode = 12, kLabelPicture = 18;

// 8 x 8, left half red, right half blue, as a 24-bit BMP.
Bytes RedBlueBmp() {
    const int size = 8, stride = 24;
    Bytes file(54 + stride * size, 0);
    file[0] = 'B', file[1] = 'M';
    file[10] = 54, file[14] = 40, file[18] = size, file[22] = size, file[26] = 1, file[28] = 24;
    file[2] = static_cast<uint8_t>(file.size());
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* p = &file[54 + y * stride + x * 3];
            (x < size / 2 ? p[2] : p[0]) = 255;
        }
    return file;
}

class BackgroundPicture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Runtime().initialised) program::InitRuntime();
    }
    void TearDown() override { Windows().Clear(); }

    bool Load(const Bytes& windowPicture, int windowMode, const Bytes& labelPicture) {
        WindowData wd;
        wd.position = 0;
        wd.backColor = kGrey;
        wd.picture = windowPicture;
        wd.pictureMode = windowMode;
        UnitRecord own;
        own.typeRef = 0x10001;
        own.left = 60, own.top = 60, own.width = 300, own.height = 200;
        own.state = kStateVisible;
        own.ownData = wd.Write();
        LabelData ld;
        ld.backColor = kGreen;
        ld.picture = labelPicture;
        ld.pictureMode = 0;
        UnitRecord label;
        label.typeRef = 0x1000A;
        label.left = 100, label.top = 100, label.width = 40, label.height = 30;
        label.state = kStateVisible;
        label.ownData = ld.Write();
        WindowTemplate t;
        t.id = kWindow;
        t.units = UnitTable::Build({{kOwn, EncodeUnit(own)}, {kLabel, EncodeUnit(label)}});
        Bytes segment = WriteSegment({t});
        MemoryFile file(segment.data(), segment.size());
        LoadingArchive archive(file, 4096);
        Windows().Clear();
        Windows().LoadSegment(archive);
        if (!Windows().LoadStartupWindow(kWindow)) return false;
        Redraw();
        return true;
    }
    HWND Handle(uint32_t unit) {
        qy::Unit* u = Windows().FindUnitObject(kWindow, unit, false);
        return u ? u->hwnd() : nullptr;
    }
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
        void* block = NewByteSet(bytes.data(), static_cast<int>(bytes.size()));
        Windows().WriteProperty(kWindow, unit, property, -1, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)),
                                0);
        Free(block);
        Redraw();
    }
};
}  // namespace

TEST_F(BackgroundPicture, TheWindowDrawsItsPictureInFourModes) {
    ASSERT_TRUE(Load(RedBlueBmp(), 0, Bytes()));
    EXPECT_EQ(At(0, 1, 1), kRed);
    EXPECT_EQ(At(0, 6, 6), kBlue);
    EXPECT_EQ(At(0, 9, 1), kGrey) << "mode 0: one copy at the top left";

    Windows().WriteProperty(kWindow, kOwn, kWindowPictureMode, -1, 1, 0);
    Redraw();
    EXPECT_EQ(At(0, 9, 1), kRed) << "mode 1: tiled";
    EXPECT_EQ(At(0, 86, 17), kBlue);

    RECT client;
    GetClientRect(Handle(0), &client);
    Windows().WriteProperty(kWindow, kOwn, kWindowPictureMode, -1, 2, 0);
    Redraw();
    EXPECT_EQ(At(0, (client.right - 8) / 2, (client.bottom - 8) / 2), kRed) << "mode 2: centred";
    EXPECT_EQ(At(0, 1, 1), kGrey);

    Windows().WriteProperty(kWindow, kOwn, kWindowPictureMode, -1, 3, 0);
    Redraw();
    EXPECT_EQ(At(0, 2, client.bottom / 2), kRed) << "mode 3: stretched";
    EXPECT_EQ(At(0, client.right - 3, client.bottom / 2), kBlue);
}

TEST_F(BackgroundPicture, UndecodableWindowPictureFallsBackToTheColour) {
    ASSERT_TRUE(Load(Bytes{'B', 'M', 0, 0, 0, 0, 0}, 1, Bytes()));
    EXPECT_EQ(At(0, 1, 1), kGrey);
    uint64_t value = Windows().ReadProperty(kWindow, kOwn, kWindowPicture, -1);
    void* block = reinterpret_cast<void*>(static_cast<uintptr_t>(static_cast<uint32_t>(value)));
    EXPECT_EQ(ByteSetLength(block), 0) << "the data is dropped";
    Free(block);
    WritePicture(kOwn, kWindowPicture, RedBlueBmp());
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
