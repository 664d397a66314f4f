// The transparent label on a window made for these tests: what it paints
// (and does not paint) over the window's background, its clamped
// properties, its template data, and the repaint of what lies behind it.
#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/unit_window.h"
#include "units/transparent_label/transparent_label.h"
#include "window/own_data.h"
#include "units/button/button_data.h"
#include "units/label/label_data.h"
#include "units/transparent_label/transparent_label_data.h"
#include "window/window_list.h"

using namespace qy;
using namespace qytest;

// An event subroutine that counts the presses it hears and removes its three arguments.
extern "C" int TransLabelPresses = 0;
extern "C" void TransLabelPressed();
__asm__(".text\n_TransLabelPressed:\n  incl _TransLabelPresses\n  xor %ecx, %ecx\n  ret $12\n");

namespace {
constexpr uint32_t kLabel = 0x16040001, kEmpty = 0x16040002, kGround = 0x16040003;
constexpr uint32_t kTransLabelRef = TypeRef(kExtendedUiLibraryNumber, 5);
constexpr COLORREF kBackground = RGB(40, 160, 200);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 200, 0);

uint32_t Text(const char* text) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)); }

// The pixels of a client rectangle of a window as painted.
struct Pixels {
    Pixels(HWND hwnd, RECT r) : area(r) {
        HDC dc = GetDC(hwnd);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) colours.push_back(GetPixel(dc, x, y) & 0xFFFFFF);
        ReleaseDC(hwnd, dc);
    }
    int Count(COLORREF colour) const {
        int n = 0;
        for (COLORREF c : colours) n += c == colour;
        return n;
    }
    int Other(COLORREF colour) const { return static_cast<int>(colours.size()) - Count(colour); }
    // First and last row holding the colour, or -1.
    std::pair<int, int> Rows(COLORREF colour) const {
        int width = area.right - area.left, first = -1, last = -1;
        for (size_t i = 0; i < colours.size(); ++i) {
            if (colours[i] != colour) continue;
            int row = static_cast<int>(i) / width;
            if (first < 0) first = row;
            last = row;
        }
        return {first, last};
    }
    RECT area;
    std::vector<COLORREF> colours;
};

class TransLabelTest : public ::testing::Test {
protected:
    void SetUp() override { texts_.clear(); }
    void TearDown() override { Windows().Clear(); }

    bool Load(const TransLabelData& label, Bytes emptyData = Bytes()) {
        TestWindow window;
        window.at = RECT{60, 60, 540, 360};
        window.data.caption = "透明标签测试";
        window.data.backColor = kBackground;
        if (emptyData.empty()) {
            TransLabelData empty;
            empty.caption.clear();
            emptyData = empty.Write();
        }
        // An opaque label in another colour lies where the transparent one moves to.
        LabelData ground;
        ground.backColor = kGreen;
        InstallUnitWindow({MakeTestUnit(kLabel, kTransLabelRef, 20, 20, 200, 40, label.Write()),
                           MakeTestUnit(kEmpty, kTransLabelRef, 20, 120, 120, 40, emptyData),
                           MakeTestUnit(kGround, TypeRef(1, 10), 250, 10, 220, 60, ground.Write())},
                          0, window);
        if (!LoadUnitWindow()) return false;
        SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SettleMessages();
        return true;
    }

    static TransLabelData RedText(const char* caption) {
        TransLabelData d;
        d.caption = caption;
        d.textColor = kRed;
        d.font = LogFont::Make("宋体", -24, 700);
        d.vAlign = 1;
        return d;
    }

    HWND Window() { return UnitHandle(0); }
    HWND Handle(uint32_t unit) { return UnitHandle(unit); }
    Pixels LabelPixels(uint32_t unit) {
        RECT r;
        GetClientRect(Handle(unit), &r);
        return Pixels(Handle(unit), r);
    }
    int32_t Read(uint32_t unit, int property, int sub = -1) { return static_cast<int32_t>(ReadInt(unit, property, sub)); }
    // Writes and lets the repaints it causes run.
    void Write(uint32_t unit, int property, uint32_t value, int sub = -1) {
        WriteInt(unit, property, value, sub);
        SettleMessages();
    }

    static std::vector<std::string> texts_;
};
std::vector<std::string> TransLabelTest::texts_;

