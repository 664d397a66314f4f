#include "runtime/archive.h"

#include <cstring>

#include "runtime/byte_cursor.h"

namespace qy {

size_t MemoryFile::Read(void* out, size_t count) {
    size_t available = size_ - position_;
    if (count > available) count = available;
    std::memcpy(out, data_ + position_, count);
    position_ += count;
    return count;
}

LoadingArchive::LoadingArchive(MemoryFile& file, size_t bufferSize) : file_(file), buffer_(bufferSize ? bufferSize : 1) {}

bool LoadingArchive::Refill() {
    begin_ = 0;
    end_ = file_.Read(buffer_.data(), buffer_.size());
    ++refills_;
    return end_ > 0;
}

void LoadingArchive::Read(void* out, size_t count) {
    auto* target = static_cast<uint8_t*>(out);
    while (count > 0) {
        if (begin_ == end_ && !Refill()) throw ArchiveError("archive read past the end");
        size_t chunk = end_ - begin_;
        if (chunk > count) chunk = count;
        std::memcpy(target, buffer_.data() + begin_, chunk);
        begin_ += chunk;
        target += chunk;
        count -= chunk;
        consumed_ += chunk;
    }
}

uint8_t LoadingArchive::ReadU8() {
    uint8_t v;
    Read(&v, 1);
    return v;
}

uint16_t LoadingArchive::ReadU16() {
    uint8_t b[2];
    Read(b, 2);
    return ByteCursor::LoadU16(b);
}

uint32_t LoadingArchive::ReadU32() {
    uint8_t b[4];
    Read(b, 4);
    return ByteCursor::LoadU32(b);
}

std::vector<uint8_t> LoadingArchive::ReadBytes(size_t count) {
    // A stated length is checked against what is left before anything is allocated.
    if (count > (end_ - begin_) + (file_.size() - file_.position())) throw ArchiveError("archive read past the end");
    std::vector<uint8_t> bytes(count);
    if (count) Read(bytes.data(), count);
    return bytes;
}

}  // namespace qy
