#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine and
# cross-builds libpng and libjpeg-turbo from Debian's source packages.
# Safe to run again: each step checks whether its work is already done.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS="$ROOT/deps"
PREFIX="$DEPS/i686"

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    echo "${missing[@]:-}"
}

PACKAGES=(wine wine32:i386 g++-mingw-w64-i686 libz-mingw-w64-dev xvfb xauth xdotool
          xclip imagemagick locales fonts-wqy-zenhei nasm cmake ninja-build dpkg-dev
          googletest evilwm xfonts-base x11-utils clang libclang-rt-14-dev libpng-dev libjpeg-dev
          zlib1g-dev libfreetype-dev libfontconfig-dev libjpeg62-turbo-dev fonts-dejavu-core chromium jp2a ccache)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    NEED_UPDATE=1
fi
SRC_LIST=/etc/apt/sources.list.d/qzct-src.sources
if [ ! -f "$SRC_LIST" ]; then
    # Source entries mirror the machine's own binary entry.
    uris="$(grep -h '^URIs:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1 | cut -d' ' -f2-)"
    key="$(grep -h '^Signed-By:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1 | cut -d' ' -f2-)"
    [ -n "$uris" ] || uris="http://deb.debian.org/debian"
    [ -n "$key" ] || key="/usr/share/keyrings/debian-archive-keyring.gpg"
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: %s\n' "$uris" "$key" | $SUDO tee "$SRC_LIST" >/dev/null
    NEED_UPDATE=1
fi
missing="$(need_packages "${PACKAGES[@]}")"
if [ -n "${NEED_UPDATE:-}" ] || [ -n "$missing" ]; then
    $SUDO apt-get update -q
fi
if [ -n "$missing" ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
    $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# Some kernels refuse every 32-bit x86 program, and with them 32-bit Wine.
# There, i386 programs run under the user-mode emulator of Debian 13's
# qemu-user (Debian 12's crashes inside Wine), registered with binfmt_misc.
# QY_EMULATE_I386=1 takes the same path on any host: a binfmt entry comes
# before the kernel's own ELF loader.
I386_PROBE="$DEPS/i386-probe"
write_i386_probe() { # a 93-byte static i386 ELF that only calls exit(0)
    mkdir -p "$DEPS"
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$I386_PROBE"
    chmod +x "$I386_PROBE"
}
i386_runs() { "$I386_PROBE" >/dev/null 2>&1; }

BINFMT=/proc/sys/fs/binfmt_misc
QEMU="$DEPS/qemu/usr/bin/qemu-i386"
fetch_qemu() {
    [ -x "$QEMU" ] && return 0
    # A private sources list and state folder: the machine's own sources stay Debian 12.
    local apt="$DEPS/apt-trixie" uris
    uris="$(grep -h '^URIs:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1 | cut -d' ' -f2)"
    [ -n "$uris" ] || uris="http://deb.debian.org/debian"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/pkg"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uris trixie main" >"$apt/sources.list"
    local opts=(-q -o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=-
                -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
                -o APT::Architectures::=amd64 -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
    apt-get "${opts[@]}" update >/dev/null
    (cd "$apt/pkg" && rm -f qemu-user_*.deb && apt-get "${opts[@]}" download qemu-user >/dev/null)
    rm -rf "$DEPS/qemu"
    dpkg-deb -x "$apt/pkg"/qemu-user_*.deb "$DEPS/qemu"
    [ -x "$QEMU" ]
}
use_emulation() {
    if [ ! -e "$BINFMT/register" ]; then
        $SUDO mount -t binfmt_misc binfmt_misc "$BINFMT"
    fi
    local entry="$BINFMT/qemu-i386"
    if [ -e "$entry" ]; then
        # The entry is machine-wide and outlives the clone that made it: keep
        # one that works; replace one whose emulator is gone or not ours
        # (Debian 12's own qemu-i386 crashes inside Wine).
        local interp; interp="$(sed -n 's/^interpreter //p' "$entry")"
        case "$interp" in
            */deps/qemu/usr/bin/qemu-i386)
                if grep -qx enabled "$entry" && [ -x "$interp" ] && i386_runs; then return 0; fi ;;
        esac
    fi
    # Fetch first, so that the gap without an entry stays short for programs
    # starting meanwhile.
    fetch_qemu
    if [ -e "$entry" ]; then echo -1 | $SUDO tee "$entry" >/dev/null 2>&1 || true; fi
    printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$QEMU:F" \
        | $SUDO tee "$BINFMT/register" >/dev/null 2>&1 ||
        # A set-up running at the same moment may have registered it first.
        [ -e "$entry" ]
}
write_i386_probe
if [ "${QY_EMULATE_I386:-0}" = 1 ] || [ -e "$BINFMT/qemu-i386" ] || ! i386_runs; then
    echo "setup: 32-bit programs run emulated on this host (qemu-i386 through binfmt_misc)"
    use_emulation
    if ! i386_runs; then
        echo "setup: 32-bit programs cannot run on this host, not even emulated" >&2
        exit 1
    fi
fi

TOOLCHAIN="$ROOT/cmake/mingw-i686.cmake"
# The libraries build through the compiler cache too: a fresh clone rebuilds them.
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$ROOT"
build_dep() { # name source-package cmake-args...
    local name="$1" pkg="$2"; shift 2
    [ -f "$PREFIX/.done-$name" ] && return 0
    mkdir -p "$DEPS/src" && cd "$DEPS/src"
    if ! ls -d "$pkg"-*/ >/dev/null 2>&1; then
        apt-get source -q "$pkg" >/dev/null
    fi
    local srcdir; srcdir="$(ls -d "$pkg"-*/ | head -1)"
    cmake -S "$srcdir" -B "$DEPS/build-$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" "$@" >/dev/null
    cmake --build "$DEPS/build-$name" >/dev/null
    cmake --install "$DEPS/build-$name" >/dev/null
    touch "$PREFIX/.done-$name"
}
build_dep jpeg libjpeg-turbo -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF
build_dep png libpng1.6 -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF
echo "setup: done"
