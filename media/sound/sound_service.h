// What the runtime asks of sound: play data, and stop everything at shut-down.
#pragma once

namespace qy::sound {

// True when the data is a WAV sound that started playing.
bool PlaySoundData(const void* data, int length, int option);
// Stops every playing sound and waits until each device is closed.
void ReleaseSounds();

}  // namespace qy::sound
