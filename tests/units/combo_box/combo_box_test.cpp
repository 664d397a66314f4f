// The combo box under the real window system: its stored state at creation,
// property reads and writes, re-creation, colours and the events that mouse,
// keyboard and focus raise.
#include <windows.h>

#include <cstring>
#include <string>

#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "runtime/value.h"
#include "tests/units/combo_box/combo_box_and_scroll_bar_window.h"
#include "units/combo_box/combo_box.h"
#include "window/own_data.h"
#include "units/combo_box/combo_box_data.h"

using namespace qy;
using unittest::UnitWindowTest;
using qytest::OwnIndex;

namespace {
constexpr uint32_t kList = 0x16030001, kEditable = 0x16030002, kSimple = 0x16030003, kSorted = 0x16030004;
constexpr uint32_t kTall = 0x16030005, kTaller = 0x16030006;
constexpr uint32_t kComboType = TypeRef(1, 14);

Bytes TextList(const std::vector<std::string>& items) {
    ByteWriter out;
    out.TextList(items);
    return out.Take();
}

// A byte set owned by the test, handed to WriteProperty as its address.
struct ByteSetArg {
    explicit ByteSetArg(const Bytes& bytes) : block(NewByteSet(bytes.data(), static_cast<int>(bytes.size()))) {}
    ~ByteSetArg() {
        if (block) Free(block);
    }
    uint32_t value() const { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)); }
    void* block;
};

uint32_t Text(const char* text) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)); }

class ComboBoxTest : public UnitWindowTest {
protected:
    void SetUp() override {
        ComboBoxData list;
        list.type = 2;
        list.items = {"甲", "乙", "丙"};
        list.itemValues = {10, 20, 30};
        list.currentSelection = 7;
        list.font = LogFont::Make("宋体", -14);

        ComboBoxData editable;
        editable.type = 1;
        editable.content = "abcdef";
        editable.items = {"one", "two"};
        editable.extraItemHeight = 4;
        editable.font = list.font;

        ComboBoxData simple;
        simple.type = 0;
        simple.backColor = kButtonFaceColour;
        simple.items = {"x"};

        ComboBoxData sorted;
        sorted.type = 2;
        sorted.autoSort = 1;
        sorted.items = {"c", "a", "b"};
        sorted.itemValues = {3, 1, 2};
        sorted.currentSelection = 0;

        Load({{kList, Unit(kComboType, 20, 20, 120, 25, list.Write(), {combo_box::kItemSelected, combo_box::kDroppingDown, combo_box::kClosedUp})},
              {kEditable, Unit(kComboType, 160, 20, 120, 25, editable.Write(),
                                 {combo_box::kItemSelected, combo_box::kEditChanged, kEventGotFocus, kEventLostFocus})},
              {kSimple, Unit(kComboType, 300, 20, 120, 100, simple.Write(), {combo_box::kItemSelected, combo_box::kDoubleClicked})},
              {kSorted, Unit(kComboType, 20, 200, 120, 25, sorted.Write())},
              {kTall, Unit(kComboType, 160, 200, 120, 160, list.Write())},
              {kTaller, Unit(kComboType, 300, 200, 120, 200, list.Write())}});
    }

    int ItemHeight(uint32_t unit) { return static_cast<int>(SendMessageA(Handle(unit), CB_GETITEMHEIGHT, 0, 0)); }
    HWND EditOf(uint32_t unit) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(Handle(unit), &info);
        return info.hwndItem;
    }
};

