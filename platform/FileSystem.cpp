#include "platform/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "platform/HandleInfo.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#endif

namespace platform {

namespace {

class SystemFile : public OpenFile {
public:
    SystemFile(const std::filesystem::path& path, BinaryFile::Mode mode) : file_(path, mode) {}
    std::int64_t size() const override { return file_.size(); }
    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
        return file_.readAt(offset, buffer, size);
    }
    void writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
        file_.writeAt(offset, buffer, size);
    }
    void sync() override { file_.flushToDisk(); }
    FileStamp stamp() override { return file_.stamp(); }
    FileIdentity identity() const override { return file_.identity(); }
    std::filesystem::path currentPath() const override { return file_.currentPath(); }
    void close() override { file_.close(); }

private:
    BinaryFile file_;
};

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& what, const std::error_code& error) {
    bool missing = error == std::errc::no_such_file_or_directory;
#ifdef _WIN32
    missing = missing || (error.category() == std::system_category() &&
                          (error.value() == ERROR_FILE_NOT_FOUND || error.value() == ERROR_PATH_NOT_FOUND));
#endif
    throw FileError(path, error ? what + " (" + error.message() + ")" : what,
                    missing ? FileError::Kind::Missing : FileError::Kind::Failed);
}

#ifdef _WIN32

std::error_code lastError() {
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

class SystemLock : public FileLock {
public:
    explicit SystemLock(HANDLE handle) : handle_(handle) {}
    ~SystemLock() override {
        OVERLAPPED whole{};
        UnlockFileEx(handle_, 0, 1, 0, &whole);
        CloseHandle(handle_);
    }

private:
    HANDLE handle_;
};

#else

std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

class SystemLock : public FileLock {
public:
    explicit SystemLock(int fd) : fd_(fd) {}
    ~SystemLock() override { ::close(fd_); }  // closing lets go of the lock

private:
    int fd_;
};

#endif

FileSystem* filesInUse = nullptr;

// A name no other save uses at the same time: the process, a counter and
// random bits. Creating it exclusively is what makes it safe; the name only
// keeps collisions rare.
std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    static const unsigned long long seed = [] {
        unsigned long long value =
            static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
        try {
            std::random_device device;
            value ^= (static_cast<unsigned long long>(device()) << 32) ^ device();
        } catch (const std::exception&) {
        }
        return value;
    }();
    std::mt19937_64 mix(seed + counter++);
    char text[17];
    static const char digits[] = "0123456789abcdef";
    unsigned long long bits = mix();
    for (char& c : text) {
        c = digits[bits & 0xf];
        bits >>= 4;
    }
    text[16] = '\0';
    return text;
}

}  // namespace

std::unique_ptr<OpenFile> FileSystem::open(const std::filesystem::path& path, BinaryFile::Mode mode) {
    return std::make_unique<SystemFile>(path, mode);
}

void FileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
#ifdef _WIN32
    // Replaces the old file in one step, and only once the move is on disk.
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = lastError();
    }
#else
    std::filesystem::rename(from, to, error);
#endif
    if (error) {
        fail(to, "cannot put the new file in place", error);
    }
}

void FileSystem::renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    const auto taken = [&to] { return FileError(to, "something is already there", FileError::Kind::Exists); };
#ifdef _WIN32
    // Without MOVEFILE_REPLACE_EXISTING the move refuses a name that is taken.
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return;
    }
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) {
        throw taken();
    }
    fail(to, "cannot put the new file in place", std::error_code(static_cast<int>(code), std::system_category()));
