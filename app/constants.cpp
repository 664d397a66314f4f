#include "app/constants.h"

namespace program {

// Sorted by the linker right after the runtime's service table.
extern "C" __attribute__((section(".rdata$qy2"), used, aligned(4))) const ProgramConstants ProgramConstantBlock = {
    {0},
    {1, 0},
    "kernel32",
    "user32.dll",
    "OpenEventA",
    "CreateEventA",
    "CloseHandle",
    "lstrcpyn",
    "SetWindowLongA",
    "SetTimer",
    "CallWindowProcA",
    "GetDC",
    "KillTimer",
    "lstrcpynA",
    "RtlMoveMemory",
    "VirtualAlloc",
    "GetModuleHandleA",
    "LoadLibraryA",
    "GetProcAddress",
    "VirtualFree",
    "青砚语进程标识为砌字成图是否重复运行",
};

}  // namespace program
