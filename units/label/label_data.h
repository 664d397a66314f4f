// The own-data record of a label. Byte-level only.
#pragma once
#include <cstdint>
#include <string>

#include "window/own_data.h"

namespace qy {

struct LabelData {
    static constexpr int32_t kVersion = 2;
    int32_t version = kVersion;
    int32_t effect = 0;          // own 1
    int32_t borderWidth = 5;     // own 3
    int32_t border = 0;          // own 2
    uint32_t borderColor[3] = {kButtonFaceColour, kButtonFaceColour, kButtonFaceColour};  // own 4-6
    uint32_t textColor = 0;      // own 8
    uint32_t backColor = kButtonFaceColour;  // own 9
    int32_t pictureMode = 1;     // own 11
    int32_t gradientMode = 0;    // own 12
    uint32_t gradientColor[3] = {kButtonFaceColour, kButtonFaceColour, kButtonFaceColour};  // own 13-15
    int32_t hAlign = 0;          // own 16
    int32_t vAlign = 0;          // own 18
    int32_t wordWrap = 0;        // own 17
    Bytes font;                  // own 7
    Bytes picture;               // own 10
    std::string caption;         // own 0
    std::string dataSource;      // own 19
    std::string dataColumn;      // own 20

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion);
        v.I32(d.effect);
        v.I32(d.borderWidth);
        v.I32(d.border);
        v.U32s(d.borderColor);
        v.U32(d.textColor);
        v.U32(d.backColor);
        v.I32(d.pictureMode);
        v.I32(d.gradientMode);
        v.U32s(d.gradientColor);
        v.I32(d.hAlign);
        v.I32(d.vAlign);
        v.I32(d.wordWrap);
        v.Buffer(d.font);
        v.Buffer(d.picture);
        v.Text(d.caption);
        if (d.version == 2) {
            v.Text(d.dataSource);
            v.Text(d.dataColumn);
        }
    }
    static LabelData Read(const Bytes& data) { return ReadOwnData<LabelData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
