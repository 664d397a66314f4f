// The wave player: each accepted sound gets its own copy of the samples, its
// own wave-out device and a feeding thread, so sounds overlap and the caller
// never waits. The list of playing sounds is guarded by the runtime's sound
// lock.
#pragma once
#include <cstdint>

namespace qy::sound {

// Starts playing WAV data; a non-zero option repeats the sound until it is
// stopped. False when the data is not an acceptable WAV file or no wave-out
// device can play its format.
bool PlayWave(const void* data, int length, int option);

// Signals every playing sound to stop; with wait, returns only after every
// feeding thread has ended and released its device.
void StopAllSounds(bool wait);

// Number of sounds whose feeding thread has not yet ended.
int ActiveSoundCount();

}  // namespace qy::sound
