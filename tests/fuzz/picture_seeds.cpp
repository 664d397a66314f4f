#include <string>

#include "tests/fuzz/picture_input.h"
#include "tests/media/picture/test_pictures.h"

namespace qyfuzz {

std::vector<std::vector<uint8_t>> PictureSeeds() {
    using namespace pictest;
    std::vector<Bytes> seeds;
    Image rgb = Pattern(23, 13, 1, true);
    Indexed indexed = IndexedPattern(23, 13, 16, 2);
    Indexed wide = IndexedPattern(23, 13, 256, 3);
    for (int bits : {1, 4, 8}) seeds.push_back(EncodeBmp(indexed, bits, bits == 4));
    seeds.push_back(EncodeBmp(rgb, 24, false));
    seeds.push_back(EncodeBmp(rgb, 32, true));
    seeds.push_back(EncodeGif(wide, false, false));
    seeds.push_back(EncodeGif(indexed, true, true));
    seeds.push_back(EncodePcx8(wide, true));
    seeds.push_back(EncodePcx1(std::vector<std::vector<bool>>(9, std::vector<bool>(21, true))));
    Image expected;
    for (PngLayout layout : {PngLayout{3, 4, false}, PngLayout{6, 16, true}, PngLayout{0, 2, true},
                             PngLayout{2, 8, false}, PngLayout{4, 8, true}})
        seeds.push_back(EncodePng(layout, 17, 11, 4, expected));
    seeds.push_back(EncodeJpeg(rgb, false, false));
    seeds.push_back(EncodeJpeg(rgb, true, true));
    seeds.push_back(EncodeCmykJpeg(9, 7));
    std::vector<IconEntry> entries = {IconEntry{4, IndexedPattern(32, 32, 16, 1), Image(), {}},
                                      IconEntry{32, Indexed(), Pattern(16, 16, 2, true), {}}};
    seeds.push_back(EncodeIcon(entries));
    seeds.push_back(EncodeIcon(entries, 2));
    using namespace std::string_literals;
    for (const std::string& pnm : {"P1 3 2\n010\n1 0 1\n"s, "P2 2 2 15\n0 15\n5 10\n"s, "P4 9 2\n\x40\xA0\x01\x80"s,
                                   "P3 2 1 65535\n9 0 65535 1 2 3\n"s, "P6 1 1 65535\n\xFF\xFF\0\0\x01\x02"s})
        seeds.emplace_back(pnm.begin(), pnm.end());
    return seeds;
}

}  // namespace qyfuzz
