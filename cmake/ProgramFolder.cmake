# The program folder that `cmake --install <build> --prefix <folder>` lays out,
# to put beside the game, and that the release zip holds (`cpack` in the build
# folder makes it from this same install step):
#
#   kelvory                    the program (kelvory.exe on Windows)
#   kelvory-cli                its console companion, where the tree builds one
#   share/bash-completion/completions/kelvory-cli
#                              its bash completion script (not on Windows), where
#                              bash-completion looks for a prefix of /usr/local,
#                              /usr or ~/.local
#   libkelvory_sound_qt.so     the click sound's plug-in (not on Windows, which
#                              plays the click itself)
#   UserGuide.html             opened by About > Visit
#   images/*.png               the user guide's pictures (./dev.sh screenshots)
#   resources/click.wav        the buttons' click sound
#   translations/*.qm          the window's translations (kelvory_XX.qm) and the
#                              toolkit's own for its dialogs (qtbase_XX.qm)
#
# and on Windows also every Qt and compiler runtime DLL the program loads, with
# platforms/qwindows.dll and styles/qwindowsvistastyle.dll. The demo folder's
# made-up catalogues and game file stay out.

set(programs kelvory)
if(TARGET kelvory-cli)
    list(APPEND programs kelvory-cli)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION . BUNDLE DESTINATION .)
if(KELVORY_CLI_COMPLETION)
    install(FILES "${KELVORY_CLI_COMPLETION}" DESTINATION share/bash-completion/completions)
endif()
if(TARGET kelvory_sound_qt)
    install(TARGETS kelvory_sound_qt LIBRARY DESTINATION .)
endif()
install(FILES "${CMAKE_CURRENT_LIST_DIR}/../docs/UserGuide.html" DESTINATION .)
install(FILES ${KELVORY_GUIDE_IMAGES} DESTINATION images)
install(FILES "${KELVORY_CLICK_SOUND}" DESTINATION resources)
install(FILES ${KELVORY_QM_FILES} DESTINATION translations)

if(WIN32)
    install(FILES "$<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>" DESTINATION platforms)
    install(FILES "$<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>" DESTINATION styles)

    # Where the DLLs that Kelvory ships lie: the Windows Qt's own folder and
    # the compiler's runtime folders. A DLL found in none of them is Windows'.
    set(dll_dirs "$<TARGET_FILE_DIR:Qt6::Core>")
    foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${runtime}
            OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(IS_ABSOLUTE "${runtime_path}" AND EXISTS "${runtime_path}")
            get_filename_component(runtime_dir "${runtime_path}" DIRECTORY)
            get_filename_component(runtime_dir "${runtime_dir}" REALPATH)
            list(APPEND dll_dirs "${runtime_dir}")
        endif()
    endforeach()
    list(REMOVE_DUPLICATES dll_dirs)

    # The DLL set comes from the import tables of the programs and the plug-ins
    # (and of each DLL in turn), read when installing.
    list(TRANSFORM programs REPLACE "(.+)" "$<TARGET_FILE:\\1>" OUTPUT_VARIABLE program_files)
    install(CODE "
        set(KELVORY_BINARIES \"${program_files}\"
            \"$<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>\"
            \"$<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>\")
        set(KELVORY_DLL_DIRS \"${dll_dirs}\")
        set(KELVORY_OBJDUMP \"${CMAKE_OBJDUMP}\")
        set(KELVORY_STRIP \"${CMAKE_STRIP}\")
        include(\"${CMAKE_CURRENT_LIST_DIR}/InstallWindowsRuntime.cmake\")
    ")
endif()

# The release zip: the installed folder as it is, to unzip into the game's folder.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME kelvory)
set(CPACK_PACKAGE_VENDOR Kelvory)
if(WIN32)
    set(CPACK_PACKAGE_FILE_NAME "kelvory-windows-${CMAKE_SYSTEM_PROCESSOR}")
else()
    set(CPACK_PACKAGE_FILE_NAME "kelvory-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
