#include "window/window_unit.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "runtime/gbk.h"
#include "runtime/runtime_app.h"
#include "runtime/win32_handles.h"
#include "media/picture/picture_draw.h"
#include "window/property_table.h"
#include "window/protocol.h"
#include "window/template_format.h"
#include "window/window_list.h"

namespace qy {

namespace {
const char kDefaultClass[] = "WTWindow";

// The drop record the shell hands over with WM_DROPFILES; the window frees it.
using DropHandle = OwnedHandle<HDROP, FreeWith<&DragFinish>>;

using namespace window;

struct FrameStyle {
    DWORD style;
    DWORD exStyle;
};

FrameStyle StyleFor(const WindowData& d) {
    FrameStyle f{WS_CLIPCHILDREN, 0};
    bool resizable = d.border == kResizable || d.border == kResizableTool || d.border == kResizableEdged;
    if (d.border <= kNoFrame || d.border > kFixedEdged) {
        f.style |= WS_POPUP;
    } else {
        f.style |= WS_CAPTION | (resizable ? WS_THICKFRAME : 0);
        if (d.controlBox) f.style |= WS_SYSMENU;
        if (d.maxButton) f.style |= WS_MAXIMIZEBOX;
        if (d.minButton) f.style |= WS_MINIMIZEBOX;
        if (d.border == kResizableTool || d.border == kFixedTool) f.exStyle |= WS_EX_TOOLWINDOW;
        if (d.border == kResizableEdged || d.border == kFixedEdged) f.exStyle |= WS_EX_CLIENTEDGE;
    }
    if (d.alwaysOnTop) f.exStyle |= WS_EX_TOPMOST;
    if (d.showInTaskbar) f.exStyle |= WS_EX_APPWINDOW;
    return f;
}

void ApplyClosable(HWND hwnd, bool closable) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu) return;
    if (!closable) {
        DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
    } else if (GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) == static_cast<UINT>(-1)) {
        GetSystemMenu(hwnd, TRUE);  // revert to the standard menu, Close included
    }
}

// The work area of a monitor, so that a window on a second screen is
// centred and maximised there.
RECT WorkAreaOf(HMONITOR monitor) {
    RECT area;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoA(monitor, &info)) return info.rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT WorkAreaOf(HWND hwnd) { return WorkAreaOf(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)); }

// A window of that size in the middle of the work area.
RECT CentredIn(const RECT& area, int width, int height) {
    int left = area.left + (area.right - area.left - width) / 2;
    int top = area.top + (area.bottom - area.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

void MoveTo(HWND hwnd, const RECT& r) {
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
}

// The wide text in the ANSI code page; false when a character has no
// spelling there (the conversion would put '?' in its place).
bool ToAnsi(const std::wstring& wide, std::string* out) {
    BOOL lossy = FALSE;
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) return false;
    std::string text(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, &text[0], size, nullptr, &lossy) != size ||
        lossy)
        return false;
    text.resize(static_cast<size_t>(size - 1));
    *out = std::move(text);
    return true;
}

// The first dropped file's name as the program reads names (ANSI): its long
// name where the code page spells it, else its short 8.3 name, which names
// the same file in characters the code page has; empty when neither exists.
std::string DroppedFileName(HDROP drop) {
    UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0) return std::string();
    std::wstring wide(length + 1, L'\0');
    if (DragQueryFileW(drop, 0, &wide[0], length + 1) != length) return std::string();
    wide.resize(length);
    std::string name;
    if (ToAnsi(wide, &name)) return name;
    DWORD shortLength = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (shortLength == 0) return std::string();
    std::wstring shortName(shortLength, L'\0');
    DWORD written = GetShortPathNameW(wide.c_str(), &shortName[0], shortLength);
    if (written == 0 || written >= shortLength) return std::string();
    shortName.resize(written);
    return ToAnsi(shortName, &name) ? name : std::string();
}

// The modifier bits events carry: Ctrl 1, Shift 2, Alt 4.
enum ModifierBit { kCtrlBit = 1, kShiftBit = 2, kAltBit = 4 };

