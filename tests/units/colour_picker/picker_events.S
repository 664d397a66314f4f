# Event subroutines of the colour picker tests, in the program's convention:
# the arguments on the stack (removed by the callee), ECX = 0 (no value
# returned). PickerChanged (event 0, no arguments) reports to the cdecl
# PickerEventSink, WindowMouseMoved (event -6: x, y, key state) to
# WindowMouseSink.
        .text
        .globl _PickerChanged
_PickerChanged:
        call    _PickerEventSink
        xorl    %ecx, %ecx
        ret
        .globl _WindowMouseMoved
_WindowMouseMoved:
        call    _WindowMouseSink
        xorl    %ecx, %ecx
        ret     $12
