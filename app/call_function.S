# uint32_t CallFunction(address, word1, ..., word10)
# Pushes all ten words, calls the address and puts its own stack pointer
# back, so a stdcall callee that takes fewer arguments (and so removes
# fewer) leaves nothing behind. EBX, ESI and EDI are the callee's to keep;
# the result comes back in EAX.
        .intel_syntax noprefix
        .text
        .globl _CallFunction
_CallFunction:
        push    ebp
        mov     ebp, esp
        .irp    offset, 48, 44, 40, 36, 32, 28, 24, 20, 16, 12
        push    dword ptr [ebp + \offset]       # word 10 first, so word 1 ends on top
        .endr
        call    dword ptr [ebp + 8]
        mov     esp, ebp                        # whatever the callee removed
        pop     ebp
        ret
