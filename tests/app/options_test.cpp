// The option handlers of the main window: the mode, typed and wheeled
// sizes, the font dialog and 默认.
#include <shlobj.h>

#include <fstream>

#include "tests/app/main_window_fixture.h"
#include "tests/media/picture/test_pictures.h"
#include "tests/support/dialog_driver.h"

namespace apptest {
namespace {

bool Disabled(const UnitRef& unit) { return ReadInt(unit, qy::kPropertyDisabled) != 0; }
int32_t PanelFont(int member) { return ReadInt(W::画板1, Own(qy::draw_panel::kFont), member); }
int32_t ShapeFont(int member) { return ReadInt(W::编辑框2, Own(qy::edit_box::kFont), member); }

TEST_F(MainWindowTest, TheModeButtonSwitchesTheControlGroupsBothWays) {
    OnModeClicked(nullptr);
    EXPECT_EQ(ButtonCaption(W::砌字成图), "成图");
    EXPECT_TRUE(Disabled(W::字符大小));
    EXPECT_TRUE(Disabled(W::字体));
    EXPECT_FALSE(Disabled(W::换图));
    EXPECT_FALSE(Disabled(W::锁定比例));
    // The default picture is taller than wide: the height controls are live.
    EXPECT_FALSE(Disabled(W::图片高1));
    EXPECT_TRUE(Disabled(W::图片宽1));
    EXPECT_FALSE(Content(W::编辑框1).empty()) << "switching did not regenerate";

    OnModeClicked(nullptr);
    EXPECT_EQ(ButtonCaption(W::砌字成图), "砌字");
    EXPECT_FALSE(Disabled(W::字符大小));
    EXPECT_FALSE(Disabled(W::粗));
    EXPECT_TRUE(Disabled(W::换图));
    EXPECT_TRUE(Disabled(W::图片宽));
    EXPECT_TRUE(Disabled(W::图片高1));
}

TEST_F(MainWindowTest, TypedSizesOutOfRangeFallBackAndWheelsStopAtTheBounds) {
    SetContent(W::字符大小1, "73");
    EXPECT_EQ(Content(W::字符大小1), "9");
    EXPECT_EQ(Position(W::字符大小), 9);
    SetContent(W::字符大小1, "20");
    EXPECT_EQ(Position(W::字符大小), 20);
    EXPECT_EQ(PanelFont(qy::kFontFieldSize), 20);
    EXPECT_EQ(ShapeFont(qy::kFontFieldSize), 20);

    // Picture sizes are only taken in picture mode.
    SetContent(W::图片宽1, "0");
    EXPECT_EQ(Content(W::图片宽1), "0");
    SwitchToPictureMode();
    SetContent(W::图片宽1, "0");
    EXPECT_EQ(Content(W::图片宽1), "30");
    EXPECT_EQ(Position(W::图片宽), 30);
    SetContent(W::图片高1, "201");
    EXPECT_EQ(Content(W::图片高1), "30");
    EXPECT_EQ(Position(W::图片高), 30);
    int32_t up[2] = {1, 0}, down[2] = {-1, 0};
    OnPictureHeightWheel(up);
    EXPECT_EQ(Position(W::图片高), 31);
    EXPECT_EQ(Content(W::图片高1), "31");
    // At a bound the wheel does nothing: a step that the bar clamped would
    // still write the box beside it and recompose.
    SetPosition(W::图片宽, 200);
    SetContent(W::编辑框1, "unchanged");
    OnPictureWidthWheel(up);
    EXPECT_EQ(Content(W::图片宽1), "30");
    EXPECT_EQ(Content(W::编辑框1), "unchanged");

    OnModeClicked(nullptr);
    SetContent(W::编辑框1, "unchanged");
    for (int32_t bound : {72, 1}) {
        SetPosition(W::字符大小, bound);
        OnFontSizeWheel(bound == 72 ? up : down);
        EXPECT_EQ(Content(W::字符大小1), "20") << bound;
        EXPECT_EQ(PanelFont(qy::kFontFieldSize), 20) << bound;
        EXPECT_EQ(Content(W::编辑框1), "unchanged") << bound;
    }
    OnFontSizeWheel(up);
    EXPECT_EQ(Position(W::字符大小), 2);
    EXPECT_EQ(Content(W::字符大小1), "2");
    EXPECT_EQ(PanelFont(qy::kFontFieldSize), 2);
}

TEST_F(MainWindowTest, FontStylesReachBothFontsAndTheDialogLeavesItalicAlone) {
    SetTicked(W::斜, true);
    OnItalicClicked(nullptr);
    EXPECT_EQ(PanelFont(qy::kFontFieldItalic), 1);
    EXPECT_EQ(ShapeFont(qy::kFontFieldItalic), 1);
    SetTicked(W::粗, true);
    OnBoldClicked(nullptr);
    EXPECT_EQ(PanelFont(qy::kFontFieldBold), 1);

    SetPosition(W::字符大小, 30);
    // Confirm the font dialog as it opens (bold, not italic, by its fields).
    WriteInt(W::通框字体, Own(qy::common_dialog::kFontItalic), 0);
    WriteInt(W::通框字体, Own(qy::common_dialog::kFontBold), 0);
    WriteInt(W::通框字体, Own(qy::common_dialog::kFontSize), 16);
    qytest::DialogDriver driver([](HWND dialog) { qytest::DialogDriver::Press(dialog, IDOK); });
    OnFontClicked(nullptr);
    EXPECT_EQ(driver.answered(), 1);
    EXPECT_TRUE(Ticked(W::斜)) << "斜 took the dialog's italic";
    EXPECT_EQ(PanelFont(qy::kFontFieldItalic), 1);
    EXPECT_FALSE(Ticked(W::粗));
    EXPECT_EQ(PanelFont(qy::kFontFieldBold), 0);
    // The size is the one the dialog settled on, wherever the controls were.
    int32_t size = ReadInt(W::通框字体, Own(qy::common_dialog::kFontSize));
    EXPECT_EQ(Position(W::字符大小), size);
    EXPECT_EQ(Content(W::字符大小1), std::to_string(size));
    EXPECT_EQ(ShapeFont(qy::kFontFieldSize), size);
}

TEST_F(MainWindowTest, APictureFileThatDoesNotDecodeGivesNoneAndADroppedOneIsLoaded) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "qy_not_a_picture.jpg";
    std::ofstream(path, std::ios::binary) << "not a picture";
    SwitchToPictureMode();
    int32_t old = currentPicture;
    // The default picture is tall, so its height is the free axis.
    ASSERT_TRUE(Disabled(W::图片宽));

