// The template format: records, unit tables, relocation, the segment reader
// and the own-data blocks, all at the byte level.
#include <algorithm>
#include <cstring>

#include "gtest/gtest.h"
#include "runtime/archive.h"
#include "window/own_data.h"
#include "units/button/button_data.h"
#include "units/colour_picker/colour_picker_data.h"
#include "units/combo_box/combo_box_data.h"
#include "units/common_dialog/common_dialog_data.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "units/edit_box/edit_box_data.h"
#include "units/label/label_data.h"
#include "units/scroll_bar/scroll_bar_data.h"
#include "units/transparent_label/transparent_label_data.h"
#include "window/template_format.h"

using namespace qy;

namespace {
UnitRecord SampleUnit(uint32_t typeRef, const std::string& name) {
    UnitRecord u;
    u.typeRef = typeRef;
    u.name = name;
    u.left = -1;
    u.top = 82;
    u.width = 58;
    u.height = 25;
    u.children = {0x16000001, 0, 0x16000002};
    u.cursorData = {0x8B, 0x7F, 0, 0};
    u.tag = "tag";
    u.state = 7;
    u.tabOrder = 12;
    u.bindings = {{0, 0}, {-1, -1}, {-12, 32}};
    ButtonData b;
    b.caption = "复制";
    b.font = LogFont::Make("宋体", -19, 700);
    u.ownData = b.Write();
    return u;
}

std::vector<WindowTemplate> ReadBack(const Bytes& segment) {
    MemoryFile file(segment.data(), segment.size());
    LoadingArchive archive(file, 4096);
    return ReadSegment(archive);
}

Bytes TwoWindowSegment() {
    WindowTemplate a;
    a.id = 0x52010001;
    a.stamp = 0x00D64130;
    a.key = 0x19010001;
    a.units = UnitTable::Build({{0x06010000, EncodeUnit(SampleUnit(0x10001, ""))},
                                {0x16010DAC, EncodeUnit(SampleUnit(0x1000B, "打开记事本"))}});
    WindowTemplate b;
    b.id = 0x52010481;
    b.textA = "A";
    b.units = UnitTable::Build({{0x06010480, EncodeUnit(SampleUnit(0x10001, ""))}});
    return WriteSegment({a, b});
}
}  // namespace

TEST(TemplateFormat, UnitRecordsRoundTripAndLayoutFindsEveryField) {
    UnitRecord u = SampleUnit(0x1000B, "打开记事本");
    Bytes body = EncodeUnit(u);
    UnitRecord back = DecodeUnit(body.data(), body.size());
    EXPECT_EQ(back.name, u.name);
    EXPECT_EQ(back.left, -1);
    EXPECT_EQ(back.children, u.children);
    EXPECT_EQ(back.cursorData, u.cursorData);
    EXPECT_EQ(back.tag, "tag");
    EXPECT_EQ(back.state, 7u);
    EXPECT_EQ(back.tabOrder, 12);
    ASSERT_EQ(back.bindings.size(), 3u);
    EXPECT_EQ(back.bindings[2].event, -12);
    EXPECT_EQ(back.ownData, u.ownData);

    UnitLayout at = LocateUnitFields(body.data(), body.size());
    EXPECT_EQ(at.objectSlot, 24 + u.name.size() + 1 + 1);
    EXPECT_EQ(static_cast<int32_t>(LoadU32(&body[at.geometry])), -1);
    EXPECT_EQ(LoadU32(&body[at.state]), 7u);
    EXPECT_EQ(LoadU32(&body[at.tabOrder]), 12u);
    EXPECT_EQ(LoadU32(&body[at.bindingCount]), 3u);
    EXPECT_EQ(at.ownData, body.size() - u.ownData.size());
}

