#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// File names as Kelvory's own text files write them (line 2 of Leagues.ini).
// Standard library only, so the catalogue reader can use it.
namespace platform {

// The name as the system's path. Where file names are bytes (Linux and other
// POSIX systems), they are exactly the bytes written, whatever their encoding.
// On Windows the bytes are read in code page 1252, the game's own.
std::filesystem::path fileNameFromBytes(std::string_view bytes);

// The bytes Kelvory's text files write for a file name: fileNameFromBytes
// reads them back as `name`. None when they cannot (on Windows, a character
// code page 1252 lacks).
std::optional<std::string> fileNameToBytes(const std::filesystem::path& name);

// Whether every byte of the name can stand in a file name on this system: no
// NUL anywhere; on Windows also none of 1-31 and < > : " | ? *. (Slashes and
// backslashes separate folders and are allowed.)
bool canNameFile(std::string_view bytes);

// The same name as text to show, in UTF-8. Where file names are bytes: read as
// UTF-8 when they are valid UTF-8, otherwise in code page 1252. On Windows:
// code page 1252, as the path itself.
std::string fileNameToShow(std::string_view bytes);

// A whole path as text to show, in UTF-8. Where file names are bytes, each
// part between separators is shown as fileNameToShow shows a name, so a
// folder called "caf\xE9" reads "café" while its path keeps the byte E9. The
// text is for reading only: turning it back into a path may not give the
// same bytes.
std::string pathToShow(const std::filesystem::path& path);

}  // namespace platform