TEST_F(TransLabelTest, AnEmptyCaptionPaintsNothing) {
    ASSERT_TRUE(Load(RedText("透明")));
    EXPECT_EQ(LabelPixels(kEmpty).Other(kBackground), 0) << "the background must show through entirely";
    Write(kEmpty, OwnIndex(transparent_label::kCaption), Text("字"));
    EXPECT_GT(LabelPixels(kEmpty).Other(kBackground), 0);
    Write(kEmpty, OwnIndex(transparent_label::kCaption), Text(""));
    EXPECT_EQ(LabelPixels(kEmpty).Other(kBackground), 0) << "the old caption is still on the screen";
}

TEST_F(TransLabelTest, ChoicesAreClampedIntoTheirRanges) {
    ASSERT_TRUE(Load(RedText("透明")));
    Write(kLabel, OwnIndex(transparent_label::kEffect), 9);
    EXPECT_EQ(Read(kLabel, OwnIndex(transparent_label::kEffect)), 3);
    Write(kLabel, OwnIndex(transparent_label::kEffect), static_cast<uint32_t>(-2));
    EXPECT_EQ(Read(kLabel, OwnIndex(transparent_label::kEffect)), 0);
    Write(kLabel, OwnIndex(transparent_label::kAlignment), 5);
    EXPECT_EQ(Read(kLabel, OwnIndex(transparent_label::kAlignment)), 2);
    Write(kLabel, OwnIndex(transparent_label::kVerticalAlignment), 3);
    EXPECT_EQ(Read(kLabel, OwnIndex(transparent_label::kVerticalAlignment)), 2);
    Write(kLabel, OwnIndex(transparent_label::kWordWrap), 4);
    EXPECT_EQ(Read(kLabel, OwnIndex(transparent_label::kWordWrap)), 1);
}

TEST_F(TransLabelTest, MovingTheLabelLeavesNoTrace) {
    ASSERT_TRUE(Load(RedText("透明标签")));
    ASSERT_GT(LabelPixels(kLabel).Count(kRed), 0);
    Write(kLabel, kPropertyLeft, 260);
    EXPECT_EQ(Pixels(Window(), {20, 20, 220, 60}).Other(kBackground), 0) << "old text left at the old place";
    Pixels moved = LabelPixels(kLabel);
    EXPECT_EQ(moved.Count(kBackground), 0) << "the old place's background came along";
    EXPECT_GT(moved.Count(kGreen), 0) << "what lies behind the new place must show";
    EXPECT_GT(moved.Count(kRed), 0) << "the text must be drawn at the new place";

    // A shorter caption must not leave the longer one's tail behind.
    Write(kLabel, OwnIndex(transparent_label::kCaption), Text("WWWWWWWWWWWW"));
    Write(kLabel, OwnIndex(transparent_label::kCaption), Text("I"));
    Pixels after = LabelPixels(kLabel);
    EXPECT_EQ(Pixels(Handle(kLabel), {40, 0, 200, 40}).Count(kRed), 0);
    EXPECT_GT(after.Count(kRed), 0);
}

TEST_F(TransLabelTest, EffectsDrawTheirPassesBeforeTheText) {
    ASSERT_TRUE(Load(RedText("透明标签")));
    Pixels plain = LabelPixels(kLabel);
    EXPECT_EQ(plain.Count(RGB(255, 255, 255)), 0);
    EXPECT_EQ(plain.Count(RGB(0, 0, 0)), 0);
    Write(kLabel, OwnIndex(transparent_label::kEffect), 1);
    EXPECT_GT(LabelPixels(kLabel).Count(RGB(255, 255, 255)), 0) << "raised: a white copy";
    Write(kLabel, OwnIndex(transparent_label::kEffect), 2);
    EXPECT_GT(LabelPixels(kLabel).Count(RGB(255, 255, 255)), 0) << "engraved: a white copy";
    Write(kLabel, OwnIndex(transparent_label::kEffect), 3);
    Pixels shadow = LabelPixels(kLabel);
    EXPECT_GT(shadow.Count(RGB(0, 0, 0)), 0) << "shadow: a black copy";
    EXPECT_EQ(shadow.Count(RGB(255, 255, 255)), 0) << "the white copy of the previous effect stayed";
    EXPECT_GT(shadow.Count(kRed), 0);
}

TEST_F(TransLabelTest, ASingleLineSitsWhereVerticalAlignmentSays) {
    ASSERT_TRUE(Load(RedText("透明")));
    std::pair<int, int> middle = LabelPixels(kLabel).Rows(kRed);
    Write(kLabel, OwnIndex(transparent_label::kVerticalAlignment), 2);
    std::pair<int, int> bottom = LabelPixels(kLabel).Rows(kRed);
    Write(kLabel, OwnIndex(transparent_label::kVerticalAlignment), 0);
    std::pair<int, int> top = LabelPixels(kLabel).Rows(kRed);
    ASSERT_GE(top.first, 0);
    EXPECT_LT(top.first, 6) << "top alignment starts at the top edge";
    EXPECT_GT(middle.first, top.first);
    EXPECT_GT(bottom.first, middle.first);
    EXPECT_GE(bottom.second, 40 - 8) << "bottom alignment ends near the bottom edge";
    EXPECT_EQ(bottom.second - bottom.first, top.second - top.first) << "the same line, only moved";
}

