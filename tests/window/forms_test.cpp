// The program's own template segment, as compiled from forms/: the facts of
// the window tables that the byte format can get wrong.
#include "forms/template_segment.h"
#include "gtest/gtest.h"
#include "runtime/archive.h"
#include "window/own_data.h"
#include "units/button/button_data.h"
#include "units/colour_picker/colour_picker_data.h"
#include "units/combo_box/combo_box_data.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "units/edit_box/edit_box_data.h"
#include "units/label/label_data.h"
#include "units/scroll_bar/scroll_bar_data.h"
#include "window/template_format.h"

using namespace qy;

namespace {
std::vector<WindowTemplate> ProgramWindows() {
    MemoryFile file(ProgramTemplateSegment, kProgramTemplateSegmentSize);
    LoadingArchive archive(file, 4096);
    return ReadSegment(archive);
}

UnitRecord UnitOf(const WindowTemplate& w, uint32_t id) {
    int k = w.units.Find(id);
    EXPECT_GE(k, 0) << std::hex << id;
    return k >= 0 ? w.units.Unit(k) : UnitRecord();
}
}  // namespace

TEST(ProgramForms, FourWindowsInDirectoryOrderWithTheirUnitCounts) {
    std::vector<WindowTemplate> windows = ProgramWindows();
    ASSERT_EQ(windows.size(), 4u);
    EXPECT_EQ(windows[0].id, 0x52010001u);
    EXPECT_EQ(windows[0].stamp, 0x00D64130u);
    EXPECT_EQ(windows[1].id, 0x52010481u);
    EXPECT_EQ(windows[2].id, 0x5201068Eu);
    EXPECT_EQ(windows[3].id, 0x52010E44u);
    EXPECT_EQ(windows[0].units.count(), 42);
    EXPECT_EQ(windows[1].units.count(), 14);
    EXPECT_EQ(windows[2].units.count(), 9);
    EXPECT_EQ(windows[3].units.count(), 3);
    for (const WindowTemplate& w : windows) EXPECT_TRUE(IsOwnUnitId(w.units.id(0)));
}

TEST(ProgramForms, MainWindowUnitsAsTheTablesGiveThem) {
    WindowTemplate main = ProgramWindows()[0];
    WindowData window = WindowData::Read(main.units.Unit(0).ownData);
    EXPECT_EQ(window.caption, "砌字成图1.4版");
    EXPECT_EQ(window.backColor, 0xBFBFFFu);
    EXPECT_EQ(window.border, 1);
    EXPECT_EQ(window.escCloses, 1);

    UnitRecord lock = UnitOf(main, 0x16010DA1);
    ASSERT_EQ(lock.bindings.size(), 1u);
    EXPECT_EQ(lock.bindings[0].handler, 0);  // the first subroutine of the code
    EXPECT_EQ(lock.state, 7u);
    EXPECT_EQ(UnitOf(main, 0x16010DAC).left, -1);
    EXPECT_EQ(UnitOf(main, 0x16010271).state, 0u);
    EXPECT_EQ(UnitOf(main, 0x16010A3E).state, 0u);

    UnitRecord help = UnitOf(main, 0x16010DAF);
    ASSERT_EQ(help.cursorData.size(), 4u);
    EXPECT_EQ(LoadU32(help.cursorData.data()), 32651u);
    ButtonData helpButton = ButtonData::Read(help.ownData);
    EXPECT_EQ(helpButton.caption, "？");
    EXPECT_EQ(LogFont::Int(helpButton.font, LogFont::kWeight), 700);

    ComboBoxData colours = ComboBoxData::Read(UnitOf(main, 0x16010DA3).ownData);
    EXPECT_EQ(colours.items.size(), 6u);
    EXPECT_EQ(colours.currentSelection, 2);
    EXPECT_EQ(colours.type, 2);

    LabelData generate = LabelData::Read(UnitOf(main, 0x16010DB2).ownData);
    EXPECT_EQ(generate.border, 6);
    EXPECT_EQ(generate.borderWidth, 8);
    EXPECT_EQ(generate.effect, 3);
    EXPECT_EQ(LogFont::Face(generate.font), "经典超圆简");

    ScrollBarData size = ScrollBarData::Read(UnitOf(main, 0x16010DBE).ownData);
    EXPECT_EQ(size.maxPosition, 72);
    EXPECT_EQ(size.position, 9);

    UnitRecord numberBox = UnitOf(main, 0x16010DA4);
    ASSERT_EQ(numberBox.bindings.size(), 3u);
    EXPECT_EQ(numberBox.bindings[1].event, -10);
    EXPECT_EQ(numberBox.bindings[2].event, -12);

    DrawPanelData panel = DrawPanelData::Read(UnitOf(main, 0x16010DC2).ownData);
    EXPECT_EQ(panel.version, 1);
    EXPECT_EQ(panel.drawMode, 12);
    EXPECT_TRUE(panel.font.empty());
    EXPECT_TRUE(UnitOf(main, 0x16010DA0).bindings.empty());
}

TEST(ProgramForms, StyleSkinAndHelpWindows) {
    std::vector<WindowTemplate> windows = ProgramWindows();
    EXPECT_TRUE(UnitOf(windows[1], 0x16010795).ownData.empty());
    EXPECT_TRUE(UnitOf(windows[1], 0x16010797).ownData.empty());
    EXPECT_EQ(ColorPickerData::Read(UnitOf(windows[1], 0x16010796).ownData).color, 0xFFD2C8u);
    EXPECT_EQ(UnitOf(windows[1], 0x16010796).state, 5u);
    EXPECT_EQ(WindowData::Read(windows[1].units.Unit(0).ownData).dragToMove, 1);
    EXPECT_EQ(ButtonData::Read(UnitOf(windows[2], 0x16010693).ownData).caption, "QQ影音");
    EditBoxData help = EditBoxData::Read(UnitOf(windows[3], 0x16010E45).ownData);
    EXPECT_EQ(help.multiLine, 1);
    EXPECT_EQ(help.scrollBars, 3);
    EXPECT_NE(help.content.find("锁定宽高比例----Ctrl键 + ` 键"), std::string::npos);
    EXPECT_NE(help.content.find("@"), std::string::npos);
}
