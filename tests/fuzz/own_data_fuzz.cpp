// Fuzz target: the own-data reader of every unit type. The first byte picks
// the type, the rest is the block, held in a vector of exactly its size.
#include "tests/fuzz/own_data_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const qyfuzz::OwnDataReader& reader = qyfuzz::kOwnDataReaders[data[0] % qyfuzz::kOwnDataReaderCount];
    try {
        reader.read(qy::Bytes(data + 1, data + size));
    } catch (const qy::TemplateError&) {
    }
    return 0;
}
