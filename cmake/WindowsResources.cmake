# Resources of the Windows programs, made by the build and compiled by the
# resource compiler (with mingw-w64, x86_64-w64-mingw32-windres) into each:
#
#   icon      the window's own icon (drawAppIconImage, ui/main_window/Artwork)
#             at 16, 32, 48 and 256 pixels, which app/make_icon draws into
#             KELVORY_ICON_FILE while building (app/CMakeLists.txt)
#   version   product name, description, the project's version, the copyright
#             notice of About > Copyright
#   manifest  run as the invoking user; written for Windows 10 and 11; long
#             paths; for the window program per-monitor DPI awareness (v2), the
#             awareness Qt 6 asks for itself (Qt finds it set and is content)
#
# Only these scripts give the programs a manifest: CMake adds none for
# add_executable with mingw, Qt 6.4 none either, and Debian's mingw-w64 has no
# default-manifest.o (which its compiler would otherwise link into every
# program). `./dev.sh windows` checks that each program carries exactly one.

set(KELVORY_RESOURCE_TEMPLATES "${CMAKE_CURRENT_LIST_DIR}/windows")

# kelvory_windows_resources(<target> DESCRIPTION <text> [WINDOW])
# Gives the program <target> its icon, version information and manifest;
# WINDOW marks a program with windows, which gets DPI awareness.
function(kelvory_windows_resources target)
    cmake_parse_arguments(ARG "WINDOW" "DESCRIPTION" "" ${ARGN})
    set(KELVORY_RC_NAME "${target}")
    set(KELVORY_RC_FILE_NAME "${target}.exe")
    set(KELVORY_RC_DESCRIPTION "${ARG_DESCRIPTION}")
    set(KELVORY_RC_ICON "${KELVORY_ICON_FILE}")
    set(KELVORY_RC_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
    set(KELVORY_RC_DPI_AWARENESS "")
    if(ARG_WINDOW)
        # Windows takes dpiAwareness where it knows the value (PerMonitorV2
        # since Windows 10 1703), otherwise dpiAware.
        string(CONCAT KELVORY_RC_DPI_AWARENESS
            "\n      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"
            "\n      <dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2</dpiAwareness>")
    endif()
    configure_file("${KELVORY_RESOURCE_TEMPLATES}/program.manifest.in" "${KELVORY_RC_MANIFEST}" @ONLY)
    set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
    configure_file("${KELVORY_RESOURCE_TEMPLATES}/program.rc.in" "${script}" @ONLY)

    target_sources(${target} PRIVATE "${script}")
    # The resource compiler reports no dependencies of its own.
    set_source_files_properties("${script}" PROPERTIES OBJECT_DEPENDS "${KELVORY_ICON_FILE};${KELVORY_RC_MANIFEST}")
    add_dependencies(${target} kelvory_icon)
endfunction()
