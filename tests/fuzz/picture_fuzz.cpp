// Fuzz target: every picture format through detection and the byte-level
// decoders. The mutator keeps PNG chunk checksums valid, since libpng stops
// at the first bad one and would never see the mutated chunk's contents.
#include <cstring>

#include <zlib.h>

#include "tests/fuzz/picture_input.h"

namespace {

uint32_t LoadBigEndian(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

void RepairPngChecksums(uint8_t* data, size_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0) return;
    // Length, type, contents, checksum over type and contents.
    for (size_t at = 8; at + 12 <= size;) {
        uint32_t length = LoadBigEndian(data + at);
        if (length > size - at - 12) break;
        uint32_t crc = static_cast<uint32_t>(crc32(0, data + at + 4, length + 4));
        uint8_t* out = data + at + 8 + length;
        for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    // Now and then a bad checksum goes through, for libpng's own handling of it.
    if (seed % 16 != 0) RepairPngChecksums(data, size);
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qyfuzz::DecodePictureInput(data, size);
    return 0;
}