TEST_F(ComboBoxTest, AStoredSelectionBeyondTheListSelectsTheLastItemAndMinusFiveClears) {
    EXPECT_EQ(SendMessageA(Handle(kList), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Read(kList, OwnIndex(combo_box::kCurrentSelection)), 2);
    EXPECT_EQ(ReadText(kList, OwnIndex(combo_box::kContent)), "丙");
    Write(kList, OwnIndex(combo_box::kCurrentSelection), static_cast<uint32_t>(-5));
    EXPECT_EQ(SendMessageA(Handle(kList), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(Read(kList, OwnIndex(combo_box::kCurrentSelection)), -1);
    Write(kList, OwnIndex(combo_box::kCurrentSelection), 1);
    EXPECT_EQ(ReadText(kList, OwnIndex(combo_box::kContent)), "乙");
    Pump();
    EXPECT_TRUE(CallsOf(kList, 0).empty()) << "writing CurrentSelection must never raise event 0";
}

TEST_F(ComboBoxTest, AMouseChoiceRaisesEventZeroOnceWithTheNewSelectionInPlace) {
    observe = [this] { return Read(kList, OwnIndex(combo_box::kCurrentSelection)); };
    RECT box;
    GetWindowRect(Handle(kList), &box);
    Click({box.right - 6, (box.top + box.bottom) / 2});
    Pump();
    ASSERT_TRUE(SendMessageA(Handle(kList), CB_GETDROPPEDSTATE, 0, 0)) << "the button click should drop the list";
    EXPECT_EQ(CallsOf(kList, 2).size(), 1u);

    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(Handle(kList), &info));
    RECT item;
    SendMessageA(info.hwndList, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(info.hwndList, nullptr, reinterpret_cast<POINT*>(&item), 2);
    Click({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    Pump();

    std::vector<unittest::EventCall> selected = CallsOf(kList, 0);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].observed, 0) << "the subroutine must already read the chosen item";
    EXPECT_EQ(Read(kList, OwnIndex(combo_box::kCurrentSelection)), 0);
    EXPECT_EQ(CallsOf(kList, 3).size(), 1u);
    EXPECT_FALSE(SendMessageA(Handle(kList), CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxTest, TheKeyboardOnAClosedListRaisesEventZeroOncePerChange) {
    observe = [this] { return Read(kList, OwnIndex(combo_box::kCurrentSelection)); };
    Write(kList, OwnIndex(combo_box::kCurrentSelection), 0);
    SetFocus(Handle(kList));
    PostMessageA(Handle(kList), WM_KEYDOWN, VK_DOWN, 0);
    Pump();
    std::vector<unittest::EventCall> selected = CallsOf(kList, 0);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].observed, 1);
}

TEST_F(ComboBoxTest, AnOpenListKeepsEscFromClosingTheWindow) {
    SetFocus(Handle(kList));
    SendMessageA(Handle(kList), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageA(Handle(kList), CB_GETDROPPEDSTATE, 0, 0));
    MSG m{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_FALSE(Runtime().PreTranslateMessage(&m));
    Pump();
    EXPECT_NE(WindowHandle(), nullptr) << "Esc closed the window instead of the list";
    SendMessageA(Handle(kList), CB_SHOWDROPDOWN, FALSE, 0);
    MSG again{Handle(kList), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(Runtime().PreTranslateMessage(&again));
    Pump();
    EXPECT_EQ(WindowHandle(), nullptr) << "with the list closed, Esc closes the window";
}

TEST_F(ComboBoxTest, ListTypesDropAtLeastOneHundredSixtyPixels) {
    auto dropHeight = [this](uint32_t unit) {
        RECT r;
        SendMessageA(Handle(unit), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r.bottom - r.top;
    };
    EXPECT_EQ(dropHeight(kList), dropHeight(kTall)) << "a designed height of 25 drops like one of 160";
    EXPECT_GT(dropHeight(kTaller), dropHeight(kTall)) << "larger heights are kept";
    RECT simple;
    GetWindowRect(Handle(kSimple), &simple);
    EXPECT_EQ(simple.bottom - simple.top, 100) << "the simple box keeps its designed height";
}

TEST_F(ComboBoxTest, ItemValuesFollowTheirItemsAndWritesRecreate) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessageA(Handle(kList), CB_GETITEMDATA, i, 0), 10 * (i + 1));
    Bytes values = ReadBytes(kList, OwnIndex(combo_box::kItemValues));
    ASSERT_EQ(values.size(), 12u);
    EXPECT_EQ(LoadU32(&values[8]), 30u);

    // Sorting moves the values with their items.
    EXPECT_EQ(ReadBytes(kSorted, OwnIndex(combo_box::kListItems)), TextList({"a", "b", "c"}));
    EXPECT_EQ(SendMessageA(Handle(kSorted), CB_GETITEMDATA, 0, 0), 1);
    EXPECT_EQ(SendMessageA(Handle(kSorted), CB_GETITEMDATA, 2, 0), 3);

    HWND before = Handle(kList);
    ByteSetArg two(Bytes{7, 0, 0, 0, 8, 0, 0, 0, 9});  // a stray byte after two whole words
    Write(kList, OwnIndex(combo_box::kItemValues), two.value());
    EXPECT_NE(Handle(kList), before);
    EXPECT_EQ(ReadBytes(kList, OwnIndex(combo_box::kItemValues)).size(), 8u);
    EXPECT_EQ(SendMessageA(Handle(kList), CB_GETITEMDATA, 1, 0), 8);
    EXPECT_EQ(SendMessageA(Handle(kList), CB_GETITEMDATA, 2, 0), 0) << "an item without a value gets 0";
    EXPECT_EQ(Read(kList, OwnIndex(combo_box::kCurrentSelection)), 2) << "re-creation keeps the live selection";
}

TEST_F(ComboBoxTest, ListItemsAreATextListByteSet) {
    EXPECT_EQ(ReadBytes(kList, OwnIndex(combo_box::kListItems)), TextList({"甲", "乙", "丙"}));

    ByteSetArg two(TextList({"红", "绿"}));
    Write(kList, OwnIndex(combo_box::kListItems), two.value());
    EXPECT_EQ(SendMessageA(Handle(kList), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(Read(kList, OwnIndex(combo_box::kCurrentSelection)), 1) << "the selection is clamped into the shorter list";
    EXPECT_EQ(ReadText(kList, OwnIndex(combo_box::kContent)), "绿");

    HWND before = Handle(kList);
    ByteSetArg broken(Bytes{5, 0, 2, 0, 0, 0, 'a'});  // five texts announced, one truncated
    Write(kList, OwnIndex(combo_box::kListItems), broken.value());
    EXPECT_EQ(Handle(kList), before) << "a malformed list is ignored";
    EXPECT_EQ(ReadBytes(kList, OwnIndex(combo_box::kListItems)), TextList({"红", "绿"}));

    ByteSetArg empty(Bytes{});
    Write(kList, OwnIndex(combo_box::kListItems), empty.value());
    EXPECT_EQ(SendMessageA(Handle(kList), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Read(kList, OwnIndex(combo_box::kCurrentSelection)), -1);
    Pump();
    EXPECT_TRUE(CallsOf(kList, 0).empty());
}

TEST_F(ComboBoxTest, ChangingTheTypeSwapsWhiteAndTheSystemBackground) {
    EXPECT_EQ(static_cast<uint32_t>(Read(kSimple, OwnIndex(combo_box::kBackColor))), kButtonFaceColour);
    HWND before = Handle(kSimple);
    Write(kSimple, OwnIndex(combo_box::kType), 1);
    EXPECT_NE(Handle(kSimple), before);
    EXPECT_EQ(GetWindowLongA(Handle(kSimple), GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(Read(kSimple, OwnIndex(combo_box::kBackColor)), 0xFFFFFF);
    Write(kSimple, OwnIndex(combo_box::kType), 0);
    EXPECT_EQ(static_cast<uint32_t>(Read(kSimple, OwnIndex(combo_box::kBackColor))), kButtonFaceColour);

    before = Handle(kSimple);
    Write(kSimple, OwnIndex(combo_box::kType), 0);
    EXPECT_EQ(Handle(kSimple), before) << "an unchanged type needs no re-creation";
    Write(kSimple, OwnIndex(combo_box::kType), 9);
    EXPECT_EQ(Read(kSimple, OwnIndex(combo_box::kType)), 2);
    EXPECT_EQ(GetWindowLongA(Handle(kSimple), GWL_STYLE) & 3, CBS_DROPDOWNLIST);

    Write(kSimple, OwnIndex(combo_box::kBackColor), RGB(0, 0, 255));
    Write(kSimple, OwnIndex(combo_box::kType), 0);
    EXPECT_EQ(Read(kSimple, OwnIndex(combo_box::kBackColor)), RGB(0, 0, 255)) << "a chosen colour is kept";
}

TEST_F(ComboBoxTest, TheBackgroundBrushAnswersTheControlsColourRequests) {
    Write(kEditable, OwnIndex(combo_box::kBackColor), RGB(255, 0, 0));
    Write(kEditable, OwnIndex(combo_box::kTextColor), RGB(0, 0, 255));
    HDC dc = GetDC(EditOf(kEditable));
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(Handle(kEditable), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(EditOf(kEditable))));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 0, 0));
    ReleaseDC(EditOf(kEditable), dc);
    LOGBRUSH info{};
    ASSERT_TRUE(GetObjectA(brush, sizeof info, &info));
    EXPECT_EQ(info.lbColor, RGB(255, 0, 0));
}

TEST_F(ComboBoxTest, ExtraItemHeightIsAddedOnceOverTheFontsHeight) {
    Write(kList, OwnIndex(combo_box::kExtraItemHeight), 0);
    int base = ItemHeight(kList);  // the same font without extra height
    EXPECT_EQ(ItemHeight(kEditable), base + 4);
    Write(kEditable, OwnIndex(combo_box::kExtraItemHeight), 1);
    EXPECT_EQ(ItemHeight(kEditable), base + 1);
    Write(kEditable, OwnIndex(combo_box::kExtraItemHeight), 1);
    EXPECT_EQ(ItemHeight(kEditable), base + 1);

    Write(kEditable, OwnIndex(combo_box::kFont), 24, 5);
    Write(kList, OwnIndex(combo_box::kFont), 24, 5);
    EXPECT_GT(ItemHeight(kList), base);
    EXPECT_EQ(ItemHeight(kEditable), ItemHeight(kList) + 1) << "a new font keeps the extra height once";
}

TEST_F(ComboBoxTest, TheEditFieldsSelectionIsReadLiveAndSelTextReplacesIt) {
    Write(kEditable, OwnIndex(combo_box::kSelStart), 1);
    Write(kEditable, OwnIndex(combo_box::kSelLength), 2);
    EXPECT_EQ(ReadText(kEditable, OwnIndex(combo_box::kSelText)), "bc");
    Write(kEditable, OwnIndex(combo_box::kSelText), Text("汉字"));
    EXPECT_EQ(ReadText(kEditable, OwnIndex(combo_box::kContent)), "a汉字def");
    EXPECT_EQ(Read(kEditable, OwnIndex(combo_box::kSelStart)), 5) << "the caret goes behind the new text, counted in bytes";
    EXPECT_EQ(Read(kEditable, OwnIndex(combo_box::kSelLength)), 0);

    Write(kEditable, OwnIndex(combo_box::kSelStart), static_cast<uint32_t>(-1));
    EXPECT_EQ(Read(kEditable, OwnIndex(combo_box::kSelStart)), 8) << "after the text";
    Write(kEditable, OwnIndex(combo_box::kSelStart), 2);  // inside 汉: falls back to its start
    Write(kEditable, OwnIndex(combo_box::kSelLength), 4);
    EXPECT_EQ(Read(kEditable, OwnIndex(combo_box::kSelStart)), 1);
    EXPECT_EQ(ReadText(kEditable, OwnIndex(combo_box::kSelText)), "汉字");
    Write(kEditable, OwnIndex(combo_box::kContent), Text("新内容"));
    EXPECT_EQ(ReadText(kEditable, OwnIndex(combo_box::kContent)), "新内容");
    Pump();
    EXPECT_TRUE(CallsOf(kEditable, 1).empty()) << "property writes raise no edit event";

    PostMessageA(EditOf(kEditable), WM_CHAR, 'x', 0);
    Pump();
    EXPECT_EQ(CallsOf(kEditable, 1).size(), 1u) << "typing raises event 1";
}

TEST_F(ComboBoxTest, MaxLengthCountsTheBytesOfTypedAndPastedText) {
    Write(kEditable, OwnIndex(combo_box::kContent), Text(""));
    Write(kEditable, OwnIndex(combo_box::kMaxLength), 5);
    for (wchar_t c : std::wstring(L"中文字")) PostMessageW(EditOf(kEditable), WM_CHAR, c, 1);
    Pump();
    EXPECT_EQ(ReadText(kEditable, OwnIndex(combo_box::kContent)), "中文") << "a third double-byte character passes five bytes";

    const char pasted[] = "a汉字";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
    memcpy(GlobalLock(block), pasted, sizeof pasted);
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    SendMessageA(EditOf(kEditable), WM_PASTE, 0, 0);
    EXPECT_EQ(ReadText(kEditable, OwnIndex(combo_box::kContent)), "中文a") << "a paste is cut where the fifth byte ends";
}

TEST_F(ComboBoxTest, ContentOfADropDownListSelectsTheMatchingItemQuietly) {
    Write(kList, OwnIndex(combo_box::kContent), Text("甲"));
    EXPECT_EQ(Read(kList, OwnIndex(combo_box::kCurrentSelection)), 0);
    Write(kList, OwnIndex(combo_box::kContent), Text("没有"));
    EXPECT_EQ(Read(kList, OwnIndex(combo_box::kCurrentSelection)), 0);
    Pump();
    EXPECT_TRUE(CallsOf(kList, 0).empty());
}

TEST_F(ComboBoxTest, FocusEventsComeOncePerChangeEvenWithAnEditField) {
    SetFocus(Handle(kEditable));
    Pump();
    EXPECT_EQ(GetFocus(), EditOf(kEditable));
    SetFocus(Handle(kList));
    Pump();
    EXPECT_EQ(CallsOf(kEditable, -7).size(), 1u);
    EXPECT_EQ(CallsOf(kEditable, -8).size(), 1u);
}

TEST_F(ComboBoxTest, ADoubleClickInTheSimpleListRaisesEventFour) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(Handle(kSimple), &info));
    RECT item;
    SendMessageA(info.hwndList, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(info.hwndList, nullptr, reinterpret_cast<POINT*>(&item), 2);
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    Click(at);
    Click(at);
    Pump();
    EXPECT_EQ(CallsOf(kSimple, 4).size(), 1u);
    EXPECT_EQ(CallsOf(kSimple, 0).size(), 1u) << "the first click chose the item";
}

TEST_F(ComboBoxTest, ReCreationCarriesTheLiveState) {
    Write(kEditable, OwnIndex(combo_box::kCurrentSelection), 1);
    Write(kEditable, OwnIndex(combo_box::kSelStart), 1);
    Write(kEditable, OwnIndex(combo_box::kSelLength), 2);
    HWND before = Handle(kEditable);
    Write(kEditable, OwnIndex(combo_box::kAutoSort), 1);
    ASSERT_NE(Handle(kEditable), before);
    EXPECT_EQ(GetWindowLongA(Handle(kEditable), GWL_STYLE) & CBS_SORT, CBS_SORT);
    EXPECT_EQ(Read(kEditable, OwnIndex(combo_box::kCurrentSelection)), 1);
    EXPECT_EQ(ReadText(kEditable, OwnIndex(combo_box::kContent)), "two");
    EXPECT_EQ(ReadText(kEditable, OwnIndex(combo_box::kSelText)), "wo");
    EXPECT_EQ(ItemHeight(kEditable), ItemHeight(kList) + 4);
    before = Handle(kEditable);
    Write(kEditable, OwnIndex(combo_box::kAutoSort), 1);
    EXPECT_EQ(Handle(kEditable), before) << "an unchanged AutoSort needs no re-creation";
}

}  // namespace
