// Fuzz target: the template segment as the runtime takes it at start-up, read
// through the loading archive and its handlers relocated, then every record
// decoded the way window loading reads it. Window loading itself and the
// window list around the tables need windows.h and are not reached here.
#include <cstdio>
#include <cstdlib>

#include "runtime/archive.h"
#include "tests/fuzz/exact_block.h"
#include "window/template_format.h"

namespace {

// Window loading reads record 0 as the window's own unit, and records that
// share bytes would have their handlers relocated twice.
void CheckTable(const qy::UnitTable& units) {
    if (units.count() > 0 && units.IsMenuItem(0)) {
        std::fprintf(stderr, "record 0 has a menu-item id\n");
        std::abort();
    }
    for (int a = 0; a < units.count(); ++a) {
        for (int b = a + 1; b < units.count(); ++b) {
            const uint8_t* startA = units.body(a) - 4;
            const uint8_t* startB = units.body(b) - 4;
            if (startA < units.body(b) + units.bodyLength(b) && startB < units.body(a) + units.bodyLength(a)) {
                std::fprintf(stderr, "unit records %d and %d overlap\n", a, b);
                std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qyfuzz::ExactBlock block(data, size);
    std::vector<qy::WindowTemplate> windows;
    try {
        qy::MemoryFile file(block.data(), size);
        qy::LoadingArchive archive(file, 4096);
        windows = qy::ReadSegment(archive);
    } catch (const qy::TemplateError&) {
        return 0;
    } catch (const qy::ArchiveError&) {
        return 0;
    }
    // A segment that was accepted must never throw later: window loading
    // reads its records without a handler around it.
    for (qy::WindowTemplate& w : windows) {
        CheckTable(w.units);
        w.units.RelocateHandlers(0x00401000);
        for (int k = 0; k < w.units.count(); ++k) {
            if (w.units.IsMenuItem(k)) {
                qy::DecodeMenuItem(w.units.body(k), w.units.bodyLength(k));
            } else {
                w.units.Unit(k);
                w.units.Layout(k);
            }
        }
    }
    return 0;
}
