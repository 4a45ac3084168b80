#!/usr/bin/env bash
# Kelvory's one entry point for developers and CI.
#   ./dev.sh demo   install what is missing, build, and open the editor on the demo folder
#   ./dev.sh test   install what is missing, build, and run the whole test suite
#   ./dev.sh build  install what is missing and build
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake make g++ qt6-base-dev qt6-multimedia-dev libgl-dev fonts-dejavu-core fonts-liberation2)
BUILD_DIR=${KELVORY_BUILD_DIR:-build}

install_missing() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]} == 0)); then
        return
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

case "${1:-}" in
    demo)
        install_missing
        build
        if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
            echo "No display found: run this from a desktop session (or under xvfb-run)." >&2
            exit 1
        fi
        cd "$BUILD_DIR/demo"
        exec ./kelvory
        ;;
    test)
        install_missing
        build
        ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
        ;;
    build)
        install_missing
        build
        ;;
    *)
        echo "usage: $0 demo|test|build" >&2
        exit 2
        ;;
esac
