// A fuzz input copied into a heap block of exactly its size, so that a read
// one byte past the end lands in the address checker's guard zone.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace qyfuzz {

class ExactBlock {
public:
    ExactBlock(const uint8_t* data, size_t size) : data_(static_cast<uint8_t*>(std::malloc(size))), size_(size) {
        if (size) std::memcpy(data_, data, size);
    }
    ~ExactBlock() { std::free(data_); }
    ExactBlock(const ExactBlock&) = delete;
    ExactBlock& operator=(const ExactBlock&) = delete;
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    uint8_t* data_;
    size_t size_;
};

}  // namespace qyfuzz
