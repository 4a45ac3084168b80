#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Whether the game is running, asked before its executable is written, so
// the user can be told to close the game first. Standard library only; what
// the system gives comes from systemProcessTable(). A process list that
// cannot be read gives no processes: it never stops a save.
namespace platform {

// One running process, as far as the system lets Kelvory see it.
struct RunningProcess {
    int pid = 0;
    // The file of a native program, links resolved; empty when it cannot be
    // read (another user's process, say).
    std::filesystem::path executable;
    // The first argument of its command line, as the system keeps it. Under
    // Wine the game's is its path as it was started: a Windows path such as
    // "Z:\games\League\game.exe" or "C:\Program Files\League\GAME.EXE",
    // or the Unix path typed after "wine". Empty when it cannot be read, and
    // always empty on Windows, where the executable says it all.
    std::string firstArgument;
    bool self = false;  // Kelvory's own process
};

// Where the running processes come from; tests give their own.
class ProcessTable {
public:
    virtual ~ProcessTable();
    virtual std::vector<RunningProcess> processes() const = 0;
    // The folder process `pid` runs in, asked only for a first argument that
    // is a relative path with the game's file name or extension; empty when
    // unknown (and always on Windows).
    virtual std::filesystem::path workingFolder(int pid) const;
    // The value of the environment variable `name` of process `pid`, asked
    // only for a Wine program's drive letters (WINEPREFIX, HOME); none when
    // unset or unknown (and always on Windows).
    virtual std::optional<std::string> environment(int pid, const std::string& name) const;
};

// The system's processes: on Linux /proc (each process's exe link and
// cmdline; its cwd link and environ when asked), on Windows a process
// snapshot and each process's image name. A process that cannot be read at all, or that ends
// while it is read, is left out.
const ProcessTable& systemProcessTable();

// The pid of a running process, other than Kelvory's own, whose program is
// the game at `game`; none when there is none.
//
// A process runs the game when its executable is the game's file (the same
// file however it is reached: links, hard links and ".." resolved; on Windows
// in any case), or when the first argument of its command line names it:
// - a Windows path (a drive letter and ":\", or any backslash), as Wine keeps
//   it: the drive letter is the process's Wine prefix's
//   ("$WINEPREFIX/dosdevices/d:", WINEPREFIX from the process's environment,
//   else "$HOME/.wine"), and the path is followed in any case from there; when
//   the prefix cannot be learnt, "Z:\..." is the same Unix path in any case
//   (Wine's usual drive Z: is the root folder), and any Windows path whose
//   file name and folder name are the game's, in any case
//   ("C:\games\League\game.exe" for ".../drive_c/games/League/Game.exe"),
//   is taken for the game;
// - a Unix path: the game's file; a relative one ("League/Game.exe", as typed
//   after "wine") from the folder the process runs in.
// A program of the same file name in another folder is not the game.
std::optional<int> findRunningGame(const std::filesystem::path& game, const ProcessTable& table);

}  // namespace platform
