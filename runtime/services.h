// The thirteen runtime services that compiled code calls through the service
// table, the library-command frame, and RuntimeNotify for the libraries.
#pragma once
#include <cstdint>
#include "runtime/program_image.h"
#include "runtime/protocol.h"
#include "runtime/service_list.h"
#include "runtime/value.h"

namespace qy {

// A library command entry: fills *result, reads count argument records.
// Plain cdecl routine; its return value is ignored.
typedef void(__cdecl* CommandEntry)(ValueRecord* result, int count, ValueRecord* args);

enum ServiceSlot {
#define QY_SERVICE_SLOT(name) kSlot##name,
    QY_SERVICE_LIST(QY_SERVICE_SLOT)
#undef QY_SERVICE_SLOT
    kServiceCount
};

// The table as it lies in read-only data directly before the constant block.
extern "C" const void* const ServiceTable[kServiceCount];

typedef void(__cdecl* AtExitRoutine)();

extern "C" {
// Slots 2 and 3 take the command entry in EBX and the frame on the stack, and
// return the result record in EAX, EDX, ECX; they are assembly entries.
void CallCoreCommand();
void CallLibraryCommand();
// Slot 1 takes the declaration index in EAX and jumps to the bound function.
void CallDllCommand();
// Slot 12 takes the function code in EAX.
void OtherHelp();

[[noreturn]] void __cdecl ExitProgram(int code);
void __cdecl RunMessageLoop();
void __cdecl LoadStartupWindow(uint32_t windowId);
uint64_t __cdecl ReadProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex);
void __cdecl WriteProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex, uint32_t low, uint32_t high);

int32_t __stdcall RuntimeNotify(int32_t code, int32_t arg1, int32_t arg2);
}

// The OtherHelp functions as plain routines.
char* FindFile(const char* pattern, uint32_t attributeMask, int allEntries, uintptr_t* handleSlot);
void EndFindFile(uintptr_t handle);
void MakeArrayPrivate(int elementSize, void** arrayVariable);
void RegisterAtExit(AtExitRoutine routine);
uint64_t ReadObjectProperty(uint32_t typeCode, void* object, int property, uint32_t wantedType);
void WriteObjectProperty(uint32_t typeCode, void* object, int property, const ValueRecord* value);
// The data-type entry of a type code in the program's libraries, or null.
const DataTypeEntry* FindDataType(uint32_t typeCode);
void InitRuntime();

}  // namespace qy
