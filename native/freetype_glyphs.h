// Glyphs through FreeType, the face found by fontconfig from the family name
// as a user types it.
#pragma once
#include <memory>
#include <string>

#include "core/glyphs.h"

namespace native {

// The face fontconfig matches for the font; `cjk` asks for one that draws
// Chinese. Null with `reason` when FreeType cannot load it.
std::unique_ptr<core::Glyphs> OpenGlyphs(const core::FontSpec& font, bool cjk, std::string* reason);

// Opens the face on first use, so a composition that measures nothing does
// not pay for fontconfig.
class LazyGlyphs : public core::Glyphs {
public:
    LazyGlyphs(core::FontSpec font, bool cjk) : font_(std::move(font)), cjk_(cjk) {}
    Extent Measure(const std::string& text) override;
    void Render(const std::string& text, int32_t x, int32_t y, core::CoverageMask* mask) override;
    bool Has(const std::string& text) override;
    // Empty unless opening the face failed.
    const std::string& failure() const { return failure_; }

private:
    core::Glyphs* Open();
    core::FontSpec font_;
    bool cjk_;
    std::unique_ptr<core::Glyphs> glyphs_;
    std::string failure_;
};

}  // namespace native
