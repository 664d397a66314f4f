// Read-only memory file and a buffered loading archive over it: the layer
// through which the template segment is read. Reading past the end throws,
// and a counted read is refused before it allocates.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qy {

struct ArchiveError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Read(void* out, size_t count);
    size_t position() const { return position_; }
    size_t size() const { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

// Loads through a fixed-size buffer refilled from the file, as a loading
// archive does; all multi-byte reads are little-endian.
class LoadingArchive {
public:
    explicit LoadingArchive(MemoryFile& file, size_t bufferSize = 4096);
    void Read(void* out, size_t count);
    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
    std::vector<uint8_t> ReadBytes(size_t count);
    // Bytes consumed so far.
    size_t position() const { return consumed_; }
    size_t refills() const { return refills_; }

private:
    bool Refill();
    MemoryFile& file_;
    std::vector<uint8_t> buffer_;
    size_t begin_ = 0, end_ = 0;
    size_t consumed_ = 0;
    size_t refills_ = 0;
};

}  // namespace qy
