#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

// Byte-addressed access to one file, opened and closed within one operation.
// Every failure is a FileError carrying the path and the system's reason.
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path path, std::string reason);

    const std::filesystem::path& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

class BinaryFile {
public:
    enum class Mode {
        Read,             // the file must exist
        ReadWriteCreate,  // opened for update without truncation; created when missing
    };

    BinaryFile(const std::filesystem::path& path, Mode mode);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Reads up to `size` bytes at `offset`. Returns how many bytes the file
    // had there: fewer than `size` when the file ends first. Throws on a read
    // error (which includes trying to read a folder).
    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size);

    // Writes `size` bytes at `offset`. Writing past the end extends the file;
    // the gap, if any, reads back as zero bytes.
    void writeAt(std::int64_t offset, const void* buffer, std::size_t size);

    // Pushes every written byte to the storage device.
    void flushToDisk();

    // Closes the file, reporting any error that the close brings to light.
    void close();

private:
    [[noreturn]] void fail(const std::string& what, int error) const;
    void seek(std::int64_t offset);

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
};
