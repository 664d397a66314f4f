// Recognising sound data: WAV files for the wave player, the MIDI header for
// the music player. Byte-level only, so it also builds natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qy::sound {

enum class SoundKind { Wave, Music, Unknown };

// "RIFF" for the wave player, "MThd" for the music player, else nothing.
SoundKind ClassifySound(const uint8_t* data, size_t length);

struct WaveData {
    // The "fmt " chunk laid out as a WAVEFORMATEX: at least 18 bytes, the
    // extra-size field never claiming more bytes than the chunk held.
    std::vector<uint8_t> format;
    // The samples of the first "data" chunk, inside the caller's bytes.
    const uint8_t* samples = nullptr;
    uint32_t sampleCount = 0;
};

// Accepts a WAV file with a usable "fmt " chunk and a non-empty "data"
// chunk, in either order; false for anything else.
bool ParseWave(const uint8_t* data, size_t length, WaveData* wave);

// Whether a format names at least one channel, a sample rate and a block
// size; no device can play one that does not.
bool FormatIsPlayable(const std::vector<uint8_t>& format);

}  // namespace qy::sound
