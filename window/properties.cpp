// ReadProperty and WriteProperty: the common properties from the template
// record or the live window, own properties through the unit type's
// operations, converted by the property's type code.
#include <algorithm>
#include <cstring>

#include "runtime/errors.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "runtime/value.h"
#include "runtime/win32_handles.h"
#include "window/cursors.h"
#include "window/own_data.h"
#include "window/protocol.h"
#include "window/window_list.h"
#include "window/window_unit.h"

namespace qy {

namespace {
constexpr int32_t kCoordinateLimit = 32627;

uint64_t Words(uint32_t low, uint32_t high = 0) { return static_cast<uint64_t>(high) << 32 | low; }
uint64_t Pointer(const void* p) { return Words(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p))); }

int ScreenDpi() {
    ScreenDc dc;
    int dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

Bytes DefaultGuiFont() {
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    const auto* p = reinterpret_cast<const uint8_t*>(&font);
    return Bytes(p, p + sizeof font);
}

// The stored font of a unit, or the default GUI font's when it has none.
Bytes UnitFontOrDefault(const PropertyValue& v) {
    if (v.data && v.size == static_cast<int32_t>(LogFont::kSize)) return Bytes(v.data, v.data + v.size);
    return DefaultGuiFont();
}

void SetFace(Bytes& font, const std::string& face) {
    std::string name = face.empty() || face.size() > 31 ? std::string("宋体") : face;
    std::memset(&font[LogFont::kFaceName], 0, LogFont::kFaceSize);
    std::memcpy(&font[LogFont::kFaceName], name.data(), name.size());
}

int32_t FontField(const Bytes& font, int field) {
    switch (field) {
        case kFontFieldAngle: return LogFont::Int(font, LogFont::kOrientation);
        case kFontFieldBold: return LogFont::Int(font, LogFont::kWeight) >= 700 ? 1 : 0;
        case kFontFieldItalic: return font[LogFont::kItalic] ? 1 : 0;
        case kFontFieldStrikeout: return font[LogFont::kStrikeOut] ? 1 : 0;
        case kFontFieldUnderline: return font[LogFont::kUnderline] ? 1 : 0;
        case kFontFieldSize: return MulDiv(std::abs(LogFont::Int(font, LogFont::kHeight)), 72, ScreenDpi());
        default: return 0;
    }
}

void SetFontField(Bytes& font, int field, uint32_t low) {
    int32_t v = static_cast<int32_t>(low);
    switch (field) {
        case kFontFieldAngle: {
            int32_t angle = v % 3600;
            if (angle < 0) angle += 3600;
            StoreU32(&font[LogFont::kEscapement], static_cast<uint32_t>(angle));
            StoreU32(&font[LogFont::kOrientation], static_cast<uint32_t>(angle));
            break;
        }
        case kFontFieldBold: StoreU32(&font[LogFont::kWeight], v ? 700 : 400); break;
        case kFontFieldItalic: font[LogFont::kItalic] = v ? 1 : 0; break;
        case kFontFieldStrikeout: font[LogFont::kStrikeOut] = v ? 1 : 0; break;
        case kFontFieldUnderline: font[LogFont::kUnderline] = v ? 1 : 0; break;
        case kFontFieldSize: StoreU32(&font[LogFont::kHeight], static_cast<uint32_t>(-MulDiv(v, ScreenDpi(), 72))); break;
        case kFontFieldFace: {
            const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(low));
            SetFace(font, text ? std::string(text) : std::string());
            break;
        }
        default: break;
    }
}

