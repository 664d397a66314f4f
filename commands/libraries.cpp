// The records of three of the support libraries linked into the program, with
// their LibraryNotify entries. Each library keeps the RuntimeNotify address
// it is given at start-up for its later requests; the core library, when
// the runtime first notifies it, fills its data-type and command arrays and
// installs the runtime system its units and media make up.
#include "commands/libraries.h"

#include "commands/command_table.h"
#include "media/picture/picture_registry.h"
#include "media/sound/sound_service.h"
#include "runtime/protocol.h"
#include "runtime/runtime_system.h"
#include "units/unit_types.h"
#include "window/window_list.h"

namespace qy {

namespace {
RuntimeNotifyEntry coreNotify, extendedNotify, specialNotify;

// Data-type arrays, filled in by the units and objects of each library.
DataTypeEntry coreDataTypes[51];
DataTypeEntry extendedDataTypes[5];
const void* coreCommands[kCoreCommandCount];

// A program or test that chose its own system before start-up keeps it.
void InstallStandardSystem() {
    if (InstalledSystem().windows) return;
    RuntimeSystem system;
    system.windows = &Windows();
    system.convertPicture = &ConvertPictureByteSet;
    system.playSound = &sound::PlaySoundData;
    system.releaseObjects = &ReleasePictures;
    system.releaseMedia = &sound::ReleaseSounds;
    InstallRuntimeSystem(system);
}

int32_t __stdcall CoreNotify(int32_t message, int32_t arg1, int32_t) {
    switch (message) {
        case kLibraryStartUp:
            coreNotify = reinterpret_cast<RuntimeNotifyEntry>(arg1);
            EnterUnitTypes(UnitLibrary::Core, coreDataTypes, 51);
            EnterUnitTypes(UnitLibrary::ExtendedUi, extendedDataTypes, 5);
            FillCoreCommandArray(coreCommands);
            InstallStandardSystem();
            return 0;
        // kLibraryUnitHelp and kLibraryUnitHelpFirst to kLibraryUnitHelpLast
        // serve unit code that asks the core library for help; no unit of
        // this runtime sends them.
        default: return -1;
    }
}

int32_t __stdcall ExtendedNotify(int32_t message, int32_t arg1, int32_t) {
    if (message == kLibraryStartUp) {
        extendedNotify = reinterpret_cast<RuntimeNotifyEntry>(arg1);
        return 0;
    }
    return -1;
}

int32_t __stdcall SpecialNotify(int32_t message, int32_t arg1, int32_t) {
    if (message == kLibraryStartUp) {
        specialNotify = reinterpret_cast<RuntimeNotifyEntry>(arg1);
        return 0;
    }
    return message == kLibraryShutDown ? 0 : -1;
}

}  // namespace

const LibraryRecord CoreLibrary = {
    kLibraryFormat, "5A7C6E1B0F3D4A2E9B8C7D6E5F4A3B2C", {5, 3, 64, 3, 7, 3, 7}, "系统核心支持库", 1, 0, 0xC0000001, {},
    51, coreDataTypes, {}, kCoreCommandCount, 0, coreCommands, {}, &CoreNotify, {}};
const LibraryRecord ExtendedUiLibrary = {
    kLibraryFormat, "8F9E0D1C2B3A49586776A5B4C3D2E1F0", {2, 0, 3, 3, 0, 3, 0}, "扩展界面支持库", 1, 0, 0, {},
    5, extendedDataTypes, {}, 0, 0, nullptr, {}, &ExtendedNotify, {}};
const LibraryRecord SpecialFunctionsLibrary = {
    kLibraryFormat, "A0B1C2D3E4F5061728394A5B6C7D8E9F", {3, 1, 0, 3, 8, 3, 0}, "特殊功能支持库", 1, 0, 0xC0000000, {},
    0, nullptr, {}, 0, 0, nullptr, {}, &SpecialNotify, {}};

RuntimeNotifyEntry LibraryRuntimeNotify(const LibraryRecord& library) {
    if (&library == &CoreLibrary) return coreNotify;
    if (&library == &ExtendedUiLibrary) return extendedNotify;
    if (&library == &SpecialFunctionsLibrary) return specialNotify;
    return nullptr;
}

const void** MutableCommands(const LibraryRecord& library) {
    if (&library == &CoreLibrary) return coreCommands;
    return nullptr;
}

}  // namespace qy
