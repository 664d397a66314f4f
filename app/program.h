// Identifiers of the program that the runtime and the windows refer to.
#pragma once
#include <cstdint>

#include "forms/template_units.h"

namespace program {

constexpr uint32_t kStartupWindowId = forms::启动窗口::窗口.window;

// The DLL commands the program declares, in declaration order: the command,
// then the constant-block texts of its DLL file (empty: searched as the
// runtime does) and of its export.
#define QY_DLL_COMMANDS(X) \
    X(kOpenEventA, emptyText, openEventA) \
    X(kCreateEventA, kernel32, createEventA) \
    X(kCloseHandle, kernel32, closeHandle) \
    X(kByteSetAddress, emptyText, lstrcpynPlain) \
    X(kTextAddress, emptyText, lstrcpynPlain) \
    X(kSetWindowLongA, emptyText, setWindowLongA) \
    X(kSetTimer, user32Dll, setTimer) \
    X(kCallWindowProcA, emptyText, callWindowProcA) \
    X(kGetDC, emptyText, getDC) \
    X(kKillTimer, emptyText, killTimer) \
    X(kByteSetAddressA, emptyText, lstrcpynA) \
    X(kCopyDosHeader, emptyText, rtlMoveMemory) \
    X(kCopyNtHeaders, emptyText, rtlMoveMemory) \
    X(kCopySectionHeader, emptyText, rtlMoveMemory) \
    X(kMoveMemory, emptyText, rtlMoveMemory) \
    X(kVirtualAlloc, emptyText, virtualAlloc) \
    X(kMoveMemory8, emptyText, rtlMoveMemory) \
    X(kReadShort, emptyText, rtlMoveMemory) \
    X(kWriteInt, emptyText, rtlMoveMemory) \
    X(kMoveMemory20, emptyText, rtlMoveMemory) \
    X(kGetModuleHandleA, emptyText, getModuleHandleA) \
    X(kLoadLibraryA, emptyText, loadLibraryA) \
    X(kReadInt, emptyText, rtlMoveMemory) \
    X(kGetProcAddress, emptyText, getProcAddress) \
    X(kVirtualFree, emptyText, virtualFree) \
    X(kCopySectionHeader2, emptyText, rtlMoveMemory) \
    X(kReleaseDC, emptyText, releaseDC)

enum DllCommand {
#define QY_DLL_INDEX(command, file, exportName) command,
    QY_DLL_COMMANDS(QY_DLL_INDEX)
#undef QY_DLL_INDEX
    kDllCommandCount
};

}  // namespace program
