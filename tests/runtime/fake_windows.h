// A window system that pretends one window exists, for driving the message
// loop and shut-down without real windows.
#pragma once
#include <stdexcept>

#include "runtime/runtime_system.h"
#include "tests/support/child_process.h"

namespace qytest {

class FakeWindows : public qy::WindowSystem {
public:
    bool failSegment = false;
    // Chosen before start-up, so the core library leaves it in place.
    void Install() {
        qy::RuntimeSystem system;
        system.windows = this;
        qy::InstallRuntimeSystem(system);
    }
    void LoadSegment(qy::LoadingArchive&) override {
        if (failSegment) throw std::runtime_error("bad segment");
    }
    void RelocateHandlers(uintptr_t) override {}
    void DestroyAll() override { Log("windows destroyed"); }
    bool LoadStartupWindow(uint32_t) override { return true; }
    bool AnyWindowExists() override { return true; }
    void* Collection() override { return this; }
    int LoadRequest(void*) override { return 0; }
    void* LiveObject(uint32_t, uint32_t, bool) override { return nullptr; }
    void WindowDestroyed(uint32_t) override {}
    int RaiseEvent(uint32_t*, bool) override { return 0; }
    bool IdleEvents(uint32_t, std::vector<uint32_t>&) override { return false; }
    uint64_t ReadProperty(uint32_t, uint32_t, int, int) override { return 0; }
    void WriteProperty(uint32_t, uint32_t, int, int, uint32_t, uint32_t) override {}
};

}  // namespace qytest
