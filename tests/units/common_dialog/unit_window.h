// A one-window template segment for unit tests: the window's own unit and
// the units under test, parsed into the runtime's window list and loaded as
// a real window; plus property access in the units' own terms.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/abi/program_abi.h"
#include "runtime/archive.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "window/own_data.h"
#include "window/template_format.h"
#include "window/window_list.h"

namespace qytest {

constexpr uint32_t kUnitWindow = 0x52030001, kUnitWindowOwn = 0x06030000;

struct TestUnit {
    uint32_t id;
    qy::UnitRecord record;
};

inline TestUnit MakeTestUnit(uint32_t id, uint32_t type, RECT at, uint32_t state, qy::Bytes data,
                             std::vector<qy::EventBinding> bindings = {}) {
    qy::UnitRecord u;
    u.typeRef = type;
    u.name = "单元";
    u.left = at.left, u.top = at.top, u.width = at.right - at.left, u.height = at.bottom - at.top;
    u.state = state;
    u.ownData = std::move(data);
    u.bindings = std::move(bindings);
    return TestUnit{id, u};
}

// The window's own data and event bindings.
struct TestWindow {
    RECT at = RECT{100, 100, 500, 400};  // screen rectangle
    qy::WindowData data;
    std::vector<qy::EventBinding> bindings;
    TestWindow() {
        data.caption = "单元测试窗口";
        data.position = 0;
    }
};

// Replaces the window list by one window holding the units; handler offsets
// are relative to codeBase.
inline void InstallUnitWindow(const std::vector<TestUnit>& units, uintptr_t codeBase,
                              const TestWindow& window = TestWindow()) {
    if (!qy::Runtime().initialised) program::InitRuntime();
    RECT at = window.at;
    qy::UnitRecord own;
    own.typeRef = qy::TypeRef(1, 1);
    own.left = at.left, own.top = at.top, own.width = at.right - at.left, own.height = at.bottom - at.top;
    own.state = qy::kStateVisible;
    own.ownData = window.data.Write();
    own.bindings = window.bindings;
    std::vector<std::pair<uint32_t, qy::Bytes>> records{{kUnitWindowOwn, qy::EncodeUnit(own)}};
    for (const TestUnit& u : units) records.emplace_back(u.id, qy::EncodeUnit(u.record));
    qy::WindowTemplate record;
    record.id = kUnitWindow;
    record.units = qy::UnitTable::Build(records);
    qy::Bytes segment = qy::WriteSegment({record});

    qy::WindowList& list = qy::Windows();
    list.Clear();
    qy::MemoryFile file(segment.data(), segment.size());
    qy::LoadingArchive archive(file, 4096);
    list.LoadSegment(archive);
    list.RelocateHandlers(codeBase);
}

inline bool LoadUnitWindow() { return qy::Windows().LoadStartupWindow(kUnitWindow); }

inline HWND UnitHandle(uint32_t unit) {
    qy::Unit* u = qy::Windows().FindUnitObject(kUnitWindow, unit, false);
    return u ? u->hwnd() : nullptr;
}

// Runs the messages already queued, as the runtime's loop would.
inline void PumpMessages() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (!qy::Runtime().PreTranslateMessage(&m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

inline uint32_t ReadInt(uint32_t unit, int property) {
    return static_cast<uint32_t>(qy::Windows().ReadProperty(kUnitWindow, unit, property, -1));
}
inline void WriteInt(uint32_t unit, int property, uint32_t value) {
    qy::Windows().WriteProperty(kUnitWindow, unit, property, -1, value, 0);
}
inline std::string ReadText(uint32_t unit, int property) {
    auto* text = reinterpret_cast<char*>(static_cast<uintptr_t>(qy::Windows().ReadProperty(kUnitWindow, unit, property, -1)));
    std::string value = text ? text : "";
    qy::Free(text);
    return value;
}
inline void WriteText(uint32_t unit, int property, const std::string& text) {
    WriteInt(unit, property, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.c_str())));
}

}  // namespace qytest
