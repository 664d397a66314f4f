# The program's jump stubs: one instruction each, through the service table,
# one per entry of the runtime's service list and in its order.
#include "runtime/service_list.h"
        .intel_syntax noprefix
        .text
        .set    service_slot, 0
        .macro stub name
        .globl _Svc_\name
_Svc_\name:
        jmp     dword ptr [_ServiceTable + service_slot * 4]
        .set    service_slot, service_slot + 1
        .endm
#define QY_SERVICE_STUB(name) stub name;
        QY_SERVICE_LIST(QY_SERVICE_STUB)

# void ProgramCallCommand(ValueRecord* out, void* stub, void* entry, int n,
#                         const ValueRecord* args)
# Builds the command frame (count, then the records) and calls the stub with
# the entry in EBX; stores the three result registers into out.
        .globl _ProgramCallCommand
_ProgramCallCommand:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        push    edi
        mov     ecx, [ebp+20]           # n
        lea     eax, [ecx+ecx*2]
        lea     eax, [eax*4+4]
        sub     esp, eax
        mov     [esp], ecx
        lea     edi, [esp+4]
        mov     esi, [ebp+24]
        lea     ecx, [ecx+ecx*2]        # 3 words per record
        cld
        rep movsd
        mov     ebx, [ebp+16]
        call    dword ptr [ebp+12]
        mov     edi, [ebp+8]
        mov     [edi], eax
        mov     [edi+4], edx
        mov     [edi+8], ecx
        lea     esp, [ebp-12]
        pop     edi
        pop     esi
        pop     ebx
        pop     ebp
        ret

# uint32_t ProgramCallDll(int index, const uint32_t* words, int n)
# Pushes the native arguments last to first, calls CallDllCommand with the
# index in EAX and checks that the callee removed exactly its arguments.
        .globl _ProgramCallDll
_ProgramCallDll:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        push    edi
        mov     ebx, esp                # stack position before the arguments
        mov     esi, [ebp+12]
        mov     ecx, [ebp+16]
1:      test    ecx, ecx
        jz      2f
        dec     ecx
        push    dword ptr [esi+ecx*4]
        jmp     1b
2:      mov     eax, [ebp+8]
        call    _Svc_CallDllCommand
        cmp     esp, ebx
        je      3f
        mov     esp, ebx
        push    6
        call    _Svc_ReportError        # does not return
3:      lea     esp, [ebp-12]
        pop     edi
        pop     esi
        pop     ebx
        pop     ebp
        ret

# uint64_t ProgramOtherHelp(int code, const uint32_t* words, int n)
        .globl _ProgramOtherHelp
_ProgramOtherHelp:
        push    ebp
        mov     ebp, esp
        push    esi
        mov     esi, [ebp+12]
        mov     ecx, [ebp+16]
1:      test    ecx, ecx
        jz      2f
        dec     ecx
        push    dword ptr [esi+ecx*4]
        jmp     1b
2:      mov     eax, [ebp+8]
        call    _Svc_OtherHelp
        lea     esp, [ebp-4]
        pop     esi
        pop     ebp
        ret
