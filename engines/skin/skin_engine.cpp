// The skin engine: SkinH_AttachRes reads a skin and gives every top-level
// window of the calling thread, present and future, a frame and caption bar
// in its colours. Each such window is subclassed; the procedure it had still
// does all hit testing, moving, sizing and closing, and the skin paints over
// the system's frame after every message that repaints it. The client area
// stays the window's own to paint.
#include <windows.h>
// After windows.h, which it needs.
#include <dwmapi.h>

#include "engines/skin/frame_painter.h"
#include "engines/skin/skin_file.h"

namespace skin {

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

const wchar_t kStateProperty[] = L"QySkinWindow";

struct SkinnedWindow {
    HWND window;
    WNDPROC previous;
    bool wide;  // subclassed through the Unicode calls, as the window was created
    bool active;
    bool trackingLeave;
    LRESULT hotButton;
    SkinnedWindow* next;
};

// The process's one engine state; plain data, since no constructor runs here.
using DwmSetter = decltype(&DwmSetWindowAttribute);

struct Engine {
    Palette palette;
    SkinnedWindow* windows;
    HHOOK hook;
    bool dwmLookedUp;
    DwmSetter setWindowAttribute;  // nullptr before Vista
};
Engine engine;

SkinnedWindow* Find(HWND window) { return static_cast<SkinnedWindow*>(GetPropW(window, kStateProperty)); }

LRESULT CallPrevious(const SkinnedWindow* s, UINT message, WPARAM wParam, LPARAM lParam) {
    return s->wide ? CallWindowProcW(s->previous, s->window, message, wParam, lParam)
                   : CallWindowProcA(s->previous, s->window, message, wParam, lParam);
}

void Paint(SkinnedWindow* s) {
    if (!IsWindowVisible(s->window)) return;
    HDC dc = GetWindowDC(s->window);
    if (!dc) return;
    PaintFrame(s->window, dc, engine.palette, CaptionLook{s->active, s->hotButton});
    ReleaseDC(s->window, dc);
}

// A message may destroy its window (a click on the close button does), so
// the state is looked up again before painting after it.
void PaintIfStillSkinned(HWND window) {
    if (SkinnedWindow* s = Find(window)) Paint(s);
}

LRESULT OnNcPaint(SkinnedWindow* s, WPARAM update) {
    HRGN skinned = SkinnedRegion(s->window);
    if (!skinned) return CallPrevious(s, WM_NCPAINT, update, 0);
    // The previous procedure still paints what the skin leaves alone: the
    // menu bar, scroll bars and client edge, in screen coordinates.
    RECT bounds;
    GetWindowRect(s->window, &bounds);
    OffsetRgn(skinned, bounds.left, bounds.top);
    HRGN rest = CreateRectRgnIndirect(&bounds);
    if (update > 1) CombineRgn(rest, rest, reinterpret_cast<HRGN>(update), RGN_AND);
    const int kind = CombineRgn(rest, rest, skinned, RGN_DIFF);
    DeleteObject(skinned);
    if (kind != NULLREGION && kind != ERROR) CallPrevious(s, WM_NCPAINT, reinterpret_cast<WPARAM>(rest), 0);
    // The system may have taken the region over as the clip of its DC.
    if (GetObjectType(rest) == OBJ_REGION) DeleteObject(rest);
    PaintIfStillSkinned(s->window);
    return 0;
}

LRESULT OnNcActivate(SkinnedWindow* s, WPARAM active, LPARAM lParam) {
    s->active = active != 0;
    const HWND window = s->window;
    const LRESULT result = CallPrevious(s, WM_NCACTIVATE, active, lParam);
    PaintIfStillSkinned(window);
    return result;
}

LRESULT OnPrint(SkinnedWindow* s, HDC dc, LPARAM what) {
    const LRESULT result = CallPrevious(s, WM_PRINT, reinterpret_cast<WPARAM>(dc), what);
    if ((what & PRF_NONCLIENT) && (!(what & PRF_CHECKVISIBLE) || IsWindowVisible(s->window)))
        PaintFrame(s->window, dc, engine.palette, CaptionLook{s->active, s->hotButton});
    return result;
}

bool IsCaptionButton(LRESULT hit) { return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON; }

void SetHotButton(SkinnedWindow* s, LRESULT hot) {
    if (s->hotButton == hot) return;
    s->hotButton = hot;
    Paint(s);
}

LRESULT OnNcMouseMove(SkinnedWindow* s, WPARAM hit, LPARAM lParam) {
    const HWND window = s->window;
    const LRESULT result = CallPrevious(s, WM_NCMOUSEMOVE, hit, lParam);
    if (!(s = Find(window))) return result;
    const LRESULT hot = IsCaptionButton(hit) ? static_cast<LRESULT>(hit) : HTNOWHERE;
    // Leaving the frame ends the hot face; the system says so only when asked.
    if (hot != HTNOWHERE && !s->trackingLeave) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, window, 0};
        s->trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    SetHotButton(s, hot);
    return result;
}

