// The in-memory library loader: maps a 32-bit Windows DLL image held in a
// byte set into executable memory, relocates it, binds its imports, runs its
// entry point, finds its exports by name and unloads it again. Everything
// goes through the program's DLL commands; the only pointer into the mapped
// image that outlives an operation is the module base. A copy shares the
// mapped image with its original: the image is detached and unmapped once,
// when the last loader holding it unloads.
#pragma once
#include <cstdint>

#include "app/method_thunk.h"

namespace program {

class LibraryLoader {
public:
    // The operation numbers of the operation table, from 1.
    enum Operation { kDestroy = 1, kCopy, kLoad, kUnload, kGetFunction, kEntryPoint, kModuleBase };

    LibraryLoader();
    ~LibraryLoader() { Destroy(this); }
    LibraryLoader(const LibraryLoader&) = delete;
    LibraryLoader& operator=(const LibraryLoader&) = delete;

    // Unloads what is loaded, then maps image; false when it cannot be mapped.
    bool Load(const void* image) { return Load(this, image) != 0; }
    bool Unload() { return Unload(this) != 0; }
    // The address of the export of exactly that name, or 0.
    uint32_t GetFunction(const char* name) { return GetFunction(this, name); }
    uint32_t EntryPoint() { return EntryPoint(this); }
    uint32_t ModuleBase() { return ModuleBase(this); }

    // The operations, as the operation table holds them. Copy unloads what
    // target holds, then shares self's image with it.
    static void __stdcall Destroy(LibraryLoader* self);
    static void __stdcall Copy(const LibraryLoader* self, LibraryLoader* target);
    static int32_t __stdcall Load(LibraryLoader* self, const void* image);
    static int32_t __stdcall Unload(LibraryLoader* self);
    static uint32_t __stdcall GetFunction(LibraryLoader* self, const char* name);
    static uint32_t __stdcall EntryPoint(LibraryLoader* self);
    static uint32_t __stdcall ModuleBase(LibraryLoader* self);

private:
    // A mapped image and the number of loaders that hold it.
    struct SharedImage {
        uint32_t base;
        int holders;
    };

    OperationTable operations_;
    SharedImage* image_ = nullptr;
};

}  // namespace program
