// The own-data record of a colour picker. Byte-level only.
#pragma once
#include <cstdint>
#include <string>

#include "window/own_data.h"

namespace qy {

struct ColourPickerData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    uint32_t color = 0;
    int32_t allowTransparent = 0;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion, true);
        v.U32(d.color);
        v.I32(d.allowTransparent);
    }
    static ColourPickerData Read(const Bytes& data) { return ReadOwnData<ColourPickerData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