#else
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return;
    }
    int error = errno;
    const auto unsupported = [](int e) { return e == EINVAL || e == ENOSYS || e == ENOTSUP || e == EOPNOTSUPP; };
    if (unsupported(error)) {
        // The file system cannot rename without replacing (a network or
        // FUSE folder, say): a hard link is only ever made where nothing is.
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());  // left behind, it is a leftover temporary file, nothing worse
            return;
        }
        error = errno;
        if (error == EPERM || unsupported(error)) {
            // No links either: the name is claimed exclusively, then replaced.
            const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            error = errno;
            if (fd >= 0) {
                ::close(fd);
                if (::rename(from.c_str(), to.c_str()) == 0) {
                    return;
                }
                error = errno;
                ::unlink(to.c_str());
            }
        }
    }
    if (error == EEXIST) {
        throw taken();
    }
    fail(to, "cannot put the new file in place", std::error_code(error, std::generic_category()));
#endif
}

void FileSystem::remove(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) {
        fail(path, "cannot remove the file", error);
    }
}

void FileSystem::createFolder(const std::filesystem::path& folder) {
    // The missing folders, outermost first.
    std::vector<std::filesystem::path> missing;
    std::error_code error;
    for (std::filesystem::path at = folder; !at.empty(); at = at.parent_path()) {
        const std::filesystem::file_status status = std::filesystem::status(at, error);
        if (std::filesystem::is_directory(status)) {
            break;
        }
        if (status.type() != std::filesystem::file_type::not_found) {
            fail(at, "cannot create the folder: something else is there", error);
        }
        missing.insert(missing.begin(), at);
        if (at == at.parent_path()) {
            break;
        }
    }
    for (const std::filesystem::path& at : missing) {
        std::filesystem::create_directory(at, error);
        if (error) {
            fail(at, "cannot create the folder", error);
        }
        syncFolder(at.parent_path());
    }
}

void FileSystem::syncFolder(const std::filesystem::path& folder) {
#ifdef _WIN32
    (void)folder;
#else
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        fail(folder, "cannot open the folder to make its entries lasting", lastError());
    }
    const int rc = ::fsync(fd);
    const std::error_code error = lastError();
    ::close(fd);
    // Some file systems cannot sync a folder; their renames are as lasting as
    // they get.
    if (rc != 0 && error.value() != EINVAL && error.value() != EROFS) {
        fail(folder, "cannot make the folder's entries lasting", error);
    }
#endif
}

std::unique_ptr<FileLock> FileSystem::lock(const std::filesystem::path& path, std::chrono::milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
#ifdef _WIN32
    // With FILE_FLAG_OPEN_REPARSE_POINT a link at the path is opened as
    // itself: nothing it points at is created or locked.
    HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(path, "cannot open the lock file", lastError());
    }
    for (;;) {
        OVERLAPPED whole{};
        if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
            return std::make_unique<SystemLock>(handle);
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            CloseHandle(handle);
            fail(path, "cannot lock the file", std::error_code(static_cast<int>(error), std::system_category()));
        }
        if (std::chrono::steady_clock::now() >= until) {
            CloseHandle(handle);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
#else
    // O_NOFOLLOW: a link planted at the path is refused, not followed;
    // O_NONBLOCK: a pipe there cannot hold the open.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        fail(path, errno == ELOOP ? "cannot open the lock file: a link is in its place" : "cannot open the lock file",
             errno == ELOOP ? std::error_code() : lastError());
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw FileError(path, "cannot lock the file: it is not a regular file", FileError::Kind::NotAFile);
    }
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return std::make_unique<SystemLock>(fd);
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const std::error_code error = lastError();
            ::close(fd);
            fail(path, "cannot lock the file", error);
        }
        if (std::chrono::steady_clock::now() >= until) {
            ::close(fd);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
#endif
    throw FileError(path, "another program holds the lock", FileError::Kind::Busy);
}

EntryKind FileSystem::entryKind(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    switch (status.type()) {
        case std::filesystem::file_type::not_found:
            return EntryKind::None;
        case std::filesystem::file_type::regular:
            return EntryKind::RegularFile;
        case std::filesystem::file_type::symlink:
            return EntryKind::Link;
        default:
            return EntryKind::Other;
    }
}

