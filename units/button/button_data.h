// The own-data records of buttons and check boxes. Byte-level only.
#pragma once
#include <cstdint>
#include <string>

#include "window/own_data.h"

namespace qy {

struct ButtonData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t type = 0;
    int32_t hAlign = 1;
    int32_t vAlign = 1;
    Bytes picture;
    Bytes font;
    std::string caption;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion);
        v.I32(d.type);
        v.I32(d.hAlign);
        v.I32(d.vAlign);
        v.Buffer(d.picture);
        v.Buffer(d.font);
        v.Text(d.caption);
    }
    static ButtonData Read(const Bytes& data) { return ReadOwnData<ButtonData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

struct CheckBoxData {
    static constexpr int32_t kVersion = 2;
    int32_t version = kVersion;
    int32_t pushLike = 0;
    int32_t flat = 0;
    int32_t textOnLeft = 0;
    int32_t hAlign = 0;
    int32_t vAlign = 1;
    uint32_t textColor = 0;
    uint32_t backColor = kButtonFaceColour;
    int32_t checked = 0;
    Bytes picture;
    Bytes font;
    std::string caption;
    std::string dataSource;
    std::string dataColumn;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion);
        v.I32(d.pushLike);
        v.I32(d.flat);
        v.I32(d.textOnLeft);
        v.I32(d.hAlign);
        v.I32(d.vAlign);
        v.U32(d.textColor);
        v.U32(d.backColor);
        v.I32(d.checked);
        v.Buffer(d.picture);
        v.Buffer(d.font);
        v.Text(d.caption);
        if (d.version == 2) {
            v.Text(d.dataSource);
            v.Text(d.dataColumn);
        }
    }
    static CheckBoxData Read(const Bytes& data) { return ReadOwnData<CheckBoxData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
