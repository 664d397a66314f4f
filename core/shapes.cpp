#include "core/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <limits>

#include "core/tones.h"

namespace core {

namespace {

// Chinese characters of distinct outlines: strokes across, down, boxed,
// crossed, slanted, dense and sparse.
const char kCjkSymbols[] =
    "一二三十丁了人入八儿几刀力又口土工大小山川巾干日月木水火田由甲申电目白皿石立米耳西回因国图囗品"
    "王丰中上下卜之乙厂广门户戈弋心必永头"
    "井开用丹冂凵匚乂丿丶亠冖宀艹彡夕勹讠氵扌亻纟";

// Passes of the blur in colour. Ink on paper takes one, so that a glyph's
// texture stays costly where a patch is flat; in colour a cell's two colours
// already carry its tone, and shapes are best compared nearer the scale a
// reader sees them at: four passes, about a Gaussian of 1.4 pixels.
constexpr int kColourBlurs = 4;

// Blur weights 1 2 1 across and down, so glyph texture does not outweigh shape.
void Blur(uint8_t* plane, int32_t width, int32_t height, std::vector<uint16_t>* scratch) {
    scratch->resize(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = plane + static_cast<size_t>(y) * width;
        uint16_t* out = scratch->data() + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x)
            out[x] = static_cast<uint16_t>(in[x > 0 ? x - 1 : 0] + 2 * in[x] + in[x + 1 < width ? x + 1 : x]);
    }
    for (int32_t y = 0; y < height; ++y) {
        const uint16_t* up = scratch->data() + static_cast<size_t>(y > 0 ? y - 1 : 0) * width;
        const uint16_t* at = scratch->data() + static_cast<size_t>(y) * width;
        const uint16_t* down = scratch->data() + static_cast<size_t>(y + 1 < height ? y + 1 : y) * width;
        uint8_t* out = plane + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x) out[x] = static_cast<uint8_t>((up[x] + 2 * at[x] + down[x] + 8) / 16);
    }
}

// A candidate as compared: its blurred coverage and the sums the solutions need.
struct Candidate {
    const Symbol* symbol = nullptr;
    std::vector<uint8_t> mask;  // width x cell height, row by row
    std::vector<uint8_t> drawn;  // the coverage as drawn, before the blur
    int64_t sum = 0, squares = 0;
};

int32_t Dot(const uint8_t* a, const uint8_t* b, size_t n) {
    int32_t total = 0;
    for (size_t i = 0; i < n; ++i) total += static_cast<int32_t>(a[i]) * b[i];
    return total;
}

// Weights of the terms in ink on paper, by what the symbols can draw.
struct InkWeights {
    // The structure term: the share of the patch's own contrast that the
    // candidate's shape cannot explain.
    double structure;
    // The texture term: the share of a glyph's own contrast that the patch
    // does not call for. From a little way off a font's strokes over a flat
    // patch read as noise, not as its tone; block elements are solid
    // geometry, so their halves count as shape and pay nothing.
    double texture;
    // The likeness term, against squared errors over the cell at full
    // contrast: one less the SSIM of patch and candidate over the cell, from
    // their means, spreads and correlation, its usual constants for 0 .. 255.
    // Texture costs likeness where the patch is flat, whatever its tone, and
    // a shape of the right contrast gains it where the patch has one.
    double likeness;
    // Whether likeness's comparison of means enters as its cube root, so
    // that it counts for less.
    bool meansRooted;
};
// With block elements among the symbols an edge can be drawn where it lies.
constexpr InkWeights kWithBlocks{2.5, 1.0, 0.05, false};
// A font's glyphs alone show tone only as texture and hold no clean edge: the
// squared error already weighs a cell's tone, so likeness's comparison of
// means counts for less and likeness itself for more, stray strokes cost a
// little more, and the structure term, which takes any glyph lined up with
// an edge for its shape, counts for less.
constexpr InkWeights kGlyphsOnly{0.3, 1.2, 0.21, true};

// A cell's (or cell pair's) picture: the planes (one for ink on paper, three
// for colour) gathered from the picture, and their sums.
struct Patch {
    int32_t planes = 1;
    size_t pixels = 0;
    std::vector<uint8_t> values[3];
    int64_t sums[3] = {0, 0, 0};
    int64_t squares = 0;  // of the ink plane, for the structure term
    bool lightPaper = true;  // ink on paper: dark ink on light paper, or the other way round
    const InkWeights* weights = &kWithBlocks;  // ink on paper
};

struct Match {
    double error = 0;
    double shape = 0;  // the structure term's share of the error
    int32_t candidate = 0;
    uint32_t foreground = 0, background = 0;
};

