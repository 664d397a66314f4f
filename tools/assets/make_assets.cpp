// Makes the program's embedded constants on the build machine: the default
// picture, drawn here and encoded as a baseline JPEG, and the two chimes,
// synthesised here as 8-bit mono WAV files. Usage: make_assets OUTDIR.
// jpeglib.h needs FILE and size_t declared before it.
#include <cstdio>
#include <jpeglib.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr double kPi = 3.14159265358979323846;

// Writing only changed files keeps an unchanged build from recompiling the
// program that embeds them.
void WriteFile(const std::string& path, const std::string& text) {
    std::ifstream old(path, std::ios::binary);
    if (old) {
        std::stringstream buffer;
        buffer << old.rdbuf();
        if (buffer.str() == text) return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Decimal bytes, twenty to a line, for use inside a brace initialiser.
std::string Initialiser(const Bytes& bytes) {
    std::ostringstream s;
    for (size_t i = 0; i < bytes.size(); ++i) {
        s << (i % 20 == 0 ? "   " : "") << ' ' << static_cast<unsigned>(bytes[i]) << ',';
        if (i % 20 == 19 || i + 1 == bytes.size()) s << '\n';
    }
    return s.str();
}

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

Bytes EncodeJpeg(const Bytes& rgb) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = kPictureWidth;
    info.image_height = kPictureHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    // The integer transform gives the same bytes on every machine.
    info.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&rgb[static_cast<size_t>(info.next_scanline) * kPictureWidth * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes jpeg(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return jpeg;
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

std::string Header(const Bytes& picture, const Bytes& compose, const Bytes& pictureSound) {
    std::ostringstream s;
    s << "#pragma once\n"
      << "// Generated by tools/assets/make_assets; the bytes are in the .inc files beside it.\n\n"
      << "namespace program {\n"
      << "constexpr int kDefaultPictureBytes = " << picture.size() << ";\n"
      << "constexpr int kComposeSoundBytes = " << compose.size() << ";\n"
      << "constexpr int kPictureSoundBytes = " << pictureSound.size() << ";\n"
      << "}  // namespace program\n";
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
        const Bytes picture = EncodeJpeg(DrawHeart());
        const Bytes compose = ComposeSound();
        const Bytes pictureSound = PictureSound();
        WriteFile(dir + "/default_picture.jpg", AsText(picture));
        WriteFile(dir + "/compose.wav", AsText(compose));
        WriteFile(dir + "/picture.wav", AsText(pictureSound));
        WriteFile(dir + "/default_picture.inc", Initialiser(picture));
        WriteFile(dir + "/compose_sound.inc", Initialiser(compose));
        WriteFile(dir + "/picture_sound.inc", Initialiser(pictureSound));
        WriteFile(dir + "/program_assets.h", Header(picture, compose, pictureSound));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
