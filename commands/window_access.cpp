#include "commands/window_access.h"

#include "window/window_list.h"
#include "window/window_unit.h"

namespace qy {

namespace {
// A unit reference carries the window id in word 0 and the unit id in word 1.
Unit* LiveUnit(const ValueRecord& reference) {
    return Windows().FindUnitObject(reference.low, reference.high, true);
}
}  // namespace

HWND ReferencedWindow(const ValueRecord& reference) { return LiveUnit(reference)->hwnd(); }

void DestroyReferenced(const ValueRecord& reference, bool now) {
    Unit* unit = LiveUnit(reference);
    if (&unit->type() == &kWindowType) {
        static_cast<WindowUnit*>(unit)->RequestClose(now);
        return;
    }
    // The window system clears the unit's slots as its native window goes.
    if (unit->hwnd()) DestroyWindow(unit->hwnd());
}

}  // namespace qy