// Luma of 0x00BBGGRR, 0 .. 255.
int32_t Grey(uint32_t c) {
    return static_cast<int32_t>((299 * (c & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * ((c >> 16) & 0xFF) + 500) / 1000);
}

// A colour channel as a terminal can show it.
double Bound(double v) { return std::min(255.0, std::max(0.0, v)); }

uint32_t Pack(double r, double g, double b) {
    auto channel = [](double v) { return static_cast<uint32_t>(std::lround(Bound(v))); };
    return channel(r) | channel(g) << 8 | channel(b) << 16;
}

// SSIM's constants for tones 0 .. 255, for the likeness term.
constexpr double kSteadyMean = (0.01 * 255) * (0.01 * 255), kSteadySpread = (0.03 * 255) * (0.03 * 255);
// A shade is a flat middle tone: a cell whose deviation passes this (of 255)
// holds an edge, and a shade there would show neither side of it.
constexpr double kShadeEdge = 50;

// The colour error weighs each channel as it counts in brightness, red,
// green, blue: the eye follows the shapes of light and dark more than those
// of hue. Each channel's colours are solved on their own all the same.
constexpr double kChannelWeight[3] = {3 * 0.299, 3 * 0.587, 3 * 0.114};

// How well a candidate fits a patch. Ink on paper: the patch holds ink (0
// paper .. 255 ink), compared with coverage directly, plus the structure term,
// so that an edge between two middle tones still takes the glyph of its shape
// rather than the flat shade between them, the texture term, so that a flat
// patch is not filled with strokes it does not have, and the likeness term.
// Colour: per channel the background u and the step b of p = u + b * coverage
// by least squares. The error, channels weighed by brightness, leaves out the
// patch's own sum of squares, the same for every candidate.
Match Fit(const Patch& patch, const Candidate& c, int32_t index) {
    Match m;
    m.candidate = index;
    double n = static_cast<double>(patch.pixels);
    if (patch.planes == 1) {
        int32_t dot = Dot(patch.values[0].data(), c.mask.data(), patch.pixels);
        m.error = static_cast<double>(c.squares) - 2.0 * dot;
        const double patchSum = static_cast<double>(patch.sums[0]);
        double patchSpread = static_cast<double>(patch.squares) - patchSum * patchSum / n;
        if (c.symbol->IsShade() && patchSpread > kShadeEdge * kShadeEdge * n) {
            m.error = std::numeric_limits<double>::max();
            return m;
        }
        double spread = static_cast<double>(c.squares) - static_cast<double>(c.sum) * c.sum / n;
        double together = dot - patchSum * static_cast<double>(c.sum) / n;
        double unexplained = patchSpread;
        if (together > 0 && spread > 1e-9) unexplained -= together * together / spread;
        const InkWeights& w = *patch.weights;
        m.shape = w.structure * std::max(0.0, unexplained);
        m.error += m.shape;
        if (c.symbol->block < 0 && spread > 1e-9) {
            double stray = spread;
            if (together > 0 && patchSpread > 1e-9) stray -= together * together / patchSpread;
            m.error += w.texture * std::max(0.0, stray);
        }
        // Brightness as the page shows it: bare paper is light on light paper.
        double patchMean = patchSum / n, mean = static_cast<double>(c.sum) / n;
        if (patch.lightPaper) patchMean = 255 - patchMean, mean = 255 - mean;
        double brightness = (2 * patchMean * mean + kSteadyMean) / (patchMean * patchMean + mean * mean + kSteadyMean);
        double contrast = (2 * together / n + kSteadySpread) / ((patchSpread + spread) / n + kSteadySpread);
        if (w.meansRooted) brightness = std::cbrt(brightness);
        m.error += w.likeness * n * 255 * 255 * (1 - brightness * contrast);
        return m;
    }
    double a = static_cast<double>(c.sum), b = static_cast<double>(c.squares);
    double det = n * b - a * a;
    double back[3], fore[3];
    for (int p = 0; p < 3; ++p) {
        double s = static_cast<double>(patch.sums[p]), explained;
        if (det < 1e-6 * n * b + 1e-9) {
            back[p] = fore[p] = s / n;
            explained = s * s / n;
        } else {
            double d = Dot(patch.values[p].data(), c.mask.data(), patch.pixels);
            double u = (b * s - a * d) / det, step = (n * d - a * s) / det;
            back[p] = u, fore[p] = u + 255 * step;
            explained = u * s + step * d;
            if (u < 0 || u > 255 || fore[p] < 0 || fore[p] > 255) {
                // A terminal shows no colour beyond 0 .. 255: one colour is
                // held at its bound, the other solved again, the better of
                // the two ways kept, and the candidate charged for what is drawn.
                const double a1 = a / 255, b2 = b / 65025, d1 = d / 255;
                auto drawn = [&](double bg, double fg) {  // squared error less the patch's own sum of squares
                    return -2 * (bg * s + (fg - bg) * d1) + n * bg * bg + 2 * bg * (fg - bg) * a1 + (fg - bg) * (fg - bg) * b2;
                };
                double fgHeld = Bound(fore[p]), bgFreed = Bound((s - d1 - fgHeld * (a1 - b2)) / (n - 2 * a1 + b2));
                double bgHeld = Bound(u), fgFreed = Bound((d1 - bgHeld * (a1 - b2)) / b2);
                double first = drawn(bgFreed, fgHeld), second = drawn(bgHeld, fgFreed);
                if (first <= second) back[p] = bgFreed, fore[p] = fgHeld, explained = -first;
                else back[p] = bgHeld, fore[p] = fgFreed, explained = -second;
            }
        }
        m.error -= kChannelWeight[p] * explained;
    }
    m.background = Pack(back[0], back[1], back[2]);
    m.foreground = Pack(fore[0], fore[1], fore[2]);
    return m;
}

// The best of `indices`; every fit tried is added to `tried` when given.
Match BestMatch(const Patch& patch, const std::vector<Candidate>& candidates, const std::vector<int32_t>& indices,
                std::vector<Match>* tried) {
    Match best;
    bool found = false;
    for (int32_t index : indices) {
        Match m = Fit(patch, candidates[static_cast<size_t>(index)], index);
        if (tried) tried->push_back(m);
        // Ties, and differences of rounding alone, go to the earlier candidate (a space before "!").
        if (!found || m.error < best.error - 1e-9 * std::abs(best.error) - 1e-6) best = m, found = true;
    }
    return best;
}

// Coarse signatures: a mask or patch as means over blocks of kCoarse pixels a side.
constexpr int32_t kCoarse = 4;
// Candidates kept by the coarse comparison for the full one.
constexpr size_t kShortlist = 12;

void Shrink(const uint8_t* values, int32_t width, int32_t height, std::vector<uint8_t>* out) {
    int32_t cols = (width + kCoarse - 1) / kCoarse, rows = (height + kCoarse - 1) / kCoarse;
    out->assign(static_cast<size_t>(cols) * rows, 0);
    for (int32_t by = 0; by < rows; ++by)
        for (int32_t bx = 0; bx < cols; ++bx) {
            uint32_t sum = 0, n = 0;
            for (int32_t y = by * kCoarse; y < std::min(height, (by + 1) * kCoarse); ++y)
                for (int32_t x = bx * kCoarse; x < std::min(width, (bx + 1) * kCoarse); ++x, ++n)
                    sum += values[static_cast<size_t>(y) * width + x];
            (*out)[static_cast<size_t>(by) * cols + bx] = static_cast<uint8_t>((sum + n / 2) / n);
        }
}

Candidate Coarse(const Candidate& full, int32_t width, int32_t height) {
    Candidate c;
    c.symbol = full.symbol;
    Shrink(full.mask.data(), width, height, &c.mask);
    for (uint8_t v : c.mask) c.sum += v, c.squares += static_cast<int64_t>(v) * v;
    return c;
}

// The best candidate among those whose coarse signatures fit best.
Match ShortlistMatch(const Patch& patch, int32_t width, int32_t height, const std::vector<Candidate>& candidates,
                     const std::vector<Candidate>& coarse, const std::vector<int32_t>& indices,
                     std::vector<std::pair<double, int32_t>>* ranked, std::vector<int32_t>* kept,
                     std::vector<Match>* tried = nullptr) {
    if (indices.size() <= 2 * kShortlist) return BestMatch(patch, candidates, indices, tried);
    Patch small;
    small.planes = patch.planes;
    small.lightPaper = patch.lightPaper;
    small.weights = patch.weights;
    for (int p = 0; p < patch.planes; ++p) {
        Shrink(patch.values[p].data(), width, height, &small.values[p]);
        for (uint8_t v : small.values[p]) small.sums[p] += v;
    }
    if (patch.planes == 1) {
        for (uint8_t v : small.values[0]) small.squares += static_cast<int64_t>(v) * v;
    }
    small.pixels = small.values[0].size();
    ranked->clear();
    for (int32_t index : indices) ranked->emplace_back(Fit(small, coarse[static_cast<size_t>(index)], index).error, index);
    std::nth_element(ranked->begin(), ranked->begin() + kShortlist, ranked->end());
    kept->clear();
    for (size_t k = 0; k < kShortlist; ++k) kept->push_back((*ranked)[k].second);
    std::sort(kept->begin(), kept->end());
    return BestMatch(patch, candidates, *kept, tried);
}

// Each cell is matched on its own, so a thin line that crosses into a cell
// can be drawn twice, by the cell that holds it and by its neighbour, as a
// bar and a quadrant side by side. With block elements, whose edges fall
// exactly where they are drawn, every cell is chosen once more against the
// picture as its neighbours now draw it: drawing and picture blurred alike,
// over the cell and a margin, the picture explained linearly by the drawing
// (so a cell's tone is left to its own error) and what is left unexplained
// added to the cell's own error less its structure term, which judged shape
// within the cell alone. Shades, flat tones, and runs of one symbol across or
// down, a line or a flat already drawn, stay as they are: re-chosen one cell
// at a time they break into an alternation that reads as texture.
constexpr double kNearBlur = 2.5;     // pixels, the Gaussian's deviation
constexpr double kNearWeight = 3.5;   // of the unexplained share against a cell's own error
constexpr size_t kNearChoices = 6;    // a cell's best candidates by its own error, less structure

constexpr size_t kKeptInk = 64u << 20;  // bytes of a picture's ink kept for the pass
constexpr size_t kNearBands = 16u << 20;  // bytes of the picture's blurred bands held at once

struct NearChoice {
    double error = 0;        // the cell's own error less its structure term
    int32_t candidate = -1;  // -1: none
};

class NeighbourPass {
public:
    NeighbourPass(const std::vector<Candidate>& candidates, int32_t cellWidth, int32_t cellHeight, int32_t columns,
                  int32_t rows)
        : candidates_(candidates), cw_(cellWidth), ch_(cellHeight), columns_(columns), rows_(rows),
          width_(columns * cellWidth), height_(rows * cellHeight),
          margin_(static_cast<int32_t>(std::ceil(2.5 * kNearBlur))), bandHeight_(cellHeight + 2 * margin_) {
        float total = 0;
        for (int32_t i = -margin_; i <= margin_; ++i)
            total += kernel_.emplace_back(static_cast<float>(std::exp(-0.5 * i * i / (kNearBlur * kNearBlur))));
        for (float& k : kernel_) k /= total;
        // The same in 256ths, the picture's blur in whole numbers: the
        // rounding's remainder goes to the middle, so the weights sum to 256.
        int32_t whole = 0;
        for (float k : kernel_) whole += fixed_.emplace_back(static_cast<uint16_t>(std::lround(k * 256)));
        uint16_t& middle = fixed_[static_cast<size_t>(margin_)];
        middle = static_cast<uint16_t>(middle + 256 - whole);
        // Every candidate drawn alone and blurred, over its cells and the margin.
        for (const Candidate& c : candidates) {
            const int32_t drawnWidth = c.symbol->width * cw_, w = drawnWidth + 2 * margin_;
            std::vector<float> frame(static_cast<size_t>(w) * bandHeight_, 0.f);
            for (int32_t y = 0; y < ch_; ++y)
                std::copy_n(c.drawn.begin() + static_cast<std::ptrdiff_t>(y) * drawnWidth, drawnWidth,
                            frame.begin() + static_cast<std::ptrdiff_t>(y + margin_) * w + margin_);
            BlurFrame(&frame, w, bandHeight_);
            std::vector<int16_t>& stamp = stamps_.emplace_back(frame.size());
            for (size_t i = 0; i < frame.size(); ++i) stamp[i] = static_cast<int16_t>(std::lround(frame[i]));
        }
    }

    // Re-chooses the cells of `matches` row by row, in order. `ink(row, out)`
    // gives a row of cells' ink at full size, width x cell height, and may be
    // called from several threads at once; `eachRow` as for ShapeFonts.
    void Run(const std::function<void(int32_t, std::vector<uint8_t>*)>& ink, const ShapeFonts& fonts,
             const std::vector<NearChoice>& choices, const std::vector<uint8_t>& widePlaced,
             std::vector<Match>* matches) {
        // The picture's bands do not depend on the choices: blurred ahead,
        // as many rows at a time as kNearBands bytes hold, over the cores.
        const size_t bandSize = static_cast<size_t>(width_) * bandHeight_;
        const size_t fit = kNearBands / (bandSize * sizeof(int16_t));
        const int32_t chunk = static_cast<int32_t>(std::clamp<size_t>(fit, 1, static_cast<size_t>(rows_)));
        std::vector<int16_t> bands(bandSize * chunk), canvas(bandSize);
        for (int32_t first = 0; first < rows_; first += chunk) {
            const int32_t count = std::min(chunk, rows_ - first);
            auto blur = [&](int32_t i) { PictureBand(first + i, ink, bands.data() + bandSize * i); };
            if (fonts.eachRow) fonts.eachRow(count, blur);
            else
                for (int32_t i = 0; i < count; ++i) blur(i);
            for (int32_t row = first; row < first + count; ++row) {
                // The drawing over the band: the rows above, this one and the next as they now stand.
                std::fill(canvas.begin(), canvas.end(), int16_t{0});
                for (int32_t r = std::max(0, row - 1); r <= std::min(rows_ - 1, row + 1); ++r)
                    for (int32_t x = 0; x < columns_; ++x) {
                        size_t k = static_cast<size_t>(r) * columns_ + x;
                        if (!Covered(widePlaced, k)) Stamp(&canvas, (*matches)[k].candidate, x, (r - row) * ch_, 1);
                    }
                const int16_t* picture = bands.data() + bandSize * (row - first);
                for (int32_t x = 0; x < columns_; ++x) Choose(row, x, picture, choices, widePlaced, &canvas, matches);
            }
        }
    }

private:
    // Row `row`'s band of the picture, its cells and the margin above and
    // below, blurred; lines beyond the picture are bare.
    void PictureBand(int32_t row, const std::function<void(int32_t, std::vector<uint8_t>*)>& ink, int16_t* out) const {
        const int32_t top = row * ch_ - margin_;  // the band's first line in the picture
        // Blurred across: the band's lines and a margin more each way, from this row and its neighbours.
        const int32_t first = std::max(0, top - margin_), last = std::min(height_, top + bandHeight_ + margin_);
        std::vector<uint8_t> across(static_cast<size_t>(last - first) * width_), plane;
        std::vector<uint16_t> sum(static_cast<size_t>(width_));
        for (int32_t r = first / ch_; r <= (last - 1) / ch_; ++r) {
            ink(r, &plane);
            for (int32_t y = std::max(first, r * ch_); y < std::min(last, (r + 1) * ch_); ++y) {
                const uint8_t* in = plane.data() + static_cast<size_t>(y - r * ch_) * width_;
                std::fill(sum.begin(), sum.end(), uint16_t{0});
                for (int32_t i = -margin_; i <= margin_; ++i) {
                    const uint16_t k = fixed_[static_cast<size_t>(i + margin_)];
                    const int32_t x0 = std::max(0, -i), x1 = std::min(width_, width_ - i);
                    const uint8_t* from = in + (x0 + i);
                    uint16_t* to = sum.data() + x0;
                    for (int32_t x = 0; x < x1 - x0; ++x) to[x] = static_cast<uint16_t>(to[x] + k * from[x]);
                }
                uint8_t* to = across.data() + static_cast<size_t>(y - first) * width_;
                for (int32_t x = 0; x < width_; ++x) to[x] = static_cast<uint8_t>((sum[Index(x)] + 128) >> 8);
            }
        }
        // Then down.
        for (int32_t b = 0; b < bandHeight_; ++b) {
            std::fill(sum.begin(), sum.end(), uint16_t{0});
            for (int32_t i = -margin_; i <= margin_; ++i) {
                const int32_t y = top + b + i;
                if (y < first || y >= last) continue;
                const uint8_t* in = across.data() + static_cast<size_t>(y - first) * width_;
                const uint16_t k = fixed_[static_cast<size_t>(i + margin_)];
                for (int32_t x = 0; x < width_; ++x) sum[Index(x)] = static_cast<uint16_t>(sum[Index(x)] + k * in[x]);
            }
            int16_t* to = out + static_cast<size_t>(b) * width_;
            for (int32_t x = 0; x < width_; ++x) to[x] = static_cast<int16_t>((sum[Index(x)] + 128) >> 8);
        }
    }

    bool Covered(const std::vector<uint8_t>& widePlaced, size_t k) const {
        return k % static_cast<size_t>(columns_) > 0 && widePlaced[k - 1];
    }

    static size_t Index(int32_t i) { return static_cast<size_t>(i); }

    // A stamp's frame blurred in place, across then down.
    void BlurFrame(std::vector<float>* frame, int32_t w, int32_t h) const {
        std::vector<float>& f = *frame;
        std::vector<float> across(f.size(), 0.f);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                for (int32_t i = std::max(-margin_, -x); i <= std::min(margin_, w - 1 - x); ++i)
                    across[Index(y * w + x)] += kernel_[Index(i + margin_)] * f[Index(y * w + x + i)];
        std::fill(f.begin(), f.end(), 0.f);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t i = std::max(-margin_, -y); i <= std::min(margin_, h - 1 - y); ++i)
                for (int32_t x = 0; x < w; ++x)
                    f[Index(y * w + x)] += kernel_[Index(i + margin_)] * across[Index((y + i) * w + x)];
    }

    // Adds (sign 1) or takes away (-1) candidate c's stamp for the cell in
    // column x whose top lies `down` lines below the band's cell row.
    void Stamp(std::vector<int16_t>* canvas, int32_t c, int32_t x, int32_t down, int sign) const {
        const std::vector<int16_t>& stamp = stamps_[static_cast<size_t>(c)];
        const int32_t w = candidates_[static_cast<size_t>(c)].symbol->width * cw_ + 2 * margin_;
        const int32_t left = x * cw_ - margin_;
        const int32_t x0 = std::max(0, left), x1 = std::min(width_, left + w);
        for (int32_t sy = 0; sy < bandHeight_; ++sy) {
            int32_t b = sy + down;
            if (b < 0 || b >= bandHeight_) continue;
            int16_t* out = canvas->data() + static_cast<size_t>(b) * width_ + x0;
            const int16_t* in = stamp.data() + static_cast<size_t>(sy) * w + (x0 - left);
            for (int32_t i = 0; i < x1 - x0; ++i) out[i] = static_cast<int16_t>(out[i] + sign * in[i]);
        }
    }

    // Cell (x, row) re-chosen, the band's drawing kept up to date.
    void Choose(int32_t row, int32_t x, const int16_t* picture, const std::vector<NearChoice>& choices,
                const std::vector<uint8_t>& widePlaced, std::vector<int16_t>* canvas,
                std::vector<Match>* matches) const {
        const size_t k = static_cast<size_t>(row) * columns_ + x;
        Match& now = (*matches)[k];
        const int32_t c0 = now.candidate;
        const Candidate& current = candidates_[static_cast<size_t>(c0)];
        if (widePlaced[k] || Covered(widePlaced, k) || current.symbol->IsShade()) return;
        auto at = [&](int32_t cx, int32_t cy) {
            if (cx < 0 || cy < 0 || cx >= columns_ || cy >= rows_) return -1;
            return (*matches)[static_cast<size_t>(cy) * columns_ + cx].candidate;
        };
        if ((at(x - 1, row) == c0 && at(x + 1, row) == c0) || (at(x, row - 1) == c0 && at(x, row + 1) == c0)) return;

        // The window: the cell and the margin, where neither blur reached past the picture.
        const int32_t left = x * cw_ - margin_, top = row * ch_ - margin_;
        const int32_t x0 = std::max(margin_, left), x1 = std::min(width_ - margin_, left + cw_ + 2 * margin_);
        const int32_t b0 = std::max(margin_ - top, 0), b1 = std::min(bandHeight_, height_ - margin_ - top);
        if (x1 <= x0 || b1 <= b0) return;
        const int32_t w = cw_ + 2 * margin_;
        // Sums over the window of the picture p and of the drawing without this cell, d.
        int64_t n = 0, p = 0, pp = 0, d = 0, dd = 0, dp = 0;
        std::vector<int16_t>& rest = scratch_;
        rest.assign(static_cast<size_t>(w) * bandHeight_, 0);
        const std::vector<int16_t>& own = stamps_[static_cast<size_t>(c0)];
        for (int32_t b = b0; b < b1; ++b)
            for (int32_t px = x0; px < x1; ++px) {
                size_t s = static_cast<size_t>(b) * w + (px - left);
                int32_t pv = picture[static_cast<size_t>(b) * width_ + px];
                int32_t dv = (*canvas)[static_cast<size_t>(b) * width_ + px] - own[s];
                rest[s] = static_cast<int16_t>(dv);
                ++n, p += pv, pp += pv * pv, d += dv, dd += dv * dv, dp += dv * pv;
            }
        if (n == 0) return;
        const double spreadP = static_cast<double>(pp) - static_cast<double>(p) * p / n;
        auto unexplained = [&](int32_t c) {
            const std::vector<int16_t>& stamp = stamps_[static_cast<size_t>(c)];
            int64_t s = 0, ss = 0, sd = 0, sp = 0;
            for (int32_t b = b0; b < b1; ++b) {
                const int16_t* sv = stamp.data() + static_cast<size_t>(b) * w + (x0 - left);
                const int16_t* dv = rest.data() + static_cast<size_t>(b) * w + (x0 - left);
                const int16_t* pv = picture + static_cast<size_t>(b) * width_ + x0;
                int32_t rs = 0, rss = 0, rsd = 0, rsp = 0;
                for (int32_t i = 0; i < x1 - x0; ++i)
                    rs += sv[i], rss += sv[i] * sv[i], rsd += sv[i] * dv[i], rsp += sv[i] * pv[i];
                s += rs, ss += rss, sd += rsd, sp += rsp;
            }
            // The drawing r = d + stamp against the picture.
            const double r = static_cast<double>(d + s), rr = static_cast<double>(dd + 2 * sd + ss);
            const double rp = static_cast<double>(dp + sp);
            double spreadR = rr - r * r / n, together = rp - r * p / n;
            return spreadP - (spreadR > 1e-6 ? together * together / spreadR : 0.0);
        };
        int32_t chosen = c0;
        double best = now.error - now.shape + kNearWeight * unexplained(c0);
        for (size_t i = 0; i < kNearChoices; ++i) {
            const NearChoice& choice = choices[k * kNearChoices + i];
            if (choice.candidate < 0 || choice.candidate == c0) continue;
            if (candidates_[static_cast<size_t>(choice.candidate)].symbol->IsShade()) continue;
            double score = choice.error + kNearWeight * unexplained(choice.candidate);
            if (score < best) best = score, chosen = choice.candidate;
        }
        if (chosen == c0) return;
        Stamp(canvas, c0, x, 0, -1);
        Stamp(canvas, chosen, x, 0, 1);
        now.candidate = chosen;
    }

    const std::vector<Candidate>& candidates_;
    const int32_t cw_, ch_, columns_, rows_, width_, height_, margin_, bandHeight_;
    std::vector<float> kernel_;     // the Gaussian's weights, for the stamps
    std::vector<uint16_t> fixed_;   // and in 256ths, for the picture
    std::vector<std::vector<int16_t>> stamps_;  // per candidate, its cells and the margin round them
    mutable std::vector<int16_t> scratch_;
};