TEST_F(TransLabelTest, TheFontIsTheStoredRecordOrTheDefaultGuiFont) {
    TransLabelData d = RedText("透明");
    d.font = Bytes(10, 1);  // not a LOGFONT: the default GUI font
    ASSERT_TRUE(Load(d));
    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    HDC dc = GetDC(nullptr);
    int points = MulDiv(std::abs(gui.lfHeight), 72, GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(Read(kLabel, OwnIndex(transparent_label::kFont), 5), points);
    std::pair<int, int> small = LabelPixels(kLabel).Rows(kRed);

    Write(kLabel, OwnIndex(transparent_label::kFont), 20, 5);  // size in points
    EXPECT_EQ(Read(kLabel, OwnIndex(transparent_label::kFont), 5), 20);
    std::pair<int, int> large = LabelPixels(kLabel).Rows(kRed);
    EXPECT_GT(large.second - large.first, small.second - small.first);
}

TEST_F(TransLabelTest, TemplateDataOfAnUnknownVersionFailsTheLoad) {
    TransLabelData future = RedText("透明");
    future.version = 2;
    EXPECT_FALSE(Load(RedText("透明"), future.Write()));
    TransLabelData old = RedText("旧版");
    old.version = 0;
    EXPECT_TRUE(Load(RedText("透明"), old.Write()));
}

TEST_F(TransLabelTest, ItsTypeEntryAndTextsAreServedByTheInterface) {
    ASSERT_TRUE(Load(RedText("透明标签")));
    const DataTypeEntry* entry = FindUnitEntry(kTransLabelRef);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->name, "透明标签");
    EXPECT_EQ(entry->propertyCount, 15);
    auto enumerate = reinterpret_cast<EnumerateTextsOp>(entry->interfaceFunction(kOpEnumerateTexts));
    ASSERT_NE(enumerate, nullptr);
    enumerate(UnitObject(kLabel),
              [](const char* text, void*) { texts_.push_back(text); }, nullptr);
    EXPECT_EQ(texts_, (std::vector<std::string>{"透明标签", "宋体"}));
    auto changed = reinterpret_cast<PropertyChangedOp>(entry->interfaceFunction(kOpPropertyChanged));
    PropertyValue v;
    v.i = 1;
    EXPECT_EQ(changed(UnitObject(kLabel), 1, &v), 0) << "never asks for re-creation";
}

TEST_F(TransLabelTest, MouseInputOnTheLabelIsAnOrdinaryCommonEvent) {
    ASSERT_TRUE(Load(RedText("透明")));
    MSG m{Handle(kLabel), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), 0, {0, 0}};
    // A type that may not raise events would end the program here.
    EXPECT_FALSE(Runtime().PreTranslateMessage(&m));
}

TEST_F(TransLabelTest, AClickGoesThroughALabelThatNoMouseEventIsBoundTo) {
    CheckBoxData check;
    for (bool bound : {false, true}) {
        TransLabelPresses = 0;
        std::vector<EventBinding> events(bound ? 1 : 0, EventBinding{kEventLeftDown, 0});
        InstallUnitWindow({MakeTestUnit(kLabel, kTransLabelRef, 10, 10, 200, 60, RedText("透明").Write(), kStateVisible,
                                        events),
                           MakeTestUnit(kGround, TypeRef(1, 12), 20, 20, 120, 40, check.Write())},
                          reinterpret_cast<uintptr_t>(&TransLabelPressed));
        ASSERT_TRUE(LoadUnitWindow());
        SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SettleMessages();
        RECT r;
        GetWindowRect(Handle(kGround), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        // A person's pause between the steps of the click.
        for (DWORD step : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) Sleep(75), mouse_event(step, 0, 0, 0, 0);
        auto checked = [&] { return SendMessageA(Handle(kGround), BM_GETCHECK, 0, 0) == BST_CHECKED; };
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000 && !checked() && !TransLabelPresses;)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT), PumpMessages();
        EXPECT_EQ(checked(), !bound) << "the check box beneath the label takes the click";
        EXPECT_EQ(TransLabelPresses, bound ? 1 : 0);
        Windows().Clear();
    }
}

}  // namespace
