#include "core/glyphs.h"

namespace core {

double InkCoverage(Glyphs& glyphs, const std::string& character) {
    Glyphs::Extent extent = glyphs.Measure(character);
    if (extent.advance <= 0 || extent.lineHeight <= 0) return 0;
    CoverageMask mask;
    mask.width = extent.advance, mask.height = extent.lineHeight;
    mask.coverage.assign(static_cast<size_t>(mask.width) * mask.height, 0);
    glyphs.Render(character, 0, 0, &mask);
    double ink = 0;
    for (uint8_t c : mask.coverage) ink += c;
    return ink / (255.0 * mask.coverage.size());
}

double CellAspect(Glyphs& glyphs, bool doubleByte) {
    if (doubleByte) return 1.0;
    Glyphs::Extent extent = glyphs.Measure("M");
    if (extent.advance <= 0 || extent.lineHeight <= 0) return 2.0;
    return static_cast<double>(extent.lineHeight) / extent.advance;
}

}  // namespace core