// Lines first .. last - 1 of the picture stretched to width x height by area
// means, one plane per channel; given `inkOf`, one plane of the ink of each
// mean's grey instead.
void Stretch(const std::vector<int32_t>& pixels, int32_t width, int32_t height, int32_t toWidth, int32_t toHeight,
             int32_t first, int32_t last, std::vector<uint8_t> planes[3], const uint8_t* inkOf) {
    auto spans = [](int32_t to, int32_t from) {
        std::vector<std::pair<int32_t, int32_t>> s(static_cast<size_t>(to));
        for (int32_t i = 0; i < to; ++i) {
            int32_t first = static_cast<int32_t>(static_cast<int64_t>(i) * from / to);
            int32_t last = static_cast<int32_t>(static_cast<int64_t>(i + 1) * from / to);
            s[static_cast<size_t>(i)] = {first, std::max(last, first + 1)};
        }
        return s;
    };
    auto xs = spans(toWidth, width), ys = spans(toHeight, height);
    const int planeCount = inkOf ? 1 : 3;
    for (int p = 0; p < planeCount; ++p) planes[p].resize(static_cast<size_t>(toWidth) * (last - first));
    // Enlarged across and down, each pixel is one source pixel's: ink is
    // looked up once per source line and spread.
    const bool enlarged = toWidth >= width && toHeight >= height;
    std::vector<uint8_t> sourceInk;
    int32_t sourceLine = -1;
    for (int32_t y = first; y < last; ++y) {
        if (inkOf && enlarged) {
            const int32_t sy = ys[static_cast<size_t>(y)].first;
            if (sy != sourceLine) {
                const int32_t* row = pixels.data() + static_cast<size_t>(sy) * width;
                sourceInk.resize(static_cast<size_t>(width));
                for (int32_t sx = 0; sx < width; ++sx)
                    sourceInk[static_cast<size_t>(sx)] = inkOf[Grey(static_cast<uint32_t>(row[sx]))];
                sourceLine = sy;
            }
            uint8_t* out = planes[0].data() + static_cast<size_t>(y - first) * toWidth;
            for (int32_t x = 0; x < toWidth; ++x) out[x] = sourceInk[static_cast<size_t>(xs[static_cast<size_t>(x)].first)];
            continue;
        }
        for (int32_t x = 0; x < toWidth; ++x) {
            uint32_t sum[3] = {0, 0, 0};
            for (int32_t sy = ys[static_cast<size_t>(y)].first; sy < ys[static_cast<size_t>(y)].second; ++sy) {
                const int32_t* row = pixels.data() + static_cast<size_t>(sy) * width;
                for (int32_t sx = xs[static_cast<size_t>(x)].first; sx < xs[static_cast<size_t>(x)].second; ++sx) {
                    uint32_t c = static_cast<uint32_t>(row[sx]);
                    sum[0] += c & 0xFF, sum[1] += (c >> 8) & 0xFF, sum[2] += (c >> 16) & 0xFF;
                }
            }
            uint32_t n = static_cast<uint32_t>((ys[static_cast<size_t>(y)].second - ys[static_cast<size_t>(y)].first) *
                                               (xs[static_cast<size_t>(x)].second - xs[static_cast<size_t>(x)].first));
            // Enlarging, a pixel's span is one source pixel: no division.
            if (n > 1)
                for (uint32_t& channel : sum) channel = (channel + n / 2) / n;
            const size_t at = static_cast<size_t>(y - first) * toWidth + x;
            if (inkOf) planes[0][at] = inkOf[Grey(sum[0] | sum[1] << 8 | sum[2] << 16)];
            else
                for (int p = 0; p < 3; ++p) planes[p][at] = static_cast<uint8_t>(sum[p]);
        }
    }
}

}  // namespace

