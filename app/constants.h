// The program's constant block: one contiguous read-only region that starts
// with the empty text and the empty byte set compiled code passes for empty
// variables, followed by every other constant of the program.
#pragma once
#include <cstdint>

namespace program {

struct __attribute__((packed)) ProgramConstants {
    char emptyText[1];
    int32_t emptyByteSet[2];  // dimension count 1, length 0
    // DLL file names and export names of the 26 declarations.
    char kernel32[9];
    char user32Dll[11];
    char openEventA[11];
    char createEventA[13];
    char closeHandle[12];
    char lstrcpyn[9];
    char setWindowLongA[15];
    char setTimer[9];
    char callWindowProcA[16];
    char getDC[6];
    char killTimer[10];
    char lstrcpynA[10];
    char rtlMoveMemory[14];
    char virtualAlloc[13];
    char getModuleHandleA[17];
    char loadLibraryA[13];
    char getProcAddress[15];
    char virtualFree[12];
    // Texts of start-up.
    char instanceEventName[37];
};

extern "C" const ProgramConstants ProgramConstantBlock;

inline const char* EmptyText() { return ProgramConstantBlock.emptyText; }
inline const void* EmptyByteSet() { return ProgramConstantBlock.emptyByteSet; }

}  // namespace program
