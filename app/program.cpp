// The program header, the DLL command declarations and the start-up
// subroutine: everything the runtime reads of the program at start.
#include "app/program.h"

#include "app/abi/program_abi.h"
#include "app/constants.h"
#include "forms/template_segment.h"
#include "commands/libraries.h"
#include "runtime/program_image.h"

namespace program {

namespace {
const ProgramConstants& K = ProgramConstantBlock;


const char* const kDllFiles[kDllCommandCount] = {
    K.emptyText, K.kernel32,  K.kernel32,  K.emptyText, K.emptyText, K.emptyText, K.user32Dll,
    K.emptyText, K.emptyText, K.emptyText, K.emptyText, K.emptyText, K.emptyText, K.emptyText,
    K.emptyText, K.emptyText, K.emptyText, K.emptyText, K.emptyText, K.emptyText, K.emptyText,
    K.emptyText, K.emptyText, K.emptyText, K.emptyText, K.emptyText,
};

const char* const kDllExports[kDllCommandCount] = {
    K.openEventA,       K.createEventA,   K.closeHandle,    K.lstrcpyn,       K.lstrcpyn,
    K.setWindowLongA,   K.setTimer,       K.callWindowProcA, K.getDC,         K.killTimer,
    K.lstrcpynA,        K.rtlMoveMemory,  K.rtlMoveMemory,  K.rtlMoveMemory,  K.rtlMoveMemory,
    K.virtualAlloc,     K.rtlMoveMemory,  K.rtlMoveMemory,  K.rtlMoveMemory,  K.rtlMoveMemory,
    K.getModuleHandleA, K.loadLibraryA,   K.rtlMoveMemory,  K.getProcAddress, K.virtualFree,
    K.rtlMoveMemory,
};

// Released by the runtime at exit; the program's global objects arrive
// with the application's own parts.
void __cdecl ReleaseGlobals() {}
}  // namespace

// The code area of the event subroutines: one slot per subroutine bound in
// the window templates, the first at the code base, which is the first
// subroutine of the program's code. Until the application's handlers are
// written each slot returns without a value (ECX 0) and removes its
// arguments, so the window's default handling goes on.
#define QY_SLOT(slot, argumentBytes) ".balign 16\n\txorl %ecx, %ecx\n\tret $" #argumentBytes "\n"
__asm__(".text\n\t.balign 16\n\t.globl _ProgramCodeBase\n_ProgramCodeBase:\n" QY_EVENT_SUBROUTINES(QY_SLOT));
#undef QY_SLOT
extern "C" void ProgramCodeBase();

}  // namespace program

extern "C" const qy::ProgramHeader ProgramHeaderRecord = {
    3,
    0,
    70612,
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

extern "C" int __cdecl ProgramStartup() {
    program::InitRuntime();
    // The FPU starts from its default control word whatever the loader left.
    __asm__ volatile("fninit");
    program::RegisterAtExit(&program::ReleaseGlobals);
    Svc_LoadStartupWindow(program::kStartupWindowId);
    Svc_RunMessageLoop();
    return 0;
}
