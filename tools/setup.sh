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
          zlib1g-dev)

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

TOOLCHAIN="$ROOT/cmake/mingw-i686.cmake"
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
