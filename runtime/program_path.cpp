#include "runtime/program_path.h"

#include "runtime/gbk.h"

namespace qy {

void SplitProgramPath(const char* path, std::string* directory, std::string* fileName) {
    const char* slash = LastGbkByte(path, '\\');
    if (!slash) {
        directory->clear();
        *fileName = path;
        return;
    }
    directory->assign(path, static_cast<size_t>(slash - path));
    *fileName = slash + 1;
}

std::string ModuleDirectoryOf(const char* path) {
    const char* slash = LastGbkByte(path, '\\');
    return slash ? std::string(path, static_cast<size_t>(slash - path + 1)) : std::string();
}

}  // namespace qy
