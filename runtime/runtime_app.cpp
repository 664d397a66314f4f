#include "runtime/runtime_app.h"

#include <ole2.h>

#include <algorithm>

#include "runtime/archive.h"
#include "runtime/errors.h"
#include "runtime/memory.h"
#include "runtime/program_path.h"
#include "runtime/protocol.h"
#include "runtime/runtime_system.h"

namespace qy {

extern "C" uint32_t __cdecl CallPreserved(const void* routine);

namespace {
RuntimeSystem installedSystem;
const char kHiddenOwnerClass[] = "_QY_HideOwner";
}  // namespace

void InstallRuntimeSystem(const RuntimeSystem& system) { installedSystem = system; }
RuntimeSystem& InstalledSystem() { return installedSystem; }

// Constructed by static initialisation, like the framework's application object.
static RuntimeApp theRuntime;
RuntimeApp& Runtime() { return theRuntime; }

LRESULT HiddenOwnerWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kExitRequestMessage) {
        ExitProgram(static_cast<int>(wParam));
    }
    return FrameworkWindow::WindowProc(message, wParam, lParam);
}

RuntimeApp::RuntimeApp() { InitializeCriticalSection(&soundLock_); }

RuntimeApp::~RuntimeApp() {
    // A process that ends without Shutdown abandons the hidden owner's
    // object: the window map its destructor would update is gone by now.
    (void)hiddenOwner_.release();
    DeleteCriticalSection(&soundLock_);
}

WindowSystem* RuntimeApp::windows() const { return installedSystem.windows; }

BOOL RuntimeApp::InitInstance() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(instance_, path, MAX_PATH);
    moduleDirectory_ = ModuleDirectoryOf(path);
    return static_cast<BOOL>(CallPreserved(reinterpret_cast<const void*>(&ProgramStartup)));
}

int RuntimeApp::ExitInstance() {
    Shutdown(0);
    return FrameworkApp::ExitInstance();
}

BOOL RuntimeApp::PreTranslateMessage(MSG* message) {
    // Thread messages have no window to pre-translate them; the framework
    // handles none itself, so they go on to dispatch (timer callbacks).
    if (!message->hwnd) return FALSE;
    for (HWND hwnd = message->hwnd; hwnd; hwnd = GetParent(hwnd)) {
        FrameworkWindow* object = FrameworkWindow::FromHandle(hwnd);
        if (!object) {
            object = reinterpret_cast<FrameworkWindow*>(SendMessageA(hwnd, kObjectQueryMessage, 0, 0));
        }
        if (object && object->PreTranslateMessage(message)) return TRUE;
        if (hwnd == mainWindow_) break;
    }
    return FALSE;
}

BOOL RuntimeApp::OnIdle(LONG count) {
    if (count == 0) {
        idlePeriodStart_ = GetTickCount();
        idleDoneWindows_.clear();
        frameworkIdleActive_ = true;
    }
    if (frameworkIdleActive_) {
        if (!FrameworkIdle(count)) frameworkIdleActive_ = false;
        return TRUE;
    }
    if (count <= 1) return TRUE;
    WindowSystem* system = windows();
    if (!system) return FALSE;
    return system->IdleEvents(GetTickCount() - idlePeriodStart_, idleDoneWindows_) ? TRUE : FALSE;
}

void RuntimeApp::InitRuntime(const ProgramHeader& header) {
    runMode_ = header.runMode;
    counter_ = header.counterStart + 1;

    if (!oleInitialised_) {
        HRESULT hr = OleInitialize(nullptr);
        if (SUCCEEDED(hr)) oleInitialised_ = true;
    }

    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    SplitProgramPath(path, &programDirectory_, &programFileName_);
    if (!programDirectory_.empty()) SetCurrentDirectoryA(programDirectory_.c_str());

    FrameworkWindow::RegisterWindowClass(kHiddenOwnerClass, 0, LoadCursor(nullptr, IDC_ARROW),
                                   static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), nullptr);
    if (!hiddenOwner_) {
        hiddenOwner_ = std::make_unique<HiddenOwnerWindow>();
        hiddenOwner_->Create(WS_EX_TOOLWINDOW, kHiddenOwnerClass, "", 0, 0, 0, 0, 0, nullptr);
        hiddenOwnerHandle_ = hiddenOwner_->handle();
    }

    mainThreadId_ = GetCurrentThreadId();

    if (header.constantSize > 0) SetConstantBlock(header.constants, header.constantSize);

    if (header.dllCount > 0) {
        size_t n = static_cast<size_t>(header.dllCount);
        dlls_.files.assign(header.dllFiles, header.dllFiles + n);
        dlls_.exports.assign(header.dllExports, header.dllExports + n);
        dlls_.modules.clear();
        dlls_.modules.resize(n);
        dlls_.entries.assign(n, nullptr);
    }

    if (header.libraryCount > 0) {
        for (int i = 0; i < header.libraryCount; ++i) {
            const LibraryRecord* library = header.libraries[i];
            if (library && library->notify) library->notify(kLibraryStartUp, reinterpret_cast<int32_t>(&RuntimeNotify), 0);
        }
        libraries_.assign(header.libraries, header.libraries + header.libraryCount);
        libraryValues_.assign(libraries_.size(), 0);
    }

    WindowSystem* system = windows();
    if (header.templateSize > 0 && system) {
        try {
            MemoryFile file(header.templates, header.templateSize);
            LoadingArchive archive(file, 4096);
            system->LoadSegment(archive);
            // Relocation walks the records too; a fault there is the segment's.
            system->RelocateHandlers(reinterpret_cast<uintptr_t>(header.codeBase));
        } catch (...) {
            ShowRuntimeError(msg::kTemplateSegment);
        }
    }
    initialised_ = true;
}