std::vector<std::filesystem::path> FileSystem::folderEntries(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename());
    }
    if (error) {
        fail(folder, "cannot read the folder", error);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::filesystem::path FileSystem::finalPath(const std::filesystem::path& path) {
#ifdef _WIN32
    // The path of the open file as the file system names it: the one name
    // however it was reached (another letter case, a short name, a link).
    HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(path, "cannot find the file", lastError());
    }
    const std::filesystem::path name = finalPathOf(handle);
    const std::error_code error = lastError();
    CloseHandle(handle);
    if (name.empty()) {
        fail(path, "cannot find the file's own path", error);
    }
    return name;
#else
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::canonical(path, error);
    if (error) {
        fail(path, "cannot find the file", error);
    }
    return resolved;
#endif
}

FileSystem& fileSystem() {
    static FileSystem system;
    return filesInUse ? *filesInUse : system;
}

void useFileSystem(FileSystem* files) {
    filesInUse = files;
}

FileStamp stampOf(const std::filesystem::path& path) {
    try {
        std::unique_ptr<OpenFile> file = fileSystem().open(path, BinaryFile::Mode::Read);
        const FileStamp stamp = file->stamp();
        file->close();
        return stamp;
    } catch (const FileError&) {
        return FileStamp{};
    }
}

namespace {

// writeFileReplacing and writeFileNew: the same but for the last step.
void writeFileWhole(const std::filesystem::path& target, const std::string& bytes, bool makeFolder, bool replace) {
    FileSystem& files = fileSystem();
    const std::filesystem::path folder = target.parent_path();
    if (makeFolder && !folder.empty()) {
        files.createFolder(folder);
    }
    std::filesystem::path temporary;
    std::unique_ptr<OpenFile> out;
    for (int attempt = 0; !out; ++attempt) {
        temporary = target;
        temporary += "." + uniqueSuffix() + ".new";
        try {
            out = files.open(temporary, BinaryFile::Mode::CreateNew);
        } catch (const FileError& error) {
            // Only a name that is taken is worth another try.
            if (error.kind() != FileError::Kind::Exists || attempt == 9) {
                throw;
            }
        }
    }
    try {
        if (!bytes.empty()) {
            out->writeAt(0, bytes.data(), bytes.size());
        }
        out->sync();
        out->close();
        // What a reader will find there: a disk that drops or changes writes
        // must not put a broken file in the place of a whole one.
        if (readSmallFile(temporary, bytes.size()) != bytes) {
            throw FileError(temporary, "the file does not hold what was written");
        }
        if (replace) {
            files.rename(temporary, target);
        } else {
            files.renameNoReplace(temporary, target);
        }
    } catch (const FileError&) {
        out.reset();
        try {
            files.remove(temporary);
        } catch (const FileError&) {
        }
        throw;
    }
    files.syncFolder(folder);
}

}  // namespace

void writeFileReplacing(const std::filesystem::path& target, const std::string& bytes, bool makeFolder) {
    writeFileWhole(target, bytes, makeFolder, true);
}

void writeFileNew(const std::filesystem::path& target, const std::string& bytes, bool makeFolder) {
    writeFileWhole(target, bytes, makeFolder, false);
}

std::optional<FileIdentity> identityAt(const std::filesystem::path& path) {
#ifdef _WIN32
    HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const std::optional<FileIdentity> identity = identityOfHandle(handle);
    CloseHandle(handle);
    return identity;
#else
    struct stat status;
    if (path.empty() || ::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
#endif
}

std::string readSmallFile(const std::filesystem::path& path, std::size_t limit) {
    std::unique_ptr<OpenFile> file = fileSystem().open(path, BinaryFile::Mode::Read);
    if (file->size() < 0 || static_cast<std::uint64_t>(file->size()) > limit) {
        throw FileError(path, "the file is larger than " + std::to_string(limit) + " bytes");
    }
    std::string bytes(static_cast<std::size_t>(file->size()), '\0');
    bytes.resize(file->readAt(0, bytes.data(), bytes.size()));
    file->close();
    return bytes;
}

}  // namespace platform
