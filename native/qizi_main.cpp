// qizi for Linux: the composer's core from a command line, with FreeType
// glyphs and our own picture decoders. Arguments and output are UTF-8 (or
// GBK with --encoding gbk); the core works in GB18030.
#include <malloc.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "core/choices.h"
#include "core/grid.h"
#include "core/writers.h"
#include "native/files.h"
#include "native/freetype_glyphs.h"
#include "native/picture_pixels.h"
#include "native/shape_source.h"
#include "native/text_codec.h"

namespace {

using namespace core;

// Ramp candidates are measured large enough for their strokes to count.
constexpr int32_t kMeasuringSize = 36;

std::string Utf8(const std::string& gb) {
    std::string utf8;
    return native::Gb18030ToUtf8(gb, &utf8) ? utf8 : gb;
}

void Complain(const std::string& gbLine) {
    std::string line = "qizi: " + Utf8(gbLine) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// The tone and ink-and-paper sources; exit status -1 when a face failed (said already).
Composed ComposeTones(const Choices& c, const native::Pixels& pixels) {
    FontSpec shapeFont{c.font.empty() ? std::string("宋体") : c.font, c.size, c.bold, c.italic, c.underline,
                       c.strikeout};
    FontSpec rampFont{c.font.empty() ? std::string("monospace") : c.font, kMeasuringSize, false, false, false, false};
    native::LazyGlyphs shapeGlyphs(shapeFont, true);
    native::LazyGlyphs rampGlyphs(rampFont, c.source == Source::kWideRamp);
    Composed composed = Compose(c, &shapeGlyphs, &rampGlyphs, c.picture.empty() ? nullptr : &pixels.colours,
                                pixels.width, pixels.height);
    for (const native::LazyGlyphs* glyphs : {&shapeGlyphs, &rampGlyphs})
        if (!glyphs->failure().empty()) {
            Complain(glyphs->failure());
            composed.exitCode = -1;
            return composed;
        }
    return composed;
}

int Run(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::string gb;
        if (!native::Utf8ToGb18030(argv[i], &gb)) {
            Complain("argument " + std::to_string(i) + " is not UTF-8 text");
            return kBadLine;
        }
        args.push_back(gb);
    }
    ParsedLine line = ParseCommandLine(args);
    std::string reason;
    if (!line.error.empty()) {
        Complain(line.error);
        std::fprintf(stderr, "%s\n", Utf8(kUsage).c_str());
        return kBadLine;
    }
    const Choices& c = line.choices;
    if (c.help || c.version) {
        std::string text = Utf8(c.help ? HelpText() : std::string(kVersion) + "\n");
        return native::WriteOutput("-", text, &reason) ? kDone : kFailed;
    }

    native::Pixels pixels;
    if (!c.picture.empty()) {
        std::string bytes, name = c.picture == "-" ? "standard input" : c.picture;
        if (!native::ReadInput(Utf8(c.picture), &bytes, &reason)) {
            Complain(name + ": " + reason);
            return kFailed;
        }
        if (!native::DecodeToPixels(bytes, &pixels)) {
            Complain(name + ": not a picture that can be decoded");
            return kFailed;
        }
    }

    Composed composed;
    if (c.source == Source::kShape) {
        std::string failure;
        ShapeComposed shaped = native::ComposeShapePicture(c, pixels.colours, pixels.width, pixels.height, &failure);
        if (!failure.empty()) {
            Complain(failure);
            return kFailed;
        }
        if (c.verbose && !shaped.missing.empty()) Complain(MissingNotice(shaped.missing));
        composed = std::move(shaped.composed);
    } else {
        composed = ComposeTones(c, pixels);
        if (composed.exitCode < 0) return kFailed;
    }
    if (!composed.error.empty()) {
        Complain(composed.error);
        return composed.exitCode;
    }
    std::string text = Write(composed.grid, c);
    composed = Composed();
    bool ascii = std::all_of(text.begin(), text.end(), [](char ch) { return static_cast<uint8_t>(ch) < 0x80; });
    if (c.encoding == Encoding::kUtf8 && !ascii) text = Utf8(text);
    std::string target = Utf8(c.output);
    if (!native::WriteOutput(target, text, &reason)) {
        Complain((target.empty() || target == "-" ? std::string("standard output") : c.output) + ": " + reason);
        return kFailed;
    }
    return kDone;
}

// Faulting in small pages was most of a large grid's time: the heap's first
// 128 MiB of address space is taken at once (untouched, so it costs no memory)
// and asked to be backed by huge pages.
void ReserveHeap() {
    constexpr size_t kReserve = size_t{128} << 20, kHuge = size_t{2} << 20;
    void* block = std::malloc(kReserve);
    if (!block) return;
    uintptr_t start = (reinterpret_cast<uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
    uintptr_t end = (reinterpret_cast<uintptr_t>(block) + kReserve) & ~(kHuge - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    std::free(block);
}

}  // namespace

int main(int argc, char** argv) {
    // Large blocks come from the heap and stay there when freed, so the
    // composition's stages reuse pages instead of faulting fresh ones in.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    ReserveHeap();
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("qizi: out of memory\n", stderr);
        return kFailed;
    }
}
