#include "media/sound/wave_data.h"

#include <algorithm>
#include <cstring>

namespace qy::sound {

namespace {
constexpr size_t kMinimumWaveLength = 36;
constexpr size_t kChunkWalkStart = 12;
constexpr size_t kChunkHeaderSize = 8;
// PCMWAVEFORMAT; without these fields there is no format to open a device with.
constexpr size_t kMinimumFormatSize = 16;
// WAVEFORMATEX, whose last field counts the extra bytes that follow it.
constexpr size_t kFormatExSize = 18;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool HasTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

std::vector<uint8_t> FormatBlock(const uint8_t* chunk, size_t size) {
    std::vector<uint8_t> format(std::max(size, kFormatExSize), 0);
    std::memcpy(format.data(), chunk, size);
    size_t extra = size > kFormatExSize ? size - kFormatExSize : 0;
    size_t claimed = ReadU16(&format[16]);
    if (claimed > extra) {
        format[16] = static_cast<uint8_t>(extra);
        format[17] = static_cast<uint8_t>(extra >> 8);
    }
    return format;
}
}  // namespace

SoundKind ClassifySound(const uint8_t* data, size_t length) {
    if (!data || length < 4) return SoundKind::Unknown;
    if (HasTag(data, "RIFF")) return SoundKind::Wave;
    if (HasTag(data, "MThd")) return SoundKind::Music;
    return SoundKind::Unknown;
}

bool ParseWave(const uint8_t* data, size_t length, WaveData* wave) {
    if (!data || length < kMinimumWaveLength || !HasTag(data, "RIFF") || !HasTag(data + 8, "WAVE")) return false;
    // The RIFF size bounds the walk; the bytes actually present bound every read.
    const uint64_t riffSize = ReadU32(data + 4);
    const uint8_t* format = nullptr;
    size_t formatSize = 0;
    const uint8_t* samples = nullptr;
    size_t sampleCount = 0;
    uint64_t offset = kChunkWalkStart;
    while (offset - kChunkWalkStart < riffSize && offset + kChunkHeaderSize <= length) {
        const uint8_t* chunk = data + offset;
        const uint64_t size = ReadU32(chunk + 4);
        const size_t available = length - static_cast<size_t>(offset) - kChunkHeaderSize;
        if (!format && HasTag(chunk, "fmt ")) {
            // A format cut short by the end of the data cannot be trusted.
            if (size > available || size < kMinimumFormatSize) return false;
            format = chunk + kChunkHeaderSize;
            formatSize = static_cast<size_t>(size);
        } else if (!samples && HasTag(chunk, "data")) {
            // A truncated file plays the samples it has.
            samples = chunk + kChunkHeaderSize;
            sampleCount = static_cast<size_t>(std::min<uint64_t>(size, available));
        }
        if (format && samples) break;
        offset += kChunkHeaderSize + size;
    }
    if (!format || !samples || sampleCount == 0) return false;
    wave->format = FormatBlock(format, formatSize);
    wave->samples = samples;
    wave->sampleCount = static_cast<uint32_t>(sampleCount);
    return true;
}

bool FormatIsPlayable(const std::vector<uint8_t>& format) {
    if (format.size() < kMinimumFormatSize) return false;
    const uint16_t channels = ReadU16(&format[2]);
    const uint32_t samplesPerSecond = ReadU32(&format[4]);
    const uint16_t blockAlign = ReadU16(&format[12]);
    return channels > 0 && samplesPerSecond > 0 && blockAlign > 0;
}

}  // namespace qy::sound
