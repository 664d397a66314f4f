# The Paint event subroutine of the panel tests, in the program's convention:
# four arguments on the stack (removed by the callee), the value in EAX and
# ECX telling whether there is one. It hands the arguments to the cdecl
# PanelEventSink(args, count), which answers value (EAX) and has-value (EDX).
        .text
        .globl _PanelPaintHandler
_PanelPaintHandler:
        leal    4(%esp), %eax
        pushl   $4
        pushl   %eax
        call    _PanelEventSink
        addl    $8, %esp
        movl    %edx, %ecx
        ret     $16
