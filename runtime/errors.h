// Runtime errors are fatal: one message box, then the process ends with -1.
#pragma once
#include <string>

namespace qy {

extern "C" [[noreturn]] void __cdecl ReportError(int code);
[[noreturn]] void ShowRuntimeError(const char* message, int code = 0);

// The box text exactly as ShowRuntimeError shows it (GBK).
std::string RuntimeErrorText(const char* message, int code);
// Message of an error code 1 to 11, or null.
const char* RuntimeErrorMessage(int code);

// Box texts the runtime frame reports without a code.
namespace msg {
extern const char* const kTemplateSegment;
extern const char* const kStartupWindow;
extern const char* const kAllocationFailed;  // printf format with %d
extern const char* const kNotNumeric;
extern const char* const kNoSuchUnit;
extern const char* const kDllExportMissing;       // %s = export
extern const char* const kDllExportMissingInDll;  // %s = dll, %s = export
}  // namespace msg

}  // namespace qy
