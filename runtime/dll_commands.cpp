#include "runtime/dll_commands.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "runtime/errors.h"
#include "runtime/runtime_app.h"
#include "runtime/win32_handles.h"

namespace qy {

const char* const kDefaultDlls[6] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                     "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

namespace {

// GetProcAddress key: a name, or an ordinal from "#n" in its low word.
LPCSTR LookupKey(const char* exportName) {
    if (exportName[0] == '#') {
        unsigned long ordinal = std::strtoul(exportName + 1, nullptr, 10);
        return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(ordinal & 0xFFFF));
    }
    return exportName;
}

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

void* BindDllCommand(int index) {
    RuntimeApp& app = Runtime();
    DllDeclarations& dlls = app.dlls();
    size_t i = static_cast<size_t>(index);
    if (dlls.entries[i]) return dlls.entries[i];

    const char* exportName = OrEmpty(dlls.exports[i]);
    const char* dllName = OrEmpty(dlls.files[i]);
    LPCSTR key = LookupKey(exportName);
    ModuleHandle module;
    void* entry = nullptr;

    if (!*dllName) {
        for (const char* candidate : kDefaultDlls) {
            ModuleHandle loaded(LoadLibraryA(candidate));
            if (!loaded) continue;
            entry = reinterpret_cast<void*>(GetProcAddress(loaded.get(), key));
            if (entry) {
                module = std::move(loaded);
                break;
            }
        }
    } else {
        if (!std::strchr(dllName, ':')) {
            std::string inProgramDirectory = app.programDirectory() + "\\" + dllName;
            module.reset(LoadLibraryA(inProgramDirectory.c_str()));
            if (!module && !app.moduleDirectory().empty()) {
                module.reset(LoadLibraryA((app.moduleDirectory() + dllName).c_str()));
            }
        }
        if (!module) module.reset(LoadLibraryA(dllName));
        if (module) entry = reinterpret_cast<void*>(GetProcAddress(module.get(), key));
    }

    if (entry) {
        dlls.modules[i] = std::move(module);
        dlls.entries[i] = entry;
        return entry;
    }
    // The error box ends the program without unwinding, so the library goes first.
    module.reset();
    char text[1024];
    if (!*dllName) {
        std::snprintf(text, sizeof text, msg::kDllExportMissing, exportName);
    } else {
        std::snprintf(text, sizeof text, msg::kDllExportMissingInDll, dllName, exportName);
    }
    ShowRuntimeError(text);
}

extern "C" void* __cdecl BindDllCommandForCall(int index) { return BindDllCommand(index); }

}  // namespace qy
