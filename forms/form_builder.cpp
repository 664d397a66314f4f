#include "forms/form_builder.h"

#include <map>
#include <set>
#include <stdexcept>
#include <utility>

#include "window/protocol.h"

namespace forms {

Bytes StandardCursor(int32_t cursorId) {
    qy::ByteWriter out;
    out.I32(cursorId);
    return out.Take();
}

qy::WindowData WindowProperties(const char* caption, int32_t border, uint32_t backColor, int32_t maxButton) {
    qy::WindowData w;
    w.caption = caption;
    w.border = border;
    w.backColor = backColor;
    w.maxButton = maxButton;
    w.minButton = 1;
    w.controlBox = 1;
    w.closable = 1;
    w.position = qy::window::kCentred;
    w.showInTaskbar = 1;
    w.escCloses = 1;
    return w;
}

Bytes CaptionButton(const char* caption, Bytes font) {
    qy::ButtonData d;
    d.caption = caption;
    d.type = 0;
    d.hAlign = 1;
    d.vAlign = 1;
    d.font = std::move(font);
    return d.Write();
}

qy::CheckBoxData FlatCheckBox(const char* caption, uint32_t backColor) {
    qy::CheckBoxData d;
    d.caption = caption;
    d.flat = 1;
    d.checked = 0;
    d.hAlign = 0;
    d.vAlign = 1;
    d.textColor = 0;
    d.backColor = backColor;
    return d;
}

int EventArgumentBytes(uint32_t type, int32_t event) {
    if (event < 0) {
        switch (event) {
            case qy::kEventGotFocus:
            case qy::kEventLostFocus: return 0;
            case qy::kEventKeyDown:
            case qy::kEventKeyUp:
            case qy::kEventWheel: return 8;
            case qy::kEventChar: return 4;
            default: return 12;  // mouse: x, y, key state
        }
    }
    if (type == kWindow)
        return event == qy::kWindowIdle || event == qy::kWindowTrayIcon || event == qy::kWindowFilesDropped ? 4 : 0;
    if (type == kDrawPanel && event == qy::draw_panel::kPaint) return 16;  // paint: left, top, right, bottom
    return 0;
}

namespace {
qy::UnitRecord Record(const FormUnit& unit, int32_t tabOrder, const std::map<std::string, int32_t>& slots,
                      std::set<std::string>& used) {
    qy::UnitRecord r;
    r.typeRef = unit.type;
    r.name = unit.name;
    r.left = unit.left;
    r.top = unit.top;
    r.width = unit.width;
    r.height = unit.height;
    r.cursorData = unit.cursor;
    r.state = unit.state;
    r.tabOrder = tabOrder;
    for (const Binding& b : unit.bindings) {
        auto it = slots.find(b.handler);
        if (it == slots.end()) throw std::runtime_error("unknown event subroutine " + b.handler);
        if (!used.insert(b.handler).second) throw std::runtime_error("event subroutine bound twice: " + b.handler);
        r.bindings.push_back({b.event, it->second * kHandlerSlotSize});
    }
    r.ownData = unit.ownData;
    return r;
}
}  // namespace

std::vector<qy::WindowTemplate> BuildTemplates(const std::vector<Form>& forms) {
    std::map<std::string, int32_t> slots;
    const std::vector<std::string>& names = EventSubroutines();
    for (size_t i = 0; i < names.size(); ++i) {
        if (!slots.emplace(names[i], static_cast<int32_t>(i)).second)
            throw std::runtime_error("event subroutine listed twice: " + names[i]);
    }
    std::set<std::string> used;
    std::vector<qy::WindowTemplate> windows;
    for (const Form& form : forms) {
        std::vector<std::pair<uint32_t, Bytes>> records;
        records.emplace_back(form.window.id, qy::EncodeUnit(Record(form.window, 0, slots, used)));
        int32_t tabOrder = 1;
        for (const FormUnit& unit : form.units)
            records.emplace_back(unit.id, qy::EncodeUnit(Record(unit, tabOrder++, slots, used)));
        qy::WindowTemplate w;
        w.id = form.windowId;
        w.stamp = form.stamp;
        w.key = form.key;
        w.units = qy::UnitTable::Build(records);
        windows.push_back(std::move(w));
    }
    for (const std::string& name : names)
        if (!used.count(name)) throw std::runtime_error("event subroutine never bound: " + name);
    return windows;
}

}  // namespace forms
