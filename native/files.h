// Reading a picture and writing the text picture the POSIX way: names
// relative to the caller's folder, standard streams, devices written
// directly, and a regular file replaced whole or not at all.
#pragma once
#include <string>

namespace native {

// Reads a file, or standard input for "-"; false with the reason. A terminal
// on standard input is refused rather than waited on.
bool ReadInput(const std::string& name, std::string* bytes, std::string* reason);

// Writes all bytes to standard output for an empty name or "-", straight to a
// device or pipe, and otherwise through a temporary file beside the target,
// created exclusively, synced and renamed over it; an interrupt removes the
// temporary file.
bool WriteOutput(const std::string& name, const std::string& bytes, std::string* reason);

}  // namespace native
