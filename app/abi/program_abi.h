// How compiled program code reaches the runtime: the jump stubs of the
// service table, the command frame, DLL calls with the stack check, and the
// OtherHelp functions. Nothing here calls the runtime directly.
#pragma once
#include <cstdint>
#include <initializer_list>
#include "runtime/protocol.h"
#include "runtime/value.h"

extern "C" {
[[noreturn]] void __cdecl Svc_ReportError(int code);
void Svc_CallDllCommand();
void Svc_CallLibraryCommand();
void Svc_CallCoreCommand();
uint64_t __cdecl Svc_ReadProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex);
void __cdecl Svc_WriteProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex, uint32_t low,
                               uint32_t high);
void* __cdecl Svc_Allocate(int size);
void* __cdecl Svc_Reallocate(void* block, int size);
void __cdecl Svc_Free(void* block);
[[noreturn]] void __cdecl Svc_ExitProgram(int code);
void __cdecl Svc_RunMessageLoop();
void __cdecl Svc_LoadStartupWindow(uint32_t windowId);
void Svc_OtherHelp();

void __cdecl ProgramCallCommand(qy::ValueRecord* out, void (*stub)(), const void* entry, int count,
                                const qy::ValueRecord* args);
uint32_t __cdecl ProgramCallDll(int index, const uint32_t* words, int count);
uint64_t __cdecl ProgramOtherHelp(int code, const uint32_t* words, int count);
}

namespace program {

using qy::ValueRecord;

// A core-library command called through CallCoreCommand.
inline ValueRecord CallCore(const void* entry, const ValueRecord* args, int count) {
    ValueRecord result;
    ProgramCallCommand(&result, &Svc_CallCoreCommand, entry, count, args);
    return result;
}
inline ValueRecord CallCore(const void* entry, std::initializer_list<ValueRecord> args) {
    return CallCore(entry, args.begin(), static_cast<int>(args.size()));
}
// A command of another support library, through CallLibraryCommand.
inline ValueRecord CallLibrary(const void* entry, std::initializer_list<ValueRecord> args) {
    ValueRecord result;
    ProgramCallCommand(&result, &Svc_CallLibraryCommand, entry, static_cast<int>(args.size()), args.begin());
    return result;
}

inline uint32_t CallDll(int index, std::initializer_list<uint32_t> words) {
    return ProgramCallDll(index, words.begin(), static_cast<int>(words.size()));
}

inline void InitRuntime() { ProgramOtherHelp(qy::kHelpInitRuntime, nullptr, 0); }
inline void RegisterAtExit(void(__cdecl* routine)()) {
    uint32_t word = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(routine));
    ProgramOtherHelp(qy::kHelpRegisterAtExit, &word, 1);
}
inline void MakeArrayPrivate(int elementSize, void** variable) {
    uint32_t words[2] = {static_cast<uint32_t>(elementSize), static_cast<uint32_t>(reinterpret_cast<uintptr_t>(variable))};
    ProgramOtherHelp(qy::kHelpMakeArrayPrivate, words, 2);
}
inline char* FindFile(const char* pattern, uint32_t mask, bool allEntries, uintptr_t* slot) {
    uint32_t words[4] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pattern)), mask, allEntries ? 1u : 0u,
                         static_cast<uint32_t>(reinterpret_cast<uintptr_t>(slot))};
    return reinterpret_cast<char*>(static_cast<uintptr_t>(ProgramOtherHelp(qy::kHelpFindFile, words, 4)));
}
inline void EndFindFile(uintptr_t handle) {
    uint32_t word = static_cast<uint32_t>(handle);
    ProgramOtherHelp(qy::kHelpEndFindFile, &word, 1);
}

// Native argument of a text or byte set for a DLL call: 0 when empty.
inline uint32_t NativeText(const char* text) {
    return text && *text ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)) : 0;
}
inline uint32_t NativeByteSet(const void* block) {
    return qy::ByteSetLength(block) > 0 ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block) + 8) : 0;
}

}  // namespace program
