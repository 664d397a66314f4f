#include "window/unit.h"

#include "runtime/events.h"
#include "runtime/services.h"
#include "window/own_data.h"
#include "window/window_list.h"

namespace qy {

namespace {
const char kUnitProperty[] = "QyUnit";
}

Unit::~Unit() {
    if (hwnd_) {
        RemovePropA(hwnd_, kUnitProperty);
        if (original_) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    }
}

Unit* Unit::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Unit*>(GetPropA(hwnd, kUnitProperty)) : nullptr;
}

void Unit::AdoptPart(HWND part) { SetPropA(part, kUnitProperty, this); }

void Unit::ReleasePart(HWND part) { RemovePropA(part, kUnitProperty); }

void Unit::Attach(HWND hwnd) {
    if (hwnd_ == hwnd) return;
    hwnd_ = hwnd;
    SetPropA(hwnd, kUnitProperty, this);
    // Decided by the class: a hook that subclassed an own-class window while
    // it was created (a skin engine does) chains to ClassProc already, and
    // chaining back to that hook would recurse without end.
    if (GetClassLongPtrA(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&ClassProc)) {
        original_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    }
}

LRESULT Unit::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return original_ ? CallWindowProcA(original_, hwnd_, message, wParam, lParam)
                     : DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool Unit::Reflect(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

LRESULT Unit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return DefaultProc(message, wParam, lParam); }

bool Unit::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = nullptr;
    switch (message) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR: child = reinterpret_cast<HWND>(lParam); break;
        case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom; break;
        case WM_DRAWITEM: child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
        default: return false;
    }
    Unit* unit = FromHandle(child);
    return unit && unit->Reflect(message, wParam, lParam, result);
}

LRESULT Unit::Route(Unit* unit, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == hwnd) {
                if (HCURSOR cursor = Windows().UnitCursor(unit->windowId_, unit->unitId_)) {
                    SetCursor(cursor);
                    return TRUE;
                }
            }
            break;
        default:
            if (ReflectToChild(message, wParam, lParam, &result)) return result;
            break;
    }
    uint32_t windowId = unit->windowId_, unitId = unit->unitId_;
    result = unit->WindowProc(message, wParam, lParam);
    // The focus events follow the platform's own handling of the change; the
    // unit may be gone by then if a subroutine destroyed its window.
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        Unit* still = FromHandle(hwnd);
        if (still && !still->ReportsFocusItself()) still->RaiseEvent(message == WM_SETFOCUS ? kEventGotFocus : kEventLostFocus);
    }
    if (message == WM_NCDESTROY) {
        unit->hwnd_ = nullptr;
        RemovePropA(hwnd, kUnitProperty);
        if (unit->original_) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(unit->original_));
        Windows().UnitDestroyed(windowId, unitId);
        delete unit;
    }
    return result;
}

LRESULT CALLBACK Unit::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Unit* unit = FromHandle(hwnd);
    if (!unit) return DefWindowProcA(hwnd, message, wParam, lParam);
    return Route(unit, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Unit::ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Unit* unit = FromHandle(hwnd);
    if (!unit && message == WM_NCCREATE) {
        unit = static_cast<Unit*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (unit) unit->Attach(hwnd);
    }
    if (!unit) return DefWindowProcA(hwnd, message, wParam, lParam);
    return Route(unit, hwnd, message, wParam, lParam);
}

bool Unit::RaiseEvent(int event, std::initializer_list<int32_t> args, int32_t* result) {
    uint32_t record[11] = {windowId_, unitId_, static_cast<uint32_t>(event), 0};
    int n = 0;
    for (int32_t arg : args) {
        if (n == kShortEventMaxArgs) break;
        record[4 + n++] = static_cast<uint32_t>(arg);
    }
    record[3] = static_cast<uint32_t>(n);
    RuntimeNotify(kNotifyRaiseEvent, static_cast<int32_t>(reinterpret_cast<uintptr_t>(record)), 0);
    if (record[kShortEventResultFlag] == 0) return false;
    if (result) *result = static_cast<int32_t>(record[kShortEventResult]);
    return true;
}

void Unit::GiveText(PropertyValue* out, const std::string& text) {
    givenText_ = text;
    out->text = givenText_.c_str();
}

void Unit::GiveBytes(PropertyValue* out, const Bytes& bytes) {
    givenBytes_ = bytes;
    out->data = givenBytes_.data();
    out->size = static_cast<int32_t>(givenBytes_.size());
}

std::string TextOf(const PropertyValue& value) { return value.text ? std::string(value.text) : std::string(); }

Bytes BytesOf(const PropertyValue& value) {
    if (!value.data || value.size <= 0) return Bytes();
    return Bytes(value.data, value.data + value.size);
}

HFONT CreateUnitFont(const Bytes& logFont) {
    if (logFont.size() != LogFont::kSize) return nullptr;
    LOGFONTA font;
    static_assert(sizeof font == LogFont::kSize, "LOGFONTA is 60 bytes");
    memcpy(&font, logFont.data(), sizeof font);
    return CreateFontIndirectA(&font);
}

HGDIOBJ FontOrDefault(HFONT font) { return font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT); }

COLORREF ResolveColour(uint32_t colour) {
    return colour == kButtonFaceColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour & 0xFFFFFF);
}

bool RegisterUnitClass(const char* className, UINT classStyle, HBRUSH background) {
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) return true;
    wc.style = classStyle;
    wc.lpfnWndProc = &Unit::ClassProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

bool CreateUnitWindow(Unit* unit, const UnitCreation& c, DWORD exStyle, const char* className, const char* text,
                      DWORD extraStyle) {
    HWND hwnd = CreateWindowExA(exStyle, className, text, c.style | WS_CHILD | WS_CLIPSIBLINGS | extraStyle, c.left,
                                c.top, c.width, c.height, c.parent,
                                reinterpret_cast<HMENU>(static_cast<uintptr_t>(c.controlId)),
                                GetModuleHandleA(nullptr), unit);
    if (hwnd) return true;
    delete unit;
    return false;
}

DWORD BorderExStyle(int32_t border) {
    switch (border) {
        case kSunkenBorder: return WS_EX_CLIENTEDGE;
        case kRaisedBorder: return WS_EX_DLGMODALFRAME;
        case kThinSunkenBorder: return WS_EX_STATICEDGE;
        case kSunkenRaisedBorder: return WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
        default: return 0;
    }
}

void SetBorderStyles(HWND hwnd, int32_t border, bool systemLine) {
    LONG_PTR ex = GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & ~(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, ex | static_cast<LONG_PTR>(BorderExStyle(border)));
    if (!systemLine) return;
    LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE) & ~WS_BORDER;
    SetWindowLongPtrA(hwnd, GWL_STYLE, style | static_cast<LONG_PTR>(LineBorderStyle(border)));
}

void RedrawFrame(HWND hwnd) {
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace qy