int ModifierBits(bool ctrl, bool shift, bool alt) {
    return (ctrl ? kCtrlBit : 0) | (shift ? kShiftBit : 0) | (alt ? kAltBit : 0);
}

bool KeyDown(int vk) { return GetKeyState(vk) < 0; }

// Mouse messages carry Ctrl and Shift as they were when the message was
// made; Alt only the key state knows.
int MouseModifiers(WPARAM mouseKeys) {
    return ModifierBits((mouseKeys & MK_CONTROL) != 0, (mouseKeys & MK_SHIFT) != 0, KeyDown(VK_MENU));
}

// Keypad digits give the main digit codes; keypad minus, point and divide
// give the codes of the main keys with those characters.
int KeyCode(WPARAM vk) {
    int code = static_cast<int>(vk & 0xFF);
    if (code >= VK_NUMPAD0 && code <= VK_NUMPAD9) return '0' + (code - VK_NUMPAD0);
    if (code == VK_SUBTRACT) return 189;
    if (code == VK_DECIMAL) return 190;
    if (code == VK_DIVIDE) return 191;
    return code;
}

// The modifiers held with a key, leaving out the key itself when it is one.
int KeyStateWithout(int code) {
    return ModifierBits(code != VK_CONTROL && KeyDown(VK_CONTROL), code != VK_SHIFT && KeyDown(VK_SHIFT),
                        code != VK_MENU && KeyDown(VK_MENU));
}
}  // namespace

const UnitTypeInfo kWindowType = MakeUnitType("窗口", "Window", kTypeMayRaiseEvents | kTypeMayRaiseEvents4,
                                              WindowUnit::Properties(), &WindowUnit::Create);

WindowUnit::WindowUnit(uint32_t windowId, uint32_t unitId, const WindowData& data)
    : Unit(kWindowType, windowId, unitId), data_(data) {
    translator_.owner = this;
}

Unit* WindowUnit::Create(const UnitCreation& c) {
    WindowData data;
    if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &data)) return nullptr;
    const char* className = data.windowClass.empty() ? kDefaultClass : data.windowClass.c_str();
    if (!RegisterUnitClass(className, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)) return nullptr;
    FrameStyle frame = StyleFor(data);
    if (Windows().HandlesEvent(c.windowId, c.unitId, kWindowFilesDropped)) frame.exStyle |= WS_EX_ACCEPTFILES;
    RECT place{c.left, c.top, c.left + c.width, c.top + c.height};
    // Centred on the screen the template places it on, before it exists, so that it never moves.
    if (data.position == kCentred)
        place = CentredIn(WorkAreaOf(MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST)), c.width, c.height);
    auto* unit = new WindowUnit(c.windowId, c.unitId, data);
    DWORD style = frame.style | (c.style & WS_DISABLED);
    HWND hwnd = CreateWindowExA(frame.exStyle, className, data.caption.c_str(), style, place.left, place.top, c.width,
                                c.height, c.parent, c.menu, GetModuleHandleA(nullptr), unit);
    if (!hwnd) {
        delete unit;
        return nullptr;
    }
    if (!data.closable) ApplyClosable(hwnd, false);
    return unit;
}

WindowRecord* WindowUnit::Record() const { return Windows().FindWindow(windowId()); }

void WindowUnit::ApplyFrameStyle() {
    FrameStyle frame = StyleFor(data_);
    DWORD keep = static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLongPtrA(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(frame.style | keep));
    DWORD accepts = static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_EXSTYLE)) & WS_EX_ACCEPTFILES;
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, static_cast<LONG_PTR>((frame.exStyle | accepts) & ~WS_EX_TOPMOST));
    RedrawFrame(hwnd());
    ApplyClosable(hwnd(), data_.closable != 0);
}

