// PlayAudio's handling of its arguments; playing on a device is tested with
// the wave player, where the tests have one.
#include <windows.h>

#include "gtest/gtest.h"
#include "runtime/runtime_system.h"
#include "tests/commands/command_call.h"

using namespace qytest;

namespace {
struct HandedOver {
    int calls = 0;
    std::string bytes;
    int option = -1;
} handedOver;

bool RecordingPlayer(const void* data, int length, int option) {
    ++handedOver.calls;
    handedOver.bytes.assign(static_cast<const char*>(data), static_cast<size_t>(length));
    handedOver.option = option;
    return true;
}

// Puts a recording player in place of the runtime's for one test.
class PlayAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qy::Runtime().initialised()) program::InitRuntime();
        saved_ = qy::InstalledSystem().playSound;
        qy::InstalledSystem().playSound = &RecordingPlayer;
        handedOver = HandedOver();
    }
    void TearDown() override { qy::InstalledSystem().playSound = saved_; }

private:
    bool (*saved_)(const void*, int, int) = nullptr;
};

uint32_t Play(ValueRecord sound, ValueRecord option = Omitted()) {
    return Call(CoreCommand::PlayAudio, {sound, option}).low;
}
}  // namespace

TEST_F(PlayAudioTest, HandsByteSetsToTheSoundPlayer) {
    Owned holder;
    EXPECT_EQ(1u, Play(ByteSet("RIFF sound", holder)));
    EXPECT_EQ(1, handedOver.calls);
    EXPECT_EQ("RIFF sound", handedOver.bytes);
    EXPECT_EQ(0, handedOver.option) << "an omitted option is 0";
    EXPECT_EQ(1u, Play(ByteSet("RIFF sound", holder), Int(3)));
    EXPECT_EQ(3, handedOver.option);
}

TEST_F(PlayAudioTest, ATextNamesAFileWhoseContentsArePlayed) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "qy-sound-file.wav";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "RIFF file", 9, &written, nullptr);
    CloseHandle(file);
    Owned holder;
    EXPECT_EQ(1u, Play(Text(path, holder), Int(1)));
    EXPECT_EQ("RIFF file", handedOver.bytes);
    EXPECT_EQ(1, handedOver.option);
    DeleteFileA(path.c_str());

    EXPECT_EQ(0u, Play(Text(std::string(temp) + "qy-no-such-sound.wav", holder)));
    EXPECT_EQ(1, handedOver.calls) << "a missing file plays nothing";
}

TEST_F(PlayAudioTest, EmptyOrOtherArgumentsPlayNothing) {
    Owned a, b;
    EXPECT_EQ(0u, Play(ByteSet("", a)));
    EXPECT_EQ(0u, Play(Text("", b)));
    EXPECT_EQ(0u, Play(Int(5)));
    EXPECT_EQ(0u, Play(Omitted()));
    EXPECT_EQ(0, handedOver.calls);
}

TEST(PlayAudio, DataThatIsNoSoundIsRefused) {
    Owned holder;
    EXPECT_EQ(0u, Play(ByteSet("not a sound at all, not even close to one", holder)));
}
