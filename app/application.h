// What the application's parts share: its globals, the main window's units
// by name, the unit reads and writes they use, and their subroutines; the
// composer has a header of its own (app/composer.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/access.h"
#include "app/constants.h"
#include "units/button/button.h"
#include "units/combo_box/combo_box.h"
#include "units/common_dialog/common_dialog.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "units/edit_box/edit_box.h"
#include "units/scroll_bar/scroll_bar.h"

namespace program {

namespace W = forms::启动窗口;
inline const ProgramConstants& K = ProgramConstantBlock;

// The main window's edit boxes by what they hold, beside their template names.
constexpr UnitRef kDisplayBox = W::编辑框1;    // the composed text picture
constexpr UnitRef kShapeTextBox = W::编辑框2;  // the shape text
constexpr UnitRef kFillTextBox = W::编辑框3;   // the text of ink cells
constexpr UnitRef kBlankTextBox = W::编辑框4;  // the text of paper cells

class LibraryLoader;
class RippleEffect;

// Globals of the application, zero at start.
extern uint32_t instanceEvent;
extern RippleEffect* labelRipple;
extern LibraryLoader* skinEngine;
extern RippleEffect* skinWindowRipple;
extern int32_t currentPicture;
extern int32_t topmostBeforeFullScreen;

// Unit reads and writes by what they mean.
inline std::string Content(const UnitRef& edit) { return ReadText(edit, Own(qy::edit_box::kContent)); }
inline void SetContent(const UnitRef& edit, const std::string& text) {
    WriteText(edit, Own(qy::edit_box::kContent), text);
}
inline bool Ticked(const UnitRef& box) { return ReadInt(box, Own(qy::check_box::kChecked)) != 0; }
inline void SetTicked(const UnitRef& box, bool ticked) { WriteInt(box, Own(qy::check_box::kChecked), ticked ? 1 : 0); }
inline int32_t Position(const UnitRef& bar) { return ReadInt(bar, Own(qy::scroll_bar::kPosition)); }
inline void SetPosition(const UnitRef& bar, int32_t position) {
    WriteInt(bar, Own(qy::scroll_bar::kPosition), position);
}
inline int32_t Selection(const UnitRef& combo) { return ReadInt(combo, Own(qy::combo_box::kCurrentSelection)); }
inline void SetSelection(const UnitRef& combo, int32_t index) {
    WriteInt(combo, Own(qy::combo_box::kCurrentSelection), index);
}
inline void SetEnabled(const UnitRef& unit, bool enabled) { WriteInt(unit, qy::kPropertyDisabled, enabled ? 0 : 1); }
inline bool Enabled(const UnitRef& unit) { return ReadInt(unit, qy::kPropertyDisabled) == 0; }
// Loads a window owned by another and leaves it open beside it, not modal.
inline void OpenOwnedWindow(const UnitRef& window, const UnitRef& owner) {
    Command(CoreCommand::LoadWindow, {UnitValue(window), UnitValue(owner), ValueRecord{0, 0, qy::kTypeLogical}});
}
inline std::string ButtonCaption(const UnitRef& button) { return ReadText(button, Own(qy::button::kCaption)); }
inline void SetButtonCaption(const UnitRef& button, const char* caption) {
    WriteText(button, Own(qy::button::kCaption), caption);
}
// A member of the font of the shape-text edit box or of the panel.
inline void SetEditFont(const UnitRef& edit, int member, int32_t value) {
    WriteInt(edit, Own(qy::edit_box::kFont), value, member);
}
inline void SetPanelFont(int member, int32_t value) { WriteInt(W::画板1, Own(qy::draw_panel::kFont), value, member); }
inline void SetDialogField(int field, int32_t value) { WriteInt(W::通框字体, Own(field), value); }

// The mode lives in the caption of the mode button.
enum class Mode { kShapeText, kPicture, kOther };
Mode CurrentMode();

// One of the skins of app/skin_table.h.
void ApplySkin(Skin skin);

// The keyboard commands of the main window's entry units and the help
// window; modifiers 1 means Ctrl held.
void RunKeyCommand(int32_t key, int32_t modifiers);
// Full screen, or back from it when in it (F11).
void ToggleFullScreen();

}  // namespace program
