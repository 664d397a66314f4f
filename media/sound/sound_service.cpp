// The runtime's sound service: sound data handed over by PlayAudio goes to
// the wave player.
#include "media/sound/sound_service.h"

#include "media/sound/wave_data.h"
#include "media/sound/wave_player.h"

namespace qy::sound {

// Music data would go to a music player; this runtime has none, so it is
// refused like anything else that is not a WAV file.
bool PlaySoundData(const void* data, int length, int option) {
    if (!data || length <= 0) return false;
    if (ClassifySound(static_cast<const uint8_t*>(data), static_cast<size_t>(length)) != SoundKind::Wave) return false;
    return PlayWave(data, length, option);
}

// Waiting lets every device close before OLE and the process go away.
void ReleaseSounds() { StopAllSounds(true); }

}  // namespace qy::sound
