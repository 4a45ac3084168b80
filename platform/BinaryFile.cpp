#include "platform/BinaryFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include "platform/HandleInfo.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The C library reports errno values; on Windows system_category() would read
// them as Win32 error codes and describe the wrong error.
std::string describe(int error) {
    return std::generic_category().message(error);
}

FileError::Kind kindOfOpenError(int error) {
    switch (error) {
        case ENOENT:
            return FileError::Kind::Missing;
        case EISDIR:
            return FileError::Kind::NotAFile;
        case EEXIST:
            return FileError::Kind::Exists;
        default:
            return FileError::Kind::Failed;
    }
}

struct Opened {
    std::FILE* file = nullptr;
    std::int64_t size = 0;
    FileIdentity identity;
    FileError::Kind kind = FileError::Kind::Failed;  // why, when `file` is null
    std::string reason;                              // the system's words, when it gave any
};

#ifdef _WIN32

// The volume and file ID of the open file; false (and the reason) when the
// system cannot tell.
bool identityOf(HANDLE handle, Opened& opened) {
    const std::optional<FileIdentity> identity = platform::identityOfHandle(handle);
    if (!identity) {
        opened.reason =
            "cannot learn which file it is (" + std::system_category().message(static_cast<int>(GetLastError())) + ")";
        return false;
    }
    opened.identity = *identity;
    return true;
}

Opened createNewFile(const std::filesystem::path& path) {
    Opened opened;
    // CREATE_NEW refuses any name that is taken; with FILE_FLAG_OPEN_REPARSE_POINT
    // a link in its place is never followed either.
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        opened.kind = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS      ? FileError::Kind::Exists
                      : error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ? FileError::Kind::Missing
                                                                                       : FileError::Kind::Failed;
        // In the C library's words, as every other failure of this layer.
        opened.reason = opened.kind == FileError::Kind::Missing ? describe(ENOENT)
                        : error == ERROR_ACCESS_DENIED          ? describe(EACCES)
                                                       : std::system_category().message(static_cast<int>(error));
        return opened;
    }
    if (!identityOf(handle, opened)) {
        CloseHandle(handle);
        return opened;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        opened.reason = describe(errno);
        CloseHandle(handle);
        return opened;
    }
    std::FILE* f = _fdopen(fd, "w+b");
    if (!f) {
        opened.reason = describe(errno);
        _close(fd);
        return opened;
    }
    opened.file = f;
    return opened;
}

Opened openFile(const std::filesystem::path& path, BinaryFile::Mode mode) {
    if (mode == BinaryFile::Mode::CreateNew) {
        return createNewFile(path);
    }
    Opened opened;
    // Shared for reading and writing, as the C library's own open would; never
    // created. A program that holds the file and shares no writing (the game,
    // while it runs) makes the open fail with a sharing violation.
    const bool reading = mode == BinaryFile::Mode::Read;
    HANDLE handle =
        CreateFileW(path.c_str(), reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        opened.reason = std::system_category().message(static_cast<int>(error));
        std::error_code ignored;
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            opened.kind = FileError::Kind::Missing;
        } else if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
            opened.kind = FileError::Kind::InUse;
        } else if (std::filesystem::is_directory(path, ignored)) {
            opened.kind = FileError::Kind::NotAFile;
        }
        return opened;
    }
    if (!identityOf(handle, opened)) {
        CloseHandle(handle);
        return opened;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), (reading ? _O_RDONLY : _O_RDWR) | _O_BINARY);
    if (fd < 0) {
        opened.reason = describe(errno);
        CloseHandle(handle);
        return opened;
    }
    std::FILE* f = _fdopen(fd, reading ? "rb" : "r+b");
    if (!f) {
        opened.reason = describe(errno);
        _close(fd);
        return opened;
    }
    struct _stat64 status;
    if (_fstat64(_fileno(f), &status) != 0) {
        opened.reason = describe(errno);
        std::fclose(f);
        return opened;
    }
    if ((status.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(f);
        opened.kind = FileError::Kind::NotAFile;
        return opened;
    }
    opened.file = f;
    opened.size = status.st_size;
    return opened;
}

#else

Opened openFile(const std::filesystem::path& path, BinaryFile::Mode mode) {
    Opened opened;
    // Without O_CREAT the file is never created, not even for a moment. With
    // O_NONBLOCK a pipe without a writer, or a device, cannot hold the open.
    // A new file is created exclusively and never through a link.
    int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    switch (mode) {
        case BinaryFile::Mode::Read:
            flags |= O_RDONLY;
            break;
        case BinaryFile::Mode::ReadWrite:
            flags |= O_RDWR;
            break;
        case BinaryFile::Mode::CreateNew:
            flags |= O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
            break;
    }
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        const int error = errno;
        opened.reason = describe(error);
        opened.kind = kindOfOpenError(error);
        return opened;
    }
    auto refuse = [&](FileError::Kind kind, int error) {
        opened.kind = kind;
        opened.reason = error ? describe(error) : std::string();
        ::close(fd);
        return opened;
    };
    // Checked on the open descriptor, so the file checked is the file used.
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        return refuse(FileError::Kind::Failed, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return refuse(FileError::Kind::NotAFile, 0);
    }
    const int flagsNow = ::fcntl(fd, F_GETFL);
    if (flagsNow < 0 || ::fcntl(fd, F_SETFL, flagsNow & ~O_NONBLOCK) != 0) {
        return refuse(FileError::Kind::Failed, errno);
    }
    std::FILE* f = ::fdopen(fd, mode == BinaryFile::Mode::Read ? "rb" : "r+b");
    if (!f) {
        return refuse(FileError::Kind::Failed, errno);
    }
    opened.file = f;
    opened.size = static_cast<std::int64_t>(status.st_size);
    opened.identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
    return opened;
}

