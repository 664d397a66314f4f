// Commands on the program's windows and units: loading a window, closing a
// window or destroying a unit, focus, repainting and native handles.
#include <windows.h>

#include "runtime/command_args.h"
#include "commands/command_table.h"
#include "runtime/services.h"
#include "runtime/win32_handles.h"
#include "window/window_list.h"
#include "window/window_unit.h"

namespace qy {
namespace commands {

namespace {
// What kNotifyLoadWindow takes: window id, owner window, modal flag.
struct LoadRequest {
    uint32_t windowId;
    uint32_t owner;
    uint32_t modal;
};

// The unit a reference names: the window id in word 0 and the unit id in
// word 1. A reference that names nothing live stops the program with the
// window system's error.
Unit* LiveUnit(const ValueRecord& reference) {
    return Windows().FindUnitObject(reference.low, reference.high, true);
}

// The native window of the referenced window or unit; null for a unit
// without one.
HWND ReferencedWindow(const ValueRecord& reference) { return LiveUnit(reference)->hwnd(); }

// Closes a referenced window (at once, or through its posted close request)
// or destroys a referenced unit's native window.
void DestroyReferenced(const ValueRecord& reference, bool now) {
    Unit* unit = LiveUnit(reference);
    if (&unit->type() == &kWindowType) {
        static_cast<WindowUnit*>(unit)->RequestClose(now);
        return;
    }
    // The window system clears the unit's slots as its native window goes.
    DestroyWindow(unit->hwnd());
}
}  // namespace

void __cdecl LoadWindow(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    HWND owner = IsOmitted(args[1]) ? nullptr : ReferencedWindow(args[1]);
    LoadRequest request{args[0].low, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner)),
                        IntArgument(args[2]) != 0 ? 1u : 0u};
    int32_t answer = RuntimeNotify(kNotifyLoadWindow, static_cast<int32_t>(reinterpret_cast<uintptr_t>(&request)), 0);
    SetIntResult(result, answer == 0 ? 1 : 0);
}

void __cdecl Destroy(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    DestroyReferenced(args[0], !IsOmitted(args[1]) && IntArgument(args[1]) != 0);
}

void __cdecl FocusUnit(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    if (HWND hwnd = ReferencedWindow(args[0])) SetFocus(hwnd);
}

void __cdecl UpdateDisplay(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    if (HWND hwnd = ReferencedWindow(args[0])) UpdateWindow(hwnd);
}

void __cdecl GetWindowHandle(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    SetIntResult(result, static_cast<int32_t>(reinterpret_cast<uintptr_t>(ReferencedWindow(args[0]))));
}

}  // namespace commands
}  // namespace qy
