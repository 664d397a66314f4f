#include "window/window_list.h"

#include <algorithm>

#include "runtime/archive.h"
#include "runtime/errors.h"
#include "runtime/events.h"
#include "runtime/runtime_app.h"
#include "runtime/services.h"
#include "runtime/win32_handles.h"
#include "window/cursors.h"
#include "window/placeholder.h"
#include "window/window_unit.h"

namespace qy {

namespace wmsg {
const char* const kNoWindow = "未载入欲访问窗口组件所在的窗口";
const char* const kWindowNotLoaded = "指定窗口尚未载入";
const char* const kNoEventWindow = "未找到引发事件的窗口";
const char* const kNoEventUnit = "未找到引发事件的窗口组件";
const char* const kEventUnitInvalid = "引发事件的窗口组件无效";
const char* const kLibraryFailed = "因所在支持库载入出错而无法创建";
}  // namespace wmsg

void WindowError(const char* message) { ShowRuntimeError(message); }

WindowList& Windows() {
    static WindowList list;
    return list;
}

const DataTypeEntry* FindUnitEntry(uint32_t typeRef) {
    const DataTypeEntry* entry = FindDataType(typeRef);
    return entry && entry->interfaceFunction ? entry : nullptr;
}

namespace {
// A unit-type reference whose library is not in the program's list.
bool LibraryMissing(uint32_t typeRef) {
    size_t library = TypeLibrary(typeRef);
    const auto& libraries = Runtime().libraries();
    return library >= 1 && (library > libraries.size() || !libraries[library - 1]);
}

Unit* CreateThrough(const DataTypeEntry* entry, const Bytes& data, DWORD style, HWND parent, UINT id, HMENU menu,
                    const UnitRecord& r, uint32_t windowId, uint32_t unitId) {
    auto create = reinterpret_cast<CreateUnitOp>(entry->interfaceFunction(kOpCreate));
    if (!create) return nullptr;
    return create(data.data(), static_cast<int>(data.size()), style, parent, id, menu, r.left, r.top, r.width,
                  r.height, windowId, unitId, 0, 0);
}
}  // namespace

void WindowList::LoadSegment(LoadingArchive& archive) {
    std::vector<WindowTemplate> parsed = ReadSegment(archive);
    for (WindowTemplate& t : parsed) {
        auto* record = new WindowRecord;
        record->id = t.id;
        record->stamp = t.stamp;
        record->key = t.key;
        record->textA = std::move(t.textA);
        record->textB = std::move(t.textB);
        record->units = std::move(t.units);
        windows_.push_back(record);
    }
    RebuildDirectory();
}

void WindowList::RelocateHandlers(uintptr_t codeBase) {
    for (WindowRecord* w : windows_) w->units.RelocateHandlers(static_cast<uint32_t>(codeBase));
}

void WindowList::RebuildDirectory() {
    directory_.clear();
    for (WindowRecord* w : windows_) directory_.push_back(w->id);
    for (WindowRecord* w : windows_) directory_.push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(w)));
}

void* WindowList::Collection() { return directory_.data(); }

void WindowList::Clear() {
    DestroyAll();
    for (WindowRecord* w : windows_) delete w;
    windows_.clear();
    directory_.clear();
}

void WindowList::DestroyAll() {
    for (WindowRecord* w : windows_) {
        if (WindowUnit* live = LiveWindow(*w)) {
            EndModal(*w);
            DestroyWindow(live->hwnd());
        }
    }
}

bool WindowList::AnyWindowExists() {
    for (WindowRecord* w : windows_)
        if (LiveWindow(*w)) return true;
    return false;
}

WindowRecord* WindowList::FindWindow(uint32_t windowId) {
    if (!IsValidId(windowId) || windows_.empty()) return nullptr;
    if (windows_[0]->id == windowId) return windows_[0];
    for (WindowRecord* w : windows_)
        if (w->id == windowId) return w;
    return nullptr;
}

