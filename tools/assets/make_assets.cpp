// Makes the program's embedded constants on the build machine: the default
// picture, drawn here and encoded as a baseline JPEG; the two chimes,
// synthesised here as 8-bit mono WAV files; and the pictures of the 生成
// label and the skin chooser, drawn here and written as BMP, JPEG and GIF.
// Usage: make_assets OUTDIR.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/host_output.h"
#include "tools/jpeg_writer.h"

namespace {

using hostgen::Initialiser;
using hostgen::WriteFile;

using Bytes = std::vector<uint8_t>;

constexpr double kPi = 3.14159265358979323846;

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

constexpr int kPictureWidth = 758;
constexpr int kPictureHeight = 816;
constexpr int kSupersample = 4;  // per axis, for anti-aliased edges
constexpr int kJpegQuality = 85;

struct Point {
    double x, y;
};

// The heart curve (x^2 + y^2 - 1)^3 = x^2 y^3, y pointing up; it spans
// x in [-1.14, 1.14] and y in [-1, 1.24].
bool InHeart(Point p) {
    const double a = p.x * p.x + p.y * p.y - 1.0;
    return a * a * a - p.x * p.x * p.y * p.y * p.y <= 0.0;
}

// The shine on the left lobe: a thick arc with round ends following the
// lobe's upper edge, and a dot below it.
bool InShine(Point p) {
    const Point centre{-0.50, 0.54};
    const double radius = 0.36, halfWidth = 0.095;
    const double from = 100.0 * kPi / 180.0, to = 175.0 * kPi / 180.0;
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    double angle = std::atan2(dy, dx);
    if (angle >= from && angle <= to && std::fabs(std::hypot(dx, dy) - radius) <= halfWidth) return true;
    for (double end : {from, to}) {
        const Point cap{centre.x + radius * std::cos(end), centre.y + radius * std::sin(end)};
        if (std::hypot(p.x - cap.x, p.y - cap.y) <= halfWidth) return true;
    }
    const double dotAngle = 205.0 * kPi / 180.0;
    const Point dot{centre.x + radius * std::cos(dotAngle), centre.y + radius * std::sin(dotAngle)};
    return std::hypot(p.x - dot.x, p.y - dot.y) <= halfWidth;
}

// Red, green, blue rows, top-down: a deep crimson heart on white.
Bytes DrawHeart() {
    const double ink[3] = {150, 14, 36};
    const double paper[3] = {255, 255, 255};
    // Heart units to pixels: 82 % of the width, stretched a little in height
    // so the white margin is about even on all sides.
    const double scale = 0.82 * kPictureWidth / 2.278;
    const double stretch = 1.10;
    const double middleY = (1.236 + -1.0) / 2.0;
    Bytes rgb(static_cast<size_t>(kPictureWidth) * kPictureHeight * 3);
    for (int row = 0; row < kPictureHeight; ++row) {
        for (int column = 0; column < kPictureWidth; ++column) {
            int covered = 0;
            for (int sy = 0; sy < kSupersample; ++sy) {
                for (int sx = 0; sx < kSupersample; ++sx) {
                    const double px = column + (sx + 0.5) / kSupersample - kPictureWidth / 2.0;
                    const double py = kPictureHeight / 2.0 - (row + (sy + 0.5) / kSupersample);
                    const Point p{px / scale, py / (scale * stretch) + middleY};
                    if (InHeart(p) && !InShine(p)) ++covered;
                }
            }
            const double c = covered / double(kSupersample * kSupersample);
            uint8_t* out = &rgb[(static_cast<size_t>(row) * kPictureWidth + column) * 3];
            for (int i = 0; i < 3; ++i) out[i] = static_cast<uint8_t>(std::lround(paper[i] + (ink[i] - paper[i]) * c));
        }
    }
    return rgb;
}

constexpr int kSampleRate = 11025;
constexpr int kComposeSamples = 3072;
constexpr int kPictureSamples = 6912;
constexpr double kPeak = 90.0;  // around the silent value 128

struct Note {
    double frequency;
    double start;  // seconds
    double decay;  // seconds for the fundamental to fall to 1/e
};

// A bell-like note: the fundamental with slightly stretched overtones that
// die away faster, a soft attack and an exponential decay.
void AddNote(std::vector<double>& wave, const Note& note) {
    struct Partial {
        double ratio, level, decayShare;
    };
    static const Partial kPartials[] = {{1.0, 1.0, 1.0}, {2.0, 0.45, 0.55}, {3.01, 0.25, 0.35}};
    const double attack = 0.005;
    const int first = static_cast<int>(std::lround(note.start * kSampleRate));
    for (int i = first; i < static_cast<int>(wave.size()); ++i) {
        const double t = double(i - first) / kSampleRate;
        const double rise = t < attack ? 0.5 - 0.5 * std::cos(kPi * t / attack) : 1.0;
        double sum = 0.0;
        for (const Partial& partial : kPartials)
            sum += partial.level * std::exp(-t / (note.decay * partial.decayShare)) *
                   std::sin(2.0 * kPi * note.frequency * partial.ratio * t);
        wave[i] += rise * sum;
    }
}

// Scales the mix to the peak level, fades the last 20 ms so the file ends on
// silence, and wraps it in a plain 44-byte PCM header.
Bytes MakeWave(std::vector<double> wave) {
    double loudest = 0.0;
    for (double v : wave) loudest = std::fmax(loudest, std::fabs(v));
    const int fade = kSampleRate / 50;
    const int count = static_cast<int>(wave.size());
    Bytes file;
    auto text = [&](const char* tag) { file.insert(file.end(), tag, tag + 4); };
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    text("RIFF");
    u32(36 + count);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(kSampleRate);
    u32(kSampleRate);  // bytes per second
    u16(1);            // block align
    u16(8);            // bits per sample
    text("data");
    u32(count);
    for (int i = 0; i < count; ++i) {
        const int left = count - 1 - i;
        const double tail = left < fade ? 0.5 - 0.5 * std::cos(kPi * left / fade) : 1.0;
        file.push_back(static_cast<uint8_t>(128 + std::lround(wave[i] * tail * kPeak / loudest)));
    }
    return file;
}

// One short high chime when a text picture is finished.
Bytes ComposeSound() {
    std::vector<double> wave(kComposeSamples, 0.0);
    AddNote(wave, {1318.5, 0.0, 0.055});  // E6
    return MakeWave(wave);
}

// Two notes rising a fourth when a picture is loaded.
Bytes PictureSound() {
    std::vector<double> wave(kPictureSamples, 0.0);
    AddNote(wave, {987.8, 0.0, 0.090});    // B5
    AddNote(wave, {1318.5, 0.17, 0.095});  // E6
    return MakeWave(wave);
}

// A colour as the drawing routines blend it, 0..255 per channel.
struct Colour {
    double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// 0 at or below `from`, 1 at or above `to`, with a soft shoulder between.
double SmoothStep(double from, double to, double v) {
    const double t = std::clamp((v - from) / (to - from), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Red, green, blue rows, top-down, as the JPEG, BMP and GIF writers take them.
struct Canvas {
    int width, height;
    std::vector<Colour> pixels;

    Canvas(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
    Colour& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    Bytes Rgb() const {
        Bytes rgb;
        rgb.reserve(pixels.size() * 3);
        for (const Colour& c : pixels)
            for (double v : {c.r, c.g, c.b}) rgb.push_back(static_cast<uint8_t>(std::lround(255.0 * std::clamp(v / 255.0, 0.0, 1.0))));
        return rgb;
    }
};

constexpr int kLabelWidth = 60;
constexpr int kLabelHeight = 45;
constexpr int kLabelFrame = 5;  // rings of the frame, the outermost a dark outline
constexpr int kGlyphCells = 16;
constexpr double kGlyphScale = 1.25;  // pixels per cell, near the label's 19-pixel font
const Colour kLabelOutline{0, 48, 0};
const Colour kLabelInk{0, 40, 0};

// The two characters of the label, '#' for ink; their strokes are one cell
// wide and widened a little when drawn, like a bold rounded face.
const char* const kGlyphSheng[kGlyphCells] = {
    "................",
    "....#...#.......",
    "...##...#.......",
    "...#....#.......",
    "...##########...",
    "..#.....#.......",
    ".#......#.......",
    "........#.......",
    "........#.......",
    "..############..",
    "........#.......",
    "........#.......",
    "........#.......",
    "........#.......",
    ".##############.",
    "................",
};
const char* const kGlyphCheng[kGlyphCells] = {
    "..........#.#...",
    "..........#..#..",
    "..........#.....",
    "..#############.",
    "..#.......#.....",
    "..#.......#...#.",
    "..#.......#..#..",
    "..#####...#.#...",
    "..#...#...##....",
    "..#...#...#.....",
    "..#...#..#.#....",
    ".#...##.#..#..#.",
    ".#.....#....#.#.",
    "#.....#......##.",
    "#...............",
    "................",
};

bool GlyphInk(const char* const (&glyph)[kGlyphCells], double u, double v) {
    const double widen = 0.22;  // cells added on every side of a stroke
    for (double du : {-widen, widen}) {
        for (double dv : {-widen, widen}) {
            const int column = static_cast<int>(std::floor(u + du));
            const int row = static_cast<int>(std::floor(v + dv));
            if (column >= 0 && column < kGlyphCells && row >= 0 && row < kGlyphCells && glyph[row][column] == '#')
                return true;
        }
    }
    return false;
}

// Share of pixel (x, y) covered by the glyph whose top-left cell corner sits
// at (left, top).
double GlyphCoverage(const char* const (&glyph)[kGlyphCells], double left, double top, int x, int y) {
    int covered = 0;
    for (int sy = 0; sy < kSupersample; ++sy) {
        for (int sx = 0; sx < kSupersample; ++sx) {
            const double u = (x + (sx + 0.5) / kSupersample - left) / kGlyphScale;
            const double v = (y + (sy + 0.5) / kSupersample - top) / kGlyphScale;
            if (GlyphInk(glyph, u, v)) ++covered;
        }
    }
    return covered / double(kSupersample * kSupersample);
}

// The 生成 label as a raised green button: a dark outline, a bevel lit from
// the top left, a green face and the two characters pressed into it.
Canvas DrawLabel() {
    Canvas canvas(kLabelWidth, kLabelHeight);
    for (int y = 0; y < kLabelHeight; ++y) {
        for (int x = 0; x < kLabelWidth; ++x) {
            const int right = kLabelWidth - 1 - x, bottom = kLabelHeight - 1 - y;
            const int ring = std::min(std::min(x, y), std::min(right, bottom));
            const double depth = (ring - 1) / double(kLabelFrame - 2);
            Colour& c = canvas.At(x, y);
            if (ring == 0) {
                c = kLabelOutline;
            } else if (ring < kLabelFrame) {
                const bool lit = std::min(x, y) <= std::min(right, bottom);
                c = lit ? Mix({190, 255, 170}, {70, 250, 40}, depth) : Mix({0, 84, 0}, {0, 160, 0}, depth);
            } else {
                c = Mix({110, 255, 80}, {0, 214, 0}, (y - kLabelFrame) / double(kLabelHeight - 2 * kLabelFrame - 1));
            }
        }
    }
    const double glyphSize = kGlyphCells * kGlyphScale, gap = 1.0;
    const double left = std::round((kLabelWidth - 2 * glyphSize - gap) / 2.0);
    const double top = std::round((kLabelHeight - glyphSize) / 2.0);
    const struct {
        const char* const (&glyph)[kGlyphCells];
        double left;
    } glyphs[] = {{kGlyphSheng, left}, {kGlyphCheng, left + glyphSize + gap}};
    // A light edge one pixel down and right first, then the ink over it.
    for (int pass = 0; pass < 2; ++pass) {
        const double offset = pass == 0 ? 1.0 : 0.0;
        const Colour colour = pass == 0 ? Colour{200, 255, 190} : kLabelInk;
        for (const auto& g : glyphs) {
            for (int y = kLabelFrame; y < kLabelHeight - kLabelFrame; ++y) {
                for (int x = kLabelFrame; x < kLabelWidth - kLabelFrame; ++x) {
                    const double cover = GlyphCoverage(g.glyph, g.left + offset, top + offset, x, y);
                    if (cover > 0.0) canvas.At(x, y) = Mix(canvas.At(x, y), colour, cover * (pass == 0 ? 0.8 : 1.0));
                }
            }
        }
    }
    return canvas;
}

// A 24-bit BMP: bottom-up rows of blue, green, red, each padded to 4 bytes.
Bytes EncodeBmp(const Bytes& rgb, int width, int height) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const uint32_t offset = 14 + 40, imageSize = static_cast<uint32_t>(stride) * height;
    Bytes file;
    auto u16 = [&](uint32_t v) {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    file.push_back('B');
    file.push_back('M');
    u32(offset + imageSize);
    u32(0);  // two reserved words
    u32(offset);
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));  // positive: bottom-up
    u16(1);                              // planes
    u16(24);                             // bits per pixel
    u32(0);                              // uncompressed
    u32(imageSize);
    u32(2835);  // 72 dots per inch, in dots per metre
    u32(2835);
    u32(0);  // colours used: none, no table
    u32(0);
    for (int row = height - 1; row >= 0; --row) {
        const uint8_t* p = &rgb[static_cast<size_t>(row) * width * 3];
        for (int x = 0; x < width; ++x, p += 3) file.insert(file.end(), {p[2], p[1], p[0]});
        file.resize(file.size() + (stride - width * 3), 0);
    }
    return file;
}

constexpr int kSkinWidth = 210;
constexpr int kSkinHeight = 120;
constexpr int kSkinSamples = 3;  // per axis; the scene has only soft edges

// The skin chooser's background at a point: a evening-blue sky fading warm
// towards the horizon, a hazy sun, two soft clouds, two rows of rolling
// hills and a calm lake that mirrors the sky.
Colour SkinScene(double x, double y) {
    const double horizon = 84.0, shore = 99.0;
    Colour c = Mix({104, 154, 214}, {238, 226, 214}, std::pow(std::clamp(y / horizon, 0.0, 1.0), 1.3));
    const double sunX = 152.0, sunY = 42.0;
    const double sun = std::hypot(x - sunX, y - sunY);
    c = Mix(c, {255, 236, 196}, 0.45 * std::exp(-sun * sun / (2.0 * 22.0 * 22.0)));
    c = Mix(c, {255, 250, 232}, SmoothStep(9.5, 7.5, sun));
    struct Puff {
        double x, y, rx, ry;
    };
    static const Puff kClouds[] = {{38, 26, 20, 6}, {58, 22, 16, 7}, {74, 27, 15, 5},
                                   {112, 16, 13, 4}, {126, 13, 11, 5}, {138, 17, 10, 3.5}};
    double cloud = 0.0;
    for (const Puff& p : kClouds) {
        const double d = std::hypot((x - p.x) / p.rx, (y - p.y) / p.ry);
        cloud = std::fmax(cloud, SmoothStep(1.0, 0.45, d));
    }
    c = Mix(c, Mix({255, 255, 255}, {226, 224, 232}, std::clamp((y - 14.0) / 16.0, 0.0, 1.0)), 0.75 * cloud);
    const double far = 70.0 + 6.0 * std::sin(x * 0.034 + 0.7) + 3.0 * std::sin(x * 0.091 + 2.0);
    if (y >= far && y < shore) c = Mix({150, 176, 204}, {132, 160, 186}, std::clamp((y - far) / 18.0, 0.0, 1.0));
    const double near = 86.0 + 7.0 * std::sin(x * 0.026 + 2.2) + 2.5 * std::sin(x * 0.073 + 0.4);
    if (y >= near && y < shore) c = Mix({118, 170, 104}, {72, 124, 78}, std::clamp((y - near) / 14.0, 0.0, 1.0));
    if (y >= shore) {
        const double depth = (y - shore) / (kSkinHeight - shore);
        c = Mix({178, 202, 222}, {98, 142, 192}, depth);
        // The sun's broken reflection: light dashes narrowing towards the shore.
        const double spread = 3.0 + 6.0 * depth;
        const double glint = std::exp(-(x - sunX) * (x - sunX) / (2.0 * spread * spread));
        c = Mix(c, {255, 240, 210}, 0.55 * glint * (0.55 + 0.45 * std::sin(y * 1.7 + x * 0.15)));
        c = Mix(c, {214, 228, 240}, 0.18 * SmoothStep(0.6, 1.0, std::sin(y * 0.9 + std::sin(x * 0.05) * 2.0)));
    }
    return c;
}

Canvas DrawSkinScene() {
    Canvas canvas(kSkinWidth, kSkinHeight);
    for (int y = 0; y < kSkinHeight; ++y) {
        for (int x = 0; x < kSkinWidth; ++x) {
            Colour sum{0, 0, 0};
            for (int sy = 0; sy < kSkinSamples; ++sy) {
                for (int sx = 0; sx < kSkinSamples; ++sx) {
                    const Colour c = SkinScene(x + (sx + 0.5) / kSkinSamples, y + (sy + 0.5) / kSkinSamples);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            }
            const double n = kSkinSamples * kSkinSamples;
            canvas.At(x, y) = {sum.r / n, sum.g / n, sum.b / n};
        }
    }
    return canvas;
}

constexpr int kGifColours = 256;

uint32_t Packed(const uint8_t* rgb) { return static_cast<uint32_t>(rgb[0]) << 16 | rgb[1] << 8 | rgb[2]; }
int Channel(uint32_t colour, int channel) { return colour >> (16 - 8 * channel) & 0xFF; }

// A 256-colour palette fitted to the picture by median cut: the box of
// colours with the widest channel range is halved at its median until there
// are 256 boxes, and each box gives its mean. Sorting whole colours keeps the
// result the same on every machine.
Bytes MedianCutPalette(const Bytes& rgb) {
    std::vector<std::vector<uint32_t>> boxes(1);
    for (size_t i = 0; i < rgb.size(); i += 3) boxes[0].push_back(Packed(&rgb[i]));
    auto widest = [](const std::vector<uint32_t>& box, int& channel) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            int low = 255, high = 0;
            for (uint32_t colour : box) low = std::min(low, Channel(colour, c)), high = std::max(high, Channel(colour, c));
            if (high - low > best) best = high - low, channel = c;
        }
        return best;
    };
    while (boxes.size() < kGifColours) {
        size_t pick = 0;
        int pickChannel = 0, pickRange = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            int channel = 0;
            const int range = widest(boxes[i], channel);
            if (range > pickRange) pick = i, pickChannel = channel, pickRange = range;
        }
        if (pickRange == 0) break;  // every box holds a single colour
        std::vector<uint32_t>& box = boxes[pick];
        std::sort(box.begin(), box.end(), [&](uint32_t a, uint32_t b) {
            const int ca = Channel(a, pickChannel), cb = Channel(b, pickChannel);
            return ca != cb ? ca < cb : a < b;
        });
        // Split between two different values so neither half is empty.
        size_t middle = box.size() / 2;
        while (middle > 0 && Channel(box[middle - 1], pickChannel) == Channel(box[middle], pickChannel)) --middle;
        if (middle == 0) middle = box.size() / 2 + 1;
        while (middle < box.size() && Channel(box[middle - 1], pickChannel) == Channel(box[middle], pickChannel)) ++middle;
        std::vector<uint32_t> upper(box.begin() + middle, box.end());
        box.resize(middle);
        boxes.push_back(std::move(upper));
    }
    Bytes palette;
    for (const std::vector<uint32_t>& box : boxes) {
        for (int c = 0; c < 3; ++c) {
            double sum = 0.0;
            for (uint32_t colour : box) sum += Channel(colour, c);
            palette.push_back(static_cast<uint8_t>(std::lround(sum / box.size())));
        }
    }
    palette.resize(kGifColours * 3, 0);
    return palette;
}

// The nearest palette entry for each pixel, after a small 4 x 4 ordered
// offset that breaks the bands a smooth gradient would show.
Bytes MapToPalette(const Bytes& rgb, int width, const Bytes& palette) {
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double kSpread = 6.0;  // levels from the darkest to the lightest offset
    Bytes indices;
    indices.reserve(rgb.size() / 3);
    for (size_t i = 0; i < rgb.size(); i += 3) {
        const int x = static_cast<int>(i / 3 % width), y = static_cast<int>(i / 3 / width);
        const double offset = ((kBayer[y % 4][x % 4] + 0.5) / 16.0 - 0.5) * kSpread;
        double bestDistance = 1e30;
        int best = 0;
        for (int entry = 0; entry < kGifColours; ++entry) {
            double distance = 0.0;
            for (int c = 0; c < 3; ++c) {
                const double d = rgb[i + c] + offset - palette[entry * 3 + c];
                distance += d * d;
            }
            if (distance < bestDistance) bestDistance = distance, best = entry;
        }
        indices.push_back(static_cast<uint8_t>(best));
    }
    return indices;
}

// GIF's variable-width LZW over 8-bit indices: codes start 9 bits wide,
// grow when the next free code needs another bit, and the table is cleared
// when all 4096 codes are taken. Returns the packed codes, least significant
// bit first.
Bytes LzwCompress(const Bytes& indices) {
    constexpr int kMinCodeSize = 8;
    constexpr int kClear = 1 << kMinCodeSize, kEnd = kClear + 1, kMaxCodes = 4096;
    Bytes out;
    uint32_t buffer = 0;
    int bits = 0, width = kMinCodeSize + 1, next = kEnd + 1;
    auto emit = [&](int code) {
        buffer |= static_cast<uint32_t>(code) << bits;
        for (bits += width; bits >= 8; bits -= 8, buffer >>= 8) out.push_back(static_cast<uint8_t>(buffer));
    };
    std::unordered_map<uint32_t, int> table;  // prefix code << 8 | index -> code
    emit(kClear);
    int prefix = -1;
    for (uint8_t index : indices) {
        if (prefix < 0) {
            prefix = index;
            continue;
        }
        const uint32_t key = static_cast<uint32_t>(prefix) << 8 | index;
        const auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        emit(prefix);
        if (next < kMaxCodes) {
            // The reader adds this entry only after the next code, so the
            // width grows once the new code no longer fits.
            if (next == 1 << width) ++width;
            table[key] = next++;
        } else {
            emit(kClear);
            table.clear();
            width = kMinCodeSize + 1;
            next = kEnd + 1;
        }
        prefix = index;
    }
    if (prefix >= 0) emit(prefix);
    emit(kEnd);
    if (bits > 0) out.push_back(static_cast<uint8_t>(buffer));
    return out;
}

// A GIF89a of one image with a 256-colour global table; the image data in
// sub-blocks of at most 255 bytes.
Bytes EncodeGif(const Bytes& rgb, const Bytes& palette, int width, int height) {
    Bytes file = {'G', 'I', 'F', '8', '9', 'a'};
    auto u16 = [&](int v) {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    u16(width);
    u16(height);
    file.push_back(0xF7);  // global table of 2^(7+1) entries, 8 bits per primary
    file.push_back(0);     // background index
    file.push_back(0);     // square pixels
    file.insert(file.end(), palette.begin(), palette.end());
    file.push_back(0x2C);  // image descriptor
    u16(0);
    u16(0);
    u16(width);
    u16(height);
    file.push_back(0);  // no local table, not interlaced
    file.push_back(8);  // minimum code size
    const Bytes codes = LzwCompress(MapToPalette(rgb, width, palette));
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t length = std::min<size_t>(255, codes.size() - at);
        file.push_back(static_cast<uint8_t>(length));
        file.insert(file.end(), codes.begin() + at, codes.begin() + at + length);
    }
    file.push_back(0);     // end of image data
    file.push_back(0x3B);  // trailer
    return file;
}

struct Asset {
    const char* constant;  // in program_assets.h
    const char* file;      // the file itself, for viewing
    const char* include;   // its bytes as an initialiser
    Bytes bytes;
};

std::string Header(const std::vector<Asset>& assets) {
    std::ostringstream s;
    s << "#pragma once\n"
      << "// Generated by tools/assets/make_assets; the bytes are in the .inc files beside it.\n\n"
      << "namespace program {\n";
    for (const Asset& asset : assets) s << "constexpr int " << asset.constant << " = " << asset.bytes.size() << ";\n";
    s << "}  // namespace program\n";
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_assets OUTDIR\n");
        return 2;
    }
    try {
        const std::string dir = argv[1];
        const Bytes skin = DrawSkinScene().Rgb();
        const std::vector<Asset> assets = {
            {"kDefaultPictureBytes", "default_picture.jpg", "default_picture.inc",
             jpegwriter::EncodeJpeg(DrawHeart(), kPictureWidth, kPictureHeight, kJpegQuality)},
            {"kComposeSoundBytes", "compose.wav", "compose_sound.inc", ComposeSound()},
            {"kPictureSoundBytes", "picture.wav", "picture_sound.inc", PictureSound()},
            {"kLabelRippleBytes", "label_ripple.bmp", "label_ripple.inc",
             EncodeBmp(DrawLabel().Rgb(), kLabelWidth, kLabelHeight)},
            {"kSkinBackgroundBytes", "skin_background.jpg", "skin_background.inc",
             jpegwriter::EncodeJpeg(skin, kSkinWidth, kSkinHeight, kJpegQuality)},
            {"kSkinRippleBytes", "skin_ripple.gif", "skin_ripple.inc",
             EncodeGif(skin, MedianCutPalette(skin), kSkinWidth, kSkinHeight)},
        };
        for (const Asset& asset : assets) {
            WriteFile(dir + "/" + asset.file, AsText(asset.bytes));
            WriteFile(dir + "/" + asset.include, Initialiser(asset.bytes));
        }
        WriteFile(dir + "/program_assets.h", Header(assets));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