#endif

}  // namespace

FileError::FileError(std::filesystem::path path, std::string reason, Kind kind)
    : std::runtime_error(path.u8string() + ": " + reason),
      path_(std::move(path)),
      reason_(std::move(reason)),
      kind_(kind) {}

std::string FileIdentity::text() const {
    return "device " + std::to_string(device) + ", file " + std::to_string(file);
}

FileError FileError::noName(std::filesystem::path path) {
    return FileError(std::move(path), "no file name was given", Kind::NoName);
}

FileError FileError::missing(std::filesystem::path path) {
    return FileError(std::move(path), "the file does not exist", Kind::Missing);
}

BinaryFile::BinaryFile(const std::filesystem::path& path, Mode mode) : path_(path) {
    if (path.empty()) {
        throw FileError::noName(path);
    }
    const Opened opened = openFile(path, mode);
    if (!opened.file && mode == Mode::CreateNew && opened.kind != FileError::Kind::Exists) {
        // The system's own words: a missing folder, a full disk, no right to write.
        throw FileError(path, opened.reason.empty() ? "cannot create the file" : opened.reason);
    }
    if (!opened.file) {
        switch (opened.kind) {
            case FileError::Kind::Missing:
                throw FileError::missing(path);
            case FileError::Kind::NotAFile:
                throw FileError(path, "it is not a regular file but a folder, a pipe or a device", opened.kind);
            case FileError::Kind::Exists:
                throw FileError(path, "something is already there", opened.kind);
            case FileError::Kind::InUse:
                throw FileError(path, "another program holds the file open and lets nobody write it", opened.kind);
            default:
                throw FileError(path, opened.reason.empty() ? "cannot open the file"
                                                            : "cannot open the file (" + opened.reason + ")");
        }
    }
    file_ = opened.file;
    size_ = opened.size;
    identity_ = opened.identity;
    // Unbuffered, so that a read or write of N bytes touches exactly those N
    // bytes of the file: a buffered stream would read whole blocks around
    // every offset, even before a write.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

BinaryFile::~BinaryFile() {
    if (file_) {
        std::fclose(file_);
    }
}

void BinaryFile::fail(const std::string& what, int error) const {
    throw FileError(path_, error ? what + " (" + describe(error) + ")" : what);
}

std::FILE* BinaryFile::handle() const {
    if (!file_) {
        throw FileError(path_, "the file was already closed");
    }
    return file_;
}

void BinaryFile::seek(std::int64_t offset) {
    std::FILE* file = handle();
    errno = 0;
#ifdef _WIN32
    const int rc = _fseeki64(file, offset, SEEK_SET);
#else
    const int rc = ::fseeko(file, static_cast<off_t>(offset), SEEK_SET);
#endif
    if (rc != 0) {
        fail("cannot move to byte " + std::to_string(offset), errno);
    }
}

std::string BinaryFile::readAll() {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size_));
    constexpr std::size_t kChunk = 64 * 1024;
    for (std::int64_t offset = 0;; offset += kChunk) {
        const std::size_t had = bytes.size();
        bytes.resize(had + kChunk);
        const std::size_t got = readAt(offset, bytes.data() + had, kChunk);
        bytes.resize(had + got);
        if (got < kChunk) {
            return bytes;
        }
    }
}

std::size_t BinaryFile::readAt(std::int64_t offset, void* buffer, std::size_t size) {
    seek(offset);
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, size, file_);
    if (got < size && std::ferror(file_)) {
        fail("cannot read the file", errno);
    }
    return got;
}

void BinaryFile::writeAt(std::int64_t offset, const void* buffer, std::size_t size) {
    seek(offset);
    errno = 0;
    if (std::fwrite(buffer, 1, size, file_) != size) {
        fail("cannot write the file", errno);
    }
}

void BinaryFile::flushToDisk() {
    std::FILE* file = handle();
    errno = 0;
    if (std::fflush(file) != 0) {
        fail("cannot write the file", errno);
    }
#ifdef _WIN32
    const int rc = _commit(_fileno(file));
#else
    const int rc = ::fsync(::fileno(file));
#endif
    if (rc != 0) {
        fail("cannot write the file to disk", errno);
    }
}

FileStamp BinaryFile::stamp() const {
    std::FILE* file = handle();
    FileStamp stamp;
#ifdef _WIN32
    struct _stat64 status;
    FILETIME written;
    if (_fstat64(_fileno(file), &status) != 0) {
        fail("cannot learn the file's size and time", errno);
    }
    if (!GetFileTime(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))), nullptr, nullptr, &written)) {
        fail("cannot learn the file's size and time", 0);
    }
    stamp.size = status.st_size;
    stamp.time =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime);
#else
    struct stat status;
    if (::fstat(::fileno(file), &status) != 0) {
        fail("cannot learn the file's size and time", errno);
    }
    stamp.size = static_cast<std::int64_t>(status.st_size);
    stamp.time = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
#endif
    return stamp;
}

std::filesystem::path BinaryFile::currentPath() const {
    std::FILE* file = handle();
#ifdef _WIN32
    return platform::finalPathOf(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
#else
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(::fileno(file));
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target || target[0] != '/') {
        return {};
    }
    const std::string path(target, static_cast<std::size_t>(length));
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
        return {};
    }
    return std::filesystem::path(path);
#endif
}

void BinaryFile::close() {
    if (!file_) {
        return;
    }
    std::FILE* f = file_;
    file_ = nullptr;
    errno = 0;
    if (std::fclose(f) != 0) {
        fail("cannot close the file", errno);
    }
}
