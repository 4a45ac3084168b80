# Installs the build into a fresh folder and compares the files there with the
# program folder Kelvory ships: the program, its sound plug-in (elsewhere than
# Windows), the user guide with its pictures and the click sound; on Windows
# the runtime DLLs and the Qt plug-ins instead of the sound plug-in. None of
# the demo folder's made-up data (Leagues.ini, Setting/, StandInGame.exe) may
# be there.
#
#   cmake -D BUILD_DIR=... -D INSTALL_DIR=... -D WINDOWS=0|1 [-D CONSOLE_PROGRAM=0|1]
#         [-D LANGUAGES=pl,...]
#         -P InstallLayoutTest.cmake
# CONSOLE_PROGRAM: the tree builds kelvory-cli, which ships beside the program,
# and elsewhere than on Windows its bash completion script, where
# bash-completion looks under the prefix.

file(REMOVE_RECURSE "${INSTALL_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${INSTALL_DIR}"
    OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${INSTALL_DIR}" "${INSTALL_DIR}/*")
list(SORT installed)

if(WINDOWS)
    set(expected
        Qt6Core.dll
        Qt6Gui.dll
        Qt6Widgets.dll
        UserGuide.html
        images/save-refused.png
        images/window.png
        kelvory.exe
        libgcc_s_seh-1.dll
        libstdc++-6.dll
        libwinpthread-1.dll
        platforms/qwindows.dll
        resources/click.wav
        styles/qwindowsvistastyle.dll)
else()
    set(expected
        UserGuide.html
        images/save-refused.png
        images/window.png
        kelvory
        libkelvory_sound_qt.so
        resources/click.wav)
endif()

# The window's translations and the toolkit's, one pair per language.
string(REPLACE "," ";" languages "${LANGUAGES}")
foreach(language IN LISTS languages)
    list(APPEND expected translations/kelvory_${language}.qm translations/qtbase_${language}.qm)
endforeach()
list(SORT expected)

if(CONSOLE_PROGRAM)
    if(WINDOWS)
        list(APPEND expected kelvory-cli.exe)
    else()
        list(APPEND expected kelvory-cli share/bash-completion/completions/kelvory-cli)
    endif()
    list(SORT expected)
endif()

if(NOT installed STREQUAL expected)
    string(REPLACE ";" "\n  " installed_lines "${installed}")
    string(REPLACE ";" "\n  " expected_lines "${expected}")
    message(FATAL_ERROR "The installed folder holds\n  ${installed_lines}\nbut should hold\n  ${expected_lines}")
endif()
if(CONSOLE_PROGRAM AND NOT WINDOWS)
    # The script completes the program's own name.
    file(READ "${INSTALL_DIR}/share/bash-completion/completions/kelvory-cli" script)
    if(NOT script MATCHES "\ncomplete -F _kelvory_cli kelvory-cli\n")
        message(FATAL_ERROR "The installed completion script does not complete kelvory-cli:\n${script}")
    endif()
endif()
message(STATUS "Installed as expected:\n  ${installed}")
