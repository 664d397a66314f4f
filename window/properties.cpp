// ReadProperty and WriteProperty: the common properties from the template
// record or the live window, own properties through the unit type's
// operations, converted by the property's type code.
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

int32_t Clamp(int32_t v, int32_t low, int32_t high) { return v < low ? low : v > high ? high : v; }

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
}  // namespace

uint64_t WindowList::ReadProperty(uint32_t windowId, uint32_t unitId, int property, int sub) {
    WindowRecord* w = FindWindow(windowId);
    if (!w) WindowError(wmsg::kNoWindow);
    int k = FindUnit(*w, unitId);
    if (k < 0) WindowError(msg::kNoSuchUnit);
    if (w->units.IsMenuItem(k)) return ReadMenuItem(w->units, k, property);
    Unit* unit = Object(*w, k);

    if (property >= kCommonPropertyCount) {
        if (!unit) WindowError(wmsg::kWindowNotLoaded);
        const DataTypeEntry* entry = FindUnitEntry(w->units.Field(k, 0));
        const PropertyInfo* info = OwnProperty(entry, property);
        if (!info) return 0;
        auto get = reinterpret_cast<GetPropertyOp>(entry->interfaceFunction(kOpGetProperty));
        PropertyValue v;
        if (!get || !get(unit, property - kCommonPropertyCount, &v)) return 0;
        switch (info->kind) {
            case kPropLogical: return v.i == 1 ? 1 : 0;
            case kPropDouble:
            case kPropDateTime: {
                ValueRecord r = MakeDoubleRecord(v.d);
                return Words(r.low, r.high);
            }
            case kPropText:
            case kPropFileName:
            case kPropTextChoice:
            case kPropHelpFile:
            case kPropDataSource:
            case kPropDataColumn: {
                const char* text = v.text ? v.text : "";
                return Pointer(NewText(text, static_cast<int>(std::strlen(text))));
            }
            case kPropPicture:
            case kPropIcon:
            case kPropMusic:
            case kPropCustomData:
            case kPropCustomData2: return Pointer(NewByteSet(v.data, v.data ? v.size : 0));
            case kPropMousePointer: {
                Bytes bytes = TranslateCursor(v.data, v.size, true);
                return Pointer(NewByteSet(bytes.data(), static_cast<int>(bytes.size())));
            }
            case kPropFont: {
                Bytes font = UnitFontOrDefault(v);
                if (sub == -1) return Pointer(NewFontRecord(font));
                if (sub == kFontFieldFace) {
                    std::string face = LogFont::Face(font);
                    return Pointer(NewText(face.data(), static_cast<int>(face.size())));
                }
                if (sub < kFontFieldAngle || sub > kFontFieldFace) return 0;
                return static_cast<uint32_t>(FontField(font, sub));
            }
            default: return static_cast<uint32_t>(v.i);
        }
    }

    UnitLayout at = w->units.Layout(k);
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
        case kPropertyHeight: return w->units.Field(k, at.geometry + 4 * static_cast<size_t>(property));
        case kPropertyTag: {
            std::string tag = w->units.Unit(k).tag;
            return Pointer(NewText(tag.data(), static_cast<int>(tag.size())));
        }
        case kPropertyVisible: return w->units.Field(k, at.state) & kStateVisible ? 1 : 0;
        case kPropertyDisabled: return w->units.Field(k, at.state) & kStateDisabled ? 1 : 0;
        case kPropertyMousePointer: {
            Bytes cursor = w->units.Unit(k).cursorData;
            Bytes bytes = TranslateCursor(cursor.data(), static_cast<int32_t>(cursor.size()), true);
            return Pointer(NewByteSet(bytes.data(), static_cast<int>(bytes.size())));
        }
        default: return 0;
    }
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
    Unit* unit = Object(*w, k);

    if (property >= kCommonPropertyCount) {
        if (!unit) WindowError(wmsg::kWindowNotLoaded);
        const DataTypeEntry* entry = FindUnitEntry(w->units.Field(k, 0));
        const PropertyInfo* info = OwnProperty(entry, property);
        if (!info) return;
        int own = property - kCommonPropertyCount;
        PropertyValue v;
        Bytes bytes;
        const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(low));
        switch (info->kind) {
            case kPropLogical: v.i = low != 0 ? 1 : 0; break;
            case kPropChoice: v.i = static_cast<int32_t>(low) < 0 ? 0 : static_cast<int32_t>(low); break;
            case kPropDouble:
            case kPropDateTime: v.d = RecordDouble(ValueRecord{low, high, kTypeDouble}); break;
            case kPropText:
            case kPropFileName:
            case kPropTextChoice:
            case kPropHelpFile:
            case kPropDataSource:
            case kPropDataColumn: v.text = block ? static_cast<const char*>(block) : ""; break;
            case kPropPicture:
            case kPropIcon:
            case kPropMusic:
            case kPropCustomData:
            case kPropCustomData2:
                v.data = ByteSetData(block);
                v.size = ByteSetLength(block);
                break;
            case kPropMousePointer:
                bytes = TranslateCursor(ByteSetData(block), ByteSetLength(block), false);
                v.data = bytes.data();
                v.size = static_cast<int32_t>(bytes.size());
                break;
            case kPropFont: {
                if (sub == -1) {
                    bytes = FontFromRecord(static_cast<const uint32_t*>(block));
                } else {
                    auto get = reinterpret_cast<GetPropertyOp>(entry->interfaceFunction(kOpGetProperty));
                    PropertyValue current;
                    if (get) get(unit, own, &current);
                    bytes = UnitFontOrDefault(current);
                    if (sub >= kFontFieldAngle && sub <= kFontFieldFace) SetFontField(bytes, sub, low);
                }
                v.data = bytes.data();
                v.size = static_cast<int32_t>(bytes.size());
                break;
            }
            default: v.i = static_cast<int32_t>(low); break;
        }
        auto changed = reinterpret_cast<PropertyChangedOp>(entry->interfaceFunction(kOpPropertyChanged));
        if (changed && changed(unit, own, &v) == 1) {
            RunPendingMessages();
            // The window may have gone while the queued messages ran.
            WindowRecord* again = FindWindow(windowId);
            if (again && LiveWindow(*again)) {
                InterlockedIncrement(&Runtime().eventHoldCount);
                RecreateUnit(*again, FindUnit(*again, unitId));
                if (Runtime().eventHoldCount > 0) InterlockedDecrement(&Runtime().eventHoldCount);
            }
        }
        return;
    }

    UnitLayout at = w->units.Layout(k);
    int32_t value = static_cast<int32_t>(low);
    switch (property) {
        case kPropertyLeft:
        case kPropertyTop:
        case kPropertyWidth:
        case kPropertyHeight: {
            value = property <= kPropertyTop ? Clamp(value, -kCoordinateLimit, kCoordinateLimit) : Clamp(value, 0, kCoordinateLimit);
            w->units.SetField(k, at.geometry + 4 * static_cast<size_t>(property), static_cast<uint32_t>(value));
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
            UnitRecord record = w->units.Unit(k);
            const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(low));
            record.tag = text ? text : "";
            w->units.ReplaceUnit(k, record);
            return;
        }
        case kPropertyVisible: {
            uint32_t state = w->units.Field(k, at.state);
            w->units.SetField(k, at.state, low ? (state | kStateVisible) : (state & ~kStateVisible));
            if (!Alive(unit)) return;
            if (k == 0 && low) {
                if (w->freshlyLoaded) {
                    ShowLoadedWindow(*w);
                    AfterLoad(*w);
                } else {
                    ShowWindow(unit->hwnd(), SW_SHOW);
                }
                return;
            }
            ShowWindow(unit->hwnd(), low ? (k == 0 ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
            return;
        }
        case kPropertyDisabled: {
            uint32_t state = w->units.Field(k, at.state);
            w->units.SetField(k, at.state, low ? (state | kStateDisabled) : (state & ~kStateDisabled));
            if (Alive(unit)) EnableWindow(unit->hwnd(), low ? FALSE : TRUE);
            return;
        }
        case kPropertyMousePointer: {
            const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(low));
            Bytes cursorData = TranslateCursor(ByteSetData(block), ByteSetLength(block), false);
            if (HCURSOR old = reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(w->units.Field(k, at.cursorSlot))))
                DestroyUnitCursor(old);
            HCURSOR cursor = unit ? CreateUnitCursor(cursorData.data(), static_cast<int32_t>(cursorData.size())) : nullptr;
            UnitRecord record = w->units.Unit(k);
            record.cursorData = cursorData;
            record.cursorSlot = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cursor));
            w->units.ReplaceUnit(k, record);
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
