# Event subroutines for the window tests, in the program's convention: the
# arguments on the stack (removed by the callee), the value in EAX and ECX
# telling whether there is one. Each hands its arguments to the cdecl
# TestEventSink(args, count), which answers value (EAX) and has-value (EDX).
        .text
        .macro handler name, count
        .globl _\name
_\name:
        leal    4(%esp), %eax
        pushl   $\count
        pushl   %eax
        call    _TestEventSink
        addl    $8, %esp
        movl    %edx, %ecx
        ret     $(\count * 4)
        .endm
        handler TestHandler0, 0
        handler TestHandler1, 1
        handler TestHandler2, 2
        handler TestHandler3, 3
