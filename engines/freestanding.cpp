// The compiler turns struct copies and zeroing into calls of these, and no C
// runtime is linked into the engine to provide them.
#include <stddef.h>

extern "C" __attribute__((used)) void* memcpy(void* to, const void* from, size_t count) {
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    while (count--) *out++ = *in++;
    return to;
}

extern "C" __attribute__((used)) void* memset(void* to, int value, size_t count) {
    auto* out = static_cast<unsigned char*>(to);
    while (count--) *out++ = static_cast<unsigned char>(value);
    return to;
}
