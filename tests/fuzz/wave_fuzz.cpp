// Fuzz target: the WAV parser, then what the wave player reads of its result.
#include "media/sound/wave_data.h"
#include "tests/fuzz/exact_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qyfuzz::ExactBlock block(data, size);
    qy::sound::ClassifySound(block.data(), size);
    qy::sound::WaveData wave;
    if (!qy::sound::ParseWave(block.data(), size, &wave)) return 0;
    qy::sound::FormatIsPlayable(wave.format);
    // The device is handed every sample byte.
    volatile uint8_t sum = 0;
    for (uint32_t i = 0; i < wave.sampleCount; ++i) sum += wave.samples[i];
    (void)sum;
    return 0;
}
