// Starting other programs.
#include <windows.h>

#include <string>

#include "runtime/command_args.h"
#include "commands/command_table.h"
#include "runtime/win32_handles.h"

namespace qy {
namespace commands {

namespace {
// Window styles 1 to 6: hidden, normal, minimised, maximised, shown without
// activation, minimised without activation.
constexpr WORD kShowStates[6] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE,
                                 SW_MINIMIZE};
constexpr DWORD kIdleWaitMs = 1000;

WORD ShowState(const ValueRecord& style) {
    int s = IsOmitted(style) ? 2 : IntArgument(style);
    if (s > 6) s = 6;
    if (s < 1) s = 1;
    return kShowStates[s - 1];
}
}  // namespace

void __cdecl RunProgram(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    // CreateProcessA may write into the command line it is given.
    std::string commandLine = TextArgument(args[0]);
    bool wait = IntArgument(args[1]) != 0;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = ShowState(args[2]);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    KernelHandle thread(process.hThread), processHandle(process.hProcess);
    if (wait) WaitForSingleObject(processHandle.get(), INFINITE);
    else WaitForInputIdle(processHandle.get(), kIdleWaitMs);
    SetIntResult(result, 1);
}

}  // namespace commands
}  // namespace qy
