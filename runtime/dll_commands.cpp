#include "runtime/dll_commands.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/errors.h"
#include "runtime/runtime_app.h"

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
    size_t i = static_cast<size_t>(index);
    if (app.dllEntries[i]) return app.dllEntries[i];

    const char* exportName = OrEmpty(app.dllExports[i]);
    const char* dllName = OrEmpty(app.dllFiles[i]);
    LPCSTR key = LookupKey(exportName);
    HMODULE module = nullptr;
    void* entry = nullptr;

    if (!*dllName) {
        for (const char* candidate : kDefaultDlls) {
            HMODULE loaded = LoadLibraryA(candidate);
            if (!loaded) continue;
            entry = reinterpret_cast<void*>(GetProcAddress(loaded, key));
            if (entry) {
                module = loaded;
                break;
            }
            FreeLibrary(loaded);
        }
    } else {
        if (!std::strchr(dllName, ':')) {
            std::string inProgramDirectory = app.programDirectory + "\\" + dllName;
            module = LoadLibraryA(inProgramDirectory.c_str());
            if (!module && !app.moduleDirectory.empty()) {
                module = LoadLibraryA((app.moduleDirectory + dllName).c_str());
            }
        }
        if (!module) module = LoadLibraryA(dllName);
        if (module) entry = reinterpret_cast<void*>(GetProcAddress(module, key));
    }

    if (entry) {
        app.dllModules[i].reset(module);
        app.dllEntries[i] = entry;
        return entry;
    }
    if (module) FreeLibrary(module);
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