void RuntimeApp::Shutdown(int exitCode) {
    HoldEvents();
    if (mainThreadId_ != 0 && GetCurrentThreadId() != mainThreadId_) {
        if (hiddenOwnerHandle_) {
            SendMessageA(hiddenOwnerHandle_, kExitRequestMessage, static_cast<WPARAM>(exitCode), 0);
        }
        if (exiting_ == 0) ExitProcess(static_cast<UINT>(exitCode));
        return;
    }
    exiting_ = 1;
    idleCallbacks_.clear();
    if (WindowSystem* system = windows()) system->DestroyAll();

    // Routines may register further routines while they run; those run too.
    for (size_t i = 0; i < atExit_.size(); ++i) CallPreserved(reinterpret_cast<const void*>(atExit_[i]));
    atExit_.clear();

    for (size_t i = 0; i < libraries_.size(); ++i) {
        if (libraries_[i] && libraries_[i]->notify) libraries_[i]->notify(kLibraryShutDown, libraryValues_[i], 0);
    }
    libraries_.clear();
    libraryValues_.clear();

    dlls_ = DllDeclarations();

    SetConstantBlock(nullptr, 0);

    for (IconHandle& icon : programIcons_) icon.reset();

    if (hiddenOwner_) {
        if (FrameworkWindow::MapExists()) hiddenOwner_->Destroy();
        hiddenOwner_.reset();
        hiddenOwnerHandle_ = nullptr;
    }

    if (installedSystem.releaseObjects) installedSystem.releaseObjects();
    if (installedSystem.releaseMedia) installedSystem.releaseMedia();

    for (SmallRecord* record : smallRecords_) {
        if (record->icon) DestroyIcon(record->icon);
        Free(record->buffer);
        Free(record);
    }
    smallRecords_.clear();

    if (oleInitialised_) {
        OleUninitialize();
        oleInitialised_ = false;
    }
}

bool RuntimeApp::HasSmallRecord(const SmallRecord* record) const {
    return std::find(smallRecords_.begin(), smallRecords_.end(), record) != smallRecords_.end();
}

void RuntimeApp::AddIdleCallback(HWND window, void(__cdecl* routine)(int32_t), int32_t argument) {
    if (!routine || !IsWindow(window)) return;
    for (const IdleCallback& entry : idleCallbacks_)
        if (entry.window == window) return;
    idleCallbacks_.push_back({window, routine, argument});
}

void RuntimeApp::RemoveIdleCallback(HWND window) {
    idleCallbacks_.erase(std::remove_if(idleCallbacks_.begin(), idleCallbacks_.end(),
                                       [window](const IdleCallback& e) { return e.window == window; }),
                        idleCallbacks_.end());
}

void RuntimeApp::RegisterAtExit(AtExitRoutine routine) {
    if (std::find(atExit_.begin(), atExit_.end(), routine) == atExit_.end()) atExit_.push_back(routine);
}

void RuntimeApp::RunMessageLoop(bool modal) {
    if (!modal) {
        loopEntered_ = true;
        WindowSystem* system = windows();
        if (!system || !system->AnyWindowExists()) return;
    }
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !PeekMessageA(&message_, nullptr, 0, 0, PM_NOREMOVE)) {
            for (size_t i = idleCallbacks_.size(); i-- > 0;) {
                IdleCallback entry = idleCallbacks_[i];
                if (IsWindow(entry.window)) {
                    entry.routine(entry.argument);
                } else {
                    idleCallbacks_.erase(idleCallbacks_.begin() + static_cast<long>(i));
                }
                if (i > idleCallbacks_.size()) i = idleCallbacks_.size();
            }
            if (!OnIdle(idleCount++)) idle = false;
            if (modal && modalWindowId_ == 0) return;
        }
        do {
            if (modal && message_.message == WM_QUIT) return;
            if (!PumpMessage()) {
                // A quit seen by a modal loop belongs to the top-level loop.
                if (modal) PostQuitMessage(static_cast<int>(message_.wParam));
                return;
            }
            if (modal && modalWindowId_ == 0) return;
            if (IsIdleMessage(&message_)) {
                idle = true;
                idleCount = 0;
            }
        } while (PeekMessageA(&message_, nullptr, 0, 0, PM_NOREMOVE));
    }
}

void RuntimeApp::LastWindowGone() {
    if (loopEntered_) PostQuitMessage(0);
}

}  // namespace qy
