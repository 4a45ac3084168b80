#include "platform/RunningGame.h"

#include <cstddef>
#include <cstring>
#include <system_error>
#include <utility>

#include "platform/FileSystem.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>

#include "platform/HandleInfo.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace platform {

ProcessTable::~ProcessTable() = default;

fs::path ProcessTable::workingFolder(int) const {
    return {};
}

std::optional<std::string> ProcessTable::environment(int, const std::string&) const {
    return std::nullopt;
}

namespace {

#ifdef _WIN32

class SystemProcessTable : public ProcessTable {
public:
    std::vector<RunningProcess> processes() const override {
        std::vector<RunningProcess> list;
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) {
            return list;
        }
        const DWORD own = GetCurrentProcessId();
        std::wstring name(32768, L'\0');  // the longest path Windows has
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
            const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
            if (!process) {
                continue;  // the system's own processes, or one that has ended
            }
            DWORD size = static_cast<DWORD>(name.size());
            if (QueryFullProcessImageNameW(process, 0, name.data(), &size)) {
                RunningProcess running;
                running.pid = static_cast<int>(entry.th32ProcessID);
                running.executable = fs::path(name.substr(0, size));
                running.self = entry.th32ProcessID == own;
                list.push_back(std::move(running));
            }
            CloseHandle(process);
        }
        CloseHandle(snapshot);
        return list;
    }
};

// The game's path as the system has it once every link and substituted drive
// is followed; empty when the file cannot be opened.
fs::path finalPath(const fs::path& file) {
    const HANDLE handle = CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    fs::path path = finalPathOf(handle);
    CloseHandle(handle);
    return path;
}

bool sameFile(const fs::path& a, const fs::path& b) {
    const std::wstring left = withoutLongPrefix(fs::path(a).make_preferred().native());
    const std::wstring right = withoutLongPrefix(fs::path(b).make_preferred().native());
    return CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::string utf8(const fs::path& path) {
    return path.u8string();
}

#else

// Both read from a process's folder in /proc, `proc`: a path this long
// names no file Kelvory could have opened.
constexpr std::size_t kLongestPath = 4096;

// The target of the process's exe link, or "" when it cannot be read.
std::string executableOf(int proc, const std::string& pid) {
    char target[kLongestPath];
    const ssize_t length = readlinkat(proc, (pid + "/exe").c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) {
        return {};
    }
    return std::string(target, static_cast<std::size_t>(length));
}

// The first NUL-separated argument in the process's cmdline, or "" when it
// cannot be read.
std::string firstArgumentOf(int proc, const std::string& pid) {
    const int fd = openat(proc, (pid + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    char text[kLongestPath];
    std::size_t length = 0;
    const char* end = nullptr;
    while (!end && length < sizeof text) {
        const ssize_t got = read(fd, text + length, sizeof text - length);
        if (got <= 0) {
            break;
        }
        end = static_cast<const char*>(std::memchr(text + length, '\0', static_cast<std::size_t>(got)));
        length += static_cast<std::size_t>(got);
    }
    close(fd);
    return end ? std::string(text, static_cast<std::size_t>(end - text)) : std::string();
}

class SystemProcessTable : public ProcessTable {
public:
    std::vector<RunningProcess> processes() const override {
        std::vector<RunningProcess> list;
        DIR* proc = opendir("/proc");
        if (!proc) {
            return list;
        }
        const int own = static_cast<int>(getpid());
        while (const dirent* entry = readdir(proc)) {
            const std::string pid = entry->d_name;
            if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos) {
                continue;  // not a process
            }
            RunningProcess running;
            running.pid = std::stoi(pid);
            running.executable = executableOf(dirfd(proc), pid);
            running.firstArgument = firstArgumentOf(dirfd(proc), pid);
            if (running.executable.empty() && running.firstArgument.empty()) {
                continue;  // not ours to read, gone by now, or a kernel thread
            }
            running.self = running.pid == own;
            list.push_back(std::move(running));
        }
        closedir(proc);
        return list;
    }

    fs::path workingFolder(int pid) const override {
        char folder[kLongestPath];
        const ssize_t length = readlink(("/proc/" + std::to_string(pid) + "/cwd").c_str(), folder, sizeof folder);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof folder) {
            return {};
        }
        return fs::path(std::string(folder, static_cast<std::size_t>(length)));
    }

    std::optional<std::string> environment(int pid, const std::string& name) const override {
        // NUL-separated "NAME=value" entries; only the process's owner may read them.
        const int fd = open(("/proc/" + std::to_string(pid) + "/environ").c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return std::nullopt;
        }
        std::string text;
        char chunk[4096];
        for (ssize_t got; text.size() < kLongestEnvironment && (got = read(fd, chunk, sizeof chunk)) > 0;) {
            text.append(chunk, static_cast<std::size_t>(got));
        }
        close(fd);
        const std::string key = name + "=";
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find('\0', at);
            if (end == std::string::npos) {
                end = text.size();
            }
            if (text.compare(at, key.size(), key) == 0) {
                return text.substr(at + key.size(), end - at - key.size());
            }
            at = end + 1;
        }
        return std::nullopt;
    }

private:
    static constexpr std::size_t kLongestEnvironment = 1024 * 1024;
};

