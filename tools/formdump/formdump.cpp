// Prints the program's template segment as the runtime parses it: one line
// per unit record, windows in directory order, units in table order:
// WINDOWID UNITID TYPEREF NAMEHEX LEFT TOP WIDTH HEIGHT STATE TAB EVENTS
#include <cstdio>
#include <string>

#include "forms/template_segment.h"
#include "styling/library_list.h"
#include "runtime/program_image.h"
#include "runtime/runtime_app.h"
#include "window/window_list.h"

namespace {
const char kEmpty[1] = {0};

extern "C" void __cdecl DumpCodeBase() {}

std::string Hex(const std::string& name) {
    if (name.empty()) return "-";
    std::string out;
    char buffer[3];
    for (unsigned char c : name) {
        std::snprintf(buffer, sizeof buffer, "%02x", c);
        out += buffer;
    }
    return out;
}

void Dump(const qy::WindowRecord& w) {
    const qy::UnitTable& t = w.units;
    for (int k = 0; k < t.count(); ++k) {
        if (t.IsMenuItem(k)) {
            qy::MenuItemRecord m = qy::DecodeMenuItem(t.body(k), t.bodyLength(k));
            std::printf("0x%08X 0x%08X 0x%08X %s 0 0 0 0 %u 0 %s\n", w.id, t.id(k), m.typeRef, Hex(m.name).c_str(),
                        m.state, m.handler ? "0" : "-");
            continue;
        }
        qy::UnitRecord u = t.Unit(k);
        std::string events;
        for (const qy::EventBinding& b : u.bindings) {
            if (b.handler == 0) continue;
            if (!events.empty()) events += ',';
            events += std::to_string(b.event);
        }
        std::printf("0x%08X 0x%08X 0x%08X %s %d %d %d %d %u %d %s\n", w.id, t.id(k), u.typeRef, Hex(u.name).c_str(),
                    u.left, u.top, u.width, u.height, u.state, u.tabOrder, events.empty() ? "-" : events.c_str());
    }
}
}  // namespace

extern "C" const qy::ProgramHeader ProgramHeaderRecord = {
    qy::kProgramRunMode, qy::kProgramWord1, qy::kProgramCounterStart, reinterpret_cast<const void*>(&DumpCodeBase),
    reinterpret_cast<const uint8_t*>(kEmpty), 1,
    ProgramTemplateSegment, kProgramTemplateSegmentSize, qy::kLibraryCount, qy::kLibraryList, 0, nullptr, nullptr,
};

extern "C" int __cdecl ProgramStartup() { return 0; }

int main() {
    qy::Runtime().InitRuntime(ProgramHeaderRecord);
    for (qy::WindowRecord* w : qy::Windows().windows()) Dump(*w);
    std::fflush(stdout);
    return 0;
}
