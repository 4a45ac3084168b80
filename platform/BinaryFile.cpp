#include "platform/BinaryFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <io.h>
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

std::FILE* openFile(const std::filesystem::path& path, BinaryFile::Mode mode) {
#ifdef _WIN32
    if (mode == BinaryFile::Mode::Read) {
        return _wfopen(path.c_str(), L"rb");
    }
    std::FILE* f = _wfopen(path.c_str(), L"r+b");
    if (!f && errno == ENOENT) {
        // Create the missing file without ever truncating an existing one.
        f = _wfopen(path.c_str(), L"a+b");
        if (f) {
            std::fclose(f);
            f = _wfopen(path.c_str(), L"r+b");
        }
    }
    return f;
#else
    if (mode == BinaryFile::Mode::Read) {
        return std::fopen(path.c_str(), "rb");
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0666);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* f = ::fdopen(fd, "r+b");
    if (!f) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
    }
    return f;
#endif
}

}  // namespace

FileError::FileError(std::filesystem::path path, std::string reason)
    : std::runtime_error(path.u8string() + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

BinaryFile::BinaryFile(const std::filesystem::path& path, Mode mode) : path_(path) {
    if (path.empty()) {
        throw FileError(path, "no file name was given");
    }
    errno = 0;
    file_ = openFile(path, mode);
    if (!file_) {
        fail("cannot open the file", errno);
    }
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

void BinaryFile::seek(std::int64_t offset) {
    errno = 0;
#ifdef _WIN32
    const int rc = _fseeki64(file_, offset, SEEK_SET);
#else
    const int rc = ::fseeko(file_, static_cast<off_t>(offset), SEEK_SET);
#endif
    if (rc != 0) {
        fail("cannot move to byte " + std::to_string(offset), errno);
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
    errno = 0;
    if (std::fflush(file_) != 0) {
        fail("cannot write the file", errno);
    }
#ifdef _WIN32
    const int rc = _commit(_fileno(file_));
#else
    const int rc = ::fsync(::fileno(file_));
#endif
    if (rc != 0) {
        fail("cannot write the file to disk", errno);
    }
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
