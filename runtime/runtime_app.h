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

// The DLL command binding tables, one entry per declaration of the program.
struct DllDeclarations {
    std::vector<const char*> files;
    std::vector<const char*> exports;
    std::vector<ModuleHandle> modules;
    std::vector<void*> entries;
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

    bool initialised() const { return initialised_; }
    // Program header word 0.
    uint32_t runMode() const { return runMode_; }
    // One above header word 2 at start; each count, hold and release notification raises it.
    uint32_t counter() const { return counter_; }
    void Count() { ++counter_; }

    // The program's folder, current from InitRuntime on, and its file name.
    const std::string& programDirectory() const { return programDirectory_; }
    const std::string& programFileName() const { return programFileName_; }
    // The folder of the module the runtime runs in, with a trailing backslash.
    const std::string& moduleDirectory() const { return moduleDirectory_; }

    // The program header's libraries, in its order.
    const std::vector<const LibraryRecord*>& libraries() const { return libraries_; }
    DllDeclarations& dlls() { return dlls_; }

    // Events reach no subroutine while any hold lasts.
    void HoldEvents() { InterlockedIncrement(&eventHolds_); }
    void ReleaseEvents() {
        if (eventHolds_ > 0) InterlockedDecrement(&eventHolds_);
    }
    LONG eventHolds() const { return eventHolds_; }

    DWORD mainThreadId() const { return mainThreadId_; }
    // The hidden window that owns the program's windows and the clipboard.
    HWND hiddenOwnerHandle() const { return hiddenOwnerHandle_; }
    // The program's large and small icons; empty until first asked for.
    IconHandle (&programIcons())[2] { return programIcons_; }
    void AddSmallRecord(SmallRecord* record) { smallRecords_.push_back(record); }
    bool HasSmallRecord(const SmallRecord* record) const;
    CRITICAL_SECTION& soundLock() { return soundLock_; }

    // The window whose modal loop runs, or 0.
    uint32_t modalWindowId() const { return modalWindowId_; }
    void SetModalWindowId(uint32_t windowId) { modalWindowId_ = windowId; }

    WindowSystem* windows() const;

    void AddIdleCallback(HWND window, void(__cdecl* routine)(int32_t), int32_t argument);
    void RemoveIdleCallback(HWND window);
    void RegisterAtExit(AtExitRoutine routine);
    // Drops the routines waiting for the end: an error ends the program without them.
    void ForgetAtExit() { atExit_.clear(); }
    const std::vector<AtExitRoutine>& atExitRoutines() const { return atExit_; }

    // Called by the window system when a program window is destroyed.
    void LastWindowGone();

private:
    uint32_t runMode_ = 0;
    uint32_t counter_ = 0;

    std::string programDirectory_;
    std::string programFileName_;
    std::string moduleDirectory_;

    std::vector<const LibraryRecord*> libraries_;
    std::vector<int32_t> libraryValues_;
    DllDeclarations dlls_;

    volatile LONG eventHolds_ = 0;
    DWORD mainThreadId_ = 0;
    std::vector<IdleCallback> idleCallbacks_;
    std::vector<AtExitRoutine> atExit_;
    volatile LONG exiting_ = 0;
    bool oleInitialised_ = false;
    std::unique_ptr<HiddenOwnerWindow> hiddenOwner_;
    HWND hiddenOwnerHandle_ = nullptr;
    IconHandle programIcons_[2];
    std::vector<SmallRecord*> smallRecords_;
    CRITICAL_SECTION soundLock_;

    bool loopEntered_ = false;
    uint32_t modalWindowId_ = 0;
    bool initialised_ = false;

    // OnIdle's bookkeeping for the current idle period.
    DWORD idlePeriodStart_ = 0;
    bool frameworkIdleActive_ = false;
    std::vector<uint32_t> idleDoneWindows_;
};

RuntimeApp& Runtime();

// Holds events back for as long as it lives.
struct EventHold {
    EventHold() { Runtime().HoldEvents(); }
    ~EventHold() { Runtime().ReleaseEvents(); }
    EventHold(const EventHold&) = delete;
    EventHold& operator=(const EventHold&) = delete;
};

}  // namespace qy
