# Run by `cmake --install` (and so by cpack) for the Windows build; see
# ProgramFolder.cmake, which sets:
#   KELVORY_BINARIES   the program and the Qt plug-ins it loads
#   KELVORY_DLL_DIRS   the folders of the DLLs Kelvory ships (Qt's, the compiler's)
#   KELVORY_OBJDUMP    an objdump that reads Windows binaries
#   KELVORY_STRIP      a strip for them
#
# Installs beside the program every DLL that those binaries import, and that
# those DLLs import in turn, found in KELVORY_DLL_DIRS. A DLL found in none of
# them is part of Windows and stays out. Windows matches DLL names whatever
# their case, so names are compared in lower case. (CMake's own
# file(GET_RUNTIME_DEPENDENCIES) lower-cases the names too, and then misses
# Qt6Core.dll and the like on a case-sensitive build machine.)

# Install scripts run without the project's policies; this one needs if(IN_LIST).
cmake_policy(VERSION 3.25)

# The DLL names in the import table of a Windows binary.
function(kelvory_imported_dlls binary out)
    execute_process(COMMAND "${KELVORY_OBJDUMP}" -p "${binary}"
        OUTPUT_VARIABLE dump ERROR_VARIABLE error RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${KELVORY_OBJDUMP} cannot read ${binary}: ${error}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
    list(TRANSFORM names REPLACE "^DLL Name: " "")
    set(${out} ${names} PARENT_SCOPE)
endfunction()

# Every DLL in the folders by its lower-case name; the first folder that has
# one wins, as on a search path.
foreach(dir IN LISTS KELVORY_DLL_DIRS)
    file(GLOB dlls "${dir}/*.dll")
    foreach(dll IN LISTS dlls)
        get_filename_component(name "${dll}" NAME)
        string(TOLOWER "${name}" key)
        if(NOT DEFINED "kelvory_dll_${key}")
            set("kelvory_dll_${key}" "${dll}")
        endif()
    endforeach()
endforeach()

set(queue ${KELVORY_BINARIES})
set(shipped "")
set(windows_own "")
while(queue)
    list(POP_FRONT queue binary)
    kelvory_imported_dlls("${binary}" names)
    foreach(name IN LISTS names)
        string(TOLOWER "${name}" key)
        set(dll "${kelvory_dll_${key}}")
        if(NOT dll)
            list(APPEND windows_own "${key}")
        elseif(NOT dll IN_LIST shipped)
            list(APPEND shipped "${dll}")
            list(APPEND queue "${dll}")
        endif()
    endforeach()
endwhile()
list(REMOVE_DUPLICATES windows_own)
list(SORT windows_own)
message(STATUS "Left to Windows: ${windows_own}")

file(INSTALL ${shipped} DESTINATION "${CMAKE_INSTALL_PREFIX}")  # DESTDIR, if set, goes in front
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# `cmake --install --strip`, and cpack, strip every installed binary, the
# DLLs and plug-ins copied as they are included.
if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB_RECURSE binaries "${folder}/*.exe" "${folder}/*.dll")
    foreach(binary IN LISTS binaries)
        execute_process(COMMAND "${KELVORY_STRIP}" --strip-unneeded "${binary}" RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "${KELVORY_STRIP} cannot strip ${binary}")
        endif()
    endforeach()
endif()
