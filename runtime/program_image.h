// The contract between the compiled program and the runtime: the program
// header, the library records and the data-type entries they point to.
#pragma once
#include <cstdint>

namespace qy {

typedef int32_t(__stdcall* LibraryNotifyEntry)(int32_t message, int32_t arg1, int32_t arg2);
typedef int32_t(__stdcall* RuntimeNotifyEntry)(int32_t code, int32_t arg1, int32_t arg2);

// The format marker, word 1 of every library record.
constexpr uint32_t kLibraryFormat = 20000101;

// One entry of a library's data-type array (56 bytes). For unit types the
// interface function hands out the type's operations by code.
struct DataTypeEntry {
    const char* name;
    const char* englishName;
    const char* description;
    int32_t commandCount;
    const int32_t* commandIndexes;
    uint32_t stateFlags;
    uint32_t iconId;
    int32_t eventCount;
    const void* events;
    int32_t propertyCount;
    const void* properties;
    void* (*interfaceFunction)(int operation);
    int32_t memberCount;
    const void* members;
};
static_assert(sizeof(DataTypeEntry) == 56, "data-type entries are 56 bytes");

// A support library's record, 36 words; word n of the format is field n-1 here.
struct LibraryRecord {
    uint32_t formatMarker;       // 1
    const char* identifier;      // 2
    uint32_t small[7];           // 3-9
    const char* name;            // 10
    uint32_t one;                // 11
    uint32_t zero12;             // 12
    uint32_t flags;              // 13
    uint32_t zero14to21[8];      // 14-21
    int32_t dataTypeCount;       // 22
    const DataTypeEntry* dataTypes;  // 23
    uint32_t zero24to25[2];      // 24-25
    int32_t commandCount;        // 26
    uint32_t zero27;             // 27
    const void* const* commands; // 28
    uint32_t zero29to30[2];      // 29-30
    LibraryNotifyEntry notify;   // 31
    uint32_t zero32to36[5];      // 32-36
};
static_assert(sizeof(LibraryRecord) == 36 * 4, "library records are 36 words");

struct ProgramHeader {
    uint32_t runMode;
    uint32_t word1;
    uint32_t counterStart;  // the counter starts at this plus one
    const void* codeBase;
    const uint8_t* constants;
    uint32_t constantSize;
    const uint8_t* templates;
    uint32_t templateSize;
    int32_t libraryCount;
    const LibraryRecord* const* libraries;
    int32_t dllCount;
    const char* const* dllFiles;
    const char* const* dllExports;
};
static_assert(sizeof(ProgramHeader) == 13 * 4, "the program header is 13 words");

// The first header words of a built program: the run mode reported to the
// libraries, the word kept beside it, and the counter's start.
constexpr uint32_t kProgramRunMode = 3;
constexpr uint32_t kProgramWord1 = 0;
constexpr uint32_t kProgramCounterStart = 70612;

// Provided by the program linked with the runtime.
extern "C" const ProgramHeader ProgramHeaderRecord;
extern "C" int __cdecl ProgramStartup();

}  // namespace qy
