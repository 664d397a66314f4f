// The common-dialog unit (core unit type 31): an invisible placeholder whose
// OpenDialog method shows the system's open-file, save-file or font dialog,
// or a help file, and keeps the user's answers in its properties.
#pragma once
#include <string>

#include "window/unit.h"

namespace qy {

// Own property indices of the common dialog, counted after the common ones.
namespace common_dialog {
enum Property : int32_t {
    kDialogType, kTitle, kFileName, kFilter, kFilterIndex, kInitialDir, kDefaultExt, kCreatePrompt, kFileMustExist,
    kOverwritePrompt, kPathMustExist, kKeepCurrentDir, kFontColor, kFontBold, kFontItalic, kFontStrikeout,
    kFontUnderline, kFontName, kFontSize, kHelpFile, kHelpCommand, kHelpContext,
};
}

extern const UnitTypeInfo kCommonDialogType;

// The filter text as the file dialogs take it: trailing white space removed,
// "||" appended when missing, and every "|" that is not the second byte of a
// double-byte character turned into a NUL. Empty for an empty filter.
std::string DialogFilter(const std::string& filter);

}  // namespace qy
