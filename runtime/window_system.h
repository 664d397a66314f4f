// What the runtime asks of the window system; it comes with the installed
// runtime system (runtime/runtime_system.h). Without one the program has no
// windows.
#pragma once
#include <cstdint>
#include <vector>

namespace qy {

class LoadingArchive;

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Parses the template segment into window records; throws on a malformed one.
    virtual void LoadSegment(LoadingArchive& archive) = 0;
    // Adds the code base to every bound handler offset (-1 becomes none).
    virtual void RelocateHandlers(uintptr_t codeBase) = 0;
    virtual void DestroyAll() = 0;
    virtual bool LoadStartupWindow(uint32_t windowId) = 0;
    virtual bool AnyWindowExists() = 0;
    virtual void* Collection() = 0;
    virtual int LoadRequest(void* request) = 0;
    virtual void* LiveObject(uint32_t windowId, uint32_t unitId, bool report) = 0;
    virtual void WindowDestroyed(uint32_t windowId) = 0;
    // Raises an event from a short (long = false) or long event record.
    virtual int RaiseEvent(uint32_t* record, bool longRecord) = 0;
    // Idle event of every loaded window not in done; returns whether any wants more.
    virtual bool IdleEvents(uint32_t elapsedMs, std::vector<uint32_t>& doneWindows) = 0;
    virtual uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex) = 0;
    virtual void WriteProperty(uint32_t windowId, uint32_t unitId, int property, int arrayIndex, uint32_t low,
                               uint32_t high) = 0;
};

}  // namespace qy
