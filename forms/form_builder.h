// How the program's windows are described in forms/: one Form per window,
// built the way a designer lays it out (the window's own properties, then
// every unit in template order with its geometry, state, own properties and
// event subroutines). tools/formc turns the forms into the template segment.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "window/own_data.h"
#include "units/button/button_data.h"
#include "units/colour_picker/colour_picker_data.h"
#include "units/combo_box/combo_box_data.h"
#include "units/common_dialog/common_dialog_data.h"
#include "units/drawing_panel/draw_panel_data.h"
#include "units/edit_box/edit_box_data.h"
#include "units/label/label_data.h"
#include "units/scroll_bar/scroll_bar_data.h"
#include "units/transparent_label/transparent_label_data.h"
#include "window/template_format.h"

namespace forms {

using qy::Bytes;

// Unit state letters of the window tables: visible, disabled, focusable.
constexpr uint32_t V = qy::kStateVisible, D = qy::kStateDisabled, F = qy::kStateTabStop;

constexpr uint32_t RGB(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

// Unit types by the short names the window tables use.
enum UnitType : uint32_t {
    kWindow = qy::kWindowTypeRef,
    kEditBox = qy::kEditBoxTypeRef,
    kDrawPanel = qy::kDrawPanelTypeRef,
    kLabel = qy::kLabelTypeRef,
    kButton = qy::kButtonTypeRef,
    kCheckBox = qy::kCheckBoxTypeRef,
    kComboBox = qy::kComboBoxTypeRef,
    kHScrollBar = qy::kScrollBarTypeRef,
    kColourPicker = qy::kColourPickerTypeRef,
    kCommonDialog = qy::kCommonDialogTypeRef,
    kTransLabel = qy::kTransLabelTypeRef,
};

// A stored font: face name, LOGFONT height, weight; GB2312 character set.
inline Bytes Font(const char* face, int32_t height, int32_t weight = 400) {
    return qy::LogFont::Make(face, height, weight);
}
// A font stored under the system face, which the window shows in the system font.
inline Bytes SystemFont(int32_t height, int32_t weight = 400) { return Font("System", height, weight); }

// A cursor stored as one standard cursor id.
Bytes StandardCursor(int32_t cursorId);

// The own properties the program's windows share: a title bar with the
// minimise box, control box and close, centred on the screen, shown in the
// task bar and closed by Esc.
qy::WindowData WindowProperties(const char* caption, int32_t border, uint32_t backColor, int32_t maxButton);

// A push button with its caption centred both ways, in the font if one is given.
Bytes CaptionButton(const char* caption, Bytes font = Bytes());

// An unchecked flat check box with its caption on the right, left-aligned and
// centred vertically, in black on the back colour.
qy::CheckBoxData FlatCheckBox(const char* caption, uint32_t backColor);

// An event binding by the name of the application subroutine it calls.
struct Binding {
    int32_t event;
    std::string handler;
};

struct FormUnit {
    uint32_t id;
    std::string name;
    uint32_t type;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t state = 0;
    Bytes cursor;
    std::vector<Binding> bindings;
    Bytes ownData;

    FormUnit& At(int32_t l, int32_t t, int32_t w, int32_t h) {
        left = l, top = t, width = w, height = h;
        return *this;
    }
    FormUnit& State(uint32_t s) {
        state = s;
        return *this;
    }
    FormUnit& On(int32_t event, const std::string& handler) {
        bindings.push_back({event, handler});
        return *this;
    }
    FormUnit& Cursor(int32_t cursorId) {
        cursor = StandardCursor(cursorId);
        return *this;
    }
    FormUnit& Data(const Bytes& data) {
        ownData = data;
        return *this;
    }
};

struct Form {
    uint32_t windowId;
    uint32_t stamp;
    uint32_t key;
    FormUnit window;  // the window's own unit, entry 0
    std::vector<FormUnit> units;

    // The window's own unit, with the window's own properties.
    FormUnit& Window(uint32_t id, const qy::WindowData& data) {
        window = FormUnit{id, "", kWindow, 0, 0, 0, 0, 0, {}, {}, {}};
        return window.Data(data.Write());
    }
    FormUnit& Add(uint32_t id, const std::string& name, uint32_t type) {
        units.push_back(FormUnit{id, name, type, 0, 0, 0, 0, 0, {}, {}, {}});
        return units.back();
    }
};

// The program's four windows, in directory order.
Form MainWindow();
Form StyleWindow();
Form SkinWindow();
Form HelpWindow();

// The application's event subroutines in code order; the first one lies at
// the code base itself, each next one a slot further.
const std::vector<std::string>& EventSubroutines();

// Bytes of the stack arguments an event passes to its subroutine.
int EventArgumentBytes(uint32_t type, int32_t event);

// Turns the forms into window templates; handler offsets are slot numbers
// times kHandlerSlotSize. Throws std::runtime_error on an unknown or unused
// subroutine name.
constexpr int32_t kHandlerSlotSize = 16;
std::vector<qy::WindowTemplate> BuildTemplates(const std::vector<Form>& forms);

}  // namespace forms
