#include "core/tones.h"

#include <algorithm>
#include <numeric>

namespace core {

Rgb FromColourRef(int32_t colour) {
    uint32_t c = static_cast<uint32_t>(colour);
    return Rgb{static_cast<double>(c & 0xFF), static_cast<double>((c >> 8) & 0xFF), static_cast<double>((c >> 16) & 0xFF)};
}

std::vector<Rgb> AreaMeans(const std::vector<int32_t>& pixels, int width, int height, int columns, int rows) {
    std::vector<Rgb> means(static_cast<size_t>(columns) * rows);
    ForEachAreaMean(pixels, width, height, columns, rows, [&](size_t cell, const Rgb& mean) { means[cell] = mean; });
    return means;
}

std::vector<std::string> GbkCharacters(const std::string& text) {
    std::vector<std::string> characters;
    for (size_t i = 0; i < text.size();) {
        // GBK's trail bytes are never digits: a digit marks GB18030's four bytes.
        bool lead = static_cast<uint8_t>(text[i]) >= 0x81 && i + 1 < text.size();
        bool four = lead && i + 3 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9';
        size_t length = four ? 4 : lead ? 2 : 1;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

Ramp EvenRamp(const std::vector<std::string>& characters) {
    Ramp ramp;
    ramp.characters = characters;
    size_t n = characters.size();
    for (size_t i = 0; i < n; ++i) ramp.levels.push_back(n == 1 ? 0.5 : 1.0 - static_cast<double>(i) / (n - 1));
    return ramp;
}

Ramp MeasuredRamp(const std::vector<std::string>& candidates, const std::vector<double>& coverage) {
    Ramp ramp;
    if (candidates.empty() || coverage.size() != candidates.size()) return ramp;
    std::vector<size_t> order(candidates.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return coverage[a] < coverage[b]; });
    double lightest = coverage[order.front()], darkest = coverage[order.back()];
    double range = darkest - lightest > 1e-9 ? darkest - lightest : 1.0;
    // Tones closer than this add no step a reader could see.
    constexpr double kDistinct = 0.004;
    double last = -1;
    for (size_t k : order) {
        double level = 1.0 - (coverage[k] - lightest) / range;
        if (last >= 0 && last - level < kDistinct) continue;
        ramp.characters.push_back(candidates[k]);
        ramp.levels.push_back(level);
        last = level;
    }
    return ramp;
}

std::vector<double> Midpoints(const std::vector<double>& levels) {
    std::vector<double> boundaries;
    for (size_t i = 1; i < levels.size(); ++i) boundaries.push_back((levels[i - 1] + levels[i]) / 2);
    return boundaries;
}

std::vector<int> Quantise(const std::vector<double>& values, int columns, int rows, const std::vector<double>& levels,
                          const std::vector<double>& boundaries, bool dither) {
    std::vector<int> indexes(values.size(), 0);
    if (levels.empty() || values.size() != static_cast<size_t>(columns) * rows) return indexes;
    // The boundaries fall, so the values below them are a prefix: a binary
    // search finds the level of a cell among a long ramp's many.
    size_t usable = std::min(boundaries.size(), levels.size() - 1);
    auto level = [&](double value) {
        return static_cast<int>(std::partition_point(boundaries.begin(), boundaries.begin() + usable,
                                                     [value](double boundary) { return value < boundary; }) -
                                boundaries.begin());
    };
    if (!dither) {
        for (size_t k = 0; k < values.size(); ++k) indexes[k] = level(values[k]);
        return indexes;
    }
    std::vector<double> v = values;
    auto at = [&](int x, int y) -> double* {
        return x >= 0 && x < columns && y < rows ? &v[static_cast<size_t>(y) * columns + x] : nullptr;
    };
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) {
            double value = *at(x, y);
            int k = level(value);
            indexes[static_cast<size_t>(y) * columns + x] = k;
            double error = value - levels[k];
            const struct {
                int dx, dy;
                double weight;
            } spread[] = {{1, 0, 7 / 16.0}, {-1, 1, 3 / 16.0}, {0, 1, 5 / 16.0}, {1, 1, 1 / 16.0}};
            for (const auto& s : spread)
                if (double* n = at(x + s.dx, y + s.dy)) *n += error * s.weight;
        }
    return indexes;
}

}  // namespace core
