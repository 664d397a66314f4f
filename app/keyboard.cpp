// The keyboard commands: one table of keys shared by the main window's entry
// units and the help window, which passes no modifiers so that its keys never
// count as Ctrl combinations.
#include "app/application.h"
#include "app/composer.h"
#include "app/handlers.h"

namespace program {

namespace {

namespace cd = qy::common_dialog;
namespace Help = forms::帮助窗口;

// Key codes as the key events report them.
enum Key : int32_t {
    kKeyPause = 19,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyInsert = 45,
    kKeyDelete = 46,
    kKey1 = 49,
    kKey2 = 50,
    kKey3 = 51,
    kKey4 = 52,
    kKeyF1 = 112,
    kKeyF2 = 113,
    kKeyF3 = 114,
    kKeyF4 = 115,
    kKeyF5 = 116,
    kKeyF6 = 117,
    kKeyF7 = 118,
    kKeyF8 = 119,
    kKeyF9 = 120,
    kKeyF10 = 121,
    kKeyF11 = 122,
    kKeyF12 = 123,
    kKeyScrollLock = 145,
    kKeyGrave = 192,
};
constexpr int32_t kCtrl = 1;

void Toggle(const UnitRef& box) { SetTicked(box, !Ticked(box)); }
void ToggleAndRegenerate(const UnitRef& box) {
    Toggle(box);
    Regenerate();
}

// The wheel handlers step a size within its bounds and apply it; a key is one step.
const int32_t kStepUp[] = {1, 0};
const int32_t kStepDown[] = {-1, 0};

// Left and Right size the font while its scroll bar is live, else the picture width.
void StepWidth(const int32_t* step) {
    if (Enabled(W::字符大小))
        OnFontSizeWheel(step);
    else if (Enabled(W::图片宽))
        OnPictureWidthWheel(step);
}

void StepHeight(const int32_t* step) {
    if (Enabled(W::图片高)) OnPictureHeightWheel(step);
}

void InMode(Mode mode, EventHandler handler) {
    if (CurrentMode() == mode) handler(nullptr);
}

// A box ticked from the keyboard applies as if clicked.
void ToggleInMode(Mode mode, const UnitRef& box, EventHandler apply) {
    if (CurrentMode() != mode) return;
    Toggle(box);
    apply(nullptr);
}

struct KeyCommand {
    int32_t key;
    bool ctrl;  // only with Ctrl alone held; the others with any modifiers
    void (*run)();
};

const KeyCommand kKeyCommands[] = {
    {kKeyPause, false, [] { FocusUnit(W::分界色组合框); }},
    {kKeyHome, false, [] { OnModeClicked(nullptr); }},
    {kKeyLeft, false, [] { StepWidth(kStepDown); }},
    {kKeyUp, false, [] { StepHeight(kStepUp); }},
    {kKeyRight, false, [] { StepWidth(kStepUp); }},
    {kKeyDown, false, [] { StepHeight(kStepDown); }},
    {kKeyInsert, false, [] { FocusUnit(W::别字本字); }},
    {kKeyDelete, false, [] { InMode(Mode::kShapeText, OnFontClicked); }},
    {kKeyF1, false, [] { OnCopyClicked(nullptr); }},
    {kKeyF2, false, [] { Toggle(W::复制1); }},
    {kKeyF3, false, [] { OnNotepadClicked(nullptr); }},
    {kKeyF4, false, [] { ToggleAndRegenerate(W::反向); }},
    {kKeyF5, false, [] { ToggleAndRegenerate(W::接顶); }},
    {kKeyF6, false, [] { Toggle(W::补齐); }},
    {kKeyF7, false, [] { OnDefaultsClicked(nullptr); }},
    {kKeyF8, false, [] { OnClearClicked(nullptr); }},
    {kKeyF9, false, [] { GenerateTextArt(); }},
    {kKeyF11, false, [] { ToggleFullScreen(); }},
    {kKeyF12, false, [] { OnHelpClicked(nullptr); }},
    {kKeyScrollLock, false, [] { InMode(Mode::kPicture, OnChangePictureClicked); }},
    {kKey1, true, [] { ToggleInMode(Mode::kShapeText, W::粗, OnBoldClicked); }},
    {kKey2, true, [] { ToggleInMode(Mode::kShapeText, W::斜, OnItalicClicked); }},
    {kKey3, true, [] { ToggleInMode(Mode::kShapeText, W::删, OnStrikeoutClicked); }},
    {kKey4, true, [] { ToggleInMode(Mode::kShapeText, W::下, OnUnderlineClicked); }},
    {kKeyGrave, true, [] { ToggleInMode(Mode::kPicture, W::锁定比例, OnLockClicked); }},
};

// The help window's font dialog restyles only the help text.
void ChooseHelpFont() {
    if (!Method(Help::字体通用对话框1, CoreCommand::OpenDialog, {}).Logical()) return;
    auto field = [](int f) { return ReadInt(Help::字体通用对话框1, Own(f)); };
    int font = Own(qy::edit_box::kFont);
    WriteText(Help::编辑框1, font, ReadText(Help::字体通用对话框1, Own(cd::kFontName)), qy::kFontFieldFace);
    WriteInt(Help::编辑框1, font, field(cd::kFontBold), qy::kFontFieldBold);
    WriteInt(Help::编辑框1, font, field(cd::kFontStrikeout), qy::kFontFieldStrikeout);
    WriteInt(Help::编辑框1, font, field(cd::kFontUnderline), qy::kFontFieldUnderline);
    WriteInt(Help::编辑框1, font, field(cd::kFontSize), qy::kFontFieldSize);
    WriteInt(Help::编辑框1, Own(qy::edit_box::kTextColor), field(cd::kFontColor));
}

}  // namespace

void RunKeyCommand(int32_t key, int32_t modifiers) {
    for (const KeyCommand& command : kKeyCommands) {
        if (command.key != key) continue;
        if (!command.ctrl || modifiers == kCtrl) command.run();
        return;
    }
}

// Key events pass the key code, then the state of the modifier keys.
void OnKeyReleased(const int32_t* args) { RunKeyCommand(args[0], args[1]); }

void OnHelpKeyReleased(const int32_t* args) {
    if (args[0] == kKeyF10)
        ChooseHelpFont();
    else
        RunKeyCommand(args[0], 0);
    // F3 leaves the front to the Notepad it started.
    if (args[0] != kKeyF3) FocusUnit(Help::编辑框1);
}

}  // namespace program
