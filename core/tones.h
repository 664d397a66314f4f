// Tones of a picture as characters: cell colours as area means, ramps of
// characters ordered by ink coverage, and Floyd-Steinberg error diffusion.
// Plain arithmetic, no platform calls.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace core {

struct Rgb {
    double r = 255, g = 255, b = 255;
    // 0 black .. 1 white.
    double Brightness() const { return (0.299 * r + 0.587 * g + 0.114 * b) / 255.0; }
};

// Colour of a 0x00BBGGRR value.
Rgb FromColourRef(int32_t colour);

// The mean colour of each of columns x rows cells over the area of a picture
// of width x height 0x00BBGGRR pixels (row by row) stretched onto the grid.
std::vector<Rgb> AreaMeans(const std::vector<int32_t>& pixels, int width, int height, int columns, int rows);
// The same means handed to `visit(cell index, mean)` one at a time, for a
// grid too large to hold them all; nothing is visited for a bad picture.
template <typename Visit>
void ForEachAreaMean(const std::vector<int32_t>& pixels, int width, int height, int columns, int rows, Visit visit) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) return;
    // Pixel span of each cell along one axis; a cell narrower than a pixel
    // still takes the pixel under it.
    auto span = [](int cell, int cells, int pixels) {
        int first = static_cast<int>(static_cast<int64_t>(cell) * pixels / cells);
        int last = static_cast<int>(static_cast<int64_t>(cell + 1) * pixels / cells);
        return std::pair<int, int>(first, last > first + 1 ? last : first + 1);
    };
    for (int row = 0; row < rows; ++row) {
        auto ys = span(row, rows, height);
        for (int column = 0; column < columns; ++column) {
            auto xs = span(column, columns, width);
            // Whole sums, exact, and quicker than summing doubles.
            uint64_t r = 0, g = 0, b = 0;
            for (int y = ys.first; y < ys.second; ++y) {
                const int32_t* p = pixels.data() + static_cast<size_t>(y) * width;
                for (int x = xs.first; x < xs.second; ++x) {
                    uint32_t c = static_cast<uint32_t>(p[x]);
                    r += c & 0xFF, g += (c >> 8) & 0xFF, b += (c >> 16) & 0xFF;
                }
            }
            double n = static_cast<double>(ys.second - ys.first) * (xs.second - xs.first);
            visit(static_cast<size_t>(row) * columns + column,
                  Rgb{static_cast<double>(r) / n, static_cast<double>(g) / n, static_cast<double>(b) / n});
        }
    }
}

// Characters and the brightness each stands for, lightest first.
struct Ramp {
    std::vector<std::string> characters;
    std::vector<double> levels;  // 1 white .. 0 black, falling
};

// Splits a GBK text into its characters.
std::vector<std::string> GbkCharacters(const std::string& text);
// Characters as given, lightest first, at even steps of brightness.
Ramp EvenRamp(const std::vector<std::string>& characters);
// Candidates with their ink coverage (0 none .. 1 full), sorted by it;
// candidates whose coverage nearly repeats a lighter one are left out.
Ramp MeasuredRamp(const std::vector<std::string>& candidates, const std::vector<double>& coverage);

// Index into `levels` (falling, 1 .. 0) of each value; a value at or above a
// boundary takes the lighter level. Boundaries lie between neighbouring levels
// (size levels - 1); with `dither` each cell's quantisation error spreads to
// its neighbours by Floyd-Steinberg's weights.
std::vector<int> Quantise(const std::vector<double>& values, int columns, int rows, const std::vector<double>& levels,
                          const std::vector<double>& boundaries, bool dither);
// Boundaries midway between the levels of a ramp.
std::vector<double> Midpoints(const std::vector<double>& levels);

}  // namespace core
