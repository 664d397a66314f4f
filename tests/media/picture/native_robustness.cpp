// Robustness run of the byte-level decoders, built natively with the address
// and undefined-behaviour checkers (native_robustness.sh): the picture fuzz
// target's seeds are cut, bit-flipped and given extreme header values, and
// each variant goes through the fuzz target's decoding, so a read past the
// data stops the run. A fixed, repeatable sweep beside the coverage-guided
// run of tools/fuzz.sh. Usage: native_robustness [ROUNDS] [SEED]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "tests/fuzz/picture_input.h"
#include "tests/media/picture/test_pictures.h"

using namespace pictest;

namespace {

int decodedCount = 0;

void DecodeExactly(const Bytes& bytes) {
    if (qyfuzz::DecodePictureInput(bytes.data(), bytes.size())) ++decodedCount;
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
    std::vector<Bytes> seeds = qyfuzz::PictureSeeds();
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
