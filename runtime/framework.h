// A small Windows application framework: the application-object protocol,
// window objects with their handle map, and message pumping. The runtime
// object derives from FrameworkApp and overrides instance start and exit,
// idle processing and message pre-translation.
#pragma once
#include <windows.h>
#include <map>

namespace qy {

class FrameworkWindow {
public:
    virtual ~FrameworkWindow();
    HWND handle() const { return hwnd_; }
    // Registers a class whose procedure routes messages to the object.
    static bool RegisterWindowClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon);
    bool Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                int width, int height, HWND parent);
    bool Destroy();
    virtual BOOL PreTranslateMessage(MSG* message);
    static FrameworkWindow* FromHandle(HWND hwnd);
    // The window map exists while an application object is alive.
    static bool MapExists();

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

class FrameworkApp {
public:
    FrameworkApp();
    virtual ~FrameworkApp();
    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* message);
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG count);
    virtual BOOL IsIdleMessage(MSG* message);
    virtual int ExitInstance();

    static FrameworkApp* Current();
    HINSTANCE instance() const { return instance_; }
    HWND mainWindow() const { return mainWindow_; }
    // The framework's own idle work; answers whether more remains.
    BOOL FrameworkIdle(LONG count);

    // The framework's main routine, called by the process entry.
    static int Main(HINSTANCE instance, const char* commandLine, int show);

protected:
    HINSTANCE instance_ = nullptr;
    const char* commandLine_ = "";
    int show_ = SW_SHOWDEFAULT;
    MSG message_{};
    HWND mainWindow_ = nullptr;
    int quitCode_ = 0;
    POINT lastMouse_{-1, -1};
    UINT lastMouseMessage_ = 0;
};

}  // namespace qy