std::vector<Symbol> ShapeSymbols(const std::string& sets, const std::function<std::string(char32_t)>& encode,
                                 std::string* error) {
    std::vector<Symbol> symbols;
    auto add = [&](const std::string& text, int32_t width, int32_t block) {
        if (text.empty()) return;
        for (const Symbol& s : symbols)
            if (s.text == text) return;
        symbols.push_back(Symbol{text, width, block});
    };
    // Box drawing, block elements and braille take one column in a terminal,
    // though GB18030 spends two or four bytes on them.
    std::vector<std::string> narrowSigns;
    auto range = [&](char32_t first, char32_t last, bool blocks) {
        for (char32_t point = first; point <= last; ++point)
            add(encode ? encode(point) : std::string(), 1, blocks ? static_cast<int32_t>(point - first) : -1);
    };
    size_t start = 0;
    while (start <= sets.size()) {
        size_t comma = sets.find(',', start);
        std::string name = sets.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        start = comma == std::string::npos ? sets.size() + 1 : comma + 1;
        if (name == "ascii") {
            for (char ch = ' '; ch <= '~'; ++ch) add(std::string(1, ch), 1, -1);
        } else if (name == "blocks") {
            range(0x2580, 0x259F, true);
        } else if (name == "box") {
            range(0x2500, 0x257F, false);
        } else if (name == "braille") {
            range(0x2800, 0x28FF, false);
        } else if (name == "cjk") {
            for (const std::string& ch : GbkCharacters(kCjkSymbols)) add(ch, 2, -1);
        } else if (name.empty()) {
            *error = "an empty set in --symbols";
            return {};
        } else {
            // Listed characters: a block element among them is still geometry.
            if (narrowSigns.empty() && encode) {
                for (char32_t point = 0x2500; point <= 0x259F; ++point) narrowSigns.push_back(encode(point));
                for (char32_t point = 0x2800; point <= 0x28FF; ++point) narrowSigns.push_back(encode(point));
            }
            for (const std::string& ch : GbkCharacters(name)) {
                auto sign = std::find(narrowSigns.begin(), narrowSigns.end(), ch);
                size_t index = static_cast<size_t>(sign - narrowSigns.begin());
                int32_t block = index >= 0x80 && index < 0xA0 ? static_cast<int32_t>(index - 0x80) : -1;
                add(ch, sign != narrowSigns.end() ? 1 : std::max(1, std::min(2, DisplayWidth(ch))), block);
            }
        }
    }
    if (symbols.empty()) *error = "--symbols names no characters";
    return symbols;
}

