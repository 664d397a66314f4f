// The own-data record of a scroll bar. Byte-level only.
#pragma once
#include <cstdint>
#include <string>

#include "window/own_data.h"

namespace qy {

struct ScrollBarData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t minPosition = 0;
    int32_t maxPosition = 100;
    int32_t pageChange = 10;
    int32_t lineChange = 1;
    int32_t position = 0;
    int32_t dragTracking = 1;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion);
        v.I32(d.minPosition);
        v.I32(d.maxPosition);
        v.I32(d.pageChange);
        v.I32(d.lineChange);
        v.I32(d.position);
        v.I32(d.dragTracking);
    }
    static ScrollBarData Read(const Bytes& data) { return ReadOwnData<ScrollBarData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
