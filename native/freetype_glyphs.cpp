#include "native/freetype_glyphs.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "native/text_codec.h"

namespace native {

namespace {

// The window measures points at 96 pixels an inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

int32_t Ceil26(FT_Pos value) { return static_cast<int32_t>((value + 63) >> 6); }

class FreeTypeGlyphs : public core::Glyphs {
public:
    FreeTypeGlyphs(FT_Library library, FT_Face face, const core::FontSpec& font)
        : library_(library), face_(face), font_(font) {}
    ~FreeTypeGlyphs() override {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }

    Extent Measure(const std::string& text) override {
        Extent extent;
        FT_Pos pen = 0;
        for (char32_t point : Gb18030ToCodePoints(text)) pen += Advance(point);
        extent.advance = Ceil26(pen);
        extent.lineHeight = LineHeight();
        return extent;
    }

    void Render(const std::string& text, int32_t x, int32_t y, core::CoverageMask* mask) override {
        FT_Pos pen = static_cast<FT_Pos>(x) << 6;
        int32_t baseline = y + Ceil26(face_->size->metrics.ascender);
        for (char32_t point : Gb18030ToCodePoints(text)) {
            if (FT_Load_Char(face_, point, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) == 0) {
                FT_GlyphSlot slot = face_->glyph;
                Blit(slot->bitmap, static_cast<int32_t>(pen >> 6) + slot->bitmap_left, baseline - slot->bitmap_top,
                     mask);
                pen += slot->advance.x;
            }
        }
        int32_t right = static_cast<int32_t>((pen + 63) >> 6);
        int32_t thickness = std::max<int32_t>(1, static_cast<int32_t>(std::lround(font_.size * kPixelsPerPoint / 14)));
        if (font_.underline) Line(x, right, baseline + thickness, thickness, mask);
        if (font_.strikeout) Line(x, right, baseline - Ceil26(face_->size->metrics.ascender) / 3, thickness, mask);
    }

    bool Has(const std::string& text) override {
        std::u32string points = Gb18030ToCodePoints(text);
        return !points.empty() && std::all_of(points.begin(), points.end(),
                                              [&](char32_t p) { return FT_Get_Char_Index(face_, p) != 0; });
    }

private:
    FT_Pos Advance(char32_t point) {
        auto found = advances_.find(point);
        if (found != advances_.end()) return found->second;
        FT_Pos advance = FT_Load_Char(face_, point, FT_LOAD_DEFAULT) == 0 ? face_->glyph->advance.x : 0;
        advances_.emplace(point, advance);
        return advance;
    }
    int32_t LineHeight() const { return Ceil26(face_->size->metrics.ascender - face_->size->metrics.descender); }

    static void Blit(const FT_Bitmap& bitmap, int32_t left, int32_t top, core::CoverageMask* mask) {
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            int32_t y = top + static_cast<int32_t>(row);
            if (y < 0 || y >= mask->height) continue;
            const uint8_t* in = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
            for (unsigned column = 0; column < bitmap.width; ++column) {
                int32_t x = left + static_cast<int32_t>(column);
                if (x < 0 || x >= mask->width) continue;
                uint8_t value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((in[column / 8] >> (7 - column % 8)) & 1) * 255
                                                                        : in[column];
                uint8_t& out = mask->coverage[static_cast<size_t>(y) * mask->width + x];
                out = static_cast<uint8_t>(std::min(255, out + value));
            }
        }
    }
    static void Line(int32_t from, int32_t to, int32_t top, int32_t thickness, core::CoverageMask* mask) {
        for (int32_t y = std::max(top, 0); y < std::min(top + thickness, mask->height); ++y)
            for (int32_t x = std::max(from, 0); x < std::min(to, mask->width); ++x)
                mask->coverage[static_cast<size_t>(y) * mask->width + x] = 255;
    }

    FT_Library library_;
    FT_Face face_;
    core::FontSpec font_;
    std::unordered_map<char32_t, FT_Pos> advances_;
};

}  // namespace

std::unique_ptr<core::Glyphs> OpenGlyphs(const core::FontSpec& font, bool cjk, std::string* reason) {
    std::string family;
    if (!Gb18030ToUtf8(font.family, &family)) family = "monospace";
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (cjk) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* file = nullptr;
    int index = 0;
    if (!match || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
        if (match) FcPatternDestroy(match);
        *reason = "no font matches \"" + family + "\"";
        return nullptr;
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    std::string path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);

    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        *reason = "FreeType did not start";
        return nullptr;
    }
    if (FT_New_Face(library, path.c_str(), index, &face) != 0) {
        FT_Done_FreeType(library);
        *reason = path + ": FreeType cannot read this font";
        return nullptr;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::max(1L, std::lround(font.size * kPixelsPerPoint))));
    if (font.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC)) {
        // A face without an italic is slanted as GDI slants it.
        FT_Matrix shear = {0x10000, 0x5800, 0, 0x10000};
        FT_Set_Transform(face, &shear, nullptr);
    }
    return std::make_unique<FreeTypeGlyphs>(library, face, font);
}

core::Glyphs* LazyGlyphs::Open() {
    if (!glyphs_ && failure_.empty()) {
        glyphs_ = OpenGlyphs(font_, cjk_, &failure_);
        if (!glyphs_ && failure_.empty()) failure_ = "the font cannot be opened";
    }
    return glyphs_.get();
}

core::Glyphs::Extent LazyGlyphs::Measure(const std::string& text) {
    core::Glyphs* glyphs = Open();
    return glyphs ? glyphs->Measure(text) : Extent();
}

bool LazyGlyphs::Has(const std::string& text) {
    core::Glyphs* glyphs = Open();
    return glyphs && glyphs->Has(text);
}

void LazyGlyphs::Render(const std::string& text, int32_t x, int32_t y, core::CoverageMask* mask) {
    if (core::Glyphs* glyphs = Open()) glyphs->Render(text, x, y, mask);
}

}  // namespace native