std::string MissingNotice(const std::vector<std::string>& missing) {
    if (missing.empty()) return std::string();
    std::string notice = "left out, the fonts lack them:";
    for (const std::string& ch : missing) notice += " " + ch;
    return notice;
}

CoverageMask BlockMask(int32_t block, int32_t width, int32_t height) {
    CoverageMask mask;
    mask.width = width, mask.height = height;
    mask.coverage.assign(static_cast<size_t>(width) * height, 0);
    // Rectangles in eighths of the cell: left, top, right, bottom; a shade is
    // a uniform coverage over the whole cell.
    struct Rect {
        int8_t x0, y0, x1, y1;
    };
    std::vector<Rect> rects;
    double shade = 1.0;
    const Rect upperLeft{0, 0, 4, 4}, upperRight{4, 0, 8, 4}, lowerLeft{0, 4, 4, 8}, lowerRight{4, 4, 8, 8};
    // Filled one by one: GCC 12 warns falsely about a list assigned at once.
    auto set = [&](std::initializer_list<Rect> list) {
        for (const Rect& r : list) rects.push_back(r);
    };
    if (block == 0) set({{0, 0, 8, 4}});
    else if (block >= 1 && block <= 8) set({{0, static_cast<int8_t>(8 - block), 8, 8}});
    else if (block >= 9 && block <= 15) set({{0, 0, static_cast<int8_t>(16 - block), 8}});
    else if (block == 16) set({{4, 0, 8, 8}});
    else if (ShadeBlock(block)) set({{0, 0, 8, 8}}), shade = (block - 16) / 4.0;
    else if (block == 20) set({{0, 0, 8, 1}});
    else if (block == 21) set({{7, 0, 8, 8}});
    else if (block == 22) set({lowerLeft});
    else if (block == 23) set({lowerRight});
    else if (block == 24) set({upperLeft});
    else if (block == 25) set({upperLeft, lowerLeft, lowerRight});
    else if (block == 26) set({upperLeft, lowerRight});
    else if (block == 27) set({upperLeft, upperRight, lowerLeft});
    else if (block == 28) set({upperLeft, upperRight, lowerRight});
    else if (block == 29) set({upperRight});
    else if (block == 30) set({upperRight, lowerLeft});
    else if (block == 31) set({upperRight, lowerLeft, lowerRight});
    // Each pixel takes the share of its area the rectangles cover.
    auto overlap = [](double a0, double a1, double b0, double b1) { return std::max(0.0, std::min(a1, b1) - std::max(a0, b0)); };
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            double covered = 0;
            for (const Rect& r : rects)
                covered += overlap(x, x + 1, r.x0 * width / 8.0, r.x1 * width / 8.0) *
                           overlap(y, y + 1, r.y0 * height / 8.0, r.y1 * height / 8.0);
            mask.coverage[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>(std::lround(std::min(1.0, covered) * shade * 255));
        }
    return mask;
}