TEST(TemplateFormat, TruncatedRecordsAndTablesAreRejected) {
    Bytes body = EncodeUnit(SampleUnit(0x1000B, "x"));
    EXPECT_THROW(DecodeUnit(body.data(), 30), TemplateError);
    Bytes noTerminator(40, 'a');
    EXPECT_THROW(LocateUnitFields(noTerminator.data(), noTerminator.size()), TemplateError);

    UnitTable table = UnitTable::Build({{0x16000001, body}});
    Bytes bytes = table.bytes();
    StoreU32(&bytes[4], 1000);  // offset past the unit area
    EXPECT_THROW(UnitTable(bytes, 1), TemplateError);
    EXPECT_THROW(UnitTable(table.bytes(), 2), TemplateError);

    // Record 0 stretched over record 1: writing its slots would rewrite
    // record 1's length and fields.
    UnitTable two = UnitTable::Build({{0x06000001, body}, {0x16000002, body}});
    Bytes overlapping = two.bytes();
    StoreU32(&overlapping[16], static_cast<uint32_t>(2 * body.size() + 4));
    EXPECT_THROW(UnitTable(overlapping, 2), TemplateError) << "overlapping records";
    Bytes menuFirst = two.bytes();
    StoreU32(&menuFirst[0], 0x26000001);
    EXPECT_THROW(UnitTable(menuFirst, 2), TemplateError) << "a menu item where the window's own unit belongs";
}

TEST(TemplateFormat, SegmentReadsBackAndMustEndWithTheLastWindow) {
    Bytes segment = TwoWindowSegment();
    std::vector<WindowTemplate> windows = ReadBack(segment);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].id, 0x52010001u);
    EXPECT_EQ(windows[0].stamp, 0x00D64130u);
    EXPECT_EQ(windows[1].textA, "A");
    EXPECT_EQ(windows[0].units.Unit(1).name, "打开记事本");

    Bytes truncated(segment.begin(), segment.end() - 1);
    EXPECT_ANY_THROW(ReadBack(truncated));
    Bytes overLong = segment;
    overLong.push_back(0);
    EXPECT_ANY_THROW(ReadBack(overLong));
    Bytes badDirectory = segment;
    StoreU32(&badDirectory[0], 12);  // not a multiple of 8
    EXPECT_ANY_THROW(ReadBack(badDirectory));
}

TEST(TemplateFormat, SegmentIsReadThroughSmallBuffersAlike) {
    Bytes segment = TwoWindowSegment();
    MemoryFile file(segment.data(), segment.size());
    LoadingArchive archive(file, 7);
    EXPECT_EQ(ReadSegment(archive).size(), 2u);
    EXPECT_GT(archive.refills(), segment.size() / 7);
}

TEST(TemplateFormat, HandlersRelocateAgainstTheCodeBase) {
    UnitTable table = UnitTable::Build({{0x06010000, EncodeUnit(SampleUnit(0x10001, ""))}});
    MenuItemRecord item;
    item.caption = "打开";
    item.handler = 48;
    MenuItemRecord none;
    none.handler = -1;
    table = UnitTable::Build({{0x06010000, EncodeUnit(SampleUnit(0x10001, ""))},
                              {0x26010001, EncodeMenuItem(item)},
                              {0x26010002, EncodeMenuItem(none)}});
    table.RelocateHandlers(0x00401000);
    UnitRecord u = table.Unit(0);
    EXPECT_EQ(static_cast<uint32_t>(u.bindings[0].handler), 0x00401000u);  // offset 0 is the code base itself
    EXPECT_EQ(u.bindings[1].handler, 0);                                   // -1 is no handler
    EXPECT_EQ(static_cast<uint32_t>(u.bindings[2].handler), 0x00401020u);
    EXPECT_EQ(static_cast<uint32_t>(DecodeMenuItem(table.body(1), table.bodyLength(1)).handler), 0x00401030u);
    EXPECT_EQ(DecodeMenuItem(table.body(2), table.bodyLength(2)).handler, 0);
}

