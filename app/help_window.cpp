// The help window: its font dialog's defaults, its size and the colours of
// its text, and the text box that follows the window's size.
#include "app/application.h"
#include "app/handlers.h"

namespace program {

namespace {
namespace H = forms::帮助窗口;
namespace cd = qy::common_dialog;
}  // namespace

// Opening it is all: a focus taken back by the main window afterwards would
// stack the main window over it.
void OnHelpClicked(const int32_t*) { OpenOwnedWindow(H::窗口, W::窗口); }

void OnHelpWindowCreated(const int32_t*) {
    WriteText(H::字体通用对话框1, Own(cd::kFontName), K.newSongTi);
    WriteInt(H::字体通用对话框1, Own(cd::kFontSize), 14);
    WriteInt(H::字体通用对话框1, Own(cd::kFontBold), 1);
    WriteInt(H::窗口, qy::kPropertyWidth, 688);
    WriteInt(H::窗口, qy::kPropertyHeight, 700);
    for (auto colour : {qy::edit_box::kTextColor, qy::edit_box::kBackColor})
        WriteInt(H::编辑框1, Own(colour), ReadInt(kShapeTextBox, Own(colour)));
}

void OnHelpWindowResized(const int32_t*) {
    WriteInt(H::编辑框1, qy::kPropertyWidth, ReadInt(H::窗口, qy::kPropertyWidth) - 15);
    WriteInt(H::编辑框1, qy::kPropertyHeight, ReadInt(H::窗口, qy::kPropertyHeight) - 37);
    // The caret goes after the last character.
    WriteInt(H::编辑框1, Own(qy::edit_box::kSelStart), -1);
}

}  // namespace program
