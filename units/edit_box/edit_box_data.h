// The own-data record of an edit box. Byte-level only.
#pragma once
#include <cstdint>
#include <string>

#include "window/own_data.h"

namespace qy {

struct EditBoxData {
    static constexpr int32_t kVersion = 2;
    int32_t version = kVersion;
    int32_t border = 1;
    uint32_t textColor = 0;
    uint32_t backColor = 0xFFFFFF;
    int32_t hideSelection = 1;
    int32_t maxLength = 0;
    int32_t multiLine = 0;
    int32_t scrollBars = 0;
    int32_t alignment = 0;
    int32_t inputMode = 0;
    uint16_t passwordChar = '*';
    int32_t caseConversion = 0;
    int32_t spinMode = 0;
    int32_t spinMin = 0;
    int32_t spinMax = 100;
    int32_t selStart = 0;
    int32_t selLength = 0;
    Bytes font;
    std::string content;
    std::string dataSource;
    std::string dataColumn;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion);
        v.I32(d.border);
        v.U32(d.textColor);
        v.U32(d.backColor);
        v.I32(d.hideSelection);
        v.I32(d.maxLength);
        v.I32(d.multiLine);
        v.I32(d.scrollBars);
        v.I32(d.alignment);
        v.I32(d.inputMode);
        v.U16(d.passwordChar);
        v.I32(d.caseConversion);
        v.I32(d.spinMode);
        v.I32(d.spinMin);
        v.I32(d.spinMax);
        v.I32(d.selStart);
        v.I32(d.selLength);
        v.Buffer(d.font);
        v.Text(d.content);
        if (d.version == 2) {
            v.Text(d.dataSource);
            v.Text(d.dataColumn);
        }
    }
    static EditBoxData Read(const Bytes& data) { return ReadOwnData<EditBoxData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