void WindowUnit::SetPosition(int position) {
    if (!IsWindowVisible(hwnd())) return;
    switch (position) {
        case kShowNormally: ShowWindow(hwnd(), SW_SHOWNORMAL); break;
        case kCentred: {
            if (IsIconic(hwnd()) || IsZoomed(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
            RECT r;
            GetWindowRect(hwnd(), &r);
            MoveTo(hwnd(), CentredIn(WorkAreaOf(hwnd()), r.right - r.left, r.bottom - r.top));
            break;
        }
        case kMinimised: ShowWindow(hwnd(), SW_MINIMIZE); break;
        case kMaximised:
            ShowWindow(hwnd(), SW_MAXIMIZE);
            FillWorkArea();
            break;
        default: break;
    }
}

void WindowUnit::FillWorkArea() { MoveTo(hwnd(), WorkAreaOf(hwnd())); }

void WindowUnit::ShowInitially() {
    switch (data_.position) {
        case kMaximised: SetPosition(kMaximised), ShowWindow(hwnd(), SW_SHOWMAXIMIZED); break;
        case kMinimised: ShowWindow(hwnd(), SW_SHOWMINIMIZED); break;
        default: ShowWindow(hwnd(), SW_SHOW); break;
    }
    if (data_.position == kMaximised) FillWorkArea();
}

const WindowUnit::PropertyTableType& WindowUnit::Properties() {
    using W = WindowUnit;
    using V = const PropertyValue&;
    using Out = PropertyValue*;
    static constexpr PropertyRow<W> kRows[] = {
        {"Caption", kPropText,
         [](W& u, Out o) {
             char text[1024] = {};
             GetWindowTextA(u.hwnd(), text, sizeof text);
             u.GiveText(o, text);
         },
         [](W& u, V v) {
             u.data_.caption = TextOf(v);
             SetWindowTextA(u.hwnd(), u.data_.caption.c_str());
             return 0;
         }},
        {"Border", kPropChoice, [](W& u, Out o) { u.GiveInt(o, u.data_.border); },
         [](W& u, V v) {
             u.data_.border = v.i > kFixedEdged ? kFixedEdged : v.i;
             u.ApplyFrameStyle();
             return 0;
         }},
        {"BackColor", kPropBackColour, [](W& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.backColor)); },
         [](W& u, V v) {
             u.data_.backColor = static_cast<uint32_t>(v.i);
             InvalidateRect(u.hwnd(), nullptr, TRUE);
             return 0;
         }},
        {"BackPicture", kPropPicture, [](W& u, Out o) { u.GiveBytes(o, u.data_.picture); },
         [](W& u, V v) {
             u.data_.picture = BytesOf(v);
             u.picture_.reset();
             InvalidateRect(u.hwnd(), nullptr, TRUE);
             return 0;
         }},
        {"PictureMode", kPropChoice, [](W& u, Out o) { u.GiveInt(o, u.data_.pictureMode); },
         [](W& u, V v) {
             u.data_.pictureMode = v.i > kPictureStretched ? kPictureStretched : v.i;
             if (!u.data_.picture.empty()) InvalidateRect(u.hwnd(), nullptr, TRUE);
             return 0;
         }},
        {"BackMusic", kPropMusic, [](W& u, Out o) { u.GiveBytes(o, u.data_.music); },
         [](W& u, V v) { return u.data_.music = BytesOf(v), 0; }},
        {"MusicMode", kPropChoice, [](W& u, Out o) { u.GiveInt(o, u.data_.musicMode); },
         [](W& u, V v) { return u.data_.musicMode = v.i > 2 ? 2 : v.i, 0; }},
        {"ControlBox", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.controlBox); },
         [](W& u, V v) { return u.data_.controlBox = v.i != 0, u.ApplyFrameStyle(), 0; }},
        {"MaxButton", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.maxButton); },
         [](W& u, V v) { return u.data_.maxButton = v.i != 0, u.ApplyFrameStyle(), 0; }},
        {"MinButton", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.minButton); },
         [](W& u, V v) { return u.data_.minButton = v.i != 0, u.ApplyFrameStyle(), 0; }},
        {"Position", kPropChoice,
         [](W& u, Out o) {
             u.GiveInt(o, IsIconic(u.hwnd()) ? kMinimised : IsZoomed(u.hwnd()) ? kMaximised : kShowNormally);
         },
         [](W& u, V v) {
             // Kept for the first showing: a window not shown yet takes it then.
             u.data_.position = v.i;
             u.SetPosition(v.i);
             return 0;
         }},
        {"Closable", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.closable); },
         [](W& u, V v) { return u.data_.closable = v.i != 0, ApplyClosable(u.hwnd(), u.data_.closable != 0), 0; }},
        {"Icon", kPropIcon, [](W& u, Out o) { u.GiveBytes(o, u.data_.icon); },
         [](W& u, V v) { return u.data_.icon = BytesOf(v), 0; }},
        {"EnterMovesFocus", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.enterMovesFocus); },
         [](W& u, V v) { return u.data_.enterMovesFocus = v.i != 0, 0; }},
        {"EscCloses", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.escCloses); },
         [](W& u, V v) { return u.data_.escCloses = v.i != 0, 0; }},
        {"F1OpensHelp", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.f1OpensHelp); },
         [](W& u, V v) { return u.data_.f1OpensHelp = v.i != 0, 0; }},
        {"HelpFile", kPropHelpFile, [](W& u, Out o) { u.GiveText(o, u.data_.helpFile); },
         [](W& u, V v) { return u.data_.helpFile = TextOf(v), 0; }},
        {"HelpContext", kPropInt2, [](W& u, Out o) { u.GiveInt(o, u.data_.helpContext); },
         [](W& u, V v) { return u.data_.helpContext = v.i, 0; }},
        {"ShowInTaskbar", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.showInTaskbar); },
         [](W& u, V v) {
             u.data_.showInTaskbar = v.i != 0;
             LONG_PTR ex = GetWindowLongPtrA(u.hwnd(), GWL_EXSTYLE);
             ex = u.data_.showInTaskbar ? (ex | WS_EX_APPWINDOW) : (ex & ~WS_EX_APPWINDOW);
             SetWindowLongPtrA(u.hwnd(), GWL_EXSTYLE, ex);
             return 0;
         }},
        {"DragToMove", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.dragToMove); },
         [](W& u, V v) { return u.data_.dragToMove = v.i != 0, 0; }},
        {"Shape", kPropChoice, [](W& u, Out o) { u.GiveInt(o, u.data_.shape); },
         [](W& u, V v) { return u.data_.shape = v.i > 29 ? 29 : v.i, 0; }},
        {"AlwaysOnTop", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.alwaysOnTop); },
         [](W& u, V v) {
             u.data_.alwaysOnTop = v.i != 0;
             SetWindowPos(u.hwnd(), u.data_.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
             return 0;
         }},
        {"Own22", kPropLogical, [](W& u, Out o) { u.GiveInt(o, u.data_.own22); },
         [](W& u, V v) { return u.data_.own22 = v.i, 0; }},
        {"WindowClass", kPropText, [](W& u, Out o) { u.GiveText(o, u.data_.windowClass); },
         [](W& u, V v) { return u.data_.windowClass = TextOf(v), 0; }},
    };
    static constexpr PropertyTableType kTable = MakePropertyTable(kRows);
    return kTable;
}