int WindowList::FindUnit(const WindowRecord& window, uint32_t unitId) const {
    if (unitId == 0) return window.units.count() > 0 ? 0 : -1;
    return window.units.Find(unitId);
}

Unit* WindowList::Object(const WindowRecord& window, int index) const {
    if (index < 0 || index >= window.units.count() || window.units.IsMenuItem(index)) return nullptr;
    UnitLayout at = window.units.Layout(index);
    return reinterpret_cast<Unit*>(static_cast<uintptr_t>(window.units.Field(index, at.objectSlot)));
}

WindowUnit* WindowList::LiveWindow(const WindowRecord& window) const {
    return static_cast<WindowUnit*>(Object(window, 0));
}

Unit* WindowList::FindUnitObject(uint32_t windowId, uint32_t unitId, bool report) {
    WindowRecord* w = FindWindow(windowId);
    Unit* unit = w ? Object(*w, FindUnit(*w, unitId)) : nullptr;
    bool alive = unit && ((unit->type().flags & kTypeNoWindow) || (unit->hwnd() && IsWindow(unit->hwnd())));
    if (!alive) {
        if (report) WindowError(msg::kNoSuchUnit);
        return nullptr;
    }
    return unit;
}

void* WindowList::LiveObject(uint32_t windowId, uint32_t unitId, bool report) {
    return FindUnitObject(windowId, unitId, report);
}

HCURSOR WindowList::UnitCursor(uint32_t windowId, uint32_t unitId) {
    WindowRecord* w = FindWindow(windowId);
    if (!w) return nullptr;
    int k = FindUnit(*w, unitId);
    if (k < 0 || w->units.IsMenuItem(k)) return nullptr;
    return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(w->units.Field(k, w->units.Layout(k).cursorSlot)));
}

bool WindowList::CreateUnits(WindowRecord& w, HWND parent, std::vector<int>* shown) {
    UINT controlId = 100;
    for (int k = w.units.count() - 1; k >= 1; --k) {
        if (w.units.IsMenuItem(k)) continue;
        UnitRecord r = w.units.Unit(k);
        DWORD style = WS_CHILD;
        if (r.state & kStateDisabled) style |= WS_DISABLED;
        if (r.state & kStateTabStop) style |= WS_TABSTOP;
        const DataTypeEntry* entry = FindUnitEntry(r.typeRef);
        Unit* unit = nullptr;
        bool visible = (r.state & kStateVisible) != 0;
        if (entry) {
            visible = visible && !(entry->stateFlags & kTypeNeverShownAtLoad);
            unit = CreateThrough(entry, r.ownData, style, parent, controlId, nullptr, r, w.id, w.units.id(k));
        } else if (LibraryMissing(r.typeRef)) {
            UnitCreation c{r.ownData.data(), static_cast<int>(r.ownData.size()), style, parent, controlId, nullptr,
                           r.left, r.top, r.width, r.height, w.id, w.units.id(k)};
            unit = CreatePlaceholder(c);
        }
        if (!unit) return false;
        controlId += 10;
        w.units.SetField(k, w.units.Layout(k).objectSlot, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(unit)));
        if (visible) shown->push_back(k);
    }
    return true;
}

bool WindowList::LoadWindow(WindowRecord& w, bool reactivate, bool modal, HWND owner, bool postLoad) {
    if (!reactivate && BringForward(w)) return true;
    if (modal) owner = nullptr;
    if (owner && !IsWindow(owner)) return false;
    if (w.units.count() == 0) return false;

    std::vector<int> shown;
    HWND windowHandle = nullptr;
    {
        EventHold hold;
        Unit* window = CreateWindowUnit(w, modal, owner);
        if (!window) return false;
        windowHandle = window->hwnd();
        if (!CreateUnits(w, windowHandle, &shown)) {
            DestroyWindow(windowHandle);
            return false;
        }
        ReparentAndStack(w);
        CreateCursors(w);
        NotifyLoaded(w, windowHandle, shown);
    }

    for (int event : {kWindowCreated, kWindowMoved, kWindowResized}) {
        WindowUnit* live = LiveWindow(w);
        if (!live || live->hwnd() != windowHandle) return true;
        live->RaiseEvent(event);
    }
    if (!LiveWindow(w) || !IsWindow(windowHandle)) return true;
    if (w.units.Field(0, w.units.Layout(0).state) & kStateVisible) ShowLoadedWindow(w);
    if (!LiveWindow(w)) return true;
    if (modal) DisableOthersForModal(w);
    NotifyShown(w);
    w.freshlyLoaded = true;
    if (postLoad) AfterLoad(w);
    return true;
}

