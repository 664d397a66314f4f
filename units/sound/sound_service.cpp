// The runtime's sound service: sound data handed over by PlayAudio goes to
// the wave player, and shut-down stops whatever still plays.
#include "runtime/runtime_app.h"
#include "runtime/runtime_hooks.h"
#include "units/sound/wave_data.h"
#include "units/sound/wave_player.h"

namespace qy::sound {

namespace {
// Music data would go to a music player; this runtime has none, so it is
// refused like anything else that is not a WAV file.
bool PlaySoundData(const void* data, int length, int option) {
    if (!data || length <= 0) return false;
    if (ClassifySound(static_cast<const uint8_t*>(data), static_cast<size_t>(length)) != SoundKind::Wave) return false;
    return PlayWave(data, length, option);
}

// Waiting lets every device close before OLE and the process go away.
void ReleaseMedia() { StopAllSounds(true); }

struct SoundServiceInstaller {
    SoundServiceInstaller() {
        Hooks().playSound = &PlaySoundData;
        SetMediaReleaser(&ReleaseMedia);
    }
} installer;
}  // namespace

}  // namespace qy::sound

// The runtime reaches this service only through its hooks, so the linker is
// told to keep this file (see CMakeLists.txt).
extern "C" const int qySoundService = 1;
