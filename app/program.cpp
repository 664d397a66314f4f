// The program header, the DLL command declarations and the start-up
// subroutine: everything the runtime reads of the program at start.
#include "app/program.h"

#include "app/abi/program_abi.h"
#include "app/constants.h"
#include "app/handlers.h"
#include "forms/template_segment.h"
#include "styling/library_list.h"
#include "runtime/program_image.h"

namespace program {

namespace {
const ProgramConstants& K = ProgramConstantBlock;

#define QY_DLL_FILE(command, file, exportName) K.file,
const char* const kDllFiles[kDllCommandCount] = {QY_DLL_COMMANDS(QY_DLL_FILE)};
#undef QY_DLL_FILE

#define QY_DLL_EXPORT(command, file, exportName) K.exportName,
const char* const kDllExports[kDllCommandCount] = {QY_DLL_COMMANDS(QY_DLL_EXPORT)};
#undef QY_DLL_EXPORT

}  // namespace

// The code area of the event subroutines: one slot per subroutine bound in
// the window templates, the first at the code base, which is the first
// subroutine of the program's code. The runtime calls a slot with the
// event's arguments on the stack (the callee removes them) and reads EAX,
// EDX and ECX back, ECX saying whether a value was returned. A slot pushes
// its number and goes to the entry for its argument size, which calls the
// handler of ProgramEventHandlers with the address of the arguments.
#define QY_SLOT(slot, argumentBytes) ".balign 16\n\tpushl $" #slot "\n\tjmp _QyEventEntry" #argumentBytes "\n"
__asm__(".text\n\t.balign 16\n\t.globl _ProgramCodeBase\n_ProgramCodeBase:\n" QY_EVENT_SUBROUTINES(QY_SLOT));
#undef QY_SLOT

// The entries: no value is returned (ECX 0), so the default handling goes on.
__asm__(R"(
        .text
        .macro QY_EVENT_ENTRY bytes
        .balign 16
_QyEventEntry\bytes:
        popl    %eax                              # slot number
        movl    _ProgramEventHandlers(,%eax,4), %ecx
        testl   %ecx, %ecx
        jz      1f
        leal    4(%esp), %edx                     # the first argument, above the return address
        pushl   %edx
        call    *%ecx
        addl    $4, %esp
1:      xorl    %ecx, %ecx
        ret     $\bytes
        .endm
        QY_EVENT_ENTRY 0
        QY_EVENT_ENTRY 4
        QY_EVENT_ENTRY 8
        QY_EVENT_ENTRY 12
        QY_EVENT_ENTRY 16
        QY_EVENT_ENTRY 20
)");
extern "C" void ProgramCodeBase();

}  // namespace program

extern "C" const qy::ProgramHeader ProgramHeaderRecord = {
    qy::kProgramRunMode,
    qy::kProgramWord1,
    qy::kProgramCounterStart,
    reinterpret_cast<const void*>(&program::ProgramCodeBase),
    reinterpret_cast<const uint8_t*>(&program::ProgramConstantBlock),
    sizeof(program::ProgramConstants),
    ProgramTemplateSegment,
    kProgramTemplateSegmentSize,
    qy::kLibraryCount,
    qy::kLibraryList,
    program::kDllCommandCount,
    program::kDllFiles,
    program::kDllExports,
};

namespace program {

void StartProgram() {
    InitRuntime();
    // The FPU starts from its default control word whatever the loader left.
    __asm__ volatile("fninit");
    CreateGlobals();
    RegisterAtExit(&ReleaseGlobals);
    LoadSkinEngine();
    Svc_LoadStartupWindow(kStartupWindowId);
}

}  // namespace program

extern "C" int __cdecl ProgramStartup() {
    program::StartProgram();
    Svc_RunMessageLoop();
    return 0;
}
