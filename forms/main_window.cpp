// The start-up window: the composer's options along the top, the drawing
// panel and the text-picture box below.
#include "forms/form_builder.h"
#include "units/button/button.h"
#include "units/combo_box/combo_box.h"
#include "units/edit_box/edit_box.h"
#include "units/scroll_bar/scroll_bar.h"
#include "window/cursor_file.h"
#include "window/protocol.h"

namespace forms {

namespace {
const uint32_t kCheckBoxBack = RGB(236, 236, 236);

Bytes ScrollBar(int32_t maxPosition, int32_t position) {
    qy::ScrollBarData d;
    d.minPosition = 1;
    d.maxPosition = maxPosition;
    d.pageChange = 13;
    d.lineChange = 1;
    d.position = position;
    d.dragTracking = 1;
    return d.Write();
}

Bytes ComboBox(std::vector<std::string> items, int32_t selection) {
    qy::ComboBoxData d;
    d.type = 2;
    d.items = std::move(items);
    d.currentSelection = selection;
    d.font = Font("宋体", -14);
    return d.Write();
}

qy::CheckBoxData CheckBox(const char* caption, bool checked, Bytes font, int32_t hAlign = 0) {
    qy::CheckBoxData d = FlatCheckBox(caption, kCheckBoxBack);
    d.checked = checked ? 1 : 0;
    d.hAlign = hAlign;
    d.font = std::move(font);
    return d;
}

qy::EditBoxData EditBox(const char* content) {
    qy::EditBoxData d;
    d.content = content;
    d.border = 1;
    d.textColor = 0;
    d.backColor = RGB(255, 255, 255);
    d.hideSelection = 1;
    d.passwordChar = '*';
    d.spinMin = 0;
    d.spinMax = 100;
    d.spinMode = 0;
    return d;
}

Bytes NumberBox(const char* content, int32_t spinMin, int32_t spinMax) {
    qy::EditBoxData d = EditBox(content);
    d.alignment = 1;
    d.spinMin = spinMin;
    d.spinMax = spinMax;
    d.font = Font("宋体", -13);
    return d.Write();
}

Bytes TextBox(const char* content) {
    qy::EditBoxData d = EditBox(content);
    d.maxLength = 78;
    return d.Write();
}
}  // namespace

Form MainWindow() {
    Form form{0x52010001, 0x00D64130, 0x19010001, {}, {}};

    qy::WindowData w = WindowProperties("砌字成图1.4版", 1, RGB(255, 191, 191), 1);
    w.alwaysOnTop = 0;
    w.enterMovesFocus = 0;
    w.f1OpensHelp = 0;
    w.dragToMove = 0;
    form.Window(0x06010000, w).At(50, 50, 1146, 571).State(V)
        .On(qy::kWindowCreated, "_启动窗口_创建完毕")
        .On(qy::kWindowDestroyed, "_启动窗口_将被销毁")
        .On(qy::kWindowResized, "_启动窗口_尺寸被改变")
        .On(qy::kWindowActivated, "_启动窗口_被激活")
        .On(qy::kWindowFilesDropped, "_启动窗口_文件被拖放");

    form.Add(0x16010DA6, "图片宽", kHScrollBar).At(723, 56, 108, 19).State(V | D).Data(ScrollBar(200, 44))
        .On(qy::scroll_bar::kPositionChanged, "_图片宽_滚动条位置被改变");
    form.Add(0x16010DA5, "图片高", kHScrollBar).At(723, 87, 108, 17).State(V | D).Data(ScrollBar(200, 44))
        .On(qy::scroll_bar::kPositionChanged, "_图片高_滚动条位置被改变");
    form.Add(0x16010DBE, "字符大小", kHScrollBar).At(518, 87, 108, 17).State(V).Data(ScrollBar(72, 9))
        .On(qy::scroll_bar::kPositionChanged, "_字符大小_滚动条位置被改变");
    form.Add(0x160110C5, "别字本字", kComboBox).At(174, 82, 56, 25).State(V | F)
        .Data(ComboBox({"别字", "汉字", "字母"}, 1))
        .On(qy::kEventKeyUp, "_别字本字_放开某键")
        .On(qy::combo_box::kItemSelected, "_别字本字_列表项被选择");
    form.Add(0x16010DA3, "分界色组合框", kComboBox).At(174, 53, 56, 25).State(V | F)
        .Data(ComboBox({"黑色", "深灰", "灰色", "浅灰", "银白", "白色"}, 2))
        .On(qy::combo_box::kItemSelected, "_分界色组合框_列表项被选择")
        .On(qy::kEventKeyUp, "_分界色组合框_放开某键");
    form.Add(0x16010DAB, "补齐", kCheckBox).At(119, 82, 59, 25).State(V | F)
        .Data(CheckBox("补齐", true, SystemFont(-12)).Write())
        .On(qy::check_box::kClicked, "_补齐_被单击");
    form.Add(0x16010DC0, "接顶", kCheckBox).At(119, 53, 59, 25).State(V | F)
        .Data(CheckBox("接顶", false, SystemFont(-12)).Write())
        .On(qy::check_box::kClicked, "_接顶_被单击");

    qy::LabelData generate;
    generate.caption = "生成";
    generate.font = Font("经典超圆简", -19);
    generate.effect = qy::kEffectShadow;
    generate.border = qy::kGradientBorder;
    generate.borderWidth = 8;
    generate.borderColor[0] = RGB(0, 255, 0);
    generate.borderColor[1] = RGB(0, 128, 0);
    generate.borderColor[2] = RGB(0, 64, 0);
    generate.textColor = RGB(0, 204, 0);
    generate.backColor = RGB(128, 224, 0);
    generate.pictureMode = qy::kLabelPictureStretched;
    generate.gradientMode = 0;
    generate.gradientColor[0] = RGB(128, 128, 128);
    generate.gradientColor[1] = RGB(255, 255, 255);
    generate.gradientColor[2] = RGB(128, 128, 128);
    generate.hAlign = 0;
    generate.vAlign = 1;
    generate.wordWrap = 0;
    form.Add(0x16010DB2, "生成", kLabel).At(315, 57, 60, 45).State(V).Data(generate.Write())
        .On(qy::kEventLeftUp, "_生成_鼠标左键被放开");

    form.Add(0x1601107D, "反向", kCheckBox).At(66, 82, 59, 25).State(V | F)
        .Data(CheckBox("反向", false, SystemFont(-12)).Write())
        .On(qy::check_box::kClicked, "_反向_被单击");
    form.Add(0x16010FEA, "复制1", kCheckBox).At(66, 55, 59, 25).State(V | F)
        .Data(CheckBox("复制", false, SystemFont(-12)).Write())
        .On(qy::check_box::kClicked, "_复制1_被单击");

    qy::TransLabelData about;
    about.caption = "砌字成图1.4版 免费趣味小软件\r\n联系作者：qizi.tuzi@example.com";
    about.font = Font("汉仪立黑简", -17);
    about.effect = qy::kEffectRaised;
    about.textColor = 0;
    about.alignment = 0;
    about.vAlign = 1;
    about.wordWrap = 1;
    form.Add(0x16010DA0, "透明标签1", kTransLabel).At(764, 387, 259, 75).State(V).Data(about.Write());

    form.Add(0x16010DA1, "锁定比例", kCheckBox).At(874, 55, 62, 55).State(V | D | F)
        .Data(CheckBox("锁定宽高比例", true, Font("新宋体", -12), 1).Write())
        .On(qy::check_box::kClicked, "_锁定比例_被单击");
    form.Add(0x16010DA4, "图片高1", kEditBox).At(689, 82, 35, 25).State(V | D | F).Data(NumberBox("44", 0, 200))
        .On(qy::edit_box::kContentChanged, "_图片高1_内容被改变")
        .On(qy::kEventKeyUp, "_图片高1_放开某键")
        .On(qy::kEventWheel, "_图片高1_滚轮被滚动");
    form.Add(0x16010DA7, "图片宽1", kEditBox).At(689, 53, 35, 25).State(V | D | F).Data(NumberBox("44", 9, 200))
        .On(qy::edit_box::kContentChanged, "_图片宽1_内容被改变")
        .On(qy::kEventKeyUp, "_图片宽1_放开某键")
        .On(qy::kEventWheel, "_图片宽1_滚轮被滚动");
    form.Add(0x16010DAA, "砌字成图", kButton).At(401, 53, 30, 54).State(V | F)
        .Data(CaptionButton("砌字", Font("微软雅黑", -14)))
        .On(qy::button::kClicked, "_砌字成图_被单击");
    form.Add(0x16010DAC, "打开记事本", kButton).At(-1, 82, 58, 25).State(V | F)
        .Data(CaptionButton("记事本", SystemFont(-12)))
        .On(qy::button::kClicked, "_打开记事本_被单击");
    form.Add(0x16010DAD, "复制", kButton).At(-1, 53, 58, 27).State(V | F)
        .Data(CaptionButton("复制", Font("宋体", -19, 700)))
        .On(qy::button::kClicked, "_复制_被单击");
    form.Add(0x16010DAE, "换图", kButton).At(434, 82, 45, 25).State(V | D | F).Data(CaptionButton("换图"))
        .On(qy::button::kClicked, "_换图_被单击");
    form.Add(0x16010DAF, "帮助", kButton).At(1030, 82, 47, 25).State(V | F)
        .Data(CaptionButton("？", SystemFont(-16, 700)))
        .Cursor(qy::kHelpCursor)
        .On(qy::button::kClicked, "_帮助_被单击");
    form.Add(0x16010DB0, "编辑框3", kEditBox).At(15, 26, 60, 20).State(V | F).Data(TextBox("顶"))
        .On(qy::kEventLeftDown, "_编辑框3_左键被按下")
        .On(qy::kEventWheel, "_编辑框3_滚轮被滚动");
    form.Add(0x16010DB1, "编辑框4", kEditBox).At(79, 26, 60, 20).State(V | F).Data(TextBox(""))
        .On(qy::kEventLeftDown, "_编辑框4_左键被按下")
        .On(qy::kEventWheel, "_编辑框4_滚轮被滚动");

    qy::CheckBoxData onTop = CheckBox("置顶", false, Bytes());
    onTop.flat = 0;
    form.Add(0x16010DB3, "置顶", kCheckBox).At(1030, 53, 59, 25).State(V | F).Data(onTop.Write())
        .On(qy::check_box::kClicked, "_置顶_被单击");
    form.Add(0x16010DB4, "皮肤_按钮", kButton).At(977, 82, 45, 25).State(V | F).Data(CaptionButton("皮肤"))
        .On(qy::button::kClicked, "_皮肤_按钮_被单击");
    form.Add(0x16010DB7, "下", kCheckBox).At(634, 53, 38, 25).State(V | F)
        .Data(CheckBox("下", false, Bytes(), 1).Write())
        .On(qy::check_box::kClicked, "_下_被单击");
    form.Add(0x16010DB8, "斜", kCheckBox).At(542, 53, 38, 25).State(V | F)
        .Data(CheckBox("斜", false, Bytes(), 1).Write())
        .On(qy::check_box::kClicked, "_斜_被单击");
    form.Add(0x16010DB9, "删", kCheckBox).At(587, 53, 38, 25).State(V | F)
        .Data(CheckBox("删", false, SystemFont(-12)).Write())
        .On(qy::check_box::kClicked, "_删_被单击");
    form.Add(0x16010DBA, "粗", kCheckBox).At(497, 53, 38, 25).State(V | F)
        .Data(CheckBox("粗", false, Bytes(), 1).Write())
        .On(qy::check_box::kClicked, "_粗_被单击");
    form.Add(0x16010DBB, "默认", kButton).At(244, 53, 45, 25).State(V | F).Data(CaptionButton("默认"))
        .On(qy::button::kClicked, "_默认_被单击");
    form.Add(0x16010DBC, "清空", kButton).At(244, 82, 45, 25).State(V | F).Data(CaptionButton("清空"))
        .On(qy::button::kClicked, "_清空_被单击");
    form.Add(0x16010DBD, "全屏", kButton).At(977, 53, 45, 25).State(V | F).Data(CaptionButton("全屏"))
        .On(qy::button::kClicked, "_全屏_被单击");
    form.Add(0x16010DBF, "字符大小1", kEditBox).At(484, 82, 35, 25).State(V | F).Data(NumberBox("9", 9, 72))
        .On(qy::edit_box::kContentChanged, "_字符大小1_内容被改变")
        .On(qy::kEventKeyUp, "_字符大小1_放开某键")
        .On(qy::kEventWheel, "_字符大小1_滚轮被滚动");
    form.Add(0x16010DC1, "字体", kButton).At(434, 53, 45, 25).State(V | F).Data(CaptionButton("字体"))
        .On(qy::button::kClicked, "_字体_被单击");

    qy::DrawPanelData panel;
    panel.version = 1;
    panel.border = 0;
    panel.backColor = RGB(255, 255, 255);
    panel.pictureMode = qy::kPictureTiled;
    panel.autoRedraw = 0;
    panel.coordinateUnit = 0;
    panel.penStyle = 1;
    panel.drawMode = 12;
    panel.penWidth = 0;
    panel.penColor = 0;
    panel.brushStyle = 1;
    panel.brushColor = RGB(255, 255, 255);
    panel.textColor = 0;
    panel.textBackColor = qy::kButtonFaceColour;
    form.Add(0x16010DC2, "画板1", kDrawPanel).At(10, 120, 86, 115).State(V).Data(panel.Write())
        .On(qy::kEventLeftDown, "_画板1_左键被按下");

    qy::CommonDialogData pictureDialog;
    pictureDialog.dialogType = 0;
    pictureDialog.filter =
        "所有文件|*.*|JPG(*.jpg)|*.jpg|BMP(*.bmp)|*.bmp|PNG(*.png)|*.png|GIF(*.gif)|*.gif|PPM(*.ppm)|*.ppm|"
        "PGM(*.pgm)|*.pgm|PBM(*.pbm)|*.pbm|PCX(*.pcx)|*.pcx";
    form.Add(0x16010A3E, "通框图片", kCommonDialog).At(704, 310, 26, 26).State(0).Data(pictureDialog.Write());

    qy::LabelData restore;
    restore.caption = "还原";
    restore.font = Font("宋体", -12, 700);
    restore.effect = qy::kEffectPlain;
    restore.border = 0;
    restore.borderWidth = 8;
    restore.borderColor[0] = RGB(128, 128, 128);
    restore.borderColor[1] = RGB(255, 255, 255);
    restore.borderColor[2] = RGB(128, 128, 128);
    restore.textColor = RGB(0, 64, 0);
    restore.backColor = qy::kButtonFaceColour;
    restore.pictureMode = qy::kLabelPictureStretched;
    restore.gradientMode = 2;
    restore.gradientColor[0] = RGB(255, 0, 0);
    restore.gradientColor[1] = RGB(255, 255, 255);
    restore.gradientColor[2] = RGB(255, 0, 0);
    restore.hAlign = 1;
    restore.vAlign = 1;
    restore.wordWrap = 0;
    form.Add(0x16010271, "还原", kLabel).At(29, 431, 60, 21).State(0).Data(restore.Write())
        .On(qy::kEventLeftDown, "_还原_左键被按下");

    // Every stored value of the font dialog but its type is 0 or empty.
    qy::CommonDialogData fontDialog;
    fontDialog.dialogType = 2;
    fontDialog.fileMustExist = 0;
    fontDialog.overwritePrompt = 0;
    fontDialog.pathMustExist = 0;
    form.Add(0x160100AF, "通框字体", kCommonDialog).At(666, 310, 26, 26).State(0).Data(fontDialog.Write());

    qy::EditBoxData output = EditBox("");
    output.multiLine = 1;
    output.scrollBars = 3;
    output.border = 0;
    form.Add(0x1601002F, "编辑框1", kEditBox).At(8, 242, 124, 110).State(V | F).Data(output.Write())
        .On(qy::kEventKeyUp, "_编辑框1_放开某键")
        .On(qy::kEventDoubleClick, "_编辑框1_被双击")
        .On(qy::kEventLeftDown, "_编辑框1_左键被按下");

    form.Add(0x16010DC3, "说明5", kCheckBox).At(610, 85, 80, 25).State(V | F)
        .Data(CheckBox("字符大小", false, Bytes(), 1).Write())
        .On(qy::check_box::kClicked, "_说明5_被单击");
    form.Add(0x16010DA9, "说明2", kCheckBox).At(815, 85, 62, 25).State(V | D | F)
        .Data(CheckBox("图高", false, Bytes(), 1).Write())
        .On(qy::check_box::kClicked, "_说明2_被单击");
    form.Add(0x16010DA8, "说明1", kCheckBox).At(815, 55, 62, 25).State(V | D | F)
        .Data(CheckBox("图宽", false, Bytes(), 1).Write())
        .On(qy::check_box::kClicked, "_说明1_被单击");

    qy::EditBoxData shape = EditBox("我爱你");
    shape.multiLine = 1;
    shape.border = 0;
    shape.backColor = RGB(128, 128, 255);
    shape.maxLength = 84;
    form.Add(0x16010DC5, "编辑框2", kEditBox).At(19, 1, 136, 17).State(V | F).Data(shape.Write())
        .On(qy::kEventLeftDown, "_编辑框2_左键被按下")
        .On(qy::kEventWheel, "_编辑框2_滚轮被滚动");
    return form;
}

}  // namespace forms
