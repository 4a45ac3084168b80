# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads).
#
#   cmake -G Ninja -S . -B build-windows \
#       -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#       -DKELVORY_QT_PREFIX=$HOME/.cache/kelvory/qt6-mingw-6.4.2
#
# The same file builds that Qt (without KELVORY_QT_PREFIX). Test programs run
# under Wine in a prefix of their own (KELVORY_WINEPREFIX), so CTest works as
# it does on the build machine.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_kelvory_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_kelvory_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_kelvory_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_kelvory_triple}-windres)
set(CMAKE_AR ${_kelvory_triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_kelvory_triple}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${_kelvory_triple}-strip CACHE FILEPATH "")
set(CMAKE_OBJDUMP ${_kelvory_triple}-objdump CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_kelvory_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The Windows Qt to build against, and the host's own Qt of the same version
# for moc, rcc and uic.
if(KELVORY_QT_PREFIX)
    list(APPEND CMAKE_FIND_ROOT_PATH "${KELVORY_QT_PREFIX}")
    list(APPEND CMAKE_PREFIX_PATH "${KELVORY_QT_PREFIX}")
    if(NOT QT_HOST_PATH)
        set(QT_HOST_PATH /usr CACHE PATH "Host Qt with the build tools")
    endif()
    if(NOT QT_HOST_PATH_CMAKE_DIR AND EXISTS /usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo)
        # Debian keeps the host Qt's CMake files under the multiarch folder.
        set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
    endif()
    # lupdate and lrelease come from the host too: the Windows Qt is built
    # without its tools, and the translations they make are the same files
    # on every system.
    if(NOT Qt6LinguistTools_DIR AND EXISTS "${QT_HOST_PATH_CMAKE_DIR}/Qt6LinguistTools")
        set(Qt6LinguistTools_DIR "${QT_HOST_PATH_CMAKE_DIR}/Qt6LinguistTools" CACHE PATH "")
    endif()
endif()

# Every cross-built program (the tests above all) runs under Wine.
find_program(KELVORY_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KELVORY_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${KELVORY_WINE}")
endif()
