#include "native/shape_source.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <thread>

#include "native/freetype_glyphs.h"
#include "native/text_codec.h"

namespace native {

namespace {

constexpr int32_t kLeastCellWidth = 12, kLeastCellHeight = 24;
// Measured large, a face's cell scales down to an estimate of the size wanted.
constexpr int32_t kReferenceSize = 72;

std::string Encode(char32_t point) {
    std::string utf8;
    if (point < 0x80) {
        utf8 = std::string(1, static_cast<char>(point));
    } else if (point < 0x800) {
        utf8 = {static_cast<char>(0xC0 | (point >> 6)), static_cast<char>(0x80 | (point & 0x3F))};
    } else {
        utf8 = {static_cast<char>(0xE0 | (point >> 12)), static_cast<char>(0x80 | ((point >> 6) & 0x3F)),
                static_cast<char>(0x80 | (point & 0x3F))};
    }
    std::string gb;
    return Utf8ToGb18030(utf8, &gb) ? gb : std::string();
}

void EachRow(int32_t rows, const std::function<void(int32_t)>& row) {
    unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), 16u));
    int32_t workers = std::min<int32_t>(static_cast<int32_t>(cores), rows);
    std::atomic<int32_t> next{0};
    auto work = [&] {
        for (int32_t y = next++; y < rows; y = next++) row(y);
    };
    std::vector<std::thread> threads;
    for (int32_t i = 1; i < workers; ++i) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
}

}  // namespace

core::ShapeComposed ComposeShapePicture(const core::Choices& c, const std::vector<int32_t>& pixels, int32_t width,
                                        int32_t height, std::string* failure) {
    core::FontSpec font{c.font.empty() ? std::string("monospace") : c.font, kReferenceSize, c.bold, c.italic,
                        false, false};
    std::unique_ptr<core::Glyphs> narrow = OpenGlyphs(font, false, failure);
    if (!narrow) return {};
    core::Glyphs::Extent reference = narrow->Measure("M");
    if (reference.advance <= 0 || reference.lineHeight <= 0) {
        *failure = "the font has no cell size";
        return {};
    }
    font.size = std::max<int32_t>(
        1, static_cast<int32_t>(std::floor(std::min(kReferenceSize * kLeastCellWidth / double(reference.advance),
                                                    kReferenceSize * kLeastCellHeight / double(reference.lineHeight)))));
    // Rounding of the metrics decides the last step.
    for (; font.size <= core::kMaxFontSize; ++font.size) {
        narrow = OpenGlyphs(font, false, failure);
        if (!narrow) return {};
        core::Glyphs::Extent cell = narrow->Measure("M");
        if (cell.advance >= kLeastCellWidth && cell.lineHeight >= kLeastCellHeight) break;
    }
    core::FontSpec wideFont = font;
    wideFont.family = "宋体";
    LazyGlyphs wide(wideFont, true);
    core::ShapeFonts fonts;
    fonts.narrow = narrow.get();
    fonts.wide = &wide;
    fonts.encode = Encode;
    fonts.eachRow = EachRow;
    core::ShapeComposed composed = core::ComposeShapes(c, fonts, pixels, width, height);
    if (!wide.failure().empty() && composed.missing.empty()) *failure = wide.failure();
    return composed;
}

}  // namespace native
