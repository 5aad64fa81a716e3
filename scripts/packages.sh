#!/usr/bin/env bash
# Installs the Debian packages a script needs, only those that are missing.
# Usage: source scripts/packages.sh; ensure_packages pkg...
set -euo pipefail

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}" >&2
    if [ -z "${KESTRINO_APT_UPDATED:-}" ]; then
        "${sudo[@]}" apt-get update -qq
        export KESTRINO_APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# What the build and the test run need.
BUILD_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev
    libicu-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libxcb1-dev libxcb-keysyms1-dev libxkbcommon-x11-dev
)
# What the programs need at run time: Japanese glyphs on a fresh machine.
RUN_PACKAGES=(fonts-ipafont-gothic)
TEST_PACKAGES=(
    clang libclang-rt-14-dev
    xvfb xauth xdotool xclip trayer
)
BENCH_PACKAGES=(nkf icu-devtools python3 manpages-ja)

# Configures and builds into build/ (or the folder given).
build_project() {
    local dir=${1:-build}
    shift || true
    # Options are spelled out so that a folder configured differently before is set right.
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRINO_HEADLESS_ONLY=OFF -DKESTRINO_SANITIZE=OFF "$@" >/dev/null
    cmake --build "$dir"
}
