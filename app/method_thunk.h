// Machine-code stubs that let a window procedure or a timer procedure call
// an operation of an application object, and the operation tables those
// objects carry as their first field.
#pragma once
#include <cstdint>

namespace program {

// An object's operations in the order of its class, ended by a null entry.
// Every object that a thunk may call starts with a pointer to such a table.
using OperationTable = const void* const*;

struct MethodThunkOptions {
    bool pushEcx = false;       // passes the caller's ECX before the arguments
    bool callerCleans = false;  // returns without removing the arguments
};

// A byte set holding a stdcall function of argumentCount 32-bit arguments
// that calls operation number `operation` (from 1) of object with the
// object's address followed by those arguments, and returns its result.
// Null (the empty byte set) when the argument bytes are negative or above
// 1024 or the object has no such operation. The bytes lie in memory that may
// execute; free them with Svc_Free.
void* BuildMethodThunk(const void* object, int operation, int argumentCount, MethodThunkOptions options = {});

// The address at which a thunk byte set is called: its first data byte.
uint32_t ThunkAddress(const void* thunk);

// A copy of a thunk byte set, or null for the empty one.
void* CopyThunk(const void* thunk);

}  // namespace program