LRESULT OnNcMouseLeave(SkinnedWindow* s) {
    s->trackingLeave = false;
    const HWND window = s->window;
    const LRESULT result = CallPrevious(s, WM_NCMOUSELEAVE, 0, 0);
    if ((s = Find(window))) SetHotButton(s, HTNOWHERE);
    return result;
}

void Unsubclass(SkinnedWindow* s) {
    // Someone who subclassed after us keeps our procedure in their chain;
    // taking it out from under them would cut the chain.
    const LONG_PTR current = s->wide ? GetWindowLongPtrW(s->window, GWLP_WNDPROC) : GetWindowLongPtrA(s->window, GWLP_WNDPROC);
    if (current == reinterpret_cast<LONG_PTR>(SkinProc)) {
        if (s->wide) SetWindowLongPtrW(s->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s->previous));
        else SetWindowLongPtrA(s->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s->previous));
    }
    RemovePropW(s->window, kStateProperty);
    for (SkinnedWindow** link = &engine.windows; *link; link = &(*link)->next) {
        if (*link == s) {
            *link = s->next;
            break;
        }
    }
    HeapFree(GetProcessHeap(), 0, s);
}

LRESULT OnNcDestroy(SkinnedWindow* s, WPARAM wParam, LPARAM lParam) {
    const SkinnedWindow copy = *s;
    Unsubclass(s);
    return CallPrevious(&copy, WM_NCDESTROY, wParam, lParam);
}

// Messages after whose default handling the system has drawn its own
// caption or frame again.
bool RepaintsCaption(UINT message) {
    switch (message) {
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_ENABLE:
    case WM_STYLECHANGED:
    case WM_SYSCOMMAND:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
        return true;
    default:
        return false;
    }
}

}  // namespace

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinnedWindow* s = Find(window);
    if (!s) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_NCPAINT: return OnNcPaint(s, wParam);
    case WM_NCACTIVATE: return OnNcActivate(s, wParam, lParam);
    case WM_PRINT: return OnPrint(s, reinterpret_cast<HDC>(wParam), lParam);
    case WM_NCMOUSEMOVE: return OnNcMouseMove(s, wParam, lParam);
    case WM_NCMOUSELEAVE: return OnNcMouseLeave(s);
    case WM_NCDESTROY: return OnNcDestroy(s, wParam, lParam);
    default: break;
    }
    const LRESULT result = CallPrevious(s, message, wParam, lParam);
    if (RepaintsCaption(message)) PaintIfStillSkinned(window);
    return result;
}

