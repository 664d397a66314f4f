// The help window: usage notes and the keyboard shortcuts in one read-only
// text box, with a font dialog beside it.
#include "forms/form_builder.h"
#include "window/protocol.h"

namespace forms {

namespace {
// The shortcut list: two columns, the right one starting at a fixed column
// (texts are GBK here, so byte counts are display columns).
std::string ShortcutList() {
    const char* left[] = {"复制----F1键", "复制选项----F2键", "打开记事本----F3键", "反向----F4键",
                          "接顶----F5键", "补齐----F6键",     "默认----F7键",       "清空----F8键",
                          "生成----F9键", "全屏/还原----F11键", "帮助----F12键"};
    const char* right[] = {"图高放大----  ↑ 键",          "图高缩小----  ↓ 键", "字符缩小/图宽缩小----  ← 键",
                           "字符放大/图宽放大----  → 键", "分界色----Pause键",  "别字本字----Ins键",
                           "砌字/成图----Home键",         "换字体----Del键",    "换图----ScrollLock键",
                           "粗----Ctrl键 + 1键",          "斜----Ctrl键 + 2键", "删----Ctrl键 + 3键",
                           "下----Ctrl键 + 4键"};
    const size_t kColumn = 30;
    const size_t leftCount = sizeof left / sizeof left[0];
    std::string text;
    for (size_t row = 0; row < sizeof right / sizeof right[0]; ++row) {
        if (row > 0) text += "\r\n\r\n";
        std::string line = row < leftCount ? left[row] : "";
        if (row == leftCount) {
            line = "\t\t\t";
        } else {
            line.append(kColumn > line.size() ? kColumn - line.size() : 1, ' ');
        }
        text += line + right[row];
    }
    return text;
}

std::string HelpText() {
    std::string text;
    text += "●在发表时如不成形，就反复调整那里文字的字体，大小，粗体等。\r\n";
    text += "●在数值框中滚动鼠标滚轮，能增大或减小框内的数值。\r\n";
    text += "●在显示框中双击，能粘贴剪贴板里边的字符。\r\n";
    text += "\r\n";
    text += ShortcutList() + "\r\n";
    text += "锁定宽高比例----Ctrl键 + ` 键\r\n";
    text += "\r\n\r\n";
    text += "                    砌字成图1.4版 免费软件\r\n";
    text += "                    联系作者：qizi.tuzi@example.com";
    return text;
}
}  // namespace

Form HelpWindow() {
    Form form{0x52010E44, 0x00D64133, 0x19010E44, {}, {}};
    qy::WindowData w = WindowProperties("帮助", 1, qy::kButtonFaceColour, 1);
    w.dragToMove = 1;
    form.Window(0x06010E43, w).At(50, 50, 790, 728).State(V)
        .On(qy::kWindowCreated, "_帮助窗口_创建完毕")
        .On(qy::kWindowResized, "_帮助窗口_尺寸被改变");

    qy::CommonDialogData fontDialog;
    fontDialog.dialogType = 2;
    form.Add(0x1601111B, "字体通用对话框1", kCommonDialog).At(693, 264, 26, 26).State(0).Data(fontDialog.Write());

    qy::EditBoxData help;
    help.multiLine = 1;
    help.scrollBars = 3;
    help.border = 1;
    help.font = Font("文鼎谁的字体", -19, 700);
    help.content = HelpText();
    form.Add(0x16010E45, "编辑框1", kEditBox).At(0, 0, 693, 660).State(V | F).Data(help.Write())
        .On(qy::kEventKeyUp, "_帮助编辑框1_放开某键");
    return form;
}

}  // namespace forms
