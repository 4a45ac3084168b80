#!/usr/bin/env bash
# The Windows release, made on this Debian machine (x86-64): a minimal Qt
# cross-built once from Debian's own qtbase source and cached, then Kelvory
# cross-built with mingw-w64, its programs' resources checked, every test
# program run under Wine, and the zip written. Run through ./dev.sh windows,
# which installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/../.."

QT_VERSION=6.4.2
CACHE_DIR=${KELVORY_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvory}
QT_PREFIX=${KELVORY_QT_PREFIX:-$CACHE_DIR/qt6-mingw-$QT_VERSION}
WINDOWS_BUILD_DIR=${KELVORY_WINDOWS_BUILD_DIR:-build-windows}
HOST_QT_CMAKE_DIR=/usr/lib/$(gcc -dumpmachine 2>/dev/null || echo x86_64-linux-gnu)/cmake
JOBS=${KELVORY_JOBS:-$(nproc)}
export WINEPREFIX=${KELVORY_WINEPREFIX:-$CACHE_DIR/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64

# Debian's qtbase source of the host's Qt version, through a source list of our
# own: the system's apt configuration and package lists stay untouched.
fetch_qt_source() {
    local apt="$CACHE_DIR/apt"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d" "$CACHE_DIR/src"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
        >"$apt/sources.list"
    local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
    apt-get "${options[@]}" update
    # The host's own revision when the archive still has it, else bookworm's.
    local host_version
    host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
    rm -rf "$CACHE_DIR/src"
    mkdir -p "$CACHE_DIR/src"
    (cd "$CACHE_DIR/src" &&
        { [[ -n "$host_version" ]] && apt-get "${options[@]}" source "qt6-base=$host_version" ||
            apt-get "${options[@]}" source qt6-base; })
    touch "$CACHE_DIR/src/.complete"
}

# The unpacked source, once a fetch has finished (never a half-unpacked one).
qt_source_dir() {
    [[ -f "$CACHE_DIR/src/.complete" ]] || return 0
    find "$CACHE_DIR/src" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$QT_VERSION*" | sort | tail -n 1
}

# A minimal Windows Qt: Core, Gui, Widgets, Test, the windows and offscreen
# platform plug-ins and the windowsvista style. Built once, then reused.
ensure_windows_qt() {
    if [[ -f "$QT_PREFIX/.kelvory-complete" ]]; then
        echo "Using the cached Windows Qt in $QT_PREFIX"
        return
    fi
    local source
    source=$(qt_source_dir)
    if [[ -z "$source" ]]; then
        fetch_qt_source
        source=$(qt_source_dir)
    fi
    [[ -n "$source" ]] || { echo "qtbase $QT_VERSION source not found in $CACHE_DIR/src" >&2; exit 1; }
    local build="$CACHE_DIR/qt6-mingw-build"
    local started=$SECONDS
    # An interrupted build carries on where it stopped. No tablet support:
    # Debian's source leaves out the third-party header it needs (and Kelvory
    # has no use for tablets). No DirectWrite 3 font database: Qt 6.4 builds it
    # only together with the direct2d plug-in, and the windows plug-in would
    # then fail to link.
    cmake -G Ninja -S "$source" -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$HOST_QT_CMAKE_DIR" \
        -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" \
        -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_fontconfig=OFF \
        -DFEATURE_tabletevent=OFF
    nice -n 10 cmake --build "$build" -j"$JOBS"
    cmake --install "$build"
    touch "$QT_PREFIX/.kelvory-complete"
    echo "Windows Qt built in $((SECONDS - started)) s"
}

MINGW=x86_64-w64-mingw32
ZIP_NAME=kelvory-windows-x86_64.zip

# Windows programs find their DLLs on WINEPATH: the Qt built above and the
# mingw runtime.
windows_dll_dirs() {
    echo "$QT_PREFIX/bin"
    dirname "$("$MINGW-g++-posix" -print-file-name=libstdc++-6.dll)"
    echo "/usr/$MINGW/lib"
}

wine_path() {
    local dirs=() dir
    while read -r dir; do
        dirs+=("Z:${dir//\//\\}")
    done < <(windows_dll_dirs)
    (IFS=';'; echo "${dirs[*]}")
}

ensure_wine_prefix() {
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        # No Mono or Gecko: Kelvory needs neither, and their installers would ask.
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init
        wineserver --wait
    fi
}

build_windows() {
    local started=$SECONDS
    cmake -G Ninja -S . -B "$WINDOWS_BUILD_DIR" \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DKELVORY_QT_PREFIX="$QT_PREFIX" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo
    WINEPATH=$(wine_path) cmake --build "$WINDOWS_BUILD_DIR" -j"$JOBS"
    echo "Kelvory for Windows built in $((SECONDS - started)) s"
}

# Each Windows program carries what cmake/WindowsResources.cmake gives it: the
# icon at four sizes, version information and exactly one manifest, read back
# from the built program with wrestool (icoutils).
check_windows_resources() {
    local version copyright program exe listing manifest strings text problems=()
    version=$(sed -n 's/^project(Kelvory VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
    copyright=$(sed -n 's/^set(KELVORY_COPYRIGHT "\(.*\)")$/\1/p' CMakeLists.txt)
    for program in kelvory kelvory-cli; do
        exe="$WINDOWS_BUILD_DIR/demo/$program.exe"
        listing=$(wrestool -l "$exe")
        echo "$listing"
        [[ $(grep -c -e '--type=3 ' <<<"$listing") == 4 ]] || problems+=("$program: not four icon images")
        [[ $(grep -c -e 'type=group_icon' <<<"$listing") == 1 ]] || problems+=("$program: not one icon")
        [[ $(grep -c -e 'type=version' <<<"$listing") == 1 ]] || problems+=("$program: no version information")
        [[ $(grep -c -e '--type=24 ' <<<"$listing") == 1 ]] || problems+=("$program: not exactly one manifest")
        wrestool -x -t 14 "$exe" >"$WINDOWS_BUILD_DIR/$program-icon.ico"
        icotool -l "$WINDOWS_BUILD_DIR/$program-icon.ico" || problems+=("$program: the icon cannot be read")
        manifest=$(wrestool --raw -x -t 24 "$exe")
        for text in 'level="asInvoker"' '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' \
            '>true</longPathAware>'; do
            grep -qF -e "$text" <<<"$manifest" || problems+=("$program: the manifest lacks $text")
        done
        if [[ $program == kelvory ]]; then
            grep -qF -e '>PerMonitorV2</dpiAwareness>' <<<"$manifest" ||
                problems+=("$program: the manifest lacks per-monitor DPI awareness")
        fi
        # The version strings are UTF-16; their binary header is skipped.
        strings=$(wrestool --raw -x -t 16 "$exe" | iconv -c -f UTF-16LE -t UTF-8 | tr '\0' '\n')
        for text in Kelvory "$version" "$copyright" "$program.exe"; do
            grep -qxF -e "$text" <<<"$strings" || problems+=("$program: the version information lacks \"$text\"")
        done
    done
    if ((${#problems[@]} > 0)); then
        printf '%s\n' "${problems[@]}" >&2
        exit 1
    fi
    echo "Both programs carry their icon, version information ($version) and one manifest"
}

test_windows() {
    local started=$SECONDS
    WINEPATH=$(wine_path) ctest --test-dir "$WINDOWS_BUILD_DIR" --output-on-failure -j"$JOBS"
    echo "Tests under Wine took $((SECONDS - started)) s"
}

# The zip is the install step's program folder (cmake/ProgramFolder.cmake),
# which works out the DLLs from the import tables and strips the binaries.
package_windows() {
    rm -f "$WINDOWS_BUILD_DIR/$ZIP_NAME"
    (cd "$WINDOWS_BUILD_DIR" && cpack -G ZIP)
    unzip -l "$WINDOWS_BUILD_DIR/$ZIP_NAME"
    echo "Wrote $WINDOWS_BUILD_DIR/$ZIP_NAME ($(stat -c %s "$WINDOWS_BUILD_DIR/$ZIP_NAME") bytes)"
}


ensure_windows_qt
ensure_wine_prefix
build_windows
check_windows_resources
test_windows
package_windows
