// Robustness run of the byte-level decoders, built natively with the address
// and undefined-behaviour checkers (native_robustness.sh): valid pictures of
// every format are cut, bit-flipped and given extreme header values, and
// each variant is decoded from a heap block of exactly its size, so a read
// past the data stops the run. Usage: native_robustness [ROUNDS] [SEED]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "tests/media/picture/test_pictures.h"
#include "media/picture/picture_decoders.h"

using namespace pictest;

namespace {

int decodedCount = 0;

void DecodeExactly(const Bytes& bytes) {
    // A block of exactly the data's size puts the checker's guard zone right behind it.
    uint8_t* block = static_cast<uint8_t*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (!bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    qy::PictureKind kind = qy::DetectPictureFormat(block, bytes.size());
    if (kind == qy::kPictureIcon || kind == qy::kPictureCursor) {
        qy::IconImage image;
        if (qy::SelectIconImage(block, bytes.size(), image)) {
            // The platform reads the chosen image; touch all of it the same way.
            volatile uint8_t sum = 0;
            for (size_t i = 0; i < image.size; ++i) sum += image.data[i];
            ++decodedCount;
        }
    } else if (kind != qy::kPictureNone) {
        qy::Picture picture;
        if (qy::DecodePixels(kind, block, bytes.size(), picture)) {
            ++decodedCount;
            if (!picture.pixels || picture.size <= 0) {
                std::fprintf(stderr, "kind %d decoded without pixels\n", kind);
                std::abort();
            }
        }
    }
    std::free(block);
}

std::vector<Bytes> Seeds() {
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
    for (PngLayout layout : {PngLayout{3, 4, false}, PngLayout{6, 16, true}, PngLayout{0, 2, true}, PngLayout{2, 8, false}})
        seeds.push_back(EncodePng(layout, 17, 11, 4, expected));
    seeds.push_back(EncodeJpeg(rgb, false, false));
    seeds.push_back(EncodeJpeg(rgb, true, true));
    seeds.push_back(EncodeIcon({IconEntry{4, IndexedPattern(32, 32, 16, 1), Image(), {}},
                                IconEntry{32, Indexed(), Pattern(16, 16, 2, true), {}}}));
    return seeds;
}

Bytes Mutate(const Bytes& seed, std::mt19937& random) {
    Bytes bytes = seed;
    std::uniform_int_distribution<int> choice(0, 5);
    switch (choice(random)) {
        case 0:  // cut anywhere
            bytes.resize(std::uniform_int_distribution<size_t>(0, bytes.size())(random));
            break;
        case 1:  // flip a few bytes anywhere
            for (int i = 0; i < 4; ++i) bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1 + random() % 255);
            break;
        case 2:  // a header field set to an extreme value
        {
            size_t at = random() % std::min<size_t>(bytes.size(), 140);
            static const uint8_t extremes[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0xC0};
            for (size_t i = at; i < std::min(bytes.size(), at + 1 + random() % 4); ++i)
                bytes[i] = extremes[random() % sizeof extremes];
            break;
        }
        case 3:  // a stretch of the data repeated
        {
            size_t from = random() % bytes.size();
            size_t count = std::min<size_t>(bytes.size() - from, 1 + random() % 64);
            Bytes piece(bytes.begin() + from, bytes.begin() + from + count);
            bytes.insert(bytes.begin() + random() % bytes.size(), piece.begin(), piece.end());
            break;
        }
        case 4:  // a stretch removed
        {
            size_t from = random() % bytes.size();
            size_t count = std::min<size_t>(bytes.size() - from, 1 + random() % 64);
            bytes.erase(bytes.begin() + from, bytes.begin() + from + count);
            break;
        }
        default:  // random bytes behind a valid start
            for (size_t i = 8 + random() % 32; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(random());
            break;
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 2000;
    unsigned seedValue = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1;
    std::mt19937 random(seedValue);
    std::vector<Bytes> seeds = Seeds();
    size_t variants = 0;
    for (const Bytes& seed : seeds) {
        // Every prefix of every seed.
        for (size_t length = 0; length <= seed.size(); ++length) {
            DecodeExactly(Bytes(seed.begin(), seed.begin() + length));
            ++variants;
        }
    }
    for (int round = 0; round < rounds; ++round) {
        for (const Bytes& seed : seeds) {
            Bytes bytes = Mutate(seed, random);
            // Mutations stack now and then.
            if (random() % 4 == 0 && !bytes.empty()) bytes = Mutate(bytes, random);
            DecodeExactly(bytes);
            ++variants;
        }
    }
    std::printf("%zu variants decoded without a fault; %d gave a picture\n", variants, decodedCount);
    return 0;
}
