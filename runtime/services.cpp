#include "runtime/services.h"

#include <windows.h>
#include <unknwn.h>

#include <cstring>

#include "runtime/errors.h"
#include "runtime/events.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "runtime/runtime_system.h"

namespace qy {

extern "C" {
// cdecl bodies of the OtherHelp functions, reached by the OtherHelp entry's
// jump table with the caller's arguments in place.
char* __cdecl HelpFindFile(const char* pattern, uint32_t mask, int allEntries, uintptr_t* slot) {
    return FindFile(pattern, mask, allEntries, slot);
}
void __cdecl HelpEndFindFile(uintptr_t handle) { EndFindFile(handle); }
void __cdecl HelpMakeArrayPrivate(int elementSize, void** variable) { MakeArrayPrivate(elementSize, variable); }
void __cdecl HelpRegisterAtExit(AtExitRoutine routine) { RegisterAtExit(routine); }
uint64_t __cdecl HelpReadObjectProperty(uint32_t typeCode, void* object, int property, uint32_t wanted) {
    return ReadObjectProperty(typeCode, object, property, wanted);
}
void __cdecl HelpWriteObjectProperty(uint32_t typeCode, void* object, int property, uint32_t type, uint32_t low,
                                     uint32_t high) {
    ValueRecord value{low, high, type};
    WriteObjectProperty(typeCode, object, property, &value);
}
void __cdecl HelpInitRuntime() { InitRuntime(); }

extern const void* const OtherHelpTable[kOtherHelpCount];
const void* const OtherHelpTable[kOtherHelpCount] = {
    reinterpret_cast<const void*>(&HelpFindFile),          reinterpret_cast<const void*>(&HelpEndFindFile),
    reinterpret_cast<const void*>(&HelpMakeArrayPrivate),  reinterpret_cast<const void*>(&HelpRegisterAtExit),
    reinterpret_cast<const void*>(&HelpReadObjectProperty), reinterpret_cast<const void*>(&HelpWriteObjectProperty),
    reinterpret_cast<const void*>(&HelpInitRuntime),
};

// The table compiled code jumps through. It sorts into read-only data just
// before the program's constant block (section group .rdata$qy2).
__attribute__((section(".rdata$qy1"), used, aligned(4))) const void* const ServiceTable[kServiceCount] = {
#define QY_SERVICE_ENTRY(name) reinterpret_cast<const void*>(&name),
    QY_SERVICE_LIST(QY_SERVICE_ENTRY)
#undef QY_SERVICE_ENTRY
};

void __cdecl ExitProgram(int code) {
    Runtime().Shutdown(code);
    ExitProcess(static_cast<UINT>(code));
}

void __cdecl RunMessageLoop() { Runtime().RunMessageLoop(false); }

void __cdecl LoadStartupWindow(uint32_t windowId) {
    WindowSystem* system = Runtime().windows();
    if (!system || !system->LoadStartupWindow(windowId)) ShowRuntimeError(msg::kStartupWindow);
}

uint64_t __cdecl ReadProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex) {
    WindowSystem* system = Runtime().windows();
    if (!system) ShowRuntimeError(msg::kNoSuchUnit);
    return system->ReadProperty(windowId, unitId, property, arrayIndex);
}

void __cdecl WriteProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex, uint32_t low,
                           uint32_t high) {
    WindowSystem* system = Runtime().windows();
    if (!system) ShowRuntimeError(msg::kNoSuchUnit);
    system->WriteProperty(windowId, unitId, property, arrayIndex, low, high);
}
}  // extern "C"

