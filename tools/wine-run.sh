#!/usr/bin/env bash
# Runs a Windows program under 32-bit Wine in the project's own prefix with
# the GBK code page. Used directly and as CMake's cross-compiling emulator.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$ROOT/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=zh_CN.UTF-8
exec wine "$@"