bool WindowList::BringForward(const WindowRecord& w) {
    WindowUnit* live = LiveWindow(w);
    if (!live) return false;
    if (IsIconic(live->hwnd())) {
        ShowWindow(live->hwnd(), SW_RESTORE);
    } else {
        SetActiveWindow(live->hwnd());
        SetForegroundWindow(live->hwnd());
    }
    return true;
}

Unit* WindowList::CreateWindowUnit(WindowRecord& w, bool modal, HWND owner) {
    w.snapshot = w.units;
    UnitRecord own = w.units.Unit(0);
    const DataTypeEntry* entry = FindUnitEntry(own.typeRef);
    WindowData data;
    if (!ReadOwnData(own.ownData.data(), own.ownData.size(), &data)) entry = nullptr;
    if (!entry) {
        w.snapshot = UnitTable();
        return nullptr;
    }
    if (modal || !data.showInTaskbar) owner = Runtime().hiddenOwnerHandle();
    DWORD style = (own.state & kStateDisabled) ? WS_DISABLED : 0;
    Unit* window = CreateThrough(entry, own.ownData, style, owner, 0, w.menu.get(), own, w.id, w.units.id(0));
    if (!window) {
        w.menu.reset();
        w.snapshot = UnitTable();
        return nullptr;
    }
    w.units.SetField(0, w.units.Layout(0).objectSlot, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)));
    return window;
}

void WindowList::ReparentAndStack(WindowRecord& w) {
    // Units on a container go onto the container's window.
    for (int k = 1; k < w.units.count(); ++k) {
        if (w.units.IsMenuItem(k)) continue;
        uint32_t container = w.units.Field(k, w.units.Layout(k).containerId);
        if (!container) continue;
        Unit* holder = Object(w, w.units.Find(container));
        Unit* unit = Object(w, k);
        if (holder && holder->hwnd() && unit && unit->hwnd()) SetParent(unit->hwnd(), holder->hwnd());
    }
    // Table order is the top-to-bottom order among units of one container.
    std::vector<std::pair<uint32_t, HWND>> above;
    for (int k = 1; k < w.units.count(); ++k) {
        Unit* unit = Object(w, k);
        if (!unit || !unit->hwnd()) continue;
        uint32_t container = w.units.Field(k, w.units.Layout(k).containerId);
        auto it = std::find_if(above.begin(), above.end(), [&](const auto& p) { return p.first == container; });
        HWND after = it == above.end() ? HWND_TOP : it->second;
        SetWindowPos(unit->hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (it == above.end()) {
            above.emplace_back(container, unit->hwnd());
        } else {
            it->second = unit->hwnd();
        }
    }
}

void WindowList::CreateCursors(WindowRecord& w) {
    for (int k = 0; k < w.units.count(); ++k) {
        if (w.units.IsMenuItem(k)) continue;
        UnitLayout at = w.units.Layout(k);
        const uint8_t* body = w.units.body(k);
        int32_t length = static_cast<int32_t>(LoadU32(body + at.cursorData));
        HCURSOR cursor = CreateUnitCursor(body + at.cursorData + 4, length);
        w.units.SetField(k, at.cursorSlot, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cursor)));
    }
}

