// The handlers that change what is drawn and how it is sampled: the mode,
// the font and its size, the picture and its size, and the options.
#include "app/application.h"
#include "app/composer.h"
#include "app/handlers.h"

namespace program {

namespace {

namespace cd = qy::common_dialog;
using FontField = qy::FontSubProperty;

const UnitRef kTextControls[] = {W::字符大小, W::字符大小1, W::说明5, W::粗, W::斜, W::删, W::下, W::字体};
const UnitRef kPictureButtons[] = {W::换图, W::锁定比例};
const UnitRef kPictureSizeControls[] = {W::图片宽, W::图片宽1, W::说明1, W::图片高, W::图片高1, W::说明2};

template <size_t N>
void EnableAll(const UnitRef (&units)[N], bool enabled) {
    for (const UnitRef& unit : units) SetEnabled(unit, enabled);
}

void EnterShapeTextMode() {
    SetButtonCaption(W::砌字成图, K.textMode);
    EnableAll(kTextControls, true);
    EnableAll(kPictureButtons, false);
    EnableAll(kPictureSizeControls, false);
}

// The shape-text font lives in the dialog, the shape-text box and the panel.
void SetShapeFontMember(FontField member, int32_t value) {
    SetEditFont(kShapeTextBox, member, value);
    SetPanelFont(member, value);
}

void ApplyFontStyle(const UnitRef& box, int dialogField, FontField member) {
    int32_t v = Ticked(box) ? 1 : 0;
    SetDialogField(dialogField, v);
    SetShapeFontMember(member, v);
    Regenerate();
}

void SetFontSize(int32_t size) {
    SetDialogField(cd::kFontSize, size);
    SetPanelFont(qy::kFontFieldSize, size);
    SetEditFont(kShapeTextBox, qy::kFontFieldSize, size);
}

std::string NumberText(int32_t value) { return Command(CoreCommand::ToText, {IntValue(value)}).Text(); }
int32_t NumberOf(const std::string& text) { return Command(CoreCommand::ToInteger, {TextValue(text.c_str())}).Int(); }

void ApplyFontSize() {
    if (CurrentMode() != Mode::kShapeText) return;
    int32_t size = Position(W::字符大小);
    SetFontSize(size);
    SetContent(W::字符大小1, NumberText(size));
    GenerateTextArt();
}

// One wheel step on a scroll bar within its bounds; true if it moved.
bool StepPosition(const UnitRef& bar, int32_t wheel, int32_t low, int32_t high) {
    int32_t position = Position(bar);
    if (wheel > 0 && position < high) {
        SetPosition(bar, position + 1);
        return true;
    }
    if (wheel <= 0 && position > low) {
        SetPosition(bar, position - 1);
        return true;
    }
    return false;
}

void PictureSizeChanged(const UnitRef& bar, const UnitRef& box) {
    if (CurrentMode() != Mode::kPicture) return;
    SetContent(box, NumberText(Position(bar)));
    GenerateTextArt();
}

void AcceptTypedPictureSize(const UnitRef& box, const UnitRef& bar) {
    if (CurrentMode() != Mode::kPicture) return;
    int32_t v = NumberOf(Content(box));
    if (v < 1 || v > 200) {
        v = 30;
        SetContent(box, K.thirty);
    }
    SetPosition(bar, v);
}

void StepPictureSize(const UnitRef& bar, const UnitRef& box, const int32_t* args) {
    if (StepPosition(bar, args[0], 1, 200)) PictureSizeChanged(bar, box);
}

}  // namespace

void OnModeClicked(const int32_t*) {
    Mode mode = CurrentMode();
    if (mode == Mode::kShapeText) {
        SetButtonCaption(W::砌字成图, K.pictureMode);
        EnableAll(kTextControls, false);
        EnableAll(kPictureButtons, true);
        if (Ticked(W::锁定比例))
            UpdateLockedAxis();
        else
            EnableAll(kPictureSizeControls, true);
    } else if (mode == Mode::kPicture) {
        EnterShapeTextMode();
    }
    Regenerate();
}

void OnBoldClicked(const int32_t*) { ApplyFontStyle(W::粗, cd::kFontBold, qy::kFontFieldBold); }
void OnItalicClicked(const int32_t*) { ApplyFontStyle(W::斜, cd::kFontItalic, qy::kFontFieldItalic); }
void OnStrikeoutClicked(const int32_t*) { ApplyFontStyle(W::删, cd::kFontStrikeout, qy::kFontFieldStrikeout); }
void OnUnderlineClicked(const int32_t*) { ApplyFontStyle(W::下, cd::kFontUnderline, qy::kFontFieldUnderline); }

void OnFontSizeScrolled(const int32_t*) { ApplyFontSize(); }

void OnFontSizeTyped(const int32_t*) {
    if (CurrentMode() != Mode::kShapeText) return;
    int32_t v = NumberOf(Content(W::字符大小1));
    if (v >= 1 && v <= 72) {
        SetFontSize(v);
    } else {
        SetDialogField(cd::kFontSize, 9);
        SetContent(W::字符大小1, K.nine);
        v = 9;
    }
    SetPosition(W::字符大小, v);
}

void OnFontSizeWheel(const int32_t* args) {
    if (StepPosition(W::字符大小, args[0], 1, 72)) ApplyFontSize();
}

void OnPictureWidthScrolled(const int32_t*) { PictureSizeChanged(W::图片宽, W::图片宽1); }
void OnPictureHeightScrolled(const int32_t*) { PictureSizeChanged(W::图片高, W::图片高1); }
void OnPictureWidthTyped(const int32_t*) { AcceptTypedPictureSize(W::图片宽1, W::图片宽); }
void OnPictureHeightTyped(const int32_t*) { AcceptTypedPictureSize(W::图片高1, W::图片高); }
void OnPictureWidthWheel(const int32_t* args) { StepPictureSize(W::图片宽, W::图片宽1, args); }
void OnPictureHeightWheel(const int32_t* args) { StepPictureSize(W::图片高, W::图片高1, args); }

void OnLockClicked(const int32_t*) {
    UpdateLockedAxis();
    Regenerate();
}

void OnFontClicked(const int32_t*) {
    SetDialogField(cd::kDialogType, 2);
    if (!Method(W::通框字体, CoreCommand::OpenDialog, {}).Logical()) return;
    auto field = [](int f) { return ReadInt(W::通框字体, Own(f)); };
    std::string face = ReadText(W::通框字体, Own(cd::kFontName));
    // Italic stays as 斜 has it.
    for (const UnitRef& unit : {kShapeTextBox, W::画板1}) {
        int font = unit.unit == W::画板1.unit ? Own(qy::draw_panel::kFont) : Own(qy::edit_box::kFont);
        WriteText(unit, font, face, qy::kFontFieldFace);
        WriteInt(unit, font, field(cd::kFontBold), qy::kFontFieldBold);
        WriteInt(unit, font, field(cd::kFontStrikeout), qy::kFontFieldStrikeout);
        WriteInt(unit, font, field(cd::kFontUnderline), qy::kFontFieldUnderline);
        WriteInt(unit, font, field(cd::kFontSize), qy::kFontFieldSize);
    }
    WriteInt(kDisplayBox, Own(qy::edit_box::kTextColor), field(cd::kFontColor));
    SetTicked(W::粗, field(cd::kFontBold) != 0);
    SetTicked(W::删, field(cd::kFontStrikeout) != 0);
    SetTicked(W::下, field(cd::kFontUnderline) != 0);
    SetPosition(W::字符大小, field(cd::kFontSize));
    SetContent(W::字符大小1, NumberText(field(cd::kFontSize)));
    Regenerate();
}

void LoadPictureFile(const char* file) {
    Result data = Command(CoreCommand::ReadWholeFile, {TextValue(file)});
    ReplaceCurrentPicture(Command(CoreCommand::LoadPicture, {ByteSetValue(data.Block())}).Int());
    UpdateLockedAxis();
    Regenerate();
}

void OnChangePictureClicked(const int32_t*) {
    if (!Method(W::通框图片, CoreCommand::OpenDialog, {}).Logical()) return;
    LoadPictureFile(ReadText(W::通框图片, Own(cd::kFileName)).c_str());
}

void OnFileDropped(const int32_t* args) {
    LoadPictureFile(reinterpret_cast<const char*>(static_cast<uintptr_t>(args[0])));
}

void OnDefaultsClicked(const int32_t*) {
    EnterShapeTextMode();
    ReplaceCurrentPicture(Command(CoreCommand::LoadPicture, {ByteSetValue(&K.defaultPicture)}).Int());
    SetSelection(W::分界色组合框, 2);
    WriteText(kShapeTextBox, Own(qy::edit_box::kFont), K.songTi, qy::kFontFieldFace);
    SetEditFont(kShapeTextBox, qy::kFontFieldSize, 9);
    SetTicked(W::复制1, false);
    SetSelection(W::别字本字, 1);
    SetTicked(W::补齐, true);
    SetTicked(W::反向, false);
    const struct {
        UnitRef box;
        FontField member;
    } styles[] = {{W::粗, qy::kFontFieldBold},
                  {W::斜, qy::kFontFieldItalic},
                  {W::删, qy::kFontFieldStrikeout},
                  {W::下, qy::kFontFieldUnderline}};
    for (const auto& style : styles) {
        SetTicked(style.box, false);
        SetShapeFontMember(style.member, 0);
    }
    SetContent(kShapeTextBox, K.defaultShapeText);
    SetContent(kFillTextBox, K.defaultFillText);
    SetContent(kBlankTextBox, K.twoSpaces);
    WriteText(W::画板1, Own(qy::draw_panel::kFont), K.songTi, qy::kFontFieldFace);
    SetPanelFont(qy::kFontFieldSize, 9);
    SetTicked(W::接顶, false);
    SetPosition(W::字符大小, 9);
    SetContent(W::字符大小1, K.nine);
    SetPosition(W::图片宽, 44);
    SetPosition(W::图片高, 44);
    SetContent(W::图片宽1, K.fortyFour);
    SetContent(W::图片高1, K.fortyFour);
    SetTicked(W::锁定比例, true);
    Redraw();
}

void OnRegenerateClicked(const int32_t*) { Regenerate(); }
void OnRedrawClicked(const int32_t*) { Redraw(); }
void OnFocusClicked(const int32_t*) { FocusUnit(kDisplayBox); }
void OnComposeOnly(const int32_t*) { GenerateTextArt(); }
void OnPreviewOnly(const int32_t*) { DrawShapePreview(); }
void OnFillWheel(const int32_t*) { FocusUnit(W::别字本字); }
void OnShapeWheel(const int32_t*) { FocusUnit(W::分界色组合框); }

}  // namespace program