int WindowUnit::PropertyChanged(int own, const PropertyValue& v) { return Properties().Write(*this, own, v); }

bool WindowUnit::GetProperty(int own, PropertyValue* out) { return Properties().Read(*this, own, out); }

void WindowUnit::PaintBackground(HDC dc) {
    RECT r;
    GetClientRect(hwnd(), &r);
    COLORREF back = ResolveColour(data_.backColor);
    FillRect(dc, &r, GdiHandle<HBRUSH>(CreateSolidBrush(back)).get());
    if (!picture_ && !data_.picture.empty()) {
        picture_ = DecodePicture(data_.picture.data(), static_cast<int>(data_.picture.size()));
        if (!picture_) data_.picture.clear();  // undecodable data leaves the colour alone
    }
    if (!picture_ || picture_->width <= 0 || picture_->height <= 0) return;
    const Picture& p = *picture_;
    switch (data_.pictureMode) {
        case kPictureTopLeft: RenderPicture(p, dc, 0, 0, -1, -1, SRCCOPY, back); break;
        case kPictureCentred: RenderPicture(p, dc, (r.right - p.width) / 2, (r.bottom - p.height) / 2, -1, -1, SRCCOPY, back); break;
        case kPictureStretched: RenderPicture(p, dc, 0, 0, r.right, r.bottom, SRCCOPY, back); break;
        default: {
            RECT clip;
            if (GetClipBox(dc, &clip) == ERROR) clip = r;
            for (int y = clip.top / p.height * p.height; y < clip.bottom; y += p.height)
                for (int x = clip.left / p.width * p.width; x < clip.right; x += p.width)
                    RenderPicture(p, dc, x, y, -1, -1, SRCCOPY, back);
            break;
        }
    }
}