// A font record (angle, bold, italic, strikeout, underline, size, face) to a LOGFONTA.
Bytes FontFromRecord(const uint32_t* record) {
    Bytes font(LogFont::kSize, 0);
    if (!record) {
        SetFace(font, std::string());
        return font;
    }
    StoreU32(&font[LogFont::kEscapement], record[0]);
    StoreU32(&font[LogFont::kOrientation], record[0]);
    StoreU32(&font[LogFont::kWeight], record[1] ? 700 : 0);
    font[LogFont::kItalic] = record[2] ? 1 : 0;
    font[LogFont::kStrikeOut] = record[3] ? 1 : 0;
    font[LogFont::kUnderline] = record[4] ? 1 : 0;
    StoreU32(&font[LogFont::kHeight],
             static_cast<uint32_t>(-MulDiv(static_cast<int32_t>(record[5]), ScreenDpi(), 72)));
    const char* face = reinterpret_cast<const char*>(static_cast<uintptr_t>(record[6]));
    SetFace(font, face ? std::string(face) : std::string());
    return font;
}

void* NewFontRecord(const Bytes& font) {
    auto* record = static_cast<uint32_t*>(Allocate(28));
    for (int field = kFontFieldAngle; field < kFontFieldFace; ++field) record[field] = static_cast<uint32_t>(FontField(font, field));
    std::string face = LogFont::Face(font);
    record[kFontFieldFace] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(NewText(face.data(), static_cast<int>(face.size()))));
    return record;
}

Bytes TranslateCursor(const uint8_t* data, int32_t size, bool toIndex) {
    Bytes bytes = data && size > 0 ? Bytes(data, data + size) : Bytes();
    if (bytes.size() >= 4) {
        int32_t v = static_cast<int32_t>(LoadU32(bytes.data()));
        StoreU32(bytes.data(), static_cast<uint32_t>(toIndex ? CursorIdToIndex(v) : CursorIndexToId(v)));
    }
    return bytes;
}

const PropertyInfo* OwnProperty(const DataTypeEntry* entry, int index) {
    if (!entry || index < 0 || index >= entry->propertyCount) return nullptr;
    return &static_cast<const PropertyInfo*>(entry->properties)[index];
}

bool Alive(Unit* unit) { return unit && unit->hwnd() && IsWindow(unit->hwnd()); }

