// The own-data record of a combo box. Byte-level only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "window/own_data.h"

namespace qy {

struct ComboBoxData {
    static constexpr int32_t kVersion = 3;
    int32_t version = kVersion;
    int32_t type = 0;             // own 0
    int32_t maxLength = 0;        // own 2
    int32_t selStart = 0;         // own 3
    int32_t selLength = 0;        // own 4
    int32_t autoSort = 0;         // own 6
    int32_t extraItemHeight = 0;  // own 7
    uint32_t textColor = 0;       // own 8
    uint32_t backColor = 0xFFFFFF;  // own 9
    int32_t currentSelection = -1;  // own 11
    Bytes font;                   // own 10
    std::vector<int32_t> itemValues;  // own 13
    std::string content;          // own 1
    std::vector<std::string> items;   // own 12
    std::string dataSource;       // own 14
    std::string dataColumn;       // own 15
    int32_t own16 = 0;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion);
        v.I32(d.type);
        v.I32(d.maxLength);
        v.I32(d.selStart);
        v.I32(d.selLength);
        v.I32(d.autoSort);
        v.I32(d.extraItemHeight);
        v.U32(d.textColor);
        v.U32(d.backColor);
        v.I32(d.currentSelection);
        v.Buffer(d.font);
        v.Words(d.itemValues);
        v.Text(d.content);
        v.TextList(d.items);
        if (d.version > 1) {
            v.Text(d.dataSource);
            v.Text(d.dataColumn);
        }
        if (d.version > 2) v.I32(d.own16);
    }
    static ComboBoxData Read(const Bytes& data) { return ReadOwnData<ComboBoxData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
