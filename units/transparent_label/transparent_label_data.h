// The own-data record of a transparent label. Byte-level only.
#pragma once
#include <cstdint>
#include <string>

#include "window/own_data.h"

namespace qy {

struct TransLabelData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t effect = 0;
    uint32_t textColor = 0;
    int32_t alignment = 0;
    int32_t vAlign = 1;
    int32_t wordWrap = 0;
    Bytes font;
    std::string caption = "透明标签";

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion, true);
        v.I32(d.effect);
        v.U32(d.textColor);
        v.I32(d.alignment);
        v.I32(d.vAlign);
        v.I32(d.wordWrap);
        v.Buffer(d.font);
        v.Text(d.caption);
    }
    static TransLabelData Read(const Bytes& data) { return ReadOwnData<TransLabelData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
