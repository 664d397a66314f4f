// Writes the program's seven skins of app/skin_table.h on the build
// machine: each as a skin file (NAME.she) and as its bytes for a brace
// initialiser (NAME.inc), all of them as the constant block's byte sets
// (constant_block.inc), and skins.h with their sizes. Usage: make_skins OUTDIR.
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/skin_table.h"
#include "engines/skin/skin_format.h"
#include "tools/host_output.h"

namespace {

using hostgen::Initialiser;
using hostgen::WriteFile;

using Bytes = std::vector<uint8_t>;
using program::kSkinCount;
using program::kSkinDesigns;
using program::SkinDesign;

static_assert(sizeof SkinDesign::colours / sizeof SkinDesign::colours[0] == skin::kSkinColourCount,
              "a skin row has one colour for each of the skin format's colours");

void PutLittle(Bytes& out, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

Bytes SkinFile(const SkinDesign& design) {
    Bytes out(skin::kSkinMagic, skin::kSkinMagic + 4);
    PutLittle(out, skin::kSkinVersion, 2);
    PutLittle(out, skin::kSkinFileBytes, 2);
    PutLittle(out, design.hueGradient ? skin::kSkinHueGradient : 0, 4);
    for (const program::SkinRgb& c : design.colours) out.insert(out.end(), {c.red, c.green, c.blue, 0});
    if (out.size() != static_cast<size_t>(skin::kSkinFileBytes)) throw std::logic_error("skin layout mismatch");
    return out;
}

std::string Header(const std::vector<Bytes>& files) {
    std::ostringstream s;
    s << "// Made by tools/skins/make_skins: the sizes of the program's seven skin\n"
         "// files, in the order of the skin window's buttons. Each file's bytes are\n"
         "// in skins/NAME.inc, and all of them, each as a byte set of the constant\n"
         "// block, in skins/constant_block.inc.\n"
         "#pragma once\n\nnamespace program {\n\n";
    for (int i = 0; i < kSkinCount; ++i)
        s << "constexpr int kSkin" << kSkinDesigns[i].constant << "Bytes = " << files[i].size() << ";  // "
          << kSkinDesigns[i].title << ", skins/" << kSkinDesigns[i].file << ".inc\n";
    s << "\n// Every skin file has the format's one size.\nconstexpr int kSkinFileBytes = " << skin::kSkinFileBytes
      << ";\n\n}  // namespace program\n";
    return s.str();
}

// The constant block's skins: a byte set header of dimension count 1 and
// length, then the bytes, for each skin in turn.
std::string ConstantBlock(const std::vector<Bytes>& files) {
    std::string text;
    for (const Bytes& file : files)
        text += "{1, " + std::to_string(file.size()) + ", {\n" + Initialiser(file) + "}},\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_skins OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<Bytes> files;
    for (const SkinDesign& design : kSkinDesigns) {
        files.push_back(SkinFile(design));
        WriteFile(dir + "/" + design.file + ".she", std::string(files.back().begin(), files.back().end()));
        WriteFile(dir + "/" + design.file + ".inc", Initialiser(files.back()));
    }
    WriteFile(dir + "/skins.h", Header(files));
    WriteFile(dir + "/constant_block.inc", ConstantBlock(files));
    return 0;
}
