// Fuzz target: the template segment as the runtime takes it at start-up, read
// through the loading archive and its handlers relocated, then every record
// decoded the way window loading reads it. Window loading itself and the
// window list around the tables need windows.h and are not reached here.
#include "runtime/archive.h"
#include "tests/fuzz/exact_block.h"
#include "window/template_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qyfuzz::ExactBlock block(data, size);
    try {
        qy::MemoryFile file(block.data(), size);
        qy::LoadingArchive archive(file, 4096);
        std::vector<qy::WindowTemplate> windows = qy::ReadSegment(archive);
        for (qy::WindowTemplate& w : windows) {
            w.units.RelocateHandlers(0x00401000);
            // Record 0 is read as the window's own unit, whatever its id says.
            for (int k = 0; k < w.units.count(); ++k) {
                if (k > 0 && w.units.IsMenuItem(k)) {
                    qy::DecodeMenuItem(w.units.body(k), w.units.bodyLength(k));
                } else {
                    w.units.Unit(k);
                    w.units.Layout(k);
                }
            }
        }
    } catch (const qy::TemplateError&) {
    } catch (const qy::ArchiveError&) {
    }
    return 0;
}