char* FindFile(const char* pattern, uint32_t attributeMask, int allEntries, uintptr_t* handleSlot) {
    WIN32_FIND_DATAA data;
    HANDLE handle;
    bool found;
    if (pattern && *pattern) {
        if (*handleSlot) FindClose(reinterpret_cast<HANDLE>(*handleSlot));
        *handleSlot = 0;
        handle = FindFirstFileA(pattern, &data);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        *handleSlot = reinterpret_cast<uintptr_t>(handle);
        found = true;
    } else {
        handle = reinterpret_cast<HANDLE>(*handleSlot);
        if (!handle) return nullptr;
        found = FindNextFileA(handle, &data) != FALSE;
    }
    uint32_t mask = attributeMask & 0x37;
    while (found) {
        uint32_t attributes = data.dwFileAttributes;
        bool accepted = allEntries ? (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
                                   : ((mask & attributes) != 0 || (mask == 0 && attributes == 0));
        if (accepted) return NewText(data.cFileName, static_cast<int>(std::strlen(data.cFileName)));
        found = FindNextFileA(handle, &data) != FALSE;
    }
    FindClose(handle);
    *handleSlot = 0;
    return nullptr;
}

void EndFindFile(uintptr_t handle) {
    if (handle) FindClose(reinterpret_cast<HANDLE>(handle));
}

void MakeArrayPrivate(int elementSize, void** arrayVariable) {
    void* block = *arrayVariable;
    if (!IsConstant(block)) return;
    int count = 0;
    ArrayElements(block, &count);
    int dimensions = *static_cast<int32_t*>(block);
    int size = 4 + 4 * (dimensions > 0 ? dimensions : 0) + elementSize * count;
    void* copy = Allocate(size);
    std::memcpy(copy, block, static_cast<size_t>(size));
    *arrayVariable = copy;
}

void RegisterAtExit(AtExitRoutine routine) { Runtime().RegisterAtExit(routine); }

void InitRuntime() { Runtime().InitRuntime(ProgramHeaderRecord); }

const DataTypeEntry* FindDataType(uint32_t typeCode) {
    const RuntimeApp& app = Runtime();
    uint32_t library = typeCode >> 16, type = typeCode & 0xFFFF;
    if (library < 1 || library > app.libraries().size()) return nullptr;
    const LibraryRecord* record = app.libraries()[library - 1];
    if (!record || type < 1 || static_cast<int32_t>(type) > record->dataTypeCount || !record->dataTypes)
        return nullptr;
    return &record->dataTypes[type - 1];
}

uint64_t ReadObjectProperty(uint32_t typeCode, void* object, int property, uint32_t wantedType) {
    // No data type of this runtime's libraries has a property routine, so
    // every object property reads as 0 and writes go nowhere.
    (void)typeCode, (void)object, (void)property, (void)wantedType;
    return 0;
}

void WriteObjectProperty(uint32_t typeCode, void* object, int property, const ValueRecord* value) {
    (void)typeCode, (void)object, (void)property, (void)value;
}

namespace {

int32_t ProgramIcons(HICON* out) {
    RuntimeApp& app = Runtime();
    if (!app.programIcons()[0] && !app.programIcons()[1]) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        app.programIcons()[0].reset(static_cast<HICON>(LoadImageA(
            instance, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
        app.programIcons()[1].reset(static_cast<HICON>(LoadImageA(
            instance, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    }
    if (out) {
        out[0] = app.programIcons()[0].get();
        out[1] = app.programIcons()[1].get();
    }
    return reinterpret_cast<int32_t>(app.programIcons()[1].get());
}

void ReleaseArray(uint32_t elementType, void* block) {
    if (!block) return;
    if (elementType == kTypeText || elementType == kTypeByteSet) {
        int count = 0;
        auto** elements = static_cast<void**>(ArrayElements(block, &count));
        for (int i = 0; i < count; ++i) Free(elements[i]);
    }
    Free(block);
}

// A COM object value as the program holds it: its interface and held data.
struct ComObjectValue {
    IUnknown* object;
    void* data;
};

void ReleaseComValue(ComObjectValue* value) {
    if (!value) return;
    Free(value->data);
    value->data = nullptr;
    if (value->object) value->object->Release();
    value->object = nullptr;
}

}  // namespace

extern "C" int32_t __stdcall RuntimeNotify(int32_t code, int32_t arg1, int32_t arg2) {
    RuntimeApp& app = Runtime();
    WindowSystem* system = app.windows();
    auto pointer = [](int32_t word) { return reinterpret_cast<void*>(static_cast<uintptr_t>(word)); };
    switch (code) {
        case kNotifyProgramIcons: return ProgramIcons(static_cast<HICON*>(pointer(arg1)));
        case kNotifyWindowCollection: return system ? reinterpret_cast<int32_t>(system->Collection()) : 0;
        case kNotifyDataType: return reinterpret_cast<int32_t>(FindDataType(static_cast<uint32_t>(arg1)));
        case kNotifyConvertPicture: {
            auto convert = InstalledSystem().convertPicture;
            return convert ? reinterpret_cast<int32_t>(convert(pointer(arg1))) : 0;
        }
        case kNotifyWindowDestroyed:
            if (system) system->WindowDestroyed(static_cast<uint32_t>(arg1));
            return 0;
        case kNotifyValueToInt: return ValueToInt(*static_cast<ValueRecord*>(pointer(arg1)));
        case kNotifyProgramDirectory: return reinterpret_cast<int32_t>(app.programDirectory().c_str());
        case kNotifyProgramFileName: return reinterpret_cast<int32_t>(app.programFileName().c_str());
        case kNotifyLoadWindow: return system ? system->LoadRequest(pointer(arg1)) : -1;
        case kNotifyLiveObject:
        case kNotifyLiveObjectOrError: {
            void* object = system ? system->LiveObject(static_cast<uint32_t>(arg1), static_cast<uint32_t>(arg2), code == kNotifyLiveObjectOrError)
                                  : nullptr;
            if (!object && code == kNotifyLiveObjectOrError) ShowRuntimeError(msg::kNoSuchUnit);
            return reinterpret_cast<int32_t>(object);
        }
        case kNotifyRaiseEvent: return system ? system->RaiseEvent(static_cast<uint32_t*>(pointer(arg1)), false) : 0;
        case kNotifyHoldEvents:
            app.HoldEvents();
            app.Count();
            return 0;
        case kNotifyReleaseEvents:
            app.ReleaseEvents();
            app.Count();
            return 0;
        case kNotifyPlaySound: {
            auto* words = static_cast<uint32_t*>(pointer(arg1));
            auto play = InstalledSystem().playSound;
            if (!words || !play) return 0;
            return play(pointer(static_cast<int32_t>(words[0])), static_cast<int>(words[1]),
                                     static_cast<int>(words[2]))
                       ? 1
                       : 0;
        }
        case kNotifyCount: app.Count(); return 0;
        case kNotifyAddSmallRecord: app.AddSmallRecord(static_cast<SmallRecord*>(pointer(arg1))); return 0;
        case kNotifyHasSmallRecord: return app.HasSmallRecord(static_cast<SmallRecord*>(pointer(arg1))) ? 1 : 0;
        case kNotifyReleaseArray: ReleaseArray(static_cast<uint32_t>(arg1), pointer(arg2)); return 0;
        case kNotifyAllocate: return reinterpret_cast<int32_t>(arg2 == 0 ? Allocate(arg1) : AllocateQuiet(arg1));
        case kNotifyFree: Free(pointer(arg1)); return 0;
        case kNotifyReallocate: return reinterpret_cast<int32_t>(Reallocate(pointer(arg1), arg2));
        case kNotifyErrorText: ShowRuntimeError(static_cast<const char*>(pointer(arg1)));
        case kNotifyExitProgram: ExitProgram(arg1);
        case kNotifyRunMode: return static_cast<int32_t>(app.runMode());
        case kNotifyRaiseLongEvent: return system ? system->RaiseEvent(static_cast<uint32_t*>(pointer(arg1)), true) : 0;
        case kNotifyReleaseComValue: ReleaseComValue(static_cast<ComObjectValue*>(pointer(arg1))); return 0;
        default: return 0;
    }
}

}  // namespace qy
