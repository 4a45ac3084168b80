#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What a console program needs from the system, without Qt: its own folder,
// its arguments, and a console that shows UTF-8.
namespace platform {

// The folder that holds the running program's executable, with every byte of
// its name; empty when the system cannot tell. Never the current folder.
std::filesystem::path runningProgramFolder();

// Kelvory's per-user data folder, where the records of the game's original
// values live: the folder the window uses too (Qt's AppLocalDataLocation),
// %LOCALAPPDATA%\Kelvory on Windows, $XDG_DATA_HOME/Kelvory or
// ~/.local/share/Kelvory elsewhere. Empty when the system names none.
std::filesystem::path userDataFolder();

// The program's arguments after its own name. Where file names are bytes they
// are the bytes given; on Windows they come from the wide command line, as
// UTF-8, so no character is lost to the console's code page.
std::vector<std::string> programArguments(int argc, char** argv);

// The file an argument names (an argument as programArguments gives it).
std::filesystem::path argumentPath(const std::string& argument);

// Makes the console show the UTF-8 that the program writes, and keeps its
// output as written: on Windows a line ends in LF alone, as elsewhere, so a
// setup file saved from the output reads back byte for byte. Does nothing
// where consoles take UTF-8 and bytes pass unchanged anyway.
void setUpConsole();

// A window program has no console of its own on Windows: this sends its
// standard output and error to the console of the program that started it,
// if it was started from one, and sets that up as setUpConsole does. Returns
// whether the output now goes somewhere. Elsewhere the output goes where the
// program was started from already: does nothing and returns true.
bool useParentConsole();

}  // namespace platform