RECT RectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    if (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Lets the messages already queued run before a unit is replaced.
void RunPendingMessages() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (!Runtime().PreTranslateMessage(&m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

uint64_t ReadMenuItem(const UnitTable& table, int k, int property) {
    MenuItemRecord item = DecodeMenuItem(table.body(k), table.bodyLength(k));
    switch (property) {
        case kMenuItemCaption: return Pointer(NewText(item.caption.data(), static_cast<int>(item.caption.size())));
        case kMenuItemChecked: return (item.state & kMenuChecked) ? 1 : 0;
        case kMenuItemDisabled: return (item.state & kMenuDisabled) ? 1 : 0;
        case kMenuItemVisible: return (item.state & kMenuHidden) ? 0 : 1;
        default: return 0;
    }
}

void WriteMenuItem(UnitTable& table, int k, int property, uint32_t low) {
    MenuItemRecord item = DecodeMenuItem(table.body(k), table.bodyLength(k));
    uint32_t before = item.state;
    switch (property) {
        case kMenuItemCaption: {
            const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(low));
            item.caption = text ? text : "";
            table.Replace(k, EncodeMenuItem(item));
            return;
        }
        case kMenuItemChecked: item.state = low ? (item.state | kMenuChecked) : (item.state & ~kMenuChecked); break;
        case kMenuItemDisabled: item.state = low ? (item.state | kMenuDisabled) : (item.state & ~kMenuDisabled); break;
        case kMenuItemVisible: item.state = low ? (item.state & ~kMenuHidden) : (item.state | kMenuHidden); break;
        default: return;
    }
    if (item.state != before) table.Replace(k, EncodeMenuItem(item));
}

bool IsTextKind(uint32_t kind) {
    switch (kind) {
        case kPropText:
        case kPropFileName:
        case kPropTextChoice:
        case kPropHelpFile:
        case kPropDataSource:
        case kPropDataColumn: return true;
        default: return false;
    }
}

bool IsByteSetKind(uint32_t kind) {
    switch (kind) {
        case kPropPicture:
        case kPropIcon:
        case kPropMusic:
        case kPropCustomData:
        case kPropCustomData2: return true;
        default: return false;
    }
}

uint64_t NewByteSetValue(const Bytes& bytes) {
    return Pointer(NewByteSet(bytes.data(), static_cast<int>(bytes.size())));
}

uint64_t NewTextValue(const std::string& text) { return Pointer(NewText(text.data(), static_cast<int>(text.size()))); }

// A unit's own property value as the program receives it, by the property's
// kind; `sub` picks one field of a font (-1: the whole font record).
uint64_t FromUnitValue(uint32_t kind, const PropertyValue& v, int sub) {
    if (IsTextKind(kind)) return NewTextValue(v.text ? v.text : "");
    if (IsByteSetKind(kind)) return Pointer(NewByteSet(v.data, v.data ? v.size : 0));
    switch (kind) {
        case kPropLogical: return v.i == 1 ? 1 : 0;
        case kPropDouble:
        case kPropDateTime: {
            ValueRecord r = MakeDoubleRecord(v.d);
            return Words(r.low, r.high);
        }
        case kPropMousePointer: return NewByteSetValue(TranslateCursor(v.data, v.size, true));
        case kPropFont: {
            Bytes font = UnitFontOrDefault(v);
            if (sub == -1) return Pointer(NewFontRecord(font));
            if (sub == kFontFieldFace) return NewTextValue(LogFont::Face(font));
            if (sub < kFontFieldAngle || sub > kFontFieldFace) return 0;
            return static_cast<uint32_t>(FontField(font, sub));
        }
        default: return static_cast<uint32_t>(v.i);
    }
}

// The program's value as the unit takes it, by the property's kind. Bytes
// made on the way live in `storage`; a single font field is written into
// the unit's `current` font.
PropertyValue ToUnitValue(uint32_t kind, uint32_t low, uint32_t high, int sub, const PropertyValue& current,
                          Bytes& storage) {
    PropertyValue v;
    const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(low));
    if (IsTextKind(kind)) {
        v.text = block ? static_cast<const char*>(block) : "";
        return v;
    }
    if (IsByteSetKind(kind)) {
        v.data = ByteSetData(block);
        v.size = ByteSetLength(block);
        return v;
    }
    switch (kind) {
        case kPropLogical: v.i = low != 0 ? 1 : 0; return v;
        case kPropChoice: v.i = static_cast<int32_t>(low) < 0 ? 0 : static_cast<int32_t>(low); return v;
        case kPropDouble:
        case kPropDateTime: v.d = RecordDouble(ValueRecord{low, high, kTypeDouble}); return v;
        case kPropMousePointer: storage = TranslateCursor(ByteSetData(block), ByteSetLength(block), false); break;
        case kPropFont:
            if (sub == -1) {
                storage = FontFromRecord(static_cast<const uint32_t*>(block));
            } else {
                storage = UnitFontOrDefault(current);
                if (sub >= kFontFieldAngle && sub <= kFontFieldFace) SetFontField(storage, sub, low);
            }
            break;
        default: v.i = static_cast<int32_t>(low); return v;
    }
    v.data = storage.data();
    v.size = static_cast<int32_t>(storage.size());
    return v;
}

// The unit's own property `own` through its type's get operation; false when it gives none.
bool GetOwnProperty(const DataTypeEntry* entry, Unit* unit, int own, PropertyValue* out) {
    auto get = reinterpret_cast<GetPropertyOp>(entry->interfaceFunction(kOpGetProperty));
    return get && get(unit, own, out);
}

uint64_t ReadOwnProperty(const UnitTable& table, int k, Unit* unit, int property, int sub) {
    if (!unit) WindowError(wmsg::kWindowNotLoaded);
    const DataTypeEntry* entry = FindUnitEntry(table.Field(k, kTypeRefField));
    const PropertyInfo* info = OwnProperty(entry, property);
    if (!info) return 0;
    PropertyValue v;
    if (!GetOwnProperty(entry, unit, property - kCommonPropertyCount, &v)) return 0;
    return FromUnitValue(info->kind, v, sub);
}

// The common properties: the live window's place and state while it has
// one, the template record's otherwise; tag and mouse pointer always the record's.
uint64_t ReadCommonProperty(const UnitTable& table, int k, Unit* unit, int property) {
    UnitLayout at = table.Layout(k);
    if (Alive(unit) && property != kPropertyTag && property != kPropertyMousePointer) {
        RECT r = RectInParent(unit->hwnd());
        switch (property) {
            case kPropertyLeft: return static_cast<uint32_t>(r.left);
            case kPropertyTop: return static_cast<uint32_t>(r.top);
            case kPropertyWidth: return static_cast<uint32_t>(r.right - r.left);
            case kPropertyHeight: return static_cast<uint32_t>(r.bottom - r.top);
            case kPropertyVisible: return IsWindowVisible(unit->hwnd()) ? 1 : 0;
            case kPropertyDisabled: return IsWindowEnabled(unit->hwnd()) ? 0 : 1;
            default: break;
        }
    }
    switch (property) {
        case kPropertyLeft:
        case kPropertyTop:
        case kPropertyWidth:
        case kPropertyHeight: return table.Field(k, at.geometry + 4 * static_cast<size_t>(property));
        case kPropertyTag: return NewTextValue(table.Unit(k).tag);
        case kPropertyVisible: return table.Field(k, at.state) & kStateVisible ? 1 : 0;
        case kPropertyDisabled: return table.Field(k, at.state) & kStateDisabled ? 1 : 0;
        case kPropertyMousePointer: {
            Bytes cursor = table.Unit(k).cursorData;
            return NewByteSetValue(TranslateCursor(cursor.data(), static_cast<int32_t>(cursor.size()), true));
        }
        default: return 0;
    }
}

uint32_t WithFlag(uint32_t state, uint32_t flag, bool set) { return set ? (state | flag) : (state & ~flag); }
}  // namespace

