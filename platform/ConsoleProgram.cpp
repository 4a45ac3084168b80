#include "platform/ConsoleProgram.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
// After windows.h, which it builds on.
#include <shellapi.h>
#endif

namespace platform {

std::filesystem::path userDataFolder() {
#ifdef _WIN32
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local && *local) {
        return std::filesystem::path(local) / L"Kelvory";
    }
    return {};
#else
    const char* data = std::getenv("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME does not count (the XDG base directory rules).
    if (data && *data == '/') {
        return std::filesystem::path(data) / "Kelvory";
    }
    // Nor does a relative HOME: the records would follow the current folder.
    const char* home = std::getenv("HOME");
    if (home && *home == '/') {
        return std::filesystem::path(home) / ".local" / "share" / "Kelvory";
    }
    return {};
#endif
}

#ifdef _WIN32

namespace {

std::string toUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();  // the terminating NUL
    return out;
}

}  // namespace

std::filesystem::path runningProgramFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);  // the name was cut: try a larger buffer
    }
}

std::vector<std::string> programArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(toUtf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

std::filesystem::path argumentPath(const std::string& argument) {
    return std::filesystem::u8path(argument);
}

void setUpConsole() {
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool useParentConsole() {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    if (!std::freopen("CONOUT$", "w", stdout) || !std::freopen("CONOUT$", "w", stderr)) {
        return false;
    }
    setUpConsole();
    return true;
}

#else

std::filesystem::path runningProgramFolder() {
#ifdef __linux__
    // The kernel's link to the running executable holds its real path as bytes.
    std::error_code error;
    const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
#else
    return {};
#endif
}

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::filesystem::path argumentPath(const std::string& argument) {
    return std::filesystem::path(argument);
}

void setUpConsole() {}

bool useParentConsole() {
    return true;
}

#endif

}  // namespace platform
