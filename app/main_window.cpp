// The main window's own handlers: redrawing on activation, fitting the boxes
// to the window, full screen and back, always on top, and opening the style
// and help windows.
#include "app/application.h"
#include "app/composer.h"
#include "app/handlers.h"
#include "units/label/label.h"

namespace program {

int32_t topmostBeforeFullScreen = 0;

namespace {

namespace win = qy::window;

// From this width on the about label has its place at the right edge,
// beside the right-hand buttons; narrower windows have none free of units.
constexpr int32_t kWideWindow = 1360;

// What full screen hides, in the order it hides them; 编辑框1 stays.
const UnitRef kHiddenInFullScreen[] = {
    kShapeTextBox, kFillTextBox, kBlankTextBox, W::复制,     W::复制1,   W::打开记事本, W::生成,      W::默认,
    W::清空,    W::接顶,    W::补齐,    W::反向,     W::别字本字, W::分界色组合框, W::砌字成图, W::字体,
    W::换图,    W::字符大小1, W::字符大小, W::说明5,   W::粗,      W::斜,         W::删,        W::下,
    W::图片宽1, W::图片高1, W::图片宽,  W::图片高,   W::说明1,   W::说明2,      W::锁定比例, W::全屏,
    W::皮肤_按钮, W::帮助,  W::置顶,    W::画板1,    W::透明标签1,
};

bool Visible(const UnitRef& unit) { return ReadInt(unit, qy::kPropertyVisible) != 0; }
void SetVisible(const UnitRef& unit, bool visible) { WriteInt(unit, qy::kPropertyVisible, visible ? 1 : 0); }
void ShowAll(bool visible) {
    for (const UnitRef& unit : kHiddenInFullScreen) SetVisible(unit, visible);
}

int32_t WindowWidth() { return ReadInt(W::窗口, qy::kPropertyWidth); }
int32_t WindowHeight() { return ReadInt(W::窗口, qy::kPropertyHeight); }
void SetAlwaysOnTop(bool on) { WriteInt(W::窗口, Own(win::kAlwaysOnTop), on ? 1 : 0); }

// A narrower window hides the about label rather than draw it over units;
// the help window carries the same contact line.
void PlaceAboutLabel(int32_t width) {
    const bool wide = width >= kWideWindow;
    if (wide) WriteInt(W::透明标签1, qy::kPropertyLeft, width - 270);
    if (Visible(W::透明标签1) != wide) SetVisible(W::透明标签1, wide);
}

void PlaceDisplay(int32_t top, int32_t width, int32_t height) {
    WriteInt(kDisplayBox, qy::kPropertyTop, top);
    WriteInt(kDisplayBox, qy::kPropertyWidth, width);
    WriteInt(kDisplayBox, qy::kPropertyHeight, height);
}

void EnterFullScreen() {
    if (ReadInt(W::窗口, Own(win::kPosition)) != win::kMaximised)
        WriteInt(W::窗口, Own(win::kPosition), win::kMaximised);
    topmostBeforeFullScreen = Ticked(W::置顶) ? 1 : 0;
    if (!topmostBeforeFullScreen) SetAlwaysOnTop(true);
    ShowAll(false);
    WriteInt(W::窗口, Own(win::kBorder), win::kNoFrame);
    PlaceDisplay(8, WindowWidth() - 20, WindowHeight() - 5);
    // The way back looks like the shape-text box it replaces.
    int32_t back = ReadInt(kShapeTextBox, Own(qy::edit_box::kBackColor));
    WriteInt(W::还原, Own(qy::label::kGradientColor1), back);
    WriteInt(W::还原, Own(qy::label::kGradientColor3), back);
    WriteInt(W::还原, Own(qy::label::kTextColor), ReadInt(kShapeTextBox, Own(qy::edit_box::kTextColor)));
    SetVisible(W::还原, true);
}

void LeaveFullScreen() {
    ShowAll(true);
    PlaceAboutLabel(WindowWidth());
    PlaceDisplay(238, WindowWidth() - 28, WindowHeight() - 285);
    if (!topmostBeforeFullScreen) SetAlwaysOnTop(false);
    WriteInt(W::窗口, Own(win::kBorder), win::kResizable);
    SetVisible(W::还原, false);
}

// 还原 shows only while the window is in full screen.
bool InFullScreen() { return Visible(W::还原); }

}  // namespace

void ToggleFullScreen() {
    if (InFullScreen())
        LeaveFullScreen();
    else
        EnterFullScreen();
}

void OnMainWindowActivated(const int32_t*) { Redraw(); }

void OnMainWindowResized(const int32_t*) {
    if (InFullScreen()) return;
    int32_t width = WindowWidth(), height = WindowHeight();
    WriteInt(W::还原, qy::kPropertyTop, height - 20);
    WriteInt(kDisplayBox, qy::kPropertyWidth, width - 28);
    WriteInt(kDisplayBox, qy::kPropertyHeight, height - 285);
    WriteInt(W::画板1, qy::kPropertyWidth, width - 28);
    WriteInt(kShapeTextBox, qy::kPropertyWidth, width - 13);
    WriteInt(kFillTextBox, qy::kPropertyWidth, static_cast<int32_t>(ReadInt(W::画板1, qy::kPropertyWidth) / 2.0 - 86));
    int32_t fillWidth = ReadInt(kFillTextBox, qy::kPropertyWidth);
    WriteInt(kBlankTextBox, qy::kPropertyWidth, fillWidth);
    WriteInt(kBlankTextBox, qy::kPropertyLeft, fillWidth + 132);
    PlaceAboutLabel(width);
    Command(CoreCommand::UpdateDisplay, {UnitValue(W::窗口)});
    Redraw();
}

void OnFullScreenClicked(const int32_t*) { EnterFullScreen(); }
void OnRestorePressed(const int32_t*) { LeaveFullScreen(); }

void OnTopmostClicked(const int32_t*) {
    SetAlwaysOnTop(Ticked(W::置顶));
    Redraw();
}

}  // namespace program
