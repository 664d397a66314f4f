// Splitting of the process and module file names; byte-level, GBK-safe.
#pragma once
#include <string>

namespace qy {

// Directory without trailing separator and file name; a path without any
// backslash has an empty directory and is all file name.
void SplitProgramPath(const char* path, std::string* directory, std::string* fileName);
// Directory of a module file name with its trailing separator, or empty.
std::string ModuleDirectoryOf(const char* path);

}  // namespace qy