void WindowList::NotifyLoaded(WindowRecord& w, HWND windowHandle, const std::vector<int>& shown) {
    for (int k = w.units.count() - 1; k >= 1; --k)
        if (Unit* unit = Object(w, k); unit && unit->hwnd()) SendMessageA(unit->hwnd(), kUnitLoadedMessage, 0, 0);
    SendMessageA(windowHandle, kWindowLayoutMessage, 0, 0);
    for (int k : shown)
        if (Unit* unit = Object(w, k); unit && unit->hwnd()) ShowWindow(unit->hwnd(), SW_SHOWNA);
}

void WindowList::DisableOthersForModal(WindowRecord& w) {
    w.modal = true;
    w.disabledByModal.clear();
    for (WindowRecord* other : windows_) {
        WindowUnit* otherLive = other == &w ? nullptr : LiveWindow(*other);
        if (!otherLive) continue;
        w.disabledByModal.emplace_back(otherLive->hwnd(), IsWindowEnabled(otherLive->hwnd()) != FALSE);
        EnableWindow(otherLive->hwnd(), FALSE);
    }
}

void WindowList::NotifyShown(WindowRecord& w) {
    // A unit may take the focus while it learns it is shown; the one that had it keeps it.
    HWND focus = GetFocus();
    for (int k = w.units.count() - 1; k >= 1; --k)
        if (Unit* unit = Object(w, k); unit && unit->hwnd()) SendMessageA(unit->hwnd(), kUnitShownMessage, 0, 0);
    if (focus && IsWindow(focus) && GetFocus() != focus) SetFocus(focus);
}

void WindowList::ShowLoadedWindow(WindowRecord& w) {
    WindowUnit* live = LiveWindow(w);
    if (!live) return;
    live->ShowInitially();
    // Initial focus: the visible, enabled, focusable unit first in tab order.
    HWND best = nullptr;
    int32_t bestOrder = 0;
    for (int k = 1; k < w.units.count(); ++k) {
        Unit* unit = Object(w, k);
        if (!unit || !unit->hwnd()) continue;
        HWND h = unit->hwnd();
        if (!IsWindowVisible(h) || !IsWindowEnabled(h) || !(GetWindowLongPtrA(h, GWL_STYLE) & WS_TABSTOP)) continue;
        int32_t order = static_cast<int32_t>(w.units.Field(k, w.units.Layout(k).tabOrder));
        if (!best || order < bestOrder) best = h, bestOrder = order;
    }
    if (best && IsWindow(live->hwnd()) && GetActiveWindow() == live->hwnd()) SetFocus(best);
}

void WindowList::AfterLoad(WindowRecord& w) {
    WindowUnit* live = LiveWindow(w);
    if (!live || !(w.units.Field(0, w.units.Layout(0).state) & kStateVisible)) return;
    w.freshlyLoaded = false;
    if (!w.modal) return;
    HWND owner = GetWindow(live->hwnd(), GW_OWNER);
    if (owner && (GetWindowLongPtrA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST))
        SetWindowPos(live->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RuntimeApp& app = Runtime();
    uint32_t previous = app.modalWindowId();
    app.SetModalWindowId(w.id);
    app.RunMessageLoop(true);
    app.SetModalWindowId(previous);
}

void WindowList::EndModal(WindowRecord& w) {
    if (!w.modal) return;
    w.modal = false;
    for (const auto& entry : w.disabledByModal)
        if (IsWindow(entry.first)) EnableWindow(entry.first, entry.second ? TRUE : FALSE);
    w.disabledByModal.clear();
}

bool WindowList::LoadStartupWindow(uint32_t windowId) {
    WindowRecord* w = FindWindow(windowId);
    return w && LoadWindow(*w, false, false, nullptr, false);
}

int WindowList::LoadRequest(void* request) {
    auto* r = static_cast<LoadRequestRecord*>(request);
    WindowRecord* w = r ? FindWindow(r->windowId) : nullptr;
    if (!w) return -1;
    HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(r->owner));
    return LoadWindow(*w, false, r->modal != 0, owner, true) ? 0 : -1;
}

