// The wave player on a real wave-out device (ALSA's null device, through a
// HOME whose .asoundrc provides it) and on a machine without any device.
#include "media/sound/wave_player.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "runtime/services.h"
#include "tests/support/child_process.h"
#include "tests/media/sound/wave_builder.h"
#include "tests/support/pump.h"

using namespace qy;
using namespace qy::sound;
using namespace qytest;

namespace {
int Play(const std::vector<uint8_t>& wave, int option = 0) {
    return PlayWave(wave.data(), static_cast<int>(wave.size()), option) ? 1 : 0;
}

// Through the runtime, as PlayAudio hands sounds over.
int Notify2015(const void* data, int length, int option) {
    if (!Runtime().initialised()) program::InitRuntime();
    uint32_t words[3] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data)), static_cast<uint32_t>(length),
                         static_cast<uint32_t>(option)};
    return RuntimeNotify(kNotifyPlaySound, static_cast<int32_t>(reinterpret_cast<uintptr_t>(words)), 0);
}

// The PlayAudio command through the command frame, as the program calls it.
int PlayAudio(const std::vector<uint8_t>& wave) {
    if (!Runtime().initialised()) program::InitRuntime();
    void* block = NewByteSet(wave.data(), static_cast<int>(wave.size()));
    ValueRecord sound{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)), 0, kTypeByteSet};
    ValueRecord result =
        program::CallCore(reinterpret_cast<const void*>(CoreCommandEntry(CoreCommand::PlayAudio)), {sound});
    Free(block);
    return static_cast<int>(result.low);
}

// Waits, with a generous limit, for every sound to end by itself.
bool AllSoundsEnd() {
    return PumpUntil([] { return ActiveSoundCount() == 0; });
}

// Plays this many bytes of the default format on a device of the test's own
// and waits on the device's event until they have played: a clock that runs
// in the same time as the player's sounds.
bool PlayOnOwnDevice(uint32_t sampleBytes) {
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        CloseHandle(done);
        return false;
    }
    std::vector<char> silence(sampleBytes, static_cast<char>(0x80));
    WAVEHDR header{};
    header.lpData = silence.data();
    header.dwBufferLength = sampleBytes;
    waveOutPrepareHeader(device, &header, sizeof header);
    waveOutWrite(device, &header, sizeof header);
    DWORD start = GetTickCount();
    while (!(header.dwFlags & WHDR_DONE) && GetTickCount() - start < kPatienceMs) WaitForSingleObject(done, 100);
    bool played = (header.dwFlags & WHDR_DONE) != 0;
    waveOutReset(device);
    waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
    CloseHandle(done);
    return played;
}

class WavePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(waveOutGetNumDevs(), 0u)
            << "no wave-out device: run with HOME pointing at a folder whose .asoundrc holds pcm.!default { type null }";
    }
    void TearDown() override {
        StopAllSounds(true);
        EXPECT_EQ(ActiveSoundCount(), 0);
    }
};

}  // namespace

TEST_F(WavePlayerTest, PlaysASoundToItsEndAndReleasesIt) {
    ASSERT_EQ(Play(MakeWave()), 1);
    EXPECT_EQ(ActiveSoundCount(), 1);
    EXPECT_TRUE(AllSoundsEnd()) << "a tenth of a second of sound never finished";
}

TEST_F(WavePlayerTest, SoundsLongerThanTheBufferRingPlayThrough) {
    // More than 20 buffers of samples, so buffers are refilled while playing.
    WaveLayout layout;
    layout.rate = 48000;
    layout.channels = 2;
    layout.bits = 16;
    layout.sampleBytes = 21 * 15360 + 100;
    ASSERT_EQ(Play(MakeWave(layout)), 1);
    EXPECT_TRUE(AllSoundsEnd());
}

TEST_F(WavePlayerTest, TwoSoundsOverlap) {
    WaveLayout layout;
    layout.sampleBytes = 11025;  // one second each
    std::vector<uint8_t> first = MakeWave(layout);
    layout.dataFirst = true;
    std::vector<uint8_t> second = MakeWave(layout);
    ASSERT_EQ(Play(first), 1);
    ASSERT_EQ(Play(second), 1);
    EXPECT_EQ(ActiveSoundCount(), 2) << "the second sound did not start while the first played";
    EXPECT_TRUE(AllSoundsEnd());
}

