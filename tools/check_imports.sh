#!/usr/bin/env bash
# Fails when the program imports a DLL that a plain Windows installation
# does not have (a library meant to be linked statically, say).
set -euo pipefail
exe="${1:?usage: check_imports.sh PROGRAM.exe}"
system_dlls=" kernel32.dll user32.dll gdi32.dll comdlg32.dll comctl32.dll ole32.dll oleaut32.dll winmm.dll "
system_dlls+=" ws2_32.dll msvcrt.dll advapi32.dll shell32.dll shlwapi.dll version.dll imm32.dll uxtheme.dll "
status=0
for dll in $(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print tolower($3)}'); do
    case "$system_dlls" in
        *" $dll "*) ;;
        *) echo "$(basename "$exe") imports $dll, which Windows does not ship"; status=1 ;;
    esac
done
[ "$status" = 0 ] && echo "imports: only system DLLs"
exit "$status"