void WindowList::RecreateUnit(WindowRecord& w, int index) {
    Unit* old = Object(w, index);
    if (!old || (old->type().flags & kTypeNoWindow) || !old->hwnd()) return;
    const DataTypeEntry* entry = FindUnitEntry(w.units.Unit(index).typeRef);
    if (!entry) return;
    auto getAll = reinterpret_cast<GetAllDataOp>(entry->interfaceFunction(kOpGetAllData));
    if (!getAll) return;
    Bytes data;
    if (HGLOBAL block = getAll(old)) {
        if (void* p = GlobalLock(block)) {
            data.assign(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + GlobalSize(block));
            GlobalUnlock(block);
        }
        GlobalFree(block);
    }
    HWND oldWindow = old->hwnd();
    HWND parent = GetParent(oldWindow);
    RECT r;
    GetWindowRect(oldWindow, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    bool hadFocus = GetFocus() == oldWindow || IsChild(oldWindow, GetFocus());
    HWND focus = GetFocus();
    bool visible = IsWindowVisible(oldWindow) != FALSE;
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(oldWindow, GWL_STYLE)) & (WS_DISABLED | WS_TABSTOP | WS_GROUP);
    style |= WS_CHILD;
    UINT controlId = static_cast<UINT>(GetDlgCtrlID(oldWindow));

    UnitRecord record = w.units.Unit(index);
    record.left = r.left;
    record.top = r.top;
    record.width = r.right - r.left;
    record.height = r.bottom - r.top;
    Unit* fresh = CreateThrough(entry, data, style, parent, controlId, nullptr, record, w.id, w.units.id(index));
    if (!fresh) return;
    if (old->type().flags & kTypeContainer) {
        for (HWND child = GetWindow(oldWindow, GW_CHILD); child;) {
            HWND next = GetWindow(child, GW_HWNDNEXT);
            SetParent(child, fresh->hwnd());
            child = next;
        }
    }
    w.units.SetField(index, w.units.Layout(index).objectSlot,
                     static_cast<uint32_t>(reinterpret_cast<uintptr_t>(fresh)));
    SetWindowPos(fresh->hwnd(), oldWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(fresh->hwnd(), kUnitLoadedMessage, 0, 0);
    SendMessageA(fresh->hwnd(), kUnitShownMessage, 0, 0);
    if (entry->stateFlags & kTypeNotifyParent) SendMessageA(parent, kWindowLayoutMessage, 0, 0);
    if (visible) ShowWindow(fresh->hwnd(), SW_SHOWNA);
    recreating_ = true;
    DestroyWindow(oldWindow);
    recreating_ = false;
    if (hadFocus) {
        SetFocus(fresh->hwnd());
    } else if (focus && IsWindow(focus)) {
        SetFocus(focus);
    }
}

void WindowList::UnitDestroyed(uint32_t windowId, uint32_t unitId) {
    if (recreating_) return;
    WindowRecord* w = FindWindow(windowId);
    if (!w) return;
    int k = FindUnit(*w, unitId);
    if (k < 0) return;
    if (k == 0) {
        WindowDestroyed(windowId);
        return;
    }
    UnitLayout at = w->units.Layout(k);
    if (HCURSOR cursor = reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(w->units.Field(k, at.cursorSlot))))
        DestroyUnitCursor(cursor);
    w->units.SetField(k, at.cursorSlot, 0);
    w->units.SetField(k, at.objectSlot, 0);
}

