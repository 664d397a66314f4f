// A test window built from a template segment and loaded through the real
// window system: the window's own unit and the units under test, with
// property access, message pumping and handles in the units' own terms.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/abi/program_abi.h"
#include "runtime/archive.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "runtime/value.h"
#include "tests/support/pump.h"
#include "window/own_data.h"
#include "window/template_format.h"
#include "window/window_list.h"

namespace qytest {

constexpr uint32_t kUnitWindow = 0x52030001, kUnitWindowOwn = 0x06030000;

struct TestUnit {
    uint32_t id;
    qy::UnitRecord record;
};

// A unit at (left, top) of its window's client area.
inline TestUnit MakeTestUnit(uint32_t id, uint32_t type, int left, int top, int width, int height, qy::Bytes data,
                             uint32_t state = qy::kStateVisible, std::vector<qy::EventBinding> bindings = {}) {
    qy::UnitRecord u;
    u.typeRef = type;
    u.name = "单元";
    u.left = left, u.top = top, u.width = width, u.height = height;
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

// Replaces the runtime's window list by the windows of a template segment;
// handler offsets are relative to codeBase.
inline void InstallSegment(const qy::Bytes& segment, uintptr_t codeBase = 0) {
    if (!qy::Runtime().initialised()) program::InitRuntime();
    qy::WindowList& list = qy::Windows();
    list.Clear();
    qy::MemoryFile file(segment.data(), segment.size());
    qy::LoadingArchive archive(file, 4096);
    list.LoadSegment(archive);
    list.RelocateHandlers(codeBase);
}

// Replaces the window list by one window holding the units.
inline void InstallUnitWindow(const std::vector<TestUnit>& units, uintptr_t codeBase = 0,
                              const TestWindow& window = TestWindow()) {
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
    InstallSegment(qy::WriteSegment({record}), codeBase);
}

inline bool LoadUnitWindow() { return qy::Windows().LoadStartupWindow(kUnitWindow); }

// Unit 0 is the window itself.
inline qy::Unit* UnitObject(uint32_t unit) { return qy::Windows().FindUnitObject(kUnitWindow, unit, false); }
inline HWND UnitHandle(uint32_t unit) {
    qy::Unit* u = UnitObject(unit);
    return u ? u->hwnd() : nullptr;
}

// Runs messages until the queue stays empty: what handlers post or send,
// the repaints they cause, and input already handed to the system.
inline void SettleMessages() {
    PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
}

// The index ReadProperty and WriteProperty take for a unit type's own property.
constexpr int OwnIndex(int32_t own) { return qy::kCommonPropertyCount + own; }

inline uint32_t ReadInt(uint32_t unit, int property, int sub = -1) {
    return static_cast<uint32_t>(qy::Windows().ReadProperty(kUnitWindow, unit, property, sub));
}
inline void WriteInt(uint32_t unit, int property, uint32_t value, int sub = -1) {
    qy::Windows().WriteProperty(kUnitWindow, unit, property, sub, value, 0);
}
// Text and byte-set reads hand over the runtime's block, freed here.
inline std::string ReadText(uint32_t unit, int property) {
    auto* text = reinterpret_cast<char*>(static_cast<uintptr_t>(ReadInt(unit, property)));
    std::string value = text ? text : "";
    qy::Free(text);
    return value;
}
inline void WriteText(uint32_t unit, int property, const std::string& text) {
    WriteInt(unit, property, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.c_str())));
}
inline qy::Bytes ReadBytes(uint32_t unit, int property) {
    void* block = reinterpret_cast<void*>(static_cast<uintptr_t>(ReadInt(unit, property)));
    qy::Bytes bytes;
    if (block) {
        const uint8_t* data = qy::ByteSetData(block);
        bytes.assign(data, data + qy::ByteSetLength(block));
        qy::Free(block);
    }
    return bytes;
}
inline void WriteBytes(uint32_t unit, int property, const qy::Bytes& bytes) {
    void* block = qy::NewByteSet(bytes.data(), static_cast<int>(bytes.size()));
    WriteInt(unit, property, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)));
    qy::Free(block);
}

}  // namespace qytest