void WindowUnit::RequestClose(bool now) {
    closing_ = true;
    if (now) {
        closing_ = false;
        if (WindowRecord* record = Record()) Windows().EndModal(*record);
        DestroyWindow(hwnd());  // deletes this
    } else {
        PostMessageA(hwnd(), kCloseRequestMessage, 0, 0);
    }
}

LRESULT WindowUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Every event below may run a subroutine that destroys the window and
    // this object with it; only the handle is safe to use after one.
    HWND self = hwnd();
    switch (message) {
        case kObjectQueryMessage: return reinterpret_cast<LRESULT>(static_cast<FrameworkWindow*>(&translator_));
        case kCloseRequestMessage:
            if (closing_) RequestClose(true);
            return 0;
        case WM_ERASEBKGND: PaintBackground(reinterpret_cast<HDC>(wParam)); return 1;
        case WM_CLOSE: {
            int32_t answer = 1;
            if (RaiseEvent(kWindowCloseRequested, {}, &answer) && answer == 0) return 0;
            if (!StillOwns(self, this)) return 0;
            if (RaiseEvent(kWindowMayClose, {}, &answer) && answer == 0) return 0;
            if (!StillOwns(self, this)) return 0;
            if (WindowRecord* record = Record()) Windows().EndModal(*record);
            DestroyWindow(hwnd());  // deletes this
            return 0;
        }
        case WM_QUERYENDSESSION: {
            int32_t answer = 1;
            if (RaiseEvent(kWindowMayClose, {}, &answer) && answer == 0) return FALSE;
            return TRUE;
        }
        case WM_DESTROY: RaiseEvent(kWindowDestroyed); break;
        case WM_MOVE: RaiseEvent(kWindowMoved); break;
        case WM_SIZE: RaiseEvent(kWindowResized); break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                if (!activatedOnce_) {
                    activatedOnce_ = true;
                    RaiseEvent(kWindowFirstActivation);
                    if (!StillOwns(self, this)) return 0;
                }
                RaiseEvent(kWindowActivated);
                if (!StillOwns(self, this)) return 0;
                // Coming back to the window gives the focus back to the unit that had it, as dialogs do,
                // instead of to the window itself; a minimised window takes no focus.
                HWND back = focusWhenLeft_;
                focusWhenLeft_ = nullptr;
                if (!HIWORD(wParam) && back && IsChild(hwnd(), back) && IsWindowVisible(back) &&
                    IsWindowEnabled(back)) {
                    SetFocus(back);
                    return 0;
                }
            } else {
                HWND focus = GetFocus();
                focusWhenLeft_ = focus && IsChild(hwnd(), focus) ? focus : nullptr;
                RaiseEvent(kWindowDeactivated);
            }
            break;
        case WM_SHOWWINDOW: RaiseEvent(wParam ? kWindowShown : kWindowHidden); break;
        case WM_DROPFILES: {
            std::string name = DroppedFileName(DropHandle(reinterpret_cast<HDROP>(wParam)).get());
            if (!name.empty())
                RaiseEvent(kWindowFilesDropped, {static_cast<int32_t>(reinterpret_cast<uintptr_t>(name.c_str()))});
            return 0;
        }
        default: break;
    }
    if (!StillOwns(self, this)) return 0;
    return DefaultProc(message, wParam, lParam);
}

