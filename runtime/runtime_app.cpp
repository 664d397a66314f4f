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

RuntimeApp::RuntimeApp() { InitializeCriticalSection(&soundLock); }

RuntimeApp::~RuntimeApp() {
    // A process that ends without Shutdown abandons the hidden owner's
    // object: the window map its destructor would update is gone by now.
    (void)hiddenOwner.release();
    DeleteCriticalSection(&soundLock);
}

WindowSystem* RuntimeApp::windows() const { return installedSystem.windows; }

BOOL RuntimeApp::InitInstance() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(instance_, path, MAX_PATH);
    moduleDirectory = ModuleDirectoryOf(path);
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
        idlePeriodStart = GetTickCount();
        idleDoneWindows.clear();
        frameworkIdleActive = true;
    }
    if (frameworkIdleActive) {
        if (!FrameworkIdle(count)) frameworkIdleActive = false;
        return TRUE;
    }
    if (count <= 1) return TRUE;
    WindowSystem* system = windows();
    if (!system) return FALSE;
    return system->IdleEvents(GetTickCount() - idlePeriodStart, idleDoneWindows) ? TRUE : FALSE;
}

void RuntimeApp::InitRuntime(const ProgramHeader& header) {
    heap = GetProcessHeap();
    runMode = header.runMode;
    headerWord1 = header.word1;
    counter = header.counterStart + 1;
    codeBase = header.codeBase;

    if (!oleInitialised) {
        HRESULT hr = OleInitialize(nullptr);
        if (SUCCEEDED(hr)) oleInitialised = true;
    }

    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    SplitProgramPath(path, &programDirectory, &programFileName);
    if (!programDirectory.empty()) SetCurrentDirectoryA(programDirectory.c_str());

    FrameworkWindow::RegisterWindowClass(kHiddenOwnerClass, 0, LoadCursor(nullptr, IDC_ARROW),
                                   static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), nullptr);
    if (!hiddenOwner) {
        hiddenOwner = std::make_unique<HiddenOwnerWindow>();
        hiddenOwner->Create(WS_EX_TOOLWINDOW, kHiddenOwnerClass, "", 0, 0, 0, 0, 0, nullptr);
        hiddenOwnerHandle = hiddenOwner->handle();
    }

    mainThreadId = GetCurrentThreadId();

    if (header.constantSize > 0) SetConstantBlock(header.constants, header.constantSize);

    if (header.dllCount > 0) {
        size_t n = static_cast<size_t>(header.dllCount);
        dllFiles.assign(header.dllFiles, header.dllFiles + n);
        dllExports.assign(header.dllExports, header.dllExports + n);
        dllModules.clear();
        dllModules.resize(n);
        dllEntries.assign(n, nullptr);
    }

    if (header.libraryCount > 0) {
        for (int i = 0; i < header.libraryCount; ++i) {
            const LibraryRecord* library = header.libraries[i];
            if (library && library->notify) library->notify(kLibraryStartUp, reinterpret_cast<int32_t>(&RuntimeNotify), 0);
        }
        libraries.assign(header.libraries, header.libraries + header.libraryCount);
        libraryValues.assign(libraries.size(), 0);
    }

    WindowSystem* system = windows();
    if (header.templateSize > 0 && system) {
        try {
            MemoryFile file(header.templates, header.templateSize);
            LoadingArchive archive(file, 4096);
            system->LoadSegment(archive);
            // Relocation walks the records too; a fault there is the segment's.
            system->RelocateHandlers(reinterpret_cast<uintptr_t>(codeBase));
        } catch (...) {
            ShowRuntimeError(msg::kTemplateSegment);
        }
    }
    initialised = true;
}

