// RuntimeApp: the single owner of all runtime state, from InitRuntime to
// Shutdown. It is the framework application object of the process.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "runtime/framework.h"
#include "runtime/program_image.h"
#include "runtime/services.h"
#include "runtime/win32_handles.h"

namespace qy {

class WindowSystem;

// Private window message that asks the main thread to end the program.
constexpr UINT kExitRequestMessage = WM_APP + 999;  // 0x83E7
// Private query for the framework object of a window that has none.
constexpr UINT kObjectQueryMessage = WM_APP + 2;    // 0x8002

class HiddenOwnerWindow : public FrameworkWindow {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A unit-owned small record released at shut-down.
struct SmallRecord {
    HICON icon;
    void* buffer;
};

struct IdleCallback {
    HWND window;
    void(__cdecl* routine)(int32_t);
    int32_t argument;
};

class RuntimeApp : public FrameworkApp {
public:
    RuntimeApp();
    ~RuntimeApp() override;

    BOOL InitInstance() override;
    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;

    void InitRuntime(const ProgramHeader& header);
    void Shutdown(int exitCode);
    void RunMessageLoop(bool modal);

    // Program header words 0-2.
    uint32_t runMode = 0;
    uint32_t headerWord1 = 0;
    uint32_t counter = 0;
    const void* codeBase = nullptr;

    std::string programDirectory;
    std::string programFileName;
    std::string moduleDirectory;

    std::vector<const LibraryRecord*> libraries;
    std::vector<int32_t> libraryValues;

    // DLL command binding tables, one entry per declaration.
    std::vector<const char*> dllFiles;
    std::vector<const char*> dllExports;
    std::vector<ModuleHandle> dllModules;
    std::vector<void*> dllEntries;

    volatile LONG eventHoldCount = 0;
    DWORD mainThreadId = 0;
    std::vector<IdleCallback> idleCallbacks;
    std::vector<AtExitRoutine> atExit;
    volatile LONG exiting = 0;
    bool oleInitialised = false;
    std::unique_ptr<HiddenOwnerWindow> hiddenOwner;
    HWND hiddenOwnerHandle = nullptr;
    HANDLE heap = nullptr;
    IconHandle programIcons[2];
    std::vector<SmallRecord*> smallRecords;
    CRITICAL_SECTION soundLock;

    bool loopEntered = false;
    uint32_t modalWindowId = 0;
    bool initialised = false;

    // OnIdle's bookkeeping for the current idle period.
    DWORD idlePeriodStart = 0;
    bool frameworkIdleActive = false;
    std::vector<uint32_t> idleDoneWindows;

    WindowSystem* windows() const;

    void AddIdleCallback(HWND window, void(__cdecl* routine)(int32_t), int32_t argument);
    void RemoveIdleCallback(HWND window);
    void RegisterAtExit(AtExitRoutine routine);

    // Called by the window system when a program window is destroyed.
    void LastWindowGone();
};

RuntimeApp& Runtime();

// Holds events back for as long as it lives.
struct EventHold {
    EventHold() { InterlockedIncrement(&Runtime().eventHoldCount); }
    ~EventHold() {
        if (Runtime().eventHoldCount > 0) InterlockedDecrement(&Runtime().eventHoldCount);
    }
    EventHold(const EventHold&) = delete;
    EventHold& operator=(const EventHold&) = delete;
};

}  // namespace qy