TEST_F(WavePlayerTest, LoopingRepeatsUntilStopAll) {
    WaveLayout layout;
    layout.sampleBytes = 551;  // a twentieth of a second
    ASSERT_EQ(Play(MakeWave(layout), 1), 1);
    ASSERT_TRUE(PlayOnOwnDevice(551 * 20)) << "the test's own device never played its sound";
    EXPECT_EQ(ActiveSoundCount(), 1) << "a looping sound ended by itself";
    StopAllSounds(true);
    EXPECT_EQ(ActiveSoundCount(), 0) << "stop-all with wait returned before the sound was released";
}

TEST_F(WavePlayerTest, StopAllWithoutWaitOnlySignals) {
    WaveLayout layout;
    layout.sampleBytes = 11025 * 5;
    ASSERT_EQ(Play(MakeWave(layout)), 1);
    ASSERT_EQ(Play(MakeWave(layout), 1), 1);
    StopAllSounds(false);
    EXPECT_TRUE(AllSoundsEnd()) << "the signalled looping sound kept playing";
}

TEST_F(WavePlayerTest, PlayAudioIsTrueWhenTheSoundPlays) {
    EXPECT_EQ(PlayAudio(MakeWave()), 1);
    EXPECT_EQ(ActiveSoundCount(), 1);
    WaveLayout layout;
    layout.formatTag = 0x7777;
    EXPECT_EQ(PlayAudio(MakeWave(layout)), 0) << "a sound no device can play is not reported as playing";
    EXPECT_TRUE(AllSoundsEnd());
}

TEST_F(WavePlayerTest, AFormatNoDeviceTakesIsRefusedAtOnce) {
    WaveLayout layout;
    layout.formatTag = 0x7777;  // no codec knows it
    EXPECT_EQ(Play(MakeWave(layout)), 0);
    layout.formatTag = 1;
    layout.channels = 0;
    EXPECT_EQ(Play(MakeWave(layout)), 0);
    EXPECT_EQ(ActiveSoundCount(), 0) << "a refused sound left a player behind";
}

TEST_F(WavePlayerTest, RuntimeNotifyHandsWaveDataToThePlayer) {
    std::vector<uint8_t> wave = MakeWave();
    EXPECT_EQ(Notify2015(wave.data(), static_cast<int>(wave.size()), 0), 1);
    std::vector<uint8_t> music = wave;
    std::memcpy(music.data(), "MThd", 4);
    EXPECT_EQ(Notify2015(music.data(), static_cast<int>(music.size()), 0), 0) << "no music player in this runtime";
    EXPECT_EQ(Notify2015(wave.data(), 0, 0), 0);
    EXPECT_EQ(Notify2015(nullptr, 100, 0), 0);
    EXPECT_EQ(RuntimeNotify(kNotifyPlaySound, 0, 0), 0);
    EXPECT_TRUE(AllSoundsEnd());
}

// Run by its own test entry, with a HOME that gives ALSA no device.
TEST(NoSoundDevice, PlayingIsRefusedAndNothingLingers) {
    ASSERT_EQ(waveOutGetNumDevs(), 0u) << "this case needs a machine, or a HOME, without a wave-out device";
    std::vector<uint8_t> wave = MakeWave();
    EXPECT_EQ(Play(wave), 0);
    EXPECT_EQ(Play(wave, 1), 0) << "a looping sound without a device";
    EXPECT_EQ(Notify2015(wave.data(), static_cast<int>(wave.size()), 0), 0);
    EXPECT_EQ(PlayAudio(wave), 0) << "PlayAudio reported a sound that cannot play";
    EXPECT_EQ(ActiveSoundCount(), 0) << "a refused sound left a player behind";
}

QY_SCENARIO(shutdown_stops_sounds) {
    program::InitRuntime();
    WaveLayout layout;
    layout.sampleBytes = 551;
    Log("looping " + std::to_string(Play(MakeWave(layout), 1)) + " " + std::to_string(Play(MakeWave(layout), 1)));
    // Both sounds come round at least once before the shut-down.
    PlayOnOwnDevice(551 * 2);
    Log("players " + std::to_string(ActiveSoundCount()));
    Runtime().Shutdown(0);
    Log("after shut-down " + std::to_string(ActiveSoundCount()));
    return 0;
}

TEST(SoundShutdown, ShutdownStopsEverySound) {
    ChildResult child = RunScenario("shutdown_stops_sounds");
    EXPECT_EQ(child.exitCode, 0u);
    EXPECT_EQ(child.log, "looping 1 1\nplayers 2\nafter shut-down 0\n");
}