ShapeComposed ComposeShapes(const Choices& c, const ShapeFonts& fonts, const std::vector<int32_t>& pixels,
                            int32_t width, int32_t height) {
    ShapeComposed result;
    auto refuse = [&](const std::string& why, int code) {
        result.composed.error = why;
        result.composed.exitCode = code;
        return result;
    };
    if (!fonts.narrow) return refuse("nothing to compose: no font for the shape source", kFailed);
    std::string wrong;
    std::vector<Symbol> symbols = ShapeSymbols(c.symbols, fonts.encode, &wrong);
    if (!wrong.empty()) return refuse(wrong, kBadLine);
    Glyphs::Extent cell = fonts.narrow->Measure("M");
    const int32_t cw = cell.advance, ch = cell.lineHeight;
    if (cw <= 0 || ch <= 0) return refuse("nothing to compose: the font has no cell size", kFailed);

    const bool colour = c.format != Format::kText;
    const int blurs = colour ? kColourBlurs : 1;  // patches and candidates alike
    // Every candidate rendered once at the cell size, then blurred.
    std::vector<Candidate> candidates;
    std::vector<int32_t> narrow, wide;
    std::vector<uint16_t> scratch;
    candidates.reserve(symbols.size());
    for (const Symbol& s : symbols) {
        CoverageMask mask;
        if (s.block >= 0) {
            mask = BlockMask(s.block, cw, ch);
        } else {
            Glyphs* glyphs = s.width == 1 ? fonts.narrow : fonts.wide;
            if (!glyphs || !glyphs->Has(s.text)) {
                result.missing.push_back(s.text);
                continue;
            }
            mask.width = cw * s.width, mask.height = ch;
            mask.coverage.assign(static_cast<size_t>(mask.width) * ch, 0);
            Glyphs::Extent e = glyphs->Measure(s.text);
            // A wide face's glyph is centred on the cell pair, as terminals place it.
            int32_t x = s.width == 2 ? (mask.width - e.advance) / 2 : 0, y = s.width == 2 ? (ch - e.lineHeight) / 2 : 0;
            glyphs->Render(s.text, x, y, &mask);
        }
        Candidate candidate;
        candidate.symbol = &s;
        candidate.mask = std::move(mask.coverage);
        candidate.drawn = candidate.mask;
        for (int pass = 0; pass < blurs; ++pass) Blur(candidate.mask.data(), cw * s.width, ch, &scratch);
        for (uint8_t v : candidate.mask) candidate.sum += v, candidate.squares += static_cast<int64_t>(v) * v;
        (s.width == 1 ? narrow : wide).push_back(static_cast<int32_t>(candidates.size()));
        candidates.push_back(std::move(candidate));
    }
    const bool blank = std::any_of(narrow.begin(), narrow.end(), [&](int32_t index) {
        return candidates[static_cast<size_t>(index)].sum == 0;
    });
    if (!candidates.empty() && !blank) {
        // Bare paper stays bare whatever the symbols (box drawing and block
        // elements have no empty one), and wide glyphs alone cannot fill an
        // odd column: a space does both.
        static const Symbol kSpace{" ", 1, -1};
        Candidate space;
        space.symbol = &kSpace;
        space.mask.assign(static_cast<size_t>(cw) * ch, 0);
        space.drawn = space.mask;
        narrow.push_back(static_cast<int32_t>(candidates.size()));
        candidates.push_back(std::move(space));
    }
    if (narrow.empty()) return refuse("nothing to compose: the font has none of the --symbols characters", kFailed);

    GridSize size = PictureGrid(c, width, height, static_cast<double>(ch) / cw);
    if (!size.error.empty()) return refuse(size.error, size.columns == 0 && width <= 0 ? kFailed : kBadLine);
    const int32_t columns = size.columns, rows = size.rows;
    const int32_t fullWidth = columns * cw, fullHeight = rows * ch;
    if (pixels.size() != static_cast<size_t>(width) * height || width <= 0 || height <= 0)
        return refuse("nothing to compose: the picture is empty", kFailed);

    const int planeCount = colour ? 3 : 1;
    const InkWeights* weights =
        std::any_of(candidates.begin(), candidates.end(), [](const Candidate& k) { return k.symbol->block >= 0; })
            ? &kWithBlocks
            : &kGlyphsOnly;
    // Ink on paper has two tones to spend: the picture's tones are stretched
    // over them, all but the extreme hundredth at the ink's end and the
    // extreme tenth at the paper's. The picture's lightest (or, on dark
    // paper, darkest) parts are left bare: from a little way off bare paper
    // reads as flat, a few faint strokes as noise.
    int32_t darkest = 0, spanned = 255;
    if (!colour) {
        const int64_t darkCut = c.invert ? 10 : 1, lightCut = c.invert ? 1 : 10;  // in hundredths
        std::vector<int64_t> histogram(256, 0);
        for (int32_t v : pixels) ++histogram[static_cast<size_t>(Grey(static_cast<uint32_t>(v)))];
        const int64_t total = static_cast<int64_t>(pixels.size());
        int64_t seen = 0;
        int32_t lightest = 255;
        darkest = -1;
        for (int32_t g = 0; g < 256; ++g) {
            seen += histogram[static_cast<size_t>(g)];
            if (darkest < 0 && seen * 100 > total * darkCut) darkest = g;
            if (seen * 100 >= total * (100 - lightCut)) {
                lightest = g;
                break;
            }
        }
        if (darkest < 0 || lightest <= darkest) darkest = 0, lightest = 255;
        spanned = lightest - darkest;
    }
    // Each tone's ink: dark ink on light paper, or the other way round.
    uint8_t inkOf[256];
    for (int32_t grey = 0; grey < 256; ++grey) {
        int32_t v = static_cast<int32_t>(std::lround((grey - darkest) * 255.0 / spanned));
        v = std::min(255, std::max(0, v));
        inkOf[grey] = static_cast<uint8_t>(c.invert ? v : 255 - v);
    }
    // A row of cells at a time, so a large grid never holds the whole
    // stretched picture in its three planes.
    auto stripOf = [&](int32_t row, std::vector<uint8_t> planes[3]) {
        Stretch(pixels, width, height, fullWidth, fullHeight, row * ch, (row + 1) * ch, planes, colour ? nullptr : inkOf);
    };

    std::vector<Match> matches(static_cast<size_t>(columns) * rows);
    const bool near = !colour && weights == &kWithBlocks;
    std::vector<NearChoice> choices(near ? matches.size() * kNearChoices : 0);
    // The neighbourhood pass reads the ink again row by row: kept from the
    // matching unless the picture is too large to hold, then stretched anew.
    std::vector<uint8_t> ink;
    const size_t inkSize = static_cast<size_t>(fullWidth) * fullHeight;
    if (near && inkSize <= kKeptInk) ink.resize(inkSize);
    std::vector<uint8_t> widePlaced(matches.size(), 0);
    // A patch is blurred on its own, as the candidates are: a flat cell stays
    // flat whatever its neighbours, rather than taking texture to explain the
    // shade they would bleed into its edges.
    auto gather = [&](const std::vector<uint8_t> planes[3], int32_t column, int32_t cells, Patch* patch,
                      std::vector<uint16_t>* scratch) {
        patch->planes = planeCount;
        patch->lightPaper = !c.invert;
        patch->weights = weights;
        patch->pixels = static_cast<size_t>(cw) * cells * ch;
        for (int p = 0; p < planeCount; ++p) {
            std::vector<uint8_t>& out = patch->values[p];
            out.resize(patch->pixels);
            for (int32_t y = 0; y < ch; ++y) {
                const uint8_t* in = planes[p].data() + static_cast<size_t>(y) * fullWidth + column * cw;
                std::memcpy(out.data() + static_cast<size_t>(y) * cw * cells, in, static_cast<size_t>(cw) * cells);
            }
            for (int pass = 0; pass < blurs; ++pass) Blur(out.data(), cw * cells, ch, scratch);
            int64_t sum = 0, squares = 0;
            for (uint8_t v : out) sum += v, squares += static_cast<int64_t>(v) * v;
            patch->sums[p] = sum;
            if (planeCount == 1) patch->squares = squares;
        }
    };
    std::vector<Candidate> coarse;
    for (const Candidate& candidate : candidates) coarse.push_back(Coarse(candidate, cw * candidate.symbol->width, ch));
    auto matchRow = [&](int32_t row) {
        Patch patch;
        std::vector<std::pair<double, int32_t>> ranked;
        std::vector<int32_t> kept;
        std::vector<uint8_t> strip[3];
        std::vector<uint16_t> blurring;
        std::vector<Match> tried;
        stripOf(row, strip);
        if (!ink.empty()) std::copy(strip[0].begin(), strip[0].end(), ink.begin() + static_cast<std::ptrdiff_t>(row * ch) * fullWidth);
        Match* out = matches.data() + static_cast<size_t>(row) * columns;
        for (int32_t x = 0; x < columns; ++x) {
            gather(strip, x, 1, &patch, &blurring);
            tried.clear();
            out[x] = ShortlistMatch(patch, cw, ch, candidates, coarse, narrow, &ranked, &kept, near ? &tried : nullptr);
            if (!near) continue;
            auto own = [](const Match& m) { return m.error - m.shape; };
            size_t keep = std::min(kNearChoices, tried.size());
            std::partial_sort(tried.begin(), tried.begin() + static_cast<std::ptrdiff_t>(keep), tried.end(),
                              [&](const Match& a, const Match& b) { return own(a) < own(b); });
            NearChoice* cell = choices.data() + (static_cast<size_t>(row) * columns + x) * kNearChoices;
            for (size_t i = 0; i < keep; ++i) cell[i] = {own(tried[i]), tried[i].candidate};
        }
        if (wide.empty()) return;
        // A wide glyph takes a pair when it beats the pair's best narrow two.
        for (int32_t x = 0; x + 1 < columns; ++x) {
            gather(strip, x, 2, &patch, &blurring);
            Match pair = ShortlistMatch(patch, 2 * cw, ch, candidates, coarse, wide, &ranked, &kept);
            if (pair.error < out[x].error + out[x + 1].error) {
                out[x] = pair;
                widePlaced[static_cast<size_t>(row) * columns + x] = 1;
                ++x;
            }
        }
    };
    if (fonts.eachRow) fonts.eachRow(rows, matchRow);
    else
        for (int32_t y = 0; y < rows; ++y) matchRow(y);
    if (near) {
        NeighbourPass pass(candidates, cw, ch, columns, rows);
        pass.Run([&](int32_t row, std::vector<uint8_t>* out) {
            if (!ink.empty()) {
                auto first = ink.begin() + static_cast<std::ptrdiff_t>(row) * ch * fullWidth;
                out->assign(first, first + static_cast<std::ptrdiff_t>(ch) * fullWidth);
                return;
            }
            std::vector<uint8_t> planes[3];
            stripOf(row, planes);
            *out = std::move(planes[0]);
        }, fonts, choices, widePlaced, &matches);
    }

    Grid& g = result.composed.grid;
    g.columns = columns, g.rows = rows;
    g.cells.reserve(matches.size());
    if (colour) g.backgrounds.reserve(matches.size());
    for (size_t k = 0; k < matches.size(); ++k) {
        const Match& m = matches[k];
        const Symbol& symbol = *candidates[static_cast<size_t>(m.candidate)].symbol;
        Cell cell = g.MakeCell(symbol.text);
        cell.width = static_cast<uint16_t>(symbol.width);  // block elements take one column in two or four bytes
        if (colour) cell.colour = m.foreground & 0xFFFFFF, cell.defaultColour = 0;
        g.cells.push_back(cell);
        if (colour) g.backgrounds.push_back(m.background);
        if (widePlaced[k]) {
            // The pair's second cell is covered by the wide glyph.
            Cell covered = g.MakeCell("");
            covered.colour = cell.colour, covered.defaultColour = cell.defaultColour;
            g.cells.push_back(covered);
            if (colour) g.backgrounds.push_back(m.background);
            ++k;
        }
    }
    return result;
}

}  // namespace core