void RuntimeApp::Shutdown(int exitCode) {
    InterlockedIncrement(&eventHoldCount);
    if (mainThreadId != 0 && GetCurrentThreadId() != mainThreadId) {
        if (hiddenOwnerHandle) {
            SendMessageA(hiddenOwnerHandle, kExitRequestMessage, static_cast<WPARAM>(exitCode), 0);
        }
        if (exiting == 0) ExitProcess(static_cast<UINT>(exitCode));
        return;
    }
    exiting = 1;
    idleCallbacks.clear();
    if (WindowSystem* system = windows()) system->DestroyAll();

    // Routines may register further routines while they run; those run too.
    for (size_t i = 0; i < atExit.size(); ++i) CallPreserved(reinterpret_cast<const void*>(atExit[i]));
    atExit.clear();

    for (size_t i = 0; i < libraries.size(); ++i) {
        if (libraries[i] && libraries[i]->notify) libraries[i]->notify(kLibraryShutDown, libraryValues[i], 0);
    }
    libraries.clear();
    libraryValues.clear();

    if (!dllModules.empty()) {
        dllFiles.clear();
        dllExports.clear();
        dllModules.clear();
        dllEntries.clear();
    }

    SetConstantBlock(nullptr, 0);

    for (IconHandle& icon : programIcons) icon.reset();

    if (hiddenOwner) {
        if (FrameworkWindow::MapExists()) hiddenOwner->Destroy();
        hiddenOwner.reset();
        hiddenOwnerHandle = nullptr;
    }

    if (installedSystem.releaseObjects) installedSystem.releaseObjects();
    if (installedSystem.releaseMedia) installedSystem.releaseMedia();

    for (SmallRecord* record : smallRecords) {
        if (record->icon) DestroyIcon(record->icon);
        Free(record->buffer);
        Free(record);
    }
    smallRecords.clear();

    if (oleInitialised) {
        OleUninitialize();
        oleInitialised = false;
    }
}

void RuntimeApp::AddIdleCallback(HWND window, void(__cdecl* routine)(int32_t), int32_t argument) {
    if (!routine || !IsWindow(window)) return;
    for (const IdleCallback& entry : idleCallbacks)
        if (entry.window == window) return;
    idleCallbacks.push_back({window, routine, argument});
}

void RuntimeApp::RemoveIdleCallback(HWND window) {
    idleCallbacks.erase(std::remove_if(idleCallbacks.begin(), idleCallbacks.end(),
                                       [window](const IdleCallback& e) { return e.window == window; }),
                        idleCallbacks.end());
}

void RuntimeApp::RegisterAtExit(AtExitRoutine routine) {
    if (std::find(atExit.begin(), atExit.end(), routine) == atExit.end()) atExit.push_back(routine);
}

void RuntimeApp::RunMessageLoop(bool modal) {
    if (!modal) {
        loopEntered = true;
        WindowSystem* system = windows();
        if (!system || !system->AnyWindowExists()) return;
    }
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !PeekMessageA(&message_, nullptr, 0, 0, PM_NOREMOVE)) {
            for (size_t i = idleCallbacks.size(); i-- > 0;) {
                IdleCallback entry = idleCallbacks[i];
                if (IsWindow(entry.window)) {
                    entry.routine(entry.argument);
                } else {
                    idleCallbacks.erase(idleCallbacks.begin() + static_cast<long>(i));
                }
                if (i > idleCallbacks.size()) i = idleCallbacks.size();
            }
            if (!OnIdle(idleCount++)) idle = false;
            if (modal && modalWindowId == 0) return;
        }
        do {
            if (modal && message_.message == WM_QUIT) return;
            if (!PumpMessage()) {
                // A quit seen by a modal loop belongs to the top-level loop.
                if (modal) PostQuitMessage(static_cast<int>(message_.wParam));
                return;
            }
            if (modal && modalWindowId == 0) return;
            if (IsIdleMessage(&message_)) {
                idle = true;
                idleCount = 0;
            }
        } while (PeekMessageA(&message_, nullptr, 0, 0, PM_NOREMOVE));
    }
}

void RuntimeApp::LastWindowGone() {
    if (loopEntered) PostQuitMessage(0);
}

}  // namespace qy