bool sameFile(const fs::path& a, const fs::path& b) {
    return a.native() == b.native();
}

std::string utf8(const fs::path& path) {
    return path.native();
}

#endif

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal in any case of the letters A to Z. Other letters must be equal as
// they are.
bool sameInAnyCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

bool hasDrive(const std::string& path) {
    const char letter = asciiLower(path.size() >= 3 ? path[0] : '\0');
    return letter >= 'a' && letter <= 'z' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

bool isWindowsPath(const std::string& path) {
    return hasDrive(path) || path.find('\\') != std::string::npos;
}

// The names a Windows path goes through, "." and ".." taken away.
std::vector<std::string> windowsNames(const std::string& path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string name = path.substr(start, end - start);
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    return names;
}

// The game, as each of the paths it is known by, and which file it is.
struct GameName {
    fs::path path;
    std::string file;    // UTF-8
    std::string folder;  // UTF-8
};

struct Game {
    std::vector<GameName> names;
    std::optional<FileIdentity> identity;
};

Game gameOf(const fs::path& game) {
    std::vector<fs::path> paths;
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(game, error);
    if (!error) {
        paths.push_back(canonical);
    }
    const fs::path given = fs::absolute(game, error).lexically_normal();
    if (!error) {
        paths.push_back(given);
    }
#ifdef _WIN32
    if (fs::path final = finalPath(game); !final.empty()) {
        paths.push_back(std::move(final));
    }
#endif
    Game named;
    for (const fs::path& path : paths) {
        named.names.push_back({path, utf8(path.filename()), utf8(path.parent_path().filename())});
    }
    named.identity = identityAt(game);
    return named;
}

// Whether `path` reaches the game's file, however: a link, a hard link.
bool isGameFile(const fs::path& path, const Game& game) {
    if (path.empty() || !game.identity) {
        return false;
    }
    const std::optional<FileIdentity> identity = identityAt(path);
    return identity && *identity == *game.identity;
}

#ifndef _WIN32
// The file `names` lead to from `root`, each name as it stands or else in
// any case (as Wine finds a Windows path on a Unix file system); empty when
// one is not there.
fs::path followInAnyCase(const fs::path& root, const std::vector<std::string>& names) {
    fs::path at = root;
    for (const std::string& name : names) {
        std::error_code error;
        if (fs::exists(fs::symlink_status(at / name, error))) {
            at /= name;
            continue;
        }
        fs::path found;
        for (fs::directory_iterator it(at, error), end; !error && it != end; it.increment(error)) {
            if (sameInAnyCase(it->path().filename().native(), name)) {
                found = it->path();
                break;
            }
        }
        if (found.empty()) {
            return {};
        }
        at = found;
    }
    return at;
}

// Where drive `letter` of the Wine prefix process `pid` runs in leads: its
// dosdevices link; none when the prefix or the drive cannot be learnt.
std::optional<fs::path> driveRoot(int pid, char letter, const ProcessTable& table) {
    std::optional<std::string> prefix = table.environment(pid, "WINEPREFIX");
    if (!prefix || prefix->empty()) {
        const std::optional<std::string> home = table.environment(pid, "HOME");
        if (!home || home->empty()) {
            return std::nullopt;
        }
        prefix = *home + "/.wine";
    }
    const fs::path drive = fs::path(*prefix) / "dosdevices" / (std::string(1, letter) + ":");
    std::error_code error;
    if (!fs::path(*prefix).is_absolute() || !fs::is_directory(drive, error)) {
        return std::nullopt;
    }
    return drive;
}

// Whether a Unix path a process's command line gives is the game's.
bool namesGame(const fs::path& unixPath, const Game& game) {
    const fs::path path = unixPath.lexically_normal();
    for (const GameName& name : game.names) {
        if (sameFile(path, name.path)) {
            return true;
        }
    }
    return isGameFile(path, game);
}

// Whether a relative path is worth a look from the folder its process runs
// in: it has the game's file name, or its extension (a hard link by another
// name).
bool worthALook(const fs::path& path, const Game& game) {
    for (const GameName& name : game.names) {
        const fs::path extension = name.path.extension();
        if (path.filename() == name.path.filename() ||
            (!extension.empty() && sameInAnyCase(path.extension().native(), extension.native()))) {
            return true;
        }
    }
    return false;
}
#endif

bool runsGame(const RunningProcess& process, const Game& game, const ProcessTable& table) {
    for (const GameName& name : game.names) {
        if (!process.executable.empty() && sameFile(process.executable, name.path)) {
            return true;
        }
    }
    if (isGameFile(process.executable, game)) {
        return true;
    }
    const std::string& argument = process.firstArgument;
    if (argument.empty()) {
        return false;
    }
    if (isWindowsPath(argument)) {
#ifndef _WIN32
        if (hasDrive(argument)) {
            const std::vector<std::string> names = windowsNames(argument.substr(2));
            const char letter = asciiLower(argument[0]);
            // The process's own prefix says which file it is.
            if (const std::optional<fs::path> root = driveRoot(process.pid, letter, table)) {
                return isGameFile(followInAnyCase(*root, names), game);
            }
            if (letter == 'z' && isGameFile(followInAnyCase("/", names), game)) {
                return true;
            }
        }
#endif
        // Without the prefix: a Windows path whose file and folder are the game's.
        const std::vector<std::string> names = windowsNames(argument);
        if (names.size() >= 2) {
            for (const GameName& name : game.names) {
                if (sameInAnyCase(names.back(), name.file) && sameInAnyCase(names[names.size() - 2], name.folder)) {
                    return true;
                }
            }
        }
        return false;
    }
#ifndef _WIN32
    if (argument.front() == '/') {
        return namesGame(argument, game);
    }
    // Relative: only a look at the process's folder when the name may be the game's.
    if (worthALook(argument, game)) {
        const fs::path folder = table.workingFolder(process.pid);
        return folder.is_absolute() && namesGame(folder / argument, game);
    }
#else
    (void)table;
#endif
    return false;
}

}  // namespace

const ProcessTable& systemProcessTable() {
    static const SystemProcessTable table;
    return table;
}

std::optional<int> findRunningGame(const fs::path& game, const ProcessTable& table) {
    if (game.empty()) {
        return std::nullopt;
    }
    const Game named = gameOf(game);
    if (named.names.empty()) {
        return std::nullopt;
    }
    for (const RunningProcess& process : table.processes()) {
        if (!process.self && runsGame(process, named, table)) {
            return process.pid;
        }
    }
    return std::nullopt;
}

}  // namespace platform