    WriteText(W::通框图片, Own(qy::common_dialog::kFileName), path);
    qytest::DialogDriver driver([](HWND dialog) { qytest::DialogDriver::Press(dialog, IDOK); });
    OnChangePictureClicked(nullptr);
    EXPECT_EQ(driver.answered(), 1);
    EXPECT_EQ(currentPicture, 0);
    EXPECT_EQ(Method(W::画板1, CoreCommand::PictureWidth, {IntValue(old)}).Int(), 0) << "the old picture was kept";
    // No picture is as wide as it is high: the width leads.
    EXPECT_FALSE(Disabled(W::图片宽));
    EXPECT_TRUE(Disabled(W::图片高));

    pictest::Bytes bmp = pictest::EncodeBmp(pictest::Halves(40, 20, {0, 0, 0, 255}, {255, 255, 255, 255}), 24, false);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);  // the names end with an empty one
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    path.copy(reinterpret_cast<char*>(files + 1), path.size());
    GlobalUnlock(drop);
    SetContent(W::编辑框1, "");
    SendMessageA(Handle(W::窗口), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);  // which frees it
    EXPECT_TRUE(GetWindowLongA(Handle(W::窗口), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(Method(W::画板1, CoreCommand::PictureWidth, {IntValue(currentPicture)}).Int(), 40);
    EXPECT_FALSE(Content(W::编辑框1).empty()) << "the dropped picture was not composed";
    DeleteFileA(path.c_str());
}

TEST_F(MainWindowTest, DefaultsRestoreEveryOption) {
    OnModeClicked(nullptr);
    SetSelection(W::分界色组合框, 5);
    SetSelection(W::别字本字, 0);
    SetTicked(W::复制1, true);
    SetTicked(W::补齐, false);
    SetTicked(W::反向, true);
    SetTicked(W::接顶, true);
    SetTicked(W::锁定比例, false);
    SetTicked(W::下, true);
    OnUnderlineClicked(nullptr);
    SetContent(W::编辑框2, "x");
    SetContent(W::编辑框3, "y");
    SetContent(W::编辑框4, "z");
    SetPosition(W::图片宽, 100);
    SetContent(W::图片高1, "100");
    WriteText(W::画板1, Own(qy::draw_panel::kFont), "Arial", qy::kFontFieldFace);

    OnDefaultsClicked(nullptr);
    EXPECT_EQ(CurrentMode(), Mode::kShapeText);
    EXPECT_FALSE(Disabled(W::字体));
    EXPECT_TRUE(Disabled(W::图片宽));
    EXPECT_EQ(Selection(W::分界色组合框), 2);
    EXPECT_EQ(Selection(W::别字本字), 1);
    EXPECT_FALSE(Ticked(W::复制1));
    EXPECT_TRUE(Ticked(W::补齐));
    EXPECT_FALSE(Ticked(W::反向));
    EXPECT_FALSE(Ticked(W::接顶));
    EXPECT_TRUE(Ticked(W::锁定比例));
    EXPECT_FALSE(Ticked(W::下));
    EXPECT_EQ(PanelFont(qy::kFontFieldUnderline), 0);
    EXPECT_EQ(ShapeFont(qy::kFontFieldUnderline), 0);
    EXPECT_EQ(Content(W::编辑框2), "我爱你");
    EXPECT_EQ(Content(W::编辑框3), "顶");
    EXPECT_EQ(Content(W::编辑框4), "  ");
    EXPECT_EQ(ReadText(W::画板1, Own(qy::draw_panel::kFont), qy::kFontFieldFace), "宋体");
    EXPECT_EQ(PanelFont(qy::kFontFieldSize), 9);
    EXPECT_EQ(ShapeFont(qy::kFontFieldSize), 9);
    EXPECT_EQ(Position(W::字符大小), 9);
    EXPECT_EQ(Content(W::字符大小1), "9");
    EXPECT_EQ(Position(W::图片宽), 44);
    EXPECT_EQ(Position(W::图片高), 44);
    EXPECT_EQ(Content(W::图片宽1), "44");
    EXPECT_EQ(Content(W::图片高1), "44");
}

}  // namespace
}  // namespace apptest
