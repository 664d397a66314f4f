// The own-data record of a common dialog unit. Byte-level only.
#pragma once
#include <cstdint>
#include <string>

#include "window/own_data.h"

namespace qy {

struct CommonDialogData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t dialogType = 0;
    int32_t filterIndex = 0;
    int32_t createPrompt = 0;
    int32_t fileMustExist = 1;
    int32_t overwritePrompt = 1;
    int32_t pathMustExist = 1;
    int32_t keepCurrentDir = 0;
    uint32_t fontColor = 0;
    int32_t fontBold = 0;
    int32_t fontItalic = 0;
    int32_t fontStrikeout = 0;
    int32_t fontUnderline = 0;
    int32_t fontSize = 0;
    int32_t helpCommand = 0;
    int32_t helpContext = 0;
    std::string title;
    std::string fileName;
    std::string filter;
    std::string initialDir;
    std::string defaultExt;
    std::string fontName;
    std::string helpFile;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion, true);
        v.I32(d.dialogType);
        v.I32(d.filterIndex);
        v.I32(d.createPrompt);
        v.I32(d.fileMustExist);
        v.I32(d.overwritePrompt);
        v.I32(d.pathMustExist);
        v.I32(d.keepCurrentDir);
        v.U32(d.fontColor);
        v.I32(d.fontBold);
        v.I32(d.fontItalic);
        v.I32(d.fontStrikeout);
        v.I32(d.fontUnderline);
        v.I32(d.fontSize);
        v.I32(d.helpCommand);
        v.I32(d.helpContext);
        v.Text(d.title);
        v.Text(d.fileName);
        v.Text(d.filter);
        v.Text(d.initialDir);
        v.Text(d.defaultExt);
        v.Text(d.fontName);
        v.Text(d.helpFile);
    }
    static CommonDialogData Read(const Bytes& data) { return ReadOwnData<CommonDialogData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
