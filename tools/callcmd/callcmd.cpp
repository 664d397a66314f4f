// callcmd: calls one core-library command by name through the command frame
// that compiled code uses, and prints its result. The tool is a program of
// its own: it carries a program header and runs its call as the program's
// start-up subroutine under the runtime.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "runtime/framework.h"
#include "styling/library_list.h"
#include "runtime/program_image.h"
#include "tools/callcmd/call_arguments.h"

namespace {

const char kUsage[] =
    "usage: callcmd.exe NAME ARG...\n"
    "Calls the core command NAME through the command frame and prints its result.\n"
    "\n"
    "Each ARG is one value record:\n"
    "  t:TEXT   text, as the program receives it (GBK)   tx:HEX  text given as hex bytes\n"
    "  i:N int   s:N short   b:N byte   l:N long        (decimal, or 0x followed by hex)\n"
    "  f:X float   d:X double   dt:X date-time given as its double (days since 1899-12-30)\n"
    "  L:0 / L:1 logical   x:HEX byte set (x: alone is the empty byte set)   - omitted\n"
    "  &FORM    the same value as a variable passed by reference (type bit 29); its\n"
    "           value after the call is printed too\n"
    "\n"
    "Output: one line for the result, then one line per variable in argument order,\n"
    "prefixed with \"ref \":\n"
    "  text HEX   bytes HEX   (lower-case hex of the bytes; \"text\" / \"bytes\" alone when empty)\n"
    "  int N   short N   byte N   long N   (decimal)   bool 0|1\n"
    "  float X (%.9g)   double X (%.17g)   date X (%.17g)   none (no result)\n"
    "\n"
    "A runtime error in the command prints \"error HEX\" (the error box's GBK text)\n"
    "and exits with 255; an unknown NAME prints \"unknown\" and exits with 2; a\n"
    "malformed ARG is reported on stderr with exit status 1.\n";

// The constant block: the empty text and the empty byte set that empty
// arguments are passed as.
struct __attribute__((packed)) Constants {
    char emptyText[1];
    int32_t emptyByteSet[2];
};
extern "C" __attribute__((section(".rdata$qy2"), used, aligned(4))) const Constants CallConstants = {{0}, {1, 0}};


extern "C" void __cdecl CallCodeBase() {}

struct PendingCall {
    const qy::CoreCommandInfo* command = nullptr;
    std::vector<std::string> forms;
    int exitCode = 0;
} pending;

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The runtime error box becomes one output line: the runtime shows it with
// MessageBoxA, so the tool points its own import of that function here, and
// the runtime then ends the process with -1 as after any box.
int WINAPI ErrorBoxToOutput(HWND, LPCSTR text, LPCSTR, UINT) {
    PrintLine("error " + callcmd::Hex(text, qy::TextLength(text)));
    return IDOK;
}

extern "C" int(WINAPI* ImportedMessageBoxA)(HWND, LPCSTR, LPCSTR, UINT) __asm__("__imp__MessageBoxA@16");

void RedirectErrorBoxes() {
    DWORD protection;
    if (!VirtualProtect(&ImportedMessageBoxA, sizeof ImportedMessageBoxA, PAGE_READWRITE, &protection)) return;
    ImportedMessageBoxA = &ErrorBoxToOutput;
    VirtualProtect(&ImportedMessageBoxA, sizeof ImportedMessageBoxA, protection, &protection);
}

int RunCall() {
    std::vector<callcmd::Argument> arguments(pending.forms.size());
    for (size_t i = 0; i < pending.forms.size(); ++i) {
        std::string reason;
        if (!callcmd::ParseArgument(pending.forms[i], CallConstants.emptyText, CallConstants.emptyByteSet,
                                    &arguments[i], &reason)) {
            std::fprintf(stderr, "callcmd: argument %u \"%s\": %s\n", static_cast<unsigned>(i + 1),
                         pending.forms[i].c_str(), reason.c_str());
            return 1;
        }
    }
    // Variables live in storage of their own; the record passes its address.
    std::vector<uint32_t> storage(2 * arguments.size());
    std::vector<qy::ValueRecord> records;
    for (size_t i = 0; i < arguments.size(); ++i) {
        qy::ValueRecord record = arguments[i].value;
        if (arguments[i].byReference) {
            storage[2 * i] = record.low;
            storage[2 * i + 1] = record.high;
            record = qy::ValueRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&storage[2 * i])), 0,
                                     record.type | qy::kByAddress};
        }
        records.push_back(record);
    }

    qy::ValueRecord result = program::CallCore(reinterpret_cast<const void*>(pending.command->entry),
                                               records.data(), static_cast<int>(records.size()));
    uint32_t type = pending.command->resultType == qy::kResultVaries ? result.type : pending.command->resultType;
    PrintLine(callcmd::ValueLine(qy::ValueRecord{result.low, result.high, type}));
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (!arguments[i].byReference) continue;
        uint32_t variableType = arguments[i].value.type;
        PrintLine("ref " + callcmd::ValueLine(qy::ValueRecord{storage[2 * i], storage[2 * i + 1], variableType}));
    }
    return 0;
}

}  // namespace

extern "C" const qy::ProgramHeader ProgramHeaderRecord = {
    qy::kProgramRunMode, qy::kProgramWord1, 0,
    reinterpret_cast<const void*>(&CallCodeBase), reinterpret_cast<const uint8_t*>(&CallConstants),
    sizeof(Constants), nullptr, 0, qy::kLibraryCount, qy::kLibraryList, 0, nullptr, nullptr,
};

extern "C" int __cdecl ProgramStartup() {
    program::InitRuntime();
    pending.exitCode = RunCall();
    Svc_ExitProgram(pending.exitCode);
}

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) {
        std::fputs(kUsage, stdout);
        return 1;
    }
    pending.command = qy::FindCoreCommand(argv[1]);
    if (!pending.command || !pending.command->entry) {
        PrintLine("unknown");
        return 2;
    }
    pending.forms.assign(argv + 2, argv + argc);
    RedirectErrorBoxes();
    return qy::FrameworkApp::Main(GetModuleHandleA(nullptr), "", SW_HIDE);
}
