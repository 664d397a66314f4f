// The style and colour window: four colour pickers with their captions,
// four built-in styles and the way to the skin window.
#include "forms/form_builder.h"
#include "units/button/button.h"
#include "units/colour_picker/colour_picker.h"
#include "window/protocol.h"

namespace forms {

namespace {
const uint32_t kBack = RGB(200, 210, 255);

Bytes Picker(uint32_t color) {
    qy::ColourPickerData d;
    d.color = color;
    d.allowTransparent = 0;
    return d.Write();
}

Bytes Caption(const char* caption) { return FlatCheckBox(caption, kBack).Write(); }
}  // namespace

Form StyleWindow() {
    Form form{0x52010481, 0x00D64131, 0x19010481, {}, {}};
    qy::WindowData w = WindowProperties("风格配色", 2, kBack, 0);
    w.dragToMove = 1;
    form.Window(0x06010480, w).At(50, 50, 400, 215).State(V).On(qy::kWindowCreated, "_风格配色窗口_创建完毕");

    // Two pickers keep an empty own-data block: the picker's defaults.
    form.Add(0x16010794, "颜色选择器2", kColourPicker).At(235, 54, 59, 22).State(V).Data(Picker(RGB(255, 255, 255)))
        .On(qy::colour_picker::kColourChanged, "_颜色选择器2_颜色被改变");
    form.Add(0x16010795, "颜色选择器1", kColourPicker).At(235, 13, 59, 22).State(V)
        .On(qy::colour_picker::kColourChanged, "_颜色选择器1_颜色被改变");
    form.Add(0x16010796, "颜色选择器3", kColourPicker).At(235, 95, 59, 22).State(V | F).Data(Picker(kBack))
        .On(qy::colour_picker::kColourChanged, "_颜色选择器3_颜色被改变");
    form.Add(0x16010797, "颜色选择器4", kColourPicker).At(235, 138, 59, 22).State(V)
        .On(qy::colour_picker::kColourChanged, "_颜色选择器4_颜色被改变");
    form.Add(0x16010798, "说明1", kCheckBox).At(277, 5, 103, 36).State(V).Data(Caption("文字"))
        .On(qy::check_box::kClicked, "_风格说明1_被单击");
    form.Add(0x16010799, "说明2", kCheckBox).At(277, 47, 103, 36).State(V).Data(Caption("背景"))
        .On(qy::check_box::kClicked, "_风格说明2_被单击");
    form.Add(0x1601079A, "说明3", kCheckBox).At(277, 89, 103, 36).State(V).Data(Caption("控件文字"))
        .On(qy::check_box::kClicked, "_风格说明3_被单击");
    form.Add(0x1601079B, "说明4", kCheckBox).At(277, 132, 103, 36).State(V).Data(Caption("控件背景"))
        .On(qy::check_box::kClicked, "_风格说明4_被单击");
    form.Add(0x160106B0, "皮肤_按钮", kButton).At(15, 121, 83, 39).State(V).Data(CaptionButton("其它皮肤"))
        .On(qy::button::kClicked, "_风格皮肤_按钮_被单击");
    form.Add(0x1601049F, "无风格", kButton).At(105, 67, 83, 39).State(V).Data(CaptionButton("无风格"))
        .On(qy::button::kClicked, "_无风格_被单击");
    form.Add(0x16010487, "银色风格", kButton).At(15, 67, 83, 39).State(V).Data(CaptionButton("银色风格"))
        .On(qy::button::kClicked, "_银色风格_被单击");
    form.Add(0x16010485, "蓝色风格", kButton).At(15, 13, 83, 39).State(V).Data(CaptionButton("蓝色风格"))
        .On(qy::button::kClicked, "_蓝色风格_被单击");
    form.Add(0x16010483, "绿色风格", kButton).At(105, 13, 83, 39).State(V).Data(CaptionButton("绿色风格"))
        .On(qy::button::kClicked, "_绿色风格_被单击");
    return form;
}

}  // namespace forms
