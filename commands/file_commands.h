// Whole-file reading shared by ReadWholeFile and PlayAudio's file names.
#pragma once
#include <cstdint>

namespace qy {

// A new byte-set block with the file's bytes (a short read keeps what was
// read); null when the file cannot be opened or read, or is empty.
void* ReadFileAsByteSet(const char* fileName);

}  // namespace qy
