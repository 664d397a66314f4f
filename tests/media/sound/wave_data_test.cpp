// Which bytes the wave player accepts as a WAV file, and what it takes from them.
#include "media/sound/wave_data.h"

#include "gtest/gtest.h"
#include "tests/media/sound/wave_builder.h"

using namespace qy::sound;
using namespace qytest;

namespace {
bool Accepts(const std::vector<uint8_t>& bytes, WaveData* wave = nullptr) {
    WaveData scratch;
    return ParseWave(bytes.data(), bytes.size(), wave ? wave : &scratch);
}
uint16_t U16At(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}
}  // namespace

TEST(WaveData, ClassifiesByTheFirstFourBytes) {
    const uint8_t riff[] = "RIFF....", midi[] = "MThd....", other[] = "OggS....";
    EXPECT_EQ(ClassifySound(riff, 8), SoundKind::Wave);
    EXPECT_EQ(ClassifySound(midi, 8), SoundKind::Music);
    EXPECT_EQ(ClassifySound(other, 8), SoundKind::Unknown);
    EXPECT_EQ(ClassifySound(riff, 3), SoundKind::Unknown) << "too short to hold a tag";
    EXPECT_EQ(ClassifySound(nullptr, 0), SoundKind::Unknown);
}

TEST(WaveData, AcceptsAPlainFileAndPointsAtItsSamples) {
    WaveLayout layout;
    layout.sampleBytes = 300;
    std::vector<uint8_t> file = MakeWave(layout);
    WaveData wave;
    ASSERT_TRUE(Accepts(file, &wave));
    EXPECT_EQ(wave.samples, file.data() + 44);
    EXPECT_EQ(wave.sampleCount, 300u);
    ASSERT_EQ(wave.format.size(), 18u) << "a 16-byte PCM format is widened to a WAVEFORMATEX";
    EXPECT_EQ(U16At(wave.format, 0), 1) << "format tag";
    EXPECT_EQ(U16At(wave.format, 2), 1) << "channels";
    EXPECT_EQ(U16At(wave.format, 16), 0) << "no extra bytes";
}

TEST(WaveData, AcceptsDataBeforeFormat) {
    WaveLayout layout;
    layout.dataFirst = true;
    layout.sampleBytes = 10;
    std::vector<uint8_t> file = MakeWave(layout);
    WaveData wave;
    ASSERT_TRUE(Accepts(file, &wave));
    EXPECT_EQ(wave.samples, file.data() + 20);
    EXPECT_EQ(wave.sampleCount, 10u);
    EXPECT_EQ(U16At(wave.format, 14), 8) << "bits per sample from the later chunk";
}

TEST(WaveData, RejectsFilesWithoutPlayableSamples) {
    WaveLayout layout;
    layout.sampleBytes = 0;
    std::vector<uint8_t> headerOnly = MakeWave(layout);
    ASSERT_EQ(headerOnly.size(), 44u);
    EXPECT_FALSE(Accepts(headerOnly)) << "an empty data chunk";

    std::vector<uint8_t> formatOnly = RiffFile({FormatChunk(WaveLayout())});
    ASSERT_EQ(formatOnly.size(), 36u);
    EXPECT_FALSE(Accepts(formatOnly)) << "no data chunk";

    layout.sampleBytes = 40;
    EXPECT_FALSE(Accepts(RiffFile({DataChunk(layout), DataChunk(layout)}))) << "no format chunk";

    // The first data chunk counts, even when a later one holds samples.
    layout.sampleBytes = 0;
    WaveLayout full;
    EXPECT_FALSE(Accepts(RiffFile({FormatChunk(full), DataChunk(layout), DataChunk(full)})));
}

TEST(WaveData, RejectsWrongHeaders) {
    std::vector<uint8_t> file = MakeWave();
    std::vector<uint8_t> notRiff = file;
    notRiff[0] = 'r';
    EXPECT_FALSE(Accepts(notRiff));
    std::vector<uint8_t> notWave = file;
    notWave[8] = 'A';
    EXPECT_FALSE(Accepts(notWave));
    std::vector<uint8_t> midi = file;
    std::memcpy(midi.data(), "MThd", 4);
    EXPECT_FALSE(Accepts(midi)) << "music data is not for the wave player";
    EXPECT_FALSE(Accepts(std::vector<uint8_t>(file.begin(), file.begin() + 35))) << "35 bytes are too few";
}

TEST(WaveData, RiffSizeBoundsTheChunkWalk) {
    WaveLayout layout;
    layout.sampleBytes = 20;
    std::vector<uint8_t> file = MakeWave(layout);
    std::vector<uint8_t> bounded = file;
    // The declared size ends the walk right after the format chunk.
    bounded[4] = 24;
    bounded[5] = bounded[6] = bounded[7] = 0;
    EXPECT_FALSE(Accepts(bounded));
    bounded[4] = 25;
    EXPECT_TRUE(Accepts(bounded)) << "a chunk starting inside the RIFF size is still read";
}

TEST(WaveData, NeverReadsPastTheBytesGiven) {
    WaveLayout layout;
    layout.sampleBytes = 1000;
    std::vector<uint8_t> file = MakeWave(layout);

    // A truncated file plays what it holds.
    std::vector<uint8_t> truncated(file.begin(), file.begin() + 44 + 100);
    WaveData wave;
    ASSERT_TRUE(Accepts(truncated, &wave));
    EXPECT_EQ(wave.sampleCount, 100u);

    // A format chunk that claims more bytes than there are is refused.
    std::vector<uint8_t> longFormat = file;
    longFormat[16] = 0xFF;
    longFormat[17] = 0xFF;
    longFormat[18] = 0xFF;
    EXPECT_FALSE(Accepts(longFormat));

    // A huge chunk before the format makes the walk leave the data, not wrap.
    std::vector<uint8_t> skip;
    PutTag(skip, "LIST");
    PutU32(skip, 0xFFFFFFF0u);
    std::vector<uint8_t> hostile = RiffFile({skip, FormatChunk(WaveLayout()), DataChunk(layout)});
    hostile[4] = hostile[5] = hostile[6] = hostile[7] = 0xFF;
    EXPECT_FALSE(Accepts(hostile));

    // A format too small to be a PCM format is no format.
    std::vector<uint8_t> tiny;
    PutTag(tiny, "fmt ");
    PutU32(tiny, 8);
    tiny.resize(16, 1);
    EXPECT_FALSE(Accepts(RiffFile({tiny, DataChunk(layout)})));
}

TEST(WaveData, ExtraFormatBytesAreKeptButNeverOverclaimed) {
    std::vector<uint8_t> format = FormatChunk(WaveLayout());
    format[4] = 20;  // chunk size: WAVEFORMATEX plus two extra bytes
    PutU16(format, 5);  // claims five extra bytes
    PutU16(format, 0xABCD);
    WaveLayout layout;
    std::vector<uint8_t> file = RiffFile({format, DataChunk(layout)});
    WaveData wave;
    ASSERT_TRUE(Accepts(file, &wave));
    ASSERT_EQ(wave.format.size(), 20u);
    EXPECT_EQ(U16At(wave.format, 16), 2) << "the extra size is cut to the bytes present";
    EXPECT_EQ(U16At(wave.format, 18), 0xABCD);
}
