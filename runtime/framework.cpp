#include "runtime/framework.h"

#include "runtime/win32_handles.h"

namespace qy {

namespace {
FrameworkApp* currentApp = nullptr;
std::map<HWND, FrameworkWindow*>& WindowMap() {
    static std::map<HWND, FrameworkWindow*> map;
    return map;
}
}  // namespace

FrameworkWindow::~FrameworkWindow() {
    if (hwnd_) {
        WindowMap().erase(hwnd_);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    }
}

bool FrameworkWindow::RegisterWindowClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background,
                                    HICON icon) {
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) return true;
    wc.style = style;
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return ::RegisterClassA(&wc) != 0;
}

bool FrameworkWindow::Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                             int width, int height, HWND parent) {
    HWND hwnd = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                                GetModuleHandleA(nullptr), this);
    return hwnd != nullptr;
}

bool FrameworkWindow::Destroy() {
    if (!hwnd_) return false;
    return DestroyWindow(hwnd_) != FALSE;
}

BOOL FrameworkWindow::PreTranslateMessage(MSG*) { return FALSE; }

FrameworkWindow* FrameworkWindow::FromHandle(HWND hwnd) {
    auto& map = WindowMap();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

bool FrameworkWindow::MapExists() { return currentApp != nullptr; }

LRESULT FrameworkWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK FrameworkWindow::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FrameworkWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self && message == WM_NCCREATE) {
        self = static_cast<FrameworkWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        WindowMap()[hwnd] = self;
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WindowMap().erase(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

FrameworkApp::FrameworkApp() { currentApp = this; }

FrameworkApp::~FrameworkApp() {
    if (currentApp == this) currentApp = nullptr;
}

FrameworkApp* FrameworkApp::Current() { return currentApp; }

BOOL FrameworkApp::InitApplication() { return TRUE; }
BOOL FrameworkApp::InitInstance() { return TRUE; }

int FrameworkApp::Run() {
    // The runtime runs its own loop from the start-up subroutine; this plain
    // pump only serves an application whose InitInstance asks for it.
    while (PumpMessage()) {
    }
    return ExitInstance();
}

BOOL FrameworkApp::PreTranslateMessage(MSG*) { return FALSE; }

BOOL FrameworkApp::PumpMessage() {
    if (!GetMessageA(&message_, nullptr, 0, 0)) {
        quitCode_ = static_cast<int>(message_.wParam);
        return FALSE;
    }
    if (!PreTranslateMessage(&message_)) {
        TranslateMessage(&message_);
        DispatchMessageA(&message_);
    }
    return TRUE;
}

BOOL FrameworkApp::FrameworkIdle(LONG count) {
    // One pass of housekeeping per idle period; nothing is cached between passes.
    return count < 1;
}

BOOL FrameworkApp::OnIdle(LONG count) { return FrameworkIdle(count); }

BOOL FrameworkApp::IsIdleMessage(MSG* message) {
    // Repeated mouse moves to the same place, paints and caret blinks do not
    // restart idle processing.
    constexpr UINT kSysTimer = 0x0118;
    if (message->message == WM_MOUSEMOVE || message->message == WM_NCMOUSEMOVE) {
        if (lastMouseMessage_ == message->message && lastMouse_.x == message->pt.x &&
            lastMouse_.y == message->pt.y)
            return FALSE;
        lastMouse_ = message->pt;
        lastMouseMessage_ = message->message;
        return TRUE;
    }
    return message->message != WM_PAINT && message->message != kSysTimer;
}

int FrameworkApp::ExitInstance() { return quitCode_; }

int FrameworkApp::Main(HINSTANCE instance, const char* commandLine, int show) {
    FrameworkApp* app = currentApp;
    if (!app) return -1;
    app->instance_ = instance;
    app->commandLine_ = commandLine ? commandLine : "";
    app->show_ = show;
    int code = -1;
    if (app->InitApplication()) {
        if (app->InitInstance()) {
            code = app->Run();
        } else {
            DestroyWindow(app->mainWindow_);
            code = app->ExitInstance();
        }
    }
    return code;
}

}  // namespace qy