void WindowUnit::MoveFocus(bool forward, HWND from) {
    WindowRecord* record = Record();
    if (!record) return;
    WindowList& list = Windows();
    struct Stop {
        int32_t order;
        int index;
        HWND hwnd;
    };
    std::vector<Stop> stops;
    for (int k = 1; k < record->units.count(); ++k) {
        if (record->units.IsMenuItem(k)) continue;
        Unit* unit = list.Object(*record, k);
        if (!unit || !unit->hwnd()) continue;
        HWND h = unit->hwnd();
        if (!IsWindowVisible(h) || !IsWindowEnabled(h) || !(GetWindowLongPtrA(h, GWL_STYLE) & WS_TABSTOP)) continue;
        UnitLayout at = record->units.Layout(k);
        stops.push_back({static_cast<int32_t>(record->units.Field(k, at.tabOrder)), k, h});
    }
    if (stops.empty()) return;
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.order < b.order; });
    size_t current = stops.size();
    for (size_t i = 0; i < stops.size(); ++i)
        if (stops[i].hwnd == from || IsChild(stops[i].hwnd, from)) current = i;
    size_t next;
    Unit* fromUnit = current == stops.size() ? Unit::FromHandle(from) : nullptr;
    int fromIndex = fromUnit ? list.FindUnit(*record, fromUnit->unitId()) : -1;
    if (fromIndex > 0) {
        // A unit that takes no focus (a label) hands it on from its own place in the tab order.
        UnitLayout at = record->units.Layout(fromIndex);
        int32_t order = static_cast<int32_t>(record->units.Field(fromIndex, at.tabOrder));
        auto after = [&](const Stop& s) { return s.order > order || (s.order == order && s.index > fromIndex); };
        next = forward ? 0 : stops.size() - 1;
        if (forward) {
            for (size_t i = stops.size(); i-- > 0;)
                if (after(stops[i])) next = i;
        } else {
            for (size_t i = 0; i < stops.size(); ++i)
                if (!after(stops[i])) next = i;
        }
    } else if (current == stops.size()) {
        next = forward ? 0 : stops.size() - 1;
    } else {
        next = forward ? (current + 1) % stops.size() : (current + stops.size() - 1) % stops.size();
    }
    SetFocus(stops[next].hwnd);
}

namespace {
// The radio buttons around table index `at`: the run of radio members
// next to it in table order, from first to last.
struct RadioGroup {
    int first, last;
};

RadioGroup RadioGroupAround(WindowList& list, const WindowRecord& record, int at) {
    auto isRadio = [&](int k) {
        Unit* u = k > 0 && k < record.units.count() ? list.Object(record, k) : nullptr;
        return u && (u->type().flags & kTypeRadioMember);
    };
    RadioGroup group{at, at};
    while (isRadio(group.first - 1)) --group.first;
    while (isRadio(group.last + 1)) ++group.last;
    return group;
}

// Checks the group's button at `checked` and clears the others.
void CheckInGroup(WindowList& list, const WindowRecord& record, RadioGroup group, int checked) {
    for (int k = group.first; k <= group.last; ++k) list.Object(record, k)->SetChecked(k == checked);
}
}  // namespace

bool WindowUnit::HandleKey(MSG* m) {
    if (m->message != WM_KEYDOWN) return false;
    int vk = static_cast<int>(m->wParam);
    Unit* focused = nullptr;
    for (HWND h = GetFocus(); h && h != hwnd(); h = GetParent(h))
        if ((focused = Unit::FromHandle(h))) break;
    if (focused && focused->WantsKey(vk)) return false;
    WindowRecord* record = Record();
    if (!record) return false;
    switch (vk) {
        case VK_TAB: return TabKey();
        case VK_RETURN: return ReturnKey(focused, *record);
        case VK_ESCAPE: return EscapeKey();
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: return ArrowKey(focused, *record, vk == VK_RIGHT || vk == VK_DOWN);
        case VK_F1: return HelpKey();
        default: return false;
    }
}

