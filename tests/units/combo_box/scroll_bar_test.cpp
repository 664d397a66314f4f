// The horizontal scroll bar under the real window system: its range, the
// scroll requests, thumb dragging with and without tracking, and property
// writes that clamp and never raise the position event.
#include <windows.h>

#include "tests/units/combo_box/combo_box_and_scroll_bar_window.h"
#include "units/scroll_bar/scroll_bar.h"
#include "units/scroll_bar/scroll_bar_data.h"

using namespace qy;
using unittest::UnitWindowTest;
using qytest::OwnIndex;

namespace {
constexpr uint32_t kReversed = 0x16030011, kDragOff = 0x16030012, kDragOn = 0x16030013;
constexpr uint32_t kScrollType = TypeRef(1, 17);


Bytes Bar(int32_t low, int32_t high, int32_t position, int32_t dragTracking) {
    ScrollBarData d;
    d.minPosition = low;
    d.maxPosition = high;
    d.pageChange = 13;
    d.lineChange = 1;
    d.position = position;
    d.dragTracking = dragTracking;
    return d.Write();
}

class ScrollBarTest : public UnitWindowTest {
protected:
    void SetUp() override {
        Load({{kReversed, Unit(kScrollType, 20, 20, 108, 17, Bar(200, 1, 44, 1), {scroll_bar::kPositionChanged})},
              {kDragOff, Unit(kScrollType, 20, 80, 300, 20, Bar(0, 100, 0, 0), {scroll_bar::kPositionChanged})},
              {kDragOn, Unit(kScrollType, 20, 140, 300, 20, Bar(0, 100, 0, 1), {scroll_bar::kPositionChanged})}});
    }

    void Request(uint32_t unit, int request) {
        SendMessageA(WindowHandle(), WM_HSCROLL, MAKEWPARAM(request, 0), reinterpret_cast<LPARAM>(Handle(unit)));
    }
    size_t Events(uint32_t unit) { return CallsOf(unit, 0).size(); }

    // Presses the thumb, moves it right in steps and lets it go, all as real mouse input.
    void DragThumb(uint32_t unit) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetScrollBarInfo(Handle(unit), OBJID_CLIENT, &info));
        POINT at{info.rcScrollBar.left + (info.xyThumbTop + info.xyThumbBottom) / 2,
                 (info.rcScrollBar.top + info.rcScrollBar.bottom) / 2};
        Mouse(0, at);
        Mouse(MOUSEEVENTF_LEFTDOWN, at);
        for (int step = 1; step <= 3; ++step) Mouse(0, {at.x + 30 * step, at.y});
        Mouse(MOUSEEVENTF_LEFTUP, {at.x + 90, at.y});
        Pump();
    }
};

TEST_F(ScrollBarTest, TheRangeRunsFromTheSmallerToTheLargerBound) {
    int low = 0, high = 0;
    GetScrollRange(Handle(kReversed), SB_CTL, &low, &high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 200);
    EXPECT_EQ(GetScrollPos(Handle(kReversed), SB_CTL), 44);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kMinPosition)), 200) << "the bounds are stored as written";
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kMaxPosition)), 1);
}

TEST_F(ScrollBarTest, ScrollRequestsMoveByLinesPagesAndToTheEnds) {
    observe = [this] { return Read(kReversed, OwnIndex(scroll_bar::kPosition)); };
    Request(kReversed, SB_LINERIGHT);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kPosition)), 45);
    Request(kReversed, SB_PAGELEFT);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kPosition)), 32);
    Request(kReversed, SB_RIGHT);
    EXPECT_EQ(GetScrollPos(Handle(kReversed), SB_CTL), 200);
    ASSERT_EQ(Events(kReversed), 3u);
    EXPECT_EQ(CallsOf(kReversed, 0).back().observed, 200) << "the subroutine reads the new position";

    Request(kReversed, SB_PAGERIGHT);  // clamped at the end: no change, no event
    Request(kReversed, SB_ENDSCROLL);
    EXPECT_EQ(Events(kReversed), 3u);
    Request(kReversed, SB_LEFT);
    Request(kReversed, SB_LINELEFT);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kPosition)), 1);
    EXPECT_EQ(Events(kReversed), 4u);
}

TEST_F(ScrollBarTest, ClickingAnArrowMovesOneLine) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(Handle(kReversed), OBJID_CLIENT, &info));
    Click({info.rcScrollBar.right - 4, (info.rcScrollBar.top + info.rcScrollBar.bottom) / 2});
    Pump();
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kPosition)), 45);
    EXPECT_EQ(Events(kReversed), 1u);
}

TEST_F(ScrollBarTest, WithoutDragTrackingTheThumbCountsOnlyWhenReleased) {
    observe = [this] { return Read(kDragOff, OwnIndex(scroll_bar::kPosition)); };
    DragThumb(kDragOff);
    std::vector<unittest::EventCall> moved = CallsOf(kDragOff, 0);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_FALSE(moved[0].buttonDown) << "the event came while the thumb was still held";
    EXPECT_GT(moved[0].observed, 0);
    EXPECT_EQ(Read(kDragOff, OwnIndex(scroll_bar::kPosition)), moved[0].observed);
}

TEST_F(ScrollBarTest, WithDragTrackingTheThumbCountsWhileHeld) {
    DragThumb(kDragOn);
    std::vector<unittest::EventCall> moved = CallsOf(kDragOn, 0);
    ASSERT_FALSE(moved.empty());
    EXPECT_TRUE(moved[0].buttonDown);
    EXPECT_GT(Read(kDragOn, OwnIndex(scroll_bar::kPosition)), 0);
}

TEST_F(ScrollBarTest, WritesClampAndNeverRaiseTheEvent) {
    Write(kReversed, OwnIndex(scroll_bar::kPosition), 500);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kPosition)), 200);
    Write(kReversed, OwnIndex(scroll_bar::kPosition), static_cast<uint32_t>(-3));
    EXPECT_EQ(GetScrollPos(Handle(kReversed), SB_CTL), 1);

    Write(kReversed, OwnIndex(scroll_bar::kPageChange), 0);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kPageChange)), 1);
    Write(kReversed, OwnIndex(scroll_bar::kLineChange), 40000);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kLineChange)), 32767);
    Write(kReversed, OwnIndex(scroll_bar::kLineChange), static_cast<uint32_t>(-5));
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kLineChange)), 1);

    // A new range pulls the position in with it.
    Write(kReversed, OwnIndex(scroll_bar::kMaxPosition), 300);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kPosition)), 200);
    Write(kReversed, OwnIndex(scroll_bar::kDragTracking), 7);
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kDragTracking)), 1);
    Pump();
    EXPECT_EQ(Events(kReversed), 0u);
}

TEST_F(ScrollBarTest, ADisabledBarStaysDisabled) {
    Write(kReversed, kPropertyDisabled, 1);
    Write(kReversed, OwnIndex(scroll_bar::kMinPosition), 100);
    Write(kReversed, OwnIndex(scroll_bar::kPosition), 5);
    EXPECT_FALSE(IsWindowEnabled(Handle(kReversed)));
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(Handle(kReversed), OBJID_CLIENT, &info));
    EXPECT_TRUE(info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) << "the left arrow looks enabled";
    EXPECT_TRUE(info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) << "the right arrow looks enabled";
    EXPECT_EQ(Read(kReversed, OwnIndex(scroll_bar::kPosition)), 5);
}

}  // namespace