namespace {

bool WantsSkin(HWND window, LONG style, HWND parent) {
    if (style & WS_CHILD) return false;
    if (parent == HWND_MESSAGE) return false;
    // An overlapped window always gets a caption, even before its style says so.
    const bool caption = (style & WS_CAPTION) == WS_CAPTION || !(style & WS_POPUP);
    return caption && !Find(window);
}

// dwmapi.dll is missing before Vista, so it is looked for at run time, and
// only in the system folder. It stays loaded: a library may not be freed
// from the entry point of another, where the engine lets its windows go.
DwmSetter FindDwmSetter() {
    static const wchar_t kName[] = L"\\dwmapi.dll";
    constexpr UINT kNameLength = sizeof kName / sizeof kName[0];
    wchar_t path[MAX_PATH];
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
    if (folder == 0 || folder + kNameLength > MAX_PATH) return nullptr;
    for (UINT i = 0; i < kNameLength; ++i) path[folder + i] = kName[i];
    const HMODULE dwm = LoadLibraryW(path);
    return dwm ? reinterpret_cast<DwmSetter>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")))
               : nullptr;
}

// With desktop composition (from Vista; always on from Windows 8) the system
// draws its own frame over anything painted through the window DC, unless
// the window asks it not to.
void UseSystemFrame(HWND window, bool use) {
    if (!engine.dwmLookedUp) {
        engine.setWindowAttribute = FindDwmSetter();
        engine.dwmLookedUp = true;
    }
    if (!engine.setWindowAttribute) return;
    const DWORD policy = use ? DWMNCRP_USEWINDOWSTYLE : DWMNCRP_DISABLED;
    engine.setWindowAttribute(window, DWMWA_NCRENDERING_POLICY, &policy, sizeof policy);
}

void Subclass(HWND window) {
    auto* s = static_cast<SkinnedWindow*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SkinnedWindow)));
    if (!s) return;
    s->window = window;
    s->wide = IsWindowUnicode(window) != FALSE;
    s->active = GetActiveWindow() == window;
    s->hotButton = HTNOWHERE;
    // The state is in place before the first message reaches the new procedure.
    if (!SetPropW(window, kStateProperty, s)) {
        HeapFree(GetProcessHeap(), 0, s);
        return;
    }
    const LONG_PTR proc = reinterpret_cast<LONG_PTR>(SkinProc);
    s->previous = reinterpret_cast<WNDPROC>(s->wide ? SetWindowLongPtrW(window, GWLP_WNDPROC, proc)
                                                    : SetWindowLongPtrA(window, GWLP_WNDPROC, proc));
    if (!s->previous) {
        RemovePropW(window, kStateProperty);
        HeapFree(GetProcessHeap(), 0, s);
        return;
    }
    s->next = engine.windows;
    engine.windows = s;
    UseSystemFrame(window, false);
}

LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (WantsSkin(window, create->style | GetWindowLongW(window, GWL_STYLE), create->hwndParent))
            Subclass(window);
    }
    return CallNextHookEx(engine.hook, code, wParam, lParam);
}

BOOL CALLBACK SkinAndRepaint(HWND window, LPARAM) {
    if (WantsSkin(window, GetWindowLongW(window, GWL_STYLE), GetParent(window))) Subclass(window);
    if (Find(window))
        RedrawWindow(window, nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return TRUE;
}

// Windows keep working without the engine once it is unloaded: each gets
// its own procedure back and the system's frame.
void Detach() {
    if (engine.hook) UnhookWindowsHookEx(engine.hook);
    engine.hook = nullptr;
    while (SkinnedWindow* s = engine.windows) {
        const HWND window = s->window;
        Unsubclass(s);
        UseSystemFrame(window, true);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

}  // namespace

}  // namespace skin

extern "C" int WINAPI SkinH_AttachRes(const uint8_t* skinBytes) {
    using namespace skin;
    Palette palette;
    if (!ReadSkinFile(skinBytes, &palette)) return 0;
    engine.palette = palette;
    const DWORD thread = GetCurrentThreadId();
    // Windows made later on the thread that applied the skin get it too.
    if (!engine.hook) engine.hook = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, thread);
    EnumThreadWindows(thread, SkinAndRepaint, 0);
    return 1;
}

// No C runtime starts this library; its instance argument is 0 when it is
// mapped from memory, so nothing here uses it.
extern "C" BOOL WINAPI EngineEntry(HINSTANCE, DWORD reason, LPVOID reserved) {
    // At process exit the windows go with the process.
    if (reason == DLL_PROCESS_DETACH && !reserved) skin::Detach();
    return TRUE;
}