bool WindowUnit::TabKey() {
    if (KeyDown(VK_CONTROL)) return false;
    MoveFocus(!KeyDown(VK_SHIFT), GetFocus());
    return true;
}

bool WindowUnit::ReturnKey(Unit* focused, const WindowRecord& record) {
    if (focused && focused->IsDefaultButton()) {
        focused->Activate();
        return true;
    }
    if (data_.enterMovesFocus) {
        MoveFocus(true, GetFocus());
        return true;
    }
    WindowList& list = Windows();
    for (int k = 1; k < record.units.count(); ++k) {
        if (record.units.IsMenuItem(k)) continue;
        Unit* unit = list.Object(record, k);
        if (unit && unit->IsDefaultButton() && unit->hwnd() && IsWindowEnabled(unit->hwnd())) {
            unit->Activate();
            return true;
        }
    }
    return false;
}

bool WindowUnit::EscapeKey() {
    if (!data_.escCloses) return false;
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    return true;
}

bool WindowUnit::ArrowKey(Unit* focused, const WindowRecord& record, bool forward) {
    if (!focused || !(focused->type().flags & kTypeRadioMember)) return false;
    WindowList& list = Windows();
    int at = list.FindUnit(record, focused->unitId());
    RadioGroup group = RadioGroupAround(list, record, at);
    int next = forward ? (at == group.last ? group.first : at + 1) : (at == group.first ? group.last : at - 1);
    Unit* target = list.Object(record, next);
    CheckInGroup(list, record, group, next);
    SetFocus(target->hwnd());
    target->RaiseEvent(kUnitClicked);
    return true;
}

bool WindowUnit::HelpKey() {
    if (!data_.f1OpensHelp) return false;
    std::string file = data_.helpFile;
    if (file.empty()) {
        const std::string& name = Runtime().programFileName();
        std::string dir = Runtime().programDirectory();
        std::string base = name.substr(0, name.rfind('.'));
        file = (dir.empty() ? "" : dir + "\\") + base + ".hlp";
        if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    }
    WinHelpA(hwnd(), file.c_str(), data_.helpContext ? HELP_CONTEXT : HELP_FINDER,
             static_cast<ULONG_PTR>(data_.helpContext));
    return true;
}

bool WindowUnit::HandleMnemonic(MSG* m) {
    if (m->message != WM_SYSKEYDOWN || KeyDown(VK_CONTROL) || KeyDown(VK_SHIFT)) return false;
    int vk = static_cast<int>(m->wParam);
    if (!((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))) return false;
    WindowRecord* record = Record();
    if (!record) return false;
    WindowList& list = Windows();
    for (int k = 1; k < record->units.count(); ++k) {
        if (record->units.IsMenuItem(k)) continue;
        Unit* unit = list.Object(*record, k);
        if (!unit || !unit->hwnd() || !IsWindowVisible(unit->hwnd()) || !IsWindowEnabled(unit->hwnd())) continue;
        std::string caption = unit->MnemonicCaption();
        bool match = false;
        for (size_t i = 0; i + 1 < caption.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(caption[i]);
            if (IsGbkLeadByte(c)) {  // a double-byte character: skip its trail byte
                ++i;
                continue;
            }
            if (c == '&' && std::toupper(static_cast<unsigned char>(caption[i + 1])) == vk) {
                match = true;
                break;
            }
        }
        if (!match) continue;
        uint32_t flags = unit->type().flags;
        if (flags & kTypeRadioMember) {
            CheckInGroup(list, *record, RadioGroupAround(list, *record, k), k);
            unit->RaiseEvent(kUnitClicked);
        } else if (flags & kTypeToggleOnMnemonic) {
            unit->Activate();
        } else if (GetWindowLongPtrA(unit->hwnd(), GWL_STYLE) & WS_TABSTOP) {
            SetFocus(unit->hwnd());
        } else {
            // A unit that takes no focus (a label) passes it to the next one.
            MoveFocus(true, unit->hwnd());
        }
        return true;
    }
    return false;
}