void WindowList::WindowDestroyed(uint32_t windowId) {
    WindowRecord* w = FindWindow(windowId);
    if (!w || !LiveWindow(*w)) return;
    EndModal(*w);
    // Windowless units and cursors go with the window.
    for (int k = 0; k < w->units.count(); ++k) {
        if (w->units.IsMenuItem(k)) continue;
        UnitLayout at = w->units.Layout(k);
        if (HCURSOR cursor = reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(w->units.Field(k, at.cursorSlot))))
            DestroyUnitCursor(cursor);
        w->units.SetField(k, at.cursorSlot, 0);
        Unit* unit = Object(*w, k);
        if (k > 0 && unit && !unit->hwnd()) delete unit;
        w->units.SetField(k, at.objectSlot, 0);
    }
    if (w->snapshot.count() > 0) w->units = w->snapshot;
    w->snapshot = UnitTable();
    w->freshlyLoaded = false;
    w->menu.reset();
    w->accelerators.reset();
    RuntimeApp& app = Runtime();
    if (app.modalWindowId() == windowId) app.SetModalWindowId(0);
    if (!AnyWindowExists()) app.LastWindowGone();
}

namespace {
// The unit whose bindings answer for unit k: its event source link followed
// to a unit of the same type.
int EventSource(const UnitTable& units, int k) {
    for (int hops = 0; hops < units.count() && !units.IsMenuItem(k); ++hops) {
        uint32_t link = units.Field(k, kEventSourceField);
        int linked = link ? units.Find(link) : -1;
        if (linked < 0 || units.IsMenuItem(linked) || units.Field(linked, kTypeRefField) != units.Field(k, kTypeRefField)) break;
        k = linked;
    }
    return k;
}

// The subroutine bound to the event of unit k (an event source), or 0.
uint32_t BoundHandler(const UnitTable& units, int k, int event) {
    if (units.IsMenuItem(k)) return units.Field(k, LocateMenuHandler(units.body(k), units.bodyLength(k)));
    UnitLayout at = units.Layout(k);
    uint32_t count = units.Field(k, at.bindingCount);
    for (uint32_t i = 0; i < count; ++i) {
        size_t binding = at.bindingCount + 4 + 8 * i;
        if (static_cast<int32_t>(units.Field(k, binding)) == event) return units.Field(k, binding + 4);
    }
    return 0;
}
}  // namespace

int WindowList::RaiseEvent(uint32_t* record, bool longRecord) {
    if (Runtime().eventHolds() > 0) return 0;
    WindowRecord* w = FindWindow(record[0]);
    if (!w) WindowError(wmsg::kNoEventWindow);
    int k = FindUnit(*w, record[1]);
    if (k < 0) WindowError(wmsg::kNoEventUnit);
    uint32_t unitId = w->units.id(k);
    k = EventSource(w->units, k);
    const DataTypeEntry* entry = FindDataType(w->units.Field(k, kTypeRefField));
    if (!entry || !(entry->stateFlags & (kTypeMayRaiseEvents | kTypeMayRaiseEvents4))) WindowError(wmsg::kEventUnitInvalid);
    uint32_t handler = BoundHandler(w->units, k, static_cast<int32_t>(record[2]));
    if (!handler) return 0;
    uint32_t savedWindow = eventWindow, savedUnit = eventUnit;
    eventWindow = record[0];
    eventUnit = unitId;
    DeliverEvent(reinterpret_cast<const void*>(static_cast<uintptr_t>(handler)), record, longRecord);
    eventWindow = savedWindow;
    eventUnit = savedUnit;
    return 1;
}

bool WindowList::HandlesEvent(uint32_t windowId, uint32_t unitId, int event) {
    WindowRecord* w = FindWindow(windowId);
    int k = w ? FindUnit(*w, unitId) : -1;
    return k >= 0 && BoundHandler(w->units, EventSource(w->units, k), event) != 0;
}

bool WindowList::IdleEvents(uint32_t elapsedMs, std::vector<uint32_t>& done) {
    bool more = false;
    for (size_t i = 0; i < windows_.size(); ++i) {
        WindowRecord* w = windows_[i];
        WindowUnit* live = LiveWindow(*w);
        if (!live || std::find(done.begin(), done.end(), w->id) != done.end()) continue;
        int32_t answer = 0;
        if (live->RaiseEvent(kWindowIdle, {static_cast<int32_t>(elapsedMs)}, &answer) && answer != 0) {
            more = true;
        } else {
            done.push_back(w->id);
        }
    }
    return more;
}

}  // namespace qy