TEST(TemplateFormat, AGrowingRecordRewritesTheTable) {
    UnitTable table = UnitTable::Build({{0x16000001, EncodeUnit(SampleUnit(0x1000B, "a"))},
                                        {0x16000002, EncodeUnit(SampleUnit(0x1000B, "b"))},
                                        {0x16000003, EncodeUnit(SampleUnit(0x1000B, "c"))}});
    UnitRecord first = table.Unit(0);
    first.tag = std::string(300, 't');
    table.ReplaceUnit(0, first);
    EXPECT_EQ(table.Unit(0).tag.size(), 300u);
    EXPECT_EQ(table.Unit(1).name, "b");
    EXPECT_EQ(table.Unit(2).name, "c");
    first.tag.clear();
    table.ReplaceUnit(0, first);
    EXPECT_EQ(table.Unit(2).name, "c");
    EXPECT_EQ(table.Find(0x16000003), 2);
}

TEST(TemplateFormat, IdValidityNeedsKindAndNumber) {
    EXPECT_TRUE(IsValidId(0x52010001));
    EXPECT_FALSE(IsValidId(0x52000000));  // number 0
    EXPECT_FALSE(IsValidId(0x50010001));  // kind 0
    EXPECT_TRUE(IsMenuItemId(0x26010001));
    EXPECT_FALSE(IsMenuItemId(0x16010001));
    UnitTable table = UnitTable::Build({{0x16000001, EncodeUnit(SampleUnit(0x1000B, "a"))}});
    EXPECT_EQ(table.Find(0x10000000), -1);
}

TEST(OwnData, EmptyBlocksGiveDefaultsAndNewerVersionsFail) {
    WindowData w = WindowData::Read(Bytes());
    EXPECT_EQ(w.border, 2);
    EXPECT_EQ(w.escCloses, 1);
    EXPECT_EQ(w.backColor, kButtonFaceColour);
    ColourPickerData picker = ColourPickerData::Read(Bytes());
    EXPECT_EQ(picker.color, 0u);
    EXPECT_EQ(TransLabelData::Read(Bytes()).caption, "透明标签");

    Bytes tooNew = ButtonData().Write();
    StoreU32(&tooNew[0], 2);
    EXPECT_THROW(ButtonData::Read(tooNew), TemplateError);
    Bytes negative = CommonDialogData().Write();
    StoreU32(&negative[0], static_cast<uint32_t>(-1));
    EXPECT_THROW(CommonDialogData::Read(negative), TemplateError);
}

TEST(OwnData, OlderWindowVersionsKeepLaterFieldsAtTheirDefaults) {
    WindowData d;
    d.version = 2;
    d.dragToMove = 1;  // not stored before version 3
    d.caption = "旧";
    WindowData back = WindowData::Read(d.Write());
    EXPECT_EQ(back.dragToMove, 0);
    EXPECT_EQ(back.caption, "旧");
    EXPECT_EQ(back.showInTaskbar, 1);
}

TEST(OwnData, TextListsTakeTheLongCountAfter0xFFFF) {
    ComboBoxData d;
    d.items = {"别字", "汉字"};
    Bytes bytes = d.Write();
    ComboBoxData back = ComboBoxData::Read(bytes);
    EXPECT_EQ(back.items, d.items);

    ByteWriter w;
    w.U16(0xFFFF);
    w.U32(2);
    w.CountedText("a");
    w.CountedText("bc");
    EXPECT_EQ(ReadTextList(w.bytes().data(), w.bytes().size()), (std::vector<std::string>{"a", "bc"}));
    ByteWriter lying;
    lying.U16(0xFFFF);
    lying.U32(0x7FFFFFFF);
    EXPECT_THROW(ReadTextList(lying.bytes().data(), lying.bytes().size()), TemplateError);
}

// Distinct non-default values, so that a field the list drops or reads into
// the wrong member comes back different.
void Fill(int32_t& v, int& seed) { v = 1000 + seed++; }
void Fill(uint32_t& v, int& seed) { v = 0x10000u + static_cast<uint32_t>(seed++); }
void Fill(uint16_t& v, int& seed) { v = static_cast<uint16_t>(0x4000 + seed++); }
void Fill(std::string& v, int& seed) { v = "字" + std::to_string(seed++); }
void Fill(Bytes& v, int& seed) { v = Bytes(3, static_cast<uint8_t>(seed++)); }
void Fill(std::vector<int32_t>& v, int& seed) { v = {seed, -seed}, ++seed; }
void Fill(std::vector<std::string>& v, int& seed) { v = {std::to_string(seed), "项"}, ++seed; }
template <size_t N>
void Fill(uint32_t (&words)[N], int& seed) {
    for (uint32_t& w : words) Fill(w, seed);
}
template <class T>
bool Same(const T& a, const T& b) { return a == b; }
template <size_t N>
bool Same(const uint32_t (&a)[N], const uint32_t (&b)[N]) { return std::equal(a, a + N, b); }

