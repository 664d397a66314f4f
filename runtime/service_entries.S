# Register-contract entries of the service table and two call helpers.
# i686, cdecl symbols carry a leading underscore.
        .intel_syntax noprefix
        .text

# CallCoreCommand / CallLibraryCommand
# In:  EBX = command entry; [esp] = return address, [esp+4] = argument count n,
#      [esp+8] = n value records of 12 bytes.
# Out: EAX, EDX, ECX = words 0, 1, 2 of the result record. The caller removes
#      the count and the records.
        .globl _CallCoreCommand
        .globl _CallLibraryCommand
_CallCoreCommand:
_CallLibraryCommand:
        push    ebp
        mov     ebp, esp
        sub     esp, 12                 # the result record, zeroed
        xor     eax, eax
        mov     [ebp-12], eax
        mov     [ebp-8], eax
        mov     [ebp-4], eax
        lea     eax, [ebp+12]           # first argument record
        push    eax
        push    dword ptr [ebp+8]       # n
        lea     eax, [ebp-12]
        push    eax
        call    ebx                     # entry(result, n, args), caller cleans
        mov     eax, [ebp-12]
        mov     edx, [ebp-8]
        mov     ecx, [ebp-4]
        leave
        ret

# CallDllCommand
# In:  EAX = declaration index; the DLL function's arguments on the stack
#      behind the return address. Binds the declaration, then jumps to it so
#      that it returns straight to the compiled caller.
        .globl _CallDllCommand
_CallDllCommand:
        push    eax
        call    _BindDllCommandForCall  # cdecl (index) -> entry, never 0
        add     esp, 4
        jmp     eax

# OtherHelp
# In:  EAX = function code 0..6; the function's arguments on the stack.
        .globl _OtherHelp
_OtherHelp:
        jmp     dword ptr [_OtherHelpTable + eax*4]

# uint32_t CallPreserved(const void* routine)
# Calls a routine that takes no arguments with every general register kept.
        .globl _CallPreserved
_CallPreserved:
        mov     eax, [esp+4]
        pushad
        mov     ebp, esp
        call    eax
        mov     esp, ebp
        mov     [esp+28], eax           # EAX slot of the pushad frame
        popad
        ret

# void CallEventHandler(const void* routine, const uint32_t* words, int count,
#                       uint32_t* results)
# The handler may remove its arguments or leave them; the stack is restored
# from EBP either way. It answers in EAX, EDX and ECX.
        .globl _CallEventHandler
_CallEventHandler:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        push    edi
        mov     esi, [ebp+12]           # words
        mov     ecx, [ebp+16]           # count
2:      test    ecx, ecx
        jz      3f
        dec     ecx
        push    dword ptr [esi+ecx*4]   # last word first
        jmp     2b
3:      xor     eax, eax
        xor     edx, edx
        xor     ecx, ecx
        call    dword ptr [ebp+8]
        mov     edi, [ebp+20]
        mov     [edi], eax
        mov     [edi+4], edx
        mov     [edi+8], ecx
        lea     esp, [ebp-12]
        pop     edi
        pop     esi
        pop     ebx
        pop     ebp
        ret
