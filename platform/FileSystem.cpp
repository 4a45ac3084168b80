#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace platform {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& what, int error) {
    throw FileError(path, error ? what + " (" + std::generic_category().message(error) + ")" : what);
}

// Closes the file when the writing stops half-way.
struct OpenFile {
    std::FILE* file = nullptr;
    ~OpenFile() {
        if (file) {
            std::fclose(file);
        }
    }
};

void writeAndSync(const std::filesystem::path& path, const std::string& bytes) {
    OpenFile out;
    errno = 0;
#ifdef _WIN32
    out.file = _wfopen(path.c_str(), L"wb");
#else
    out.file = std::fopen(path.c_str(), "wb");
#endif
    if (!out.file) {
        fail(path, "cannot create the file", errno);
    }
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out.file) != bytes.size()) {
        fail(path, "cannot write the file", errno);
    }
    if (std::fflush(out.file) != 0) {
        fail(path, "cannot write the file", errno);
    }
#ifdef _WIN32
    const int synced = _commit(_fileno(out.file));
#else
    const int synced = ::fsync(::fileno(out.file));
#endif
    if (synced != 0) {
        fail(path, "cannot write the file to disk", errno);
    }
    std::FILE* file = out.file;
    out.file = nullptr;
    if (std::fclose(file) != 0) {
        fail(path, "cannot close the file", errno);
    }
}

}  // namespace

void writeFileReplacing(const std::filesystem::path& target, const std::string& bytes) {
    std::error_code error;
    const std::filesystem::path folder = target.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            throw FileError(folder, "cannot create the folder (" + error.message() + ")");
        }
    }
    std::filesystem::path temporary = target;
    temporary += ".new";
    try {
        writeAndSync(temporary, bytes);
    } catch (const FileError&) {
        std::filesystem::remove(temporary, error);
        throw;
    }
#ifdef _WIN32
    // Replaces the old file in one step, and only once the move is on disk.
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    }
#else
    std::filesystem::rename(temporary, target, error);
#endif
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw FileError(target, "cannot put the new file in place (" + error.message() + ")");
    }
}

std::string readSmallFile(const std::filesystem::path& path, std::size_t limit) {
    BinaryFile file(path, BinaryFile::Mode::Read);
    if (file.size() < 0 || static_cast<std::uint64_t>(file.size()) > limit) {
        throw FileError(path, "the file is larger than " + std::to_string(limit) + " bytes");
    }
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    bytes.resize(file.readAt(0, bytes.data(), bytes.size()));
    file.close();
    return bytes;
}

}  // namespace platform