// Every member but the version, in declaration order: the list the record's
// own field walk is checked against.
template <class Record, class... Member>
void ExpectEveryFieldRoundTrips(const char* record, Member Record::*... fields) {
    Record d;
    int seed = 1;
    (Fill(d.*fields, seed), ...);
    Record back = Record::Read(d.Write());
    int k = 0;
    auto expect = [&](bool same) { EXPECT_TRUE(same) << record << " member " << k++ << " did not round-trip"; };
    (expect(Same(back.*fields, d.*fields)), ...);
}

TEST(OwnData, EveryBlockRoundTrips) {
    using W = WindowData;
    ExpectEveryFieldRoundTrips("window", &W::border, &W::pictureMode, &W::backColor, &W::maxButton, &W::minButton,
                               &W::controlBox, &W::position, &W::closable, &W::musicMode, &W::enterMovesFocus,
                               &W::escCloses, &W::f1OpensHelp, &W::helpContext, &W::showInTaskbar, &W::dragToMove,
                               &W::shape, &W::alwaysOnTop, &W::own22, &W::windowClass, &W::picture, &W::icon,
                               &W::music, &W::caption, &W::helpFile);
    using B = ButtonData;
    ExpectEveryFieldRoundTrips("button", &B::type, &B::hAlign, &B::vAlign, &B::picture, &B::font, &B::caption);
    using C = CheckBoxData;
    ExpectEveryFieldRoundTrips("check box", &C::pushLike, &C::flat, &C::textOnLeft, &C::hAlign, &C::vAlign,
                               &C::textColor, &C::backColor, &C::checked, &C::picture, &C::font, &C::caption,
                               &C::dataSource, &C::dataColumn);
    using L = LabelData;
    ExpectEveryFieldRoundTrips("label", &L::effect, &L::borderWidth, &L::border, &L::borderColor, &L::textColor,
                               &L::backColor, &L::pictureMode, &L::gradientMode, &L::gradientColor, &L::hAlign,
                               &L::vAlign, &L::wordWrap, &L::font, &L::picture, &L::caption, &L::dataSource,
                               &L::dataColumn);
    using E = EditBoxData;
    ExpectEveryFieldRoundTrips("edit box", &E::border, &E::textColor, &E::backColor, &E::hideSelection,
                               &E::maxLength, &E::multiLine, &E::scrollBars, &E::alignment, &E::inputMode,
                               &E::passwordChar, &E::caseConversion, &E::spinMode, &E::spinMin, &E::spinMax,
                               &E::selStart, &E::selLength, &E::font, &E::content, &E::dataSource, &E::dataColumn);
    using K = ComboBoxData;
    ExpectEveryFieldRoundTrips("combo box", &K::type, &K::maxLength, &K::selStart, &K::selLength, &K::autoSort,
                               &K::extraItemHeight, &K::textColor, &K::backColor, &K::currentSelection, &K::font,
                               &K::itemValues, &K::content, &K::items, &K::dataSource, &K::dataColumn, &K::own16);
    using S = ScrollBarData;
    ExpectEveryFieldRoundTrips("scroll bar", &S::minPosition, &S::maxPosition, &S::pageChange, &S::lineChange,
                               &S::position, &S::dragTracking);
    using P = DrawPanelData;
    ExpectEveryFieldRoundTrips("drawing panel", &P::border, &P::backColor, &P::pictureMode, &P::autoRedraw,
                               &P::coordinateUnit, &P::penStyle, &P::drawMode, &P::penWidth, &P::penColor,
                               &P::brushStyle, &P::brushColor, &P::textColor, &P::textBackColor, &P::font,
                               &P::backPicture);
    ExpectEveryFieldRoundTrips("colour picker", &ColourPickerData::color, &ColourPickerData::allowTransparent);
    using D = CommonDialogData;
    ExpectEveryFieldRoundTrips("common dialog", &D::dialogType, &D::filterIndex, &D::createPrompt,
                               &D::fileMustExist, &D::overwritePrompt, &D::pathMustExist, &D::keepCurrentDir,
                               &D::fontColor, &D::fontBold, &D::fontItalic, &D::fontStrikeout, &D::fontUnderline,
                               &D::fontSize, &D::helpCommand, &D::helpContext, &D::title, &D::fileName, &D::filter,
                               &D::initialDir, &D::defaultExt, &D::fontName, &D::helpFile);
    using T = TransLabelData;
    ExpectEveryFieldRoundTrips("transparent label", &T::effect, &T::textColor, &T::alignment, &T::vAlign,
                               &T::wordWrap, &T::font, &T::caption);
}

