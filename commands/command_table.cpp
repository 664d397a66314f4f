#include "commands/command_table.h"

#include <cstring>

namespace qy {

namespace {
const CoreCommandInfo kCoreCommands[kCoreCommandCount] = {
#define QY_ENTRY(name, result) {#name, &commands::name, result},
    QY_CORE_COMMANDS(QY_ENTRY)
#undef QY_ENTRY
};
}  // namespace

const CoreCommandInfo& CoreCommandAt(CoreCommand command) { return kCoreCommands[static_cast<int>(command)]; }

const CoreCommandInfo* FindCoreCommand(const char* name) {
    for (const CoreCommandInfo& info : kCoreCommands)
        if (std::strcmp(info.name, name) == 0) return &info;
    return nullptr;
}

void FillCoreCommandArray(const void** slots) {
    for (int i = 0; i < kCoreCommandCount; ++i) slots[i] = reinterpret_cast<const void*>(kCoreCommands[i].entry);
}

}  // namespace qy