uint64_t WindowList::ReadProperty(uint32_t windowId, uint32_t unitId, int property, int sub) {
    WindowRecord* w = FindWindow(windowId);
    if (!w) WindowError(wmsg::kNoWindow);
    int k = FindUnit(*w, unitId);
    if (k < 0) WindowError(msg::kNoSuchUnit);
    if (w->units.IsMenuItem(k)) return ReadMenuItem(w->units, k, property);
    Unit* unit = Object(*w, k);
    if (property >= kCommonPropertyCount) return ReadOwnProperty(w->units, k, unit, property, sub);
    return ReadCommonProperty(w->units, k, unit, property);
}

void WindowList::WriteProperty(uint32_t windowId, uint32_t unitId, int property, int sub, uint32_t low,
                               uint32_t high) {
    WindowRecord* w = FindWindow(windowId);
    if (!w) WindowError(wmsg::kNoWindow);
    int k = FindUnit(*w, unitId);
    if (k < 0) WindowError(msg::kNoSuchUnit);
    if (w->units.IsMenuItem(k)) {
        WriteMenuItem(w->units, k, property, low);
        return;
    }
    if (property >= kCommonPropertyCount) {
        WriteOwnProperty(*w, k, unitId, property, sub, low, high);
    } else {
        WriteCommonProperty(*w, k, property, low);
    }
}

