#!/usr/bin/env bash
# Kelvory's one entry point for developers and CI.
#   ./dev.sh demo   install what is missing, build, and open the editor on the demo folder
#   ./dev.sh test   install what is missing, build, and run the whole test suite
#   ./dev.sh build  install what is missing and build
#   ./dev.sh sanitize  build into build-asan with AddressSanitizer and
#                      UndefinedBehaviorSanitizer and run the whole test suite
#   ./dev.sh windows  cross-build for Windows, check the programs' resources,
#                     run the tests under Wine, write kelvory-windows-x86_64.zip
#                     (builds its own Qt once, cached)
#   ./dev.sh screenshots  draw the window's pictures for the README and the
#                     user guide into docs/images
#   ./dev.sh fuzz [SECONDS]  build the fuzz targets (clang, libFuzzer, ASan, UBSan)
#                     and run each for SECONDS (default 300)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake make g++ qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
    fonts-dejavu-core fonts-liberation2 strace)
BUILD_DIR=${KELVORY_BUILD_DIR:-build}
SANITIZE_BUILD_DIR=${KELVORY_SANITIZE_BUILD_DIR:-build-asan}

install_missing() {
    local missing=()
    for package in "$@"; do
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

# Configures the build folder $1 with the options after it, and builds the
# targets named in KELVORY_TARGETS (all when unset). KELVORY_WERROR=ON (CI sets
# it) makes every compiler warning an error, in every build folder.
configure_and_build() {
    local folder=$1
    shift
    cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVORY_WERROR="${KELVORY_WERROR:-OFF}" "$@"
    local targets=()
    if [[ -n "${KELVORY_TARGETS:-}" ]]; then
        read -r -a targets <<<"$KELVORY_TARGETS"
        targets=(--target "${targets[@]}")
    fi
    cmake --build "$folder" -j"$(nproc)" "${targets[@]}"
}

# --- Windows: cross-build with mingw-w64, test under Wine, package a zip ---

WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine64 dpkg-dev xz-utils unzip
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-liberation2 icoutils)
# Everything else of the Windows build lives in cmake/windows/cross-build.sh.

# --- Pictures of the window for the README and the user guide ---

# tools/screenshots draws them from the real window, offscreen, on a demo
# folder made afresh in one fixed place, so the path the window shows, and with
# it every pixel, is the same on every run and every machine.
SCREENSHOT_FOLDER=/tmp/Kelvory
screenshots() {
    KELVORY_TARGETS="make_demo screenshots" configure_and_build "$BUILD_DIR"
    if [[ -e "$SCREENSHOT_FOLDER" && ! -f "$SCREENSHOT_FOLDER/.kelvory-screenshots" ]]; then
        echo "$SCREENSHOT_FOLDER exists and is not ours: move it away first." >&2
        exit 1
    fi
    rm -rf "$SCREENSHOT_FOLDER"
    "$BUILD_DIR/tools/make_demo" "$SCREENSHOT_FOLDER"
    touch "$SCREENSHOT_FOLDER/.kelvory-screenshots"
    "$BUILD_DIR/tools/screenshots" "$SCREENSHOT_FOLDER" docs/images
    rm -rf "$SCREENSHOT_FOLDER"
}

# --- Fuzzing: the setup-file, catalogue and record readers under libFuzzer ---

FUZZ_PACKAGES=(clang libclang-rt-dev)
FUZZ_BUILD_DIR=${KELVORY_FUZZ_BUILD_DIR:-build-fuzz}
FUZZ_TARGETS=(setup catalogue record save json)

# Runs every fuzz target for the given seconds, one after the other. New
# inputs collect in $FUZZ_BUILD_DIR/corpus/TARGET (seeded from
# tests/data/fuzz/TARGET); an input that breaks a reader is written to
# $FUZZ_BUILD_DIR/artifacts/TARGET/ and stops the run: copy it into
# tests/data/fuzz/TARGET/ so the test suite replays it from then on.
fuzz() {
    local seconds=$1
    KELVORY_TARGETS="${FUZZ_TARGETS[*]/%/_fuzz}" configure_and_build "$FUZZ_BUILD_DIR" \
        -DCMAKE_CXX_COMPILER=clang++ -DKELVORY_BUILD_FUZZERS=ON -DKELVORY_BUILD_TESTS=OFF
    local target options
    for target in "${FUZZ_TARGETS[@]}"; do
        mkdir -p "$FUZZ_BUILD_DIR/corpus/$target" "$FUZZ_BUILD_DIR/artifacts/$target"
        options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
            -artifact_prefix="$FUZZ_BUILD_DIR/artifacts/$target/")
        if [[ -f "fuzz/$target.dict" ]]; then
            options+=(-dict="fuzz/$target.dict")
        fi
        echo "Fuzzing the $target reader for $seconds s"
        "$FUZZ_BUILD_DIR/fuzz/${target}_fuzz" "${options[@]}" "$FUZZ_BUILD_DIR/corpus/$target" "tests/data/fuzz/$target"
    done
}

build() {
    configure_and_build "$BUILD_DIR"
}

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# (LeakSanitizer included) in a build folder of its own. Any finding fails its test.
sanitize() {
    configure_and_build "$SANITIZE_BUILD_DIR" -DKELVORY_SANITIZE=ON
    ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1} \
        UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
        ctest --test-dir "$SANITIZE_BUILD_DIR" --output-on-failure -j"$(nproc)"
}

case "${1:-}" in
    demo)
        install_missing "${PACKAGES[@]}"
        build
        if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
            echo "No display found: run this from a desktop session (or under xvfb-run)." >&2
            exit 1
        fi
        cd "$BUILD_DIR/demo"
        exec ./kelvory
        ;;
    test)
        install_missing "${PACKAGES[@]}"
        build
        ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
        ;;
    build)
        install_missing "${PACKAGES[@]}"
        build
        ;;
    sanitize)
        install_missing "${PACKAGES[@]}"
        sanitize
        ;;
    windows)
        install_missing "${WINDOWS_PACKAGES[@]}"
        exec bash cmake/windows/cross-build.sh
        ;;
    screenshots)
        install_missing "${PACKAGES[@]}"
        screenshots
        ;;
    fuzz)
        install_missing "${PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
        fuzz "${2:-${KELVORY_FUZZ_SECONDS:-300}}"
        ;;
    *)
        echo "usage: $0 demo|test|build|sanitize|windows|screenshots|fuzz [SECONDS]" >&2
        exit 2
        ;;
esac
