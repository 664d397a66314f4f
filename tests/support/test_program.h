// The program image that test programs link in place of the application:
// a constant block with known contents, the four libraries and DLL
// declarations aimed at the binding rules.
#pragma once
#include <cstdint>

namespace qytest {

struct __attribute__((packed)) TestConstants {
    char emptyText[1];
    int32_t emptyByteSet[2];
    int32_t array[5];      // one dimension of 3: 10, 20, 30
    char hello[6];         // "hello"
    char tail[10];         // the last ten bytes of the block, no terminator
};
extern "C" const TestConstants TestConstantBlock;

enum TestDll {
    kDllGdiByDefaultList = 0,  // "" / GetStockObject: only in Gdi32
    kDllMissingInNamed,        // "kernel32" / QyNoSuchExport
    kDllMissingEverywhere,     // "" / QyNoSuchExport
    kDllOrdinal,               // "qytestdll.dll" / "#5"
    kDllAbsolutePath,          // a drive-letter path to qytestdll.dll / QySeven
    kDllTickCount,             // "kernel32" / GetTickCount
    kDllTickCountAgain,        // the same export declared again
    kDllCount
};
// The drive-letter path is only known at run time.
void SetAbsoluteDllPath(const char* path);

// The scenario the start-up subroutine runs; empty in an ordinary test run.
extern const char* currentScenario;

}  // namespace qytest