TEST(OwnData, OlderVersionsDropTheFieldsTheyDoNotStore) {
    CheckBoxData c;
    c.version = 1;
    c.checked = 1;
    c.dataSource = "lost";  // only version 2 stores it
    CheckBoxData cb = CheckBoxData::Read(c.Write());
    EXPECT_EQ(cb.checked, 1);
    EXPECT_EQ(cb.dataSource, "");
}

TEST(ByteCursor, ReadsBothByteOrdersAndFailsForGoodPastTheEnd) {
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    ByteCursor in(bytes, sizeof bytes);
    EXPECT_EQ(in.U16(), 0x0201);
    EXPECT_EQ(in.U16BE(), 0x0304);
    EXPECT_EQ(in.U8(), 0x05);
    EXPECT_TRUE(in.ok());
    EXPECT_EQ(in.U32(), 0u) << "only two bytes are left";
    EXPECT_FALSE(in.ok());
    EXPECT_STREQ(in.failure(), "data ends early");
    in.Seek(0);
    EXPECT_EQ(in.U8(), 0) << "a failed cursor stays failed";

    ByteCursor be(bytes, sizeof bytes);
    EXPECT_EQ(be.U32BE(), 0x01020304u);
    EXPECT_EQ(be.At(6), 0x07);
    EXPECT_EQ(be.At(7), 0) << "random access past the end";

    // A counted text whose count exceeds the data fails before anything is copied.
    ByteWriter lying;
    lying.I32(0x7FFFFFF0);
    lying.U8('a');
    ByteCursor text = CursorOver(lying.bytes());
    EXPECT_EQ(text.CountedText(), "");
    EXPECT_FALSE(text.ok());
    const Bytes minusOne = {0xFF, 0xFF, 0xFF, 0xFF};
    ByteCursor negative = CursorOver(minusOne);
    negative.CountedText();
    EXPECT_STREQ(negative.failure(), "negative length");

    // The loading archive checks a stated count against its data before
    // allocating: these four bytes once cost two gigabytes.
    const uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0x7F};
    MemoryFile file(huge, sizeof huge);
    LoadingArchive archive(file, 4096);
    EXPECT_THROW(archive.ReadBytes(archive.ReadI32()), ArchiveError);
}

TEST(OwnData, FontsAreLogFontsWithTheGb2312CharacterSet) {
    Bytes font = LogFont::Make("微软雅黑", -14, 700);
    ASSERT_EQ(font.size(), 60u);
    EXPECT_EQ(LogFont::Int(font, LogFont::kHeight), -14);
    EXPECT_EQ(LogFont::Int(font, LogFont::kWeight), 700);
    EXPECT_EQ(font[LogFont::kCharSet], 134);
    EXPECT_EQ(LogFont::Face(font), "微软雅黑");
    font[LogFont::kFaceName + 10] = 'x';  // stale bytes after the terminator are ignored
    EXPECT_EQ(LogFont::Face(font), "微软雅黑");
}
