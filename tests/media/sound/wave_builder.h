// WAV files made up by the tests: silence or a square tone in a chosen format,
// with the chunks in either order.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qytest {

inline void PutU32(std::vector<uint8_t>& bytes, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void PutU16(std::vector<uint8_t>& bytes, uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutTag(std::vector<uint8_t>& bytes, const char* tag) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(tag[i]));
}

struct WaveLayout {
    uint16_t formatTag = 1;  // PCM
    uint16_t channels = 1;
    uint32_t rate = 11025;
    uint16_t bits = 8;
    uint32_t sampleBytes = 1102;  // a tenth of a second at the default format
    bool dataFirst = false;
};

inline std::vector<uint8_t> FormatChunk(const WaveLayout& layout) {
    std::vector<uint8_t> chunk;
    PutTag(chunk, "fmt ");
    PutU32(chunk, 16);
    uint16_t align = static_cast<uint16_t>(layout.channels * layout.bits / 8);
    PutU16(chunk, layout.formatTag);
    PutU16(chunk, layout.channels);
    PutU32(chunk, layout.rate);
    PutU32(chunk, layout.rate * align);
    PutU16(chunk, align);
    PutU16(chunk, layout.bits);
    return chunk;
}

// A 440 Hz square wave for 8-bit data, silence otherwise.
inline std::vector<uint8_t> DataChunk(const WaveLayout& layout) {
    std::vector<uint8_t> chunk;
    PutTag(chunk, "data");
    PutU32(chunk, layout.sampleBytes);
    uint32_t half = layout.rate / 880 ? layout.rate / 880 : 1;
    for (uint32_t i = 0; i < layout.sampleBytes; ++i)
        chunk.push_back(layout.bits == 8 ? static_cast<uint8_t>((i / half) % 2 ? 0xA0 : 0x60) : 0);
    return chunk;
}

inline std::vector<uint8_t> RiffFile(const std::vector<std::vector<uint8_t>>& chunks) {
    std::vector<uint8_t> body;
    for (const auto& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
    std::vector<uint8_t> file;
    PutTag(file, "RIFF");
    PutU32(file, static_cast<uint32_t>(4 + body.size()));
    PutTag(file, "WAVE");
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

inline std::vector<uint8_t> MakeWave(const WaveLayout& layout = WaveLayout()) {
    if (layout.dataFirst) return RiffFile({DataChunk(layout), FormatChunk(layout)});
    return RiffFile({FormatChunk(layout), DataChunk(layout)});
}

}  // namespace qytest
