// The embedded pictures and chimes, read back with the runtime's own decoder
// and WAV parser the way the program will load them.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/constants.h"
#include "gtest/gtest.h"
#include "media/picture/picture.h"
#include "media/picture/picture_decoders.h"
#include "media/sound/wave_data.h"

namespace {

// The assets as the program's constant block embeds them, as byte sets.
const program::ProgramConstants& K = program::ProgramConstantBlock;
const uint8_t* const kDefaultPicture = K.defaultPicture.bytes;
const uint8_t* const kComposeSound = K.textSound.bytes;
const uint8_t* const kPictureSound = K.pictureSound.bytes;
const uint8_t* const kLabelRipple = K.labelRipple.bytes;
const uint8_t* const kSkinBackground = K.skinBackground.bytes;
const uint8_t* const kSkinRipple = K.skinRipple.bytes;

// The packed 0x00BBGGRR value the composer compares with its threshold.
uint32_t ColourAt(const qy::Picture& picture, int x, int yFromTop) {
    const int row = picture.height - 1 - yFromTop;
    const uint8_t* p = picture.pixels.get() + (row * picture.width + x) * 3;
    return p[0] << 16 | p[1] << 8 | p[2];
}

// The same packed value for a pixel of a palettised picture (GIF, PCX).
uint32_t PaletteColourAt(qy::Picture& picture, int x, int yFromTop) {
    const uint8_t* rows = picture.pixels.get() + qy::kPaletteDibHeaderSize;
    const uint8_t* p = qy::PaletteDibColour(picture, rows[yFromTop * qy::PaletteDibStride(picture.width) + x]);
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

TEST(ProgramAssets, LabelAndSkinPicturesDecodeToTheirKindsAndSizes) {
    struct Case {
        const char* name;
        const uint8_t* bytes;
        int size;
        qy::PictureKind kind;
        int width, height;
    };
    const Case cases[] = {
        {"label ripple", kLabelRipple, program::kLabelRippleBytes, qy::kPictureBmp, 60, 45},
        {"skin background", kSkinBackground, program::kSkinBackgroundBytes, qy::kPictureJpeg, 210, 120},
        {"skin ripple", kSkinRipple, program::kSkinRippleBytes, qy::kPictureGif, 210, 120},
    };
    std::unique_ptr<qy::Picture> pictures[3];
    for (int i = 0; i < 3; ++i) {
        const Case& c = cases[i];
        pictures[i] = qy::DecodePicture(c.bytes, c.size);
        ASSERT_NE(pictures[i], nullptr) << c.name;
        EXPECT_EQ(pictures[i]->kind, c.kind) << c.name;
        ASSERT_EQ(pictures[i]->width, c.width) << c.name;
        ASSERT_EQ(pictures[i]->height, c.height) << c.name;
    }

    // The label: a dark outline at every corner and the dark ink of 生成 in the middle.
    const qy::Picture& label = *pictures[0];
    const uint32_t outline = 0x003000, ink = 0x002800;
    for (int corner = 0; corner < 4; ++corner) {
        const int x = corner & 1 ? label.width - 1 : 0, y = corner & 2 ? label.height - 1 : 0;
        EXPECT_EQ(ColourAt(label, x, y), outline) << "label corner " << x << "," << y;
    }
    int inked = 0;
    for (int y = label.height / 3; y < label.height * 2 / 3; ++y)
        for (int x = label.width / 4; x < label.width * 3 / 4; ++x) inked += ColourAt(label, x, y) == ink;
    EXPECT_GT(inked, 20) << "ink pixels in the label's middle";

    // The GIF is the JPEG's scene through a 256-colour palette: a stream the
    // LZW reader took apart wrongly would leave the two far apart.
    const qy::Picture& scene = *pictures[1];
    qy::Picture& quantised = *pictures[2];
    long difference = 0;
    for (int y = 0; y < scene.height; ++y) {
        for (int x = 0; x < scene.width; ++x) {
            const uint32_t a = ColourAt(scene, x, y), b = PaletteColourAt(quantised, x, y);
            for (int shift = 0; shift < 24; shift += 8)
                difference += std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF));
        }
    }
    EXPECT_LT(difference / (scene.width * scene.height * 3), 4) << "mean difference per channel";
}
