// Identifiers of the program that the runtime and the windows refer to.
#pragma once
#include <cstdint>

namespace program {

constexpr uint32_t kStartupWindowId = 0x52010001;
constexpr int kDllCommandCount = 27;

// Indexes of the DLL command declarations.
enum DllCommand {
    kOpenEventA = 0,
    kCreateEventA = 1,
    kCloseHandle = 2,
    kByteSetAddress = 3,
    kTextAddress = 4,
    kSetWindowLongA = 5,
    kSetTimer = 6,
    kCallWindowProcA = 7,
    kGetDC = 8,
    kKillTimer = 9,
    kByteSetAddressA = 10,
    kCopyDosHeader = 11,
    kCopyNtHeaders = 12,
    kCopySectionHeader = 13,
    kMoveMemory = 14,
    kVirtualAlloc = 15,
    kMoveMemory8 = 16,
    kReadShort = 17,
    kWriteInt = 18,
    kMoveMemory20 = 19,
    kGetModuleHandleA = 20,
    kLoadLibraryA = 21,
    kReadInt = 22,
    kGetProcAddress = 23,
    kVirtualFree = 24,
    kCopySectionHeader2 = 25,
    kReleaseDC = 26,
};

}  // namespace program