void WindowList::WriteOwnProperty(WindowRecord& w, int k, uint32_t unitId, int property, int sub, uint32_t low,
                                  uint32_t high) {
    Unit* unit = Object(w, k);
    if (!unit) WindowError(wmsg::kWindowNotLoaded);
    const DataTypeEntry* entry = FindUnitEntry(w.units.Field(k, kTypeRefField));
    const PropertyInfo* info = OwnProperty(entry, property);
    if (!info) return;
    int own = property - kCommonPropertyCount;
    PropertyValue current;
    if (info->kind == kPropFont && sub != -1) GetOwnProperty(entry, unit, own, &current);
    Bytes storage;
    PropertyValue v = ToUnitValue(info->kind, low, high, sub, current, storage);
    auto changed = reinterpret_cast<PropertyChangedOp>(entry->interfaceFunction(kOpPropertyChanged));
    if (!changed || changed(unit, own, &v) != kRecreateUnit) return;
    // The unit asks to be re-created; the messages already queued run first.
    uint32_t windowId = w.id;
    RunPendingMessages();
    // The window may have gone while the queued messages ran.
    WindowRecord* again = FindWindow(windowId);
    if (again && LiveWindow(*again)) {
        EventHold hold;
        RecreateUnit(*again, FindUnit(*again, unitId));
    }
}

void WindowList::WriteCommonProperty(WindowRecord& w, int k, int property, uint32_t low) {
    Unit* unit = Object(w, k);
    UnitLayout at = w.units.Layout(k);
    int32_t value = static_cast<int32_t>(low);
    switch (property) {
        case kPropertyLeft:
        case kPropertyTop:
        case kPropertyWidth:
        case kPropertyHeight: {
            value = std::clamp(value, property <= kPropertyTop ? -kCoordinateLimit : 0, kCoordinateLimit);
            w.units.SetField(k, at.geometry + 4 * static_cast<size_t>(property), static_cast<uint32_t>(value));
            if (Alive(unit)) {
                RECT r = RectInParent(unit->hwnd());
                int x = property == kPropertyLeft ? value : r.left, y = property == kPropertyTop ? value : r.top;
                int cx = property == kPropertyWidth ? value : r.right - r.left, cy = property == kPropertyHeight ? value : r.bottom - r.top;
                UINT keep = property <= kPropertyTop ? SWP_NOSIZE : SWP_NOMOVE;
                SetWindowPos(unit->hwnd(), nullptr, x, y, cx, cy, keep | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return;
        }
        case kPropertyTag: {
            UnitRecord record = w.units.Unit(k);
            const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(low));
            record.tag = text ? text : "";
            w.units.ReplaceUnit(k, record);
            return;
        }
        case kPropertyVisible: {
            w.units.SetField(k, at.state, WithFlag(w.units.Field(k, at.state), kStateVisible, low != 0));
            if (!Alive(unit)) return;
            if (k == 0 && low) {
                if (w.freshlyLoaded) {
                    ShowLoadedWindow(w);
                    AfterLoad(w);
                } else {
                    ShowWindow(unit->hwnd(), SW_SHOW);
                }
                return;
            }
            ShowWindow(unit->hwnd(), low ? (k == 0 ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
            return;
        }
        case kPropertyDisabled: {
            w.units.SetField(k, at.state, WithFlag(w.units.Field(k, at.state), kStateDisabled, low != 0));
            if (Alive(unit)) EnableWindow(unit->hwnd(), low ? FALSE : TRUE);
            return;
        }
        case kPropertyMousePointer: {
            const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(low));
            Bytes cursorData = TranslateCursor(ByteSetData(block), ByteSetLength(block), false);
            if (HCURSOR old = reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(w.units.Field(k, at.cursorSlot))))
                DestroyUnitCursor(old);
            HCURSOR cursor = unit ? CreateUnitCursor(cursorData.data(), static_cast<int32_t>(cursorData.size())) : nullptr;
            UnitRecord record = w.units.Unit(k);
            record.cursorData = cursorData;
            record.cursorSlot = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cursor));
            w.units.ReplaceUnit(k, record);
            if (Alive(unit)) {
                POINT p;
                GetCursorPos(&p);
                SetCursorPos(p.x, p.y);
            }
            return;
        }
        default: return;
    }
}

}  // namespace qy
