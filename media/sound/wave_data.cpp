#include "media/sound/wave_data.h"

#include <algorithm>
#include <cstring>

#include "runtime/byte_cursor.h"

namespace qy::sound {

namespace {
constexpr size_t kMinimumWaveLength = 36;
constexpr size_t kChunkWalkStart = 12;
constexpr size_t kChunkHeaderSize = 8;
// PCMWAVEFORMAT; without these fields there is no format to open a device with.
constexpr size_t kMinimumFormatSize = 16;
// WAVEFORMATEX, whose last field counts the extra bytes that follow it.
constexpr size_t kFormatExSize = 18;

bool HasTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

std::vector<uint8_t> FormatBlock(const uint8_t* chunk, size_t size) {
    std::vector<uint8_t> format(std::max(size, kFormatExSize), 0);
    std::memcpy(format.data(), chunk, size);
    size_t extra = size > kFormatExSize ? size - kFormatExSize : 0;
    size_t claimed = ByteCursor::LoadU16(&format[16]);
    if (claimed > extra) {
        StoreU16(&format[16], static_cast<uint32_t>(extra));
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
    ByteCursor in(data, length);
    in.Seek(4);
    const uint64_t riffSize = in.U32();
    in.Seek(kChunkWalkStart);
    const uint8_t* format = nullptr;
    size_t formatSize = 0;
    const uint8_t* samples = nullptr;
    size_t sampleCount = 0;
    while (in.position() - kChunkWalkStart < riffSize && in.remaining() >= kChunkHeaderSize) {
        const uint8_t* tag = in.Take(4);
        const uint64_t size = in.U32();
        const size_t available = in.remaining();
        if (!format && HasTag(tag, "fmt ")) {
            // A format cut short by the end of the data cannot be trusted.
            if (size > available || size < kMinimumFormatSize) return false;
            format = in.data() + in.position();
            formatSize = static_cast<size_t>(size);
        } else if (!samples && HasTag(tag, "data")) {
            // A truncated file plays the samples it has.
            samples = in.data() + in.position();
            sampleCount = static_cast<size_t>(std::min<uint64_t>(size, available));
        }
        if ((format && samples) || size > available) break;
        in.Skip(static_cast<size_t>(size));
    }
    if (!format || !samples || sampleCount == 0) return false;
    wave->format = FormatBlock(format, formatSize);
    wave->samples = samples;
    wave->sampleCount = static_cast<uint32_t>(sampleCount);
    return true;
}

bool FormatIsPlayable(const std::vector<uint8_t>& format) {
    if (format.size() < kMinimumFormatSize) return false;
    ByteCursor in(format.data(), format.size());
    in.Seek(2);
    const uint16_t channels = in.U16();
    const uint32_t samplesPerSecond = in.U32();
    in.Seek(12);
    const uint16_t blockAlign = in.U16();
    return channels > 0 && samplesPerSecond > 0 && blockAlign > 0;
}

}  // namespace qy::sound
