/* The runtime services in the order of the service table compiled code jumps
   through. The table, its slot numbers and the program's jump stubs are all
   made from this one list; it is read by C++ and by the assembler, so it
   holds nothing but the list. */
#pragma once

#define QY_SERVICE_LIST(X)                                                                                            \
    X(ReportError)                                                                                                    \
    X(CallDllCommand)                                                                                                 \
    X(CallLibraryCommand)                                                                                             \
    X(CallCoreCommand)                                                                                                \
    X(ReadProperty)                                                                                                   \
    X(WriteProperty)                                                                                                  \
    X(Allocate)                                                                                                       \
    X(Reallocate)                                                                                                     \
    X(Free)                                                                                                           \
    X(ExitProgram)                                                                                                    \
    X(RunMessageLoop)                                                                                                 \
    X(LoadStartupWindow)                                                                                              \
    X(OtherHelp)
