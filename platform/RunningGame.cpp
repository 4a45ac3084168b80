#include "platform/RunningGame.h"

#include <cstddef>
#include <cstring>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>
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

// "\\?\C:\..." as "C:\...", "\\?\UNC\server\..." as "\\server\...".
std::wstring withoutLongPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        return L"\\" + path.substr(7);
    }
    if (path.rfind(L"\\\\?\\", 0) == 0) {
        return path.substr(4);
    }
    return path;
}

// The game's path as the system has it once every link and substituted drive
// is followed; empty when the file cannot be opened.
fs::path finalPath(const fs::path& file) {
    const HANDLE handle = CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::wstring name(32768, L'\0');
    const DWORD size = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(handle);
    if (size == 0 || size >= name.size()) {
        return {};
    }
    return fs::path(withoutLongPrefix(name.substr(0, size)));
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

// The game, as each of the paths it is known by.
struct GameName {
    fs::path path;
    std::string file;    // UTF-8
    std::string folder;  // UTF-8
};

std::vector<GameName> gameNames(const fs::path& game) {
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
    std::vector<GameName> names;
    for (const fs::path& path : paths) {
        names.push_back({path, utf8(path.filename()), utf8(path.parent_path().filename())});
    }
    return names;
}

#ifndef _WIN32
bool hasGameFileName(const fs::path& path, bool inAnyCase, const std::vector<GameName>& game) {
    for (const GameName& name : game) {
        if (inAnyCase ? sameInAnyCase(path.filename().native(), name.file) : path.filename() == name.path.filename()) {
            return true;
        }
    }
    return false;
}

// Whether a path that a process's command line gives, a Unix one or a Windows
// one on Wine's drive Z:, is the game's; `inAnyCase` for the Windows one.
bool namesGame(const std::string& unixPath, bool inAnyCase, const std::vector<GameName>& game) {
    const fs::path path = fs::path(unixPath).lexically_normal();
    const auto same = [inAnyCase](const fs::path& a, const fs::path& b) {
        return inAnyCase ? sameInAnyCase(a.native(), b.native()) : sameFile(a, b);
    };
    for (const GameName& name : game) {
        if (same(path, name.path)) {
            return true;
        }
    }
    // Through a link, perhaps: only worth a look at the disk when the file
    // name is the game's.
    if (!hasGameFileName(path, inAnyCase, game)) {
        return false;
    }
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(path, error);
    return !error && same(resolved, game.front().path);
}
#endif

bool runsGame(const RunningProcess& process, const std::vector<GameName>& game, const ProcessTable& table) {
    for (const GameName& name : game) {
        if (!process.executable.empty() && sameFile(process.executable, name.path)) {
            return true;
        }
    }
    const std::string& argument = process.firstArgument;
    if (argument.empty()) {
        return false;
    }
    if (isWindowsPath(argument)) {
        const std::vector<std::string> names = windowsNames(argument);
        if (names.size() >= 2) {
            for (const GameName& name : game) {
                if (sameInAnyCase(names.back(), name.file) && sameInAnyCase(names[names.size() - 2], name.folder)) {
                    return true;
                }
            }
        }
#ifndef _WIN32
        if (hasDrive(argument) && asciiLower(argument[0]) == 'z') {
            std::string unixPath = argument.substr(2);
            for (char& c : unixPath) {
                if (c == '\\') {
                    c = '/';
                }
            }
            return namesGame(unixPath, true, game);
        }
#endif
        return false;
    }
#ifndef _WIN32
    if (argument.front() == '/') {
        return namesGame(argument, false, game);
    }
    // Relative: only a look at the process's folder when the file name is
    // the game's.
    if (hasGameFileName(argument, false, game)) {
        const fs::path folder = table.workingFolder(process.pid);
        return folder.is_absolute() && namesGame((folder / argument).native(), false, game);
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
    const std::vector<GameName> names = gameNames(game);
    if (names.empty()) {
        return std::nullopt;
    }
    for (const RunningProcess& process : table.processes()) {
        if (!process.self && runsGame(process, names, table)) {
            return process.pid;
        }
    }
    return std::nullopt;
}

}  // namespace platform
