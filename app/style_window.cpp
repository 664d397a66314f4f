// The style and colour window: four colour pickers for the display's and the
// units' colours, four built-in style schemes and the way to the skin window.
#include "app/application.h"
#include "app/composer.h"
#include "app/handlers.h"
#include "units/colour_picker/colour_picker.h"

namespace program {

namespace {

namespace S = forms::风格配色窗口;

// The main window's check boxes that wear the unit colours.
const UnitRef kColouredBoxes[] = {W::复制1, W::反向, W::锁定比例, W::接顶, W::补齐, W::置顶, W::粗,
                                  W::斜,    W::删,   W::下,       W::说明1, W::说明2, W::说明5};
const UnitRef kCaptions[] = {S::说明1, S::说明2, S::说明3, S::说明4};

struct StyleScheme {
    int32_t style;
    uint8_t units[3];  // background of the windows, 编辑框2 and the check boxes
    uint8_t entry[3];  // background of 编辑框3 and 编辑框4
};

const StyleScheme kNoStyle = {0, {236, 236, 236}, {255, 255, 255}};
const StyleScheme kBlueStyle = {1, {200, 210, 255}, {230, 230, 255}};
const StyleScheme kGreenStyle = {2, {128, 160, 128}, {207, 220, 207}};
const StyleScheme kSilverStyle = {3, {236, 236, 236}, {255, 255, 255}};

int32_t Colour(const uint8_t (&rgb)[3]) {
    return Command(CoreCommand::MakeColor, {IntValue(rgb[0]), IntValue(rgb[1]), IntValue(rgb[2])}).Int();
}

int32_t PickerColour(const UnitRef& picker) { return ReadInt(picker, Own(qy::colour_picker::kColor)); }
void SetPickerColour(const UnitRef& picker, int32_t colour) {
    WriteInt(picker, Own(qy::colour_picker::kColor), colour);
}

int32_t EditColour(const UnitRef& edit, qy::edit_box::Property which) { return ReadInt(edit, Own(which)); }
void SetEditColour(const UnitRef& edit, qy::edit_box::Property which, int32_t colour) {
    WriteInt(edit, Own(which), colour);
}
void SetBoxColour(const UnitRef& box, qy::check_box::Property which, int32_t colour) {
    WriteInt(box, Own(which), colour);
}

void ApplyUnitTextColour(int32_t colour) {
    for (const UnitRef& box : kCaptions) SetBoxColour(box, qy::check_box::kTextColor, colour);
    SetEditColour(kShapeTextBox, qy::edit_box::kTextColor, colour);
    for (const UnitRef& box : kColouredBoxes) SetBoxColour(box, qy::check_box::kTextColor, colour);
}

void ApplyUnitBackground(int32_t colour) {
    for (const UnitRef& box : kCaptions) SetBoxColour(box, qy::check_box::kBackColor, colour);
    WriteInt(W::窗口, Own(qy::window::kBackColor), colour);
    SetEditColour(kShapeTextBox, qy::edit_box::kBackColor, colour);
    for (const UnitRef& box : kColouredBoxes) SetBoxColour(box, qy::check_box::kBackColor, colour);
    WriteInt(S::窗口, Own(qy::window::kBackColor), colour);
}

void ApplyScheme(const StyleScheme& scheme) {
    SetControlStyle(scheme.style);
    ApplyUnitTextColour(0);
    ApplyUnitBackground(Colour(scheme.units));
    int32_t entry = Colour(scheme.entry);
    for (const UnitRef& box : {kFillTextBox, kBlankTextBox}) SetEditColour(box, qy::edit_box::kBackColor, entry);
}

}  // namespace

// The main window's own follow-up runs first: its display taking the focus
// once the style window is open would activate the main window and stack it
// over the style window.
void OnSkinButtonClicked(const int32_t*) {
    Redraw();
    OpenOwnedWindow(S::窗口, W::窗口);
}

void OnStyleWindowCreated(const int32_t*) {
    SetPickerColour(S::颜色选择器1, EditColour(kDisplayBox, qy::edit_box::kTextColor));
    SetPickerColour(S::颜色选择器2, EditColour(kDisplayBox, qy::edit_box::kBackColor));
    SetPickerColour(S::颜色选择器3, EditColour(kShapeTextBox, qy::edit_box::kTextColor));
    SetPickerColour(S::颜色选择器4, EditColour(kShapeTextBox, qy::edit_box::kBackColor));
    int32_t back = EditColour(kShapeTextBox, qy::edit_box::kBackColor);
    int32_t text = ReadInt(W::置顶, Own(qy::check_box::kTextColor));
    for (const UnitRef& box : kCaptions) {
        SetBoxColour(box, qy::check_box::kBackColor, back);
        SetBoxColour(box, qy::check_box::kTextColor, text);
    }
    WriteInt(S::窗口, Own(qy::window::kBackColor), back);
}

void OnTextColourChosen(const int32_t*) {
    int32_t colour = PickerColour(S::颜色选择器1);
    SetEditColour(kDisplayBox, qy::edit_box::kTextColor, colour);
    SetDialogField(qy::common_dialog::kFontColor, colour);
}

void OnBackgroundColourChosen(const int32_t*) {
    SetEditColour(kDisplayBox, qy::edit_box::kBackColor, PickerColour(S::颜色选择器2));
}

void OnUnitTextColourChosen(const int32_t*) { ApplyUnitTextColour(PickerColour(S::颜色选择器3)); }

// Unit background covers the window's own captions too.
void OnUnitBackgroundChosen(const int32_t*) { ApplyUnitBackground(PickerColour(S::颜色选择器4)); }

void OnStyleCaptionClicked(const int32_t*) { FocusUnit(S::颜色选择器3); }

void OnBlueStyleClicked(const int32_t*) { ApplyScheme(kBlueStyle); }
void OnGreenStyleClicked(const int32_t*) { ApplyScheme(kGreenStyle); }
void OnSilverStyleClicked(const int32_t*) { ApplyScheme(kSilverStyle); }
void OnNoStyleClicked(const int32_t*) { ApplyScheme(kNoStyle); }

void OnOtherSkinsClicked(const int32_t*) {
    OpenOwnedWindow(forms::皮肤窗口::窗口, S::窗口);
}

}  // namespace program
