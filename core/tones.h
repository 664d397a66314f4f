// Tones of a picture as characters: cell colours as area means, ramps of
// characters ordered by ink coverage, and Floyd-Steinberg error diffusion.
// Plain arithmetic, no platform calls.
#pragma once
#include <cstdint>
#include <string>
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
