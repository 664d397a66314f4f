// The embedded picture and chimes, read back with the runtime's own decoder
// and WAV parser the way the program will load them.
#include <cstdint>
#include <memory>
#include <vector>

#include "app/constants.h"
#include "gtest/gtest.h"
#include "media/picture/picture.h"
#include "media/sound/wave_data.h"

namespace {

// The assets as the program's constant block embeds them, as byte sets.
const program::ProgramConstants& K = program::ProgramConstantBlock;
const uint8_t* const kDefaultPicture = K.defaultPicture.bytes;
const uint8_t* const kComposeSound = K.textSound.bytes;
const uint8_t* const kPictureSound = K.pictureSound.bytes;

// The packed 0x00BBGGRR value the composer compares with its threshold.
uint32_t ColourAt(const qy::Picture& picture, int x, int yFromTop) {
    const int row = picture.height - 1 - yFromTop;
    const uint8_t* p = picture.pixels.get() + (row * picture.width + x) * 3;
    return p[0] << 16 | p[1] << 8 | p[2];
}

uint16_t U16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
    return U16(bytes, at) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}

}  // namespace

TEST(ProgramAssets, DefaultPictureIsADarkShapeOnAWhiteSurround) {
    std::unique_ptr<qy::Picture> picture = qy::DecodePicture(kDefaultPicture, K.defaultPicture.length);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->kind, qy::kPictureJpeg);
    ASSERT_EQ(picture->width, 758);
    ASSERT_EQ(picture->height, 816);
    // Every pixel of the outer 5 % band stays light under the lightest grey threshold.
    const int bandX = picture->width / 20, bandY = picture->height / 20;
    for (int y = 0; y < picture->height; ++y) {
        for (int x = 0; x < picture->width; ++x) {
            if (x >= bandX && x < picture->width - bandX && y >= bandY && y < picture->height - bandY) continue;
            ASSERT_GE(ColourAt(*picture, x, y), 0xECECECu) << "border pixel " << x << "," << y;
        }
    }
    EXPECT_LT(ColourAt(*picture, picture->width / 2, picture->height / 2), 0x404040u) << "centre";
}

TEST(ProgramAssets, ChimesAreMono8BitPcmAt11025HzEndingOnSilence) {
    struct Case {
        const char* name;
        const uint8_t* bytes;
        size_t size;
        uint32_t samples;
    };
    for (const Case& c : {Case{"compose", kComposeSound, static_cast<size_t>(K.textSound.length), 3072},
                          Case{"picture", kPictureSound, static_cast<size_t>(K.pictureSound.length), 6912}}) {
        qy::sound::WaveData wave;
        ASSERT_TRUE(qy::sound::ParseWave(c.bytes, c.size, &wave)) << c.name;
        EXPECT_EQ(U16(wave.format, 0), 1) << c.name << ": PCM";
        EXPECT_EQ(U16(wave.format, 2), 1) << c.name << ": channels";
        EXPECT_EQ(U32(wave.format, 4), 11025u) << c.name << ": samples per second";
        EXPECT_EQ(U16(wave.format, 12), 1) << c.name << ": block align";
        EXPECT_EQ(U16(wave.format, 14), 8) << c.name << ": bits per sample";
        ASSERT_EQ(wave.sampleCount, c.samples) << c.name;
        EXPECT_EQ(wave.samples, c.bytes + 44) << c.name << ": plain 44-byte header";
        EXPECT_EQ(wave.samples[wave.sampleCount - 1], 128) << c.name << ": a click at the end";
    }
}
