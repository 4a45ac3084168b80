#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// kelvory-cli: the league block of the game executable from the command line,
// through league setup files, with the window's core and save rules.

// What the program's exit status means.
enum class CliExit {
    Done = 0,
    Unexpected = 1,      // an error Kelvory did not foresee (out of memory, output lost)
    Usage = 2,           // unknown command or option, missing or extra argument
    GameUnreadable = 3,  // Leagues.ini or the game executable could not be read; nothing was written
    SetupInvalid = 4,    // the setup file could not be read, is not a valid setup, or could not be written
    SaveFailed = 5,      // the game executable could not be saved, or the record could not be set aside
    Refused = 6,         // another program changed the block since Kelvory's last save, the record is of
                         // another executable, or the bytes do not look like a league block (--force saves
                         // anyway); or --strict and values the game is not known to take; nothing was written
    NoRecord = 7,        // history, restore: no readable record of this game executable, or no such entry
    GameRunning = 8,     // the game is running; nothing was written (--while-running saves anyway)
    Changes = 9,         // diff --exit-code: applying the setup would change something
};

// Runs one command. `arguments` are the program's arguments after its name
// (UTF-8 on Windows, the given bytes elsewhere); `programFolder` is the folder
// of the program's own executable, where Leagues.ini lies; `recordFolder` is
// where the records of the original values live. A setup named "-" is read
// from `in`; the result goes to `out`, every other line to `err`.
CliExit runCli(const std::vector<std::string>& arguments, const std::filesystem::path& programFolder,
               const std::filesystem::path& recordFolder, std::istream& in, std::ostream& out, std::ostream& err);