bool WindowUnit::RaiseCommonEvent(MSG* m) {
    int event = 0;
    Unit* target = nullptr;
    for (HWND h = m->hwnd; h; h = GetParent(h)) {
        if ((target = Unit::FromHandle(h))) break;
        if (h == hwnd()) break;
    }
    if (!target) target = this;
    HWND targetWindow = target->hwnd();
    int32_t result = 1;
    bool answered = false;
    // Signed: while the mouse is captured it may be left of or above the unit.
    int x = GET_X_LPARAM(m->lParam), y = GET_Y_LPARAM(m->lParam);
    switch (m->message) {
        case WM_LBUTTONDOWN: event = kEventLeftDown; break;
        case WM_LBUTTONUP: event = kEventLeftUp; break;
        case WM_LBUTTONDBLCLK: event = kEventDoubleClick; break;
        case WM_RBUTTONDOWN: event = kEventRightDown; break;
        case WM_RBUTTONUP: event = kEventRightUp; break;
        case WM_MOUSEMOVE: event = kEventMouseMove; break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            int code = KeyCode(m->wParam);
            event = (m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN) ? kEventKeyDown : kEventKeyUp;
            answered = target->RaiseEvent(event, {code, KeyStateWithout(static_cast<int>(m->wParam & 0xFF))}, &result);
            return answered && result == 0 && IsWindow(targetWindow);
        }
        case WM_CHAR:
            answered = target->RaiseEvent(kEventChar, {static_cast<int32_t>(m->wParam)}, &result);
            if (!answered) return false;
            if (result == 0) return true;
            m->wParam = static_cast<WPARAM>(result);
            return false;
        case WM_MOUSEWHEEL: {
            // Until a whole notch has built up the control keeps the message
            // and the program hears nothing, so a gentle turn never steps the
            // wrong way.
            int steps = WheelSteps(targetWindow, GET_WHEEL_DELTA_WPARAM(m->wParam));
            if (steps == 0) return false;
            answered = target->RaiseEvent(kEventWheel, {steps, MouseModifiers(GET_KEYSTATE_WPARAM(m->wParam))}, &result);
            return answered && result == 0;
        }
        default: return false;
    }
    answered = target->RaiseEvent(event, {x, y, MouseModifiers(m->wParam)}, &result);
    return answered && result == 0;
}

int WindowUnit::WheelSteps(HWND over, int delta) {
    // A turn the other way, or over another unit, starts afresh, as
    // Windows' own controls do.
    if (over != wheelOver_ || (delta < 0) != (wheelRemainder_ < 0)) wheelRemainder_ = 0;
    wheelOver_ = over;
    wheelRemainder_ += delta;
    int steps = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ -= steps * WHEEL_DELTA;
    return steps;
}

BOOL WindowUnit::PreTranslate(MSG* m) {
    // The runtime's walk reaches an owned pop-up's owner too (a colour
    // palette, a tooltip); only the window itself and its descendants are
    // translated here.
    if (m->hwnd != hwnd() && !IsChild(hwnd(), m->hwnd)) return FALSE;
    bool keyboard = m->message >= WM_KEYFIRST && m->message <= WM_KEYLAST;
    if (keyboard && !IsWindowEnabled(m->hwnd)) return TRUE;
    WindowRecord* record = Record();
    if (record && record->accelerators && TranslateAcceleratorA(hwnd(), record->accelerators.get(), m)) return TRUE;
    if (m->message == WM_LBUTTONDOWN && data_.dragToMove) {
        Unit* on = Unit::FromHandle(m->hwnd);
        if (m->hwnd == hwnd() || (on && (on->type().flags & kTypeDragsWindow))) {
            ReleaseCapture();
            SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return TRUE;
        }
    }
    if (keyboard) {
        if (HandleKey(m)) return TRUE;
        if (HandleMnemonic(m)) return TRUE;
    }
    return RaiseCommonEvent(m) ? TRUE : FALSE;
}

}  // namespace qy
