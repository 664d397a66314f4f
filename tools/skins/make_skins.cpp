// Writes the program's seven skins on the build machine: each as a skin
// file (NAME.she), as its bytes for a brace initialiser (NAME.inc), and
// skins.h with their sizes. Usage: make_skins OUTDIR.
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engines/skin/skin_format.h"
#include "tools/host_output.h"

namespace {

using hostgen::Initialiser;
using hostgen::WriteFile;

using Bytes = std::vector<uint8_t>;
using skin::Rgb;

struct SkinDesign {
    const char* file;      // NAME of the files
    const char* constant;  // kSkin<constant>Bytes in skins.h
    const char* title;     // the skin button's caption
    uint32_t flags;
    Rgb colours[skin::kSkinColourCount];  // in skin::SkinColour order
};

// In the order of the skin window's buttons. Each row: active caption
// start, end; inactive caption start, end; caption text active, inactive;
// frame outer, inner; button face, glyph, hot face; window background;
// control face, control text; text.
const SkinDesign kSkins[] = {
    {"beautiful_black", "BeautifulBlack", "美丽黑色", 0,
     {{58, 58, 64}, {6, 6, 8}, {78, 78, 82}, {46, 46, 50}, {238, 238, 238}, {150, 150, 150},
      {0, 0, 0}, {62, 62, 66}, {28, 28, 32}, {224, 224, 224}, {92, 92, 100}, {56, 56, 60},
      {44, 44, 48}, {232, 232, 232}, {228, 228, 228}}},
    {"purple_glow", "PurpleGlow", "紫色流光", 0,
     {{84, 22, 140}, {206, 128, 236}, {128, 100, 150}, {192, 172, 208}, {255, 255, 255}, {232, 222, 238},
      {58, 18, 90}, {140, 80, 182}, {108, 48, 160}, {255, 255, 255}, {172, 102, 222}, {238, 228, 246},
      {222, 202, 238}, {60, 20, 90}, {50, 20, 80}}},
    {"rainbow_banner", "RainbowBanner", "七彩条幅", skin::kSkinHueGradient,
     {{228, 36, 36}, {168, 40, 228}, {222, 150, 150}, {190, 150, 222}, {255, 255, 255}, {250, 250, 250},
      {60, 60, 60}, {118, 118, 198}, {255, 255, 255}, {60, 60, 60}, {255, 230, 120}, {250, 250, 240},
      {255, 250, 220}, {40, 40, 40}, {40, 40, 40}}},
    {"qq_player", "QqPlayer", "QQ影音", 0,
     {{118, 188, 240}, {202, 232, 252}, {190, 214, 234}, {226, 238, 248}, {20, 50, 90}, {100, 120, 140},
      {70, 140, 200}, {166, 210, 244}, {150, 204, 244}, {20, 60, 110}, {232, 246, 255}, {236, 246, 252},
      {214, 234, 250}, {20, 50, 90}, {20, 50, 90}}},
    {"warm_home", "WarmHome", "温馨家园", 0,
     {{246, 168, 98}, {252, 226, 182}, {226, 206, 180}, {242, 230, 212}, {92, 46, 10}, {140, 116, 90},
      {170, 100, 50}, {240, 200, 150}, {250, 214, 170}, {120, 60, 20}, {255, 188, 118}, {253, 246, 232},
      {250, 236, 210}, {92, 46, 10}, {92, 46, 10}}},
    {"qq2008", "Qq2008", "QQ2008", 0,
     {{0, 108, 230}, {72, 172, 255}, {110, 150, 200}, {160, 196, 230}, {255, 255, 255}, {226, 236, 246},
      {0, 70, 160}, {40, 130, 230}, {30, 130, 240}, {255, 255, 255}, {112, 190, 255}, {226, 238, 252},
      {200, 226, 250}, {0, 50, 120}, {0, 40, 100}}},
    {"china_red", "ChinaRed", "中国红", 0,
     {{150, 0, 0}, {222, 30, 30}, {150, 82, 82}, {192, 122, 122}, {255, 215, 0}, {222, 190, 120},
      {100, 0, 0}, {190, 20, 20}, {170, 10, 10}, {255, 215, 0}, {232, 60, 40}, {255, 240, 230},
      {250, 222, 200}, {130, 0, 0}, {120, 0, 0}}},
};
constexpr int kSkinCount = sizeof kSkins / sizeof kSkins[0];

void PutLittle(Bytes& out, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

Bytes SkinFile(const SkinDesign& design) {
    Bytes out(skin::kSkinMagic, skin::kSkinMagic + 4);
    PutLittle(out, skin::kSkinVersion, 2);
    PutLittle(out, skin::kSkinFileBytes, 2);
    PutLittle(out, design.flags, 4);
    for (const Rgb& c : design.colours) out.insert(out.end(), {c.red, c.green, c.blue, 0});
    if (out.size() != static_cast<size_t>(skin::kSkinFileBytes)) throw std::logic_error("skin layout mismatch");
    return out;
}

std::string Header(const std::vector<Bytes>& files) {
    std::ostringstream s;
    s << "// Made by tools/skins/make_skins: the sizes of the program's seven skin\n"
         "// files, in the order of the skin window's buttons. Each file's bytes are\n"
         "// in skins/NAME.inc, for a brace initialiser.\n"
         "#pragma once\n\nnamespace program {\n\n";
    for (int i = 0; i < kSkinCount; ++i)
        s << "constexpr int kSkin" << kSkins[i].constant << "Bytes = " << files[i].size() << ";  // " << kSkins[i].title
          << ", skins/" << kSkins[i].file << ".inc\n";
    s << "\nconstexpr int kSkinCount = " << kSkinCount << ";\nconstexpr int kSkinBytes[kSkinCount] = {";
    for (int i = 0; i < kSkinCount; ++i) s << (i ? ", " : "") << "kSkin" << kSkins[i].constant << "Bytes";
    s << "};\n\n}  // namespace program\n";
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_skins OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<Bytes> files;
    for (const SkinDesign& design : kSkins) {
        files.push_back(SkinFile(design));
        WriteFile(dir + "/" + design.file + ".she", std::string(files.back().begin(), files.back().end()));
        WriteFile(dir + "/" + design.file + ".inc", Initialiser(files.back()));
    }
    WriteFile(dir + "/skins.h", Header(files));
    return 0;
}
