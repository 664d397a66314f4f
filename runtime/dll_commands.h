// Binding of the program's DLL command declarations on first call.
#pragma once

namespace qy {

// Entry address of declaration index; a failed binding ends the program.
void* BindDllCommand(int index);

extern "C" void* __cdecl BindDllCommandForCall(int index);

// The libraries searched when a declaration names no DLL file.
extern const char* const kDefaultDlls[6];

}  // namespace qy
