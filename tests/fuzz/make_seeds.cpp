// Writes the seed corpora of the fuzz targets from the project's own
// encoders and from the program's template segment.
// Usage: make_seeds DIRECTORY (gets picture/, cursor/, wave/, template/, own_data/)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "forms/template_segment.h"
#include "runtime/archive.h"
#include "tests/fuzz/own_data_readers.h"
#include "tests/fuzz/picture_input.h"
#include "tests/media/sound/wave_builder.h"
#include "window/template_format.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void Write(const std::string& dir, const std::string& name, const Bytes& bytes) {
    mkdir(dir.c_str(), 0755);
    std::string path = dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

std::vector<Bytes> WaveSeeds() {
    qytest::WaveLayout plain;
    qytest::WaveLayout dataFirst;
    dataFirst.dataFirst = true;
    qytest::WaveLayout stereo16;
    stereo16.channels = 2;
    stereo16.bits = 16;
    stereo16.sampleBytes = 400;
    Bytes extended = qytest::MakeWave(stereo16);
    // A format chunk with extra bytes and a chunk the parser steps over.
    Bytes format = qytest::FormatChunk(plain);
    format[4] = 20;
    format.insert(format.end(), {2, 0, 0xAB, 0xCD});
    Bytes list = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
    return {qytest::MakeWave(plain), qytest::MakeWave(dataFirst), extended,
            qytest::RiffFile({list, format, qytest::DataChunk(plain)})};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIRECTORY\n");
        return 2;
    }
    std::string root = argv[1];
    mkdir(root.c_str(), 0755);

    std::vector<Bytes> pictures = qyfuzz::PictureSeeds();
    for (size_t i = 0; i < pictures.size(); ++i) Write(root + "/picture", std::to_string(i), pictures[i]);
    // Cursor data: a standard cursor by index and by id, and every cursor
    // file both as it is and behind the -1 word that marks a file.
    int cursors = 0;
    Write(root + "/cursor", std::to_string(cursors++), {3, 0, 0, 0});
    Write(root + "/cursor", std::to_string(cursors++), {0x02, 0x7F, 0, 0});
    for (const Bytes& picture : pictures) {
        if (picture.size() < 4 || picture[0] != 0 || picture[1] != 0 || picture[2] != 2) continue;
        Write(root + "/cursor", std::to_string(cursors++), picture);
        Bytes marked = {0xFF, 0xFF, 0xFF, 0xFF};
        marked.insert(marked.end(), picture.begin(), picture.end());
        Write(root + "/cursor", std::to_string(cursors++), marked);
    }
    std::vector<Bytes> waves = WaveSeeds();
    for (size_t i = 0; i < waves.size(); ++i) Write(root + "/wave", std::to_string(i), waves[i]);

    Bytes segment(ProgramTemplateSegment, ProgramTemplateSegment + kProgramTemplateSegmentSize);
    Write(root + "/template", "program", segment);

    // Own data: each type's defaults, and every block of the program's units.
    auto ownSeed = [](size_t reader, const Bytes& block) {
        Bytes seed = {static_cast<uint8_t>(reader)};
        seed.insert(seed.end(), block.begin(), block.end());
        return seed;
    };
    for (size_t r = 0; r < qyfuzz::kOwnDataReaderCount; ++r)
        Write(root + "/own_data", "default" + std::to_string(r), ownSeed(r, qyfuzz::kOwnDataReaders[r].defaults()));
    qy::MemoryFile file(segment.data(), segment.size());
    qy::LoadingArchive archive(file);
    int count = 0;
    for (const qy::WindowTemplate& w : qy::ReadSegment(archive)) {
        for (int k = 0; k < w.units.count(); ++k) {
            if (w.units.IsMenuItem(k)) continue;
            qy::UnitRecord unit = w.units.Unit(k);
            for (size_t r = 0; r < qyfuzz::kOwnDataReaderCount; ++r)
                if (qyfuzz::kOwnDataReaders[r].typeRef == unit.typeRef)
                    Write(root + "/own_data", "program" + std::to_string(count++), ownSeed(r, unit.ownData));
        }
    }
    std::printf("seeds: %zu pictures, %d cursors, %zu WAV files, 1 template segment, %zu own-data blocks\n",
                pictures.size(), cursors, waves.size(), qyfuzz::kOwnDataReaderCount + count);
    return 0;
}
