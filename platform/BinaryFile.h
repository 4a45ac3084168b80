#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

// Byte-addressed access to one file, opened and closed within one operation.
// Every failure is a FileError carrying the path, the system's reason and
// what kind of failure it was.
class FileError : public std::runtime_error {
public:
    enum class Kind {
        Failed,    // opening, reading or writing failed; the reason says why
        NoName,    // no file name was given
        Missing,   // there is no file at the path (any more)
        NotAFile,  // the path names a folder, a pipe, a device...: not a regular file
        TooShort,  // the file ends before the bytes that were to be written
        Exists,    // a file that was to be created new is already there (or a link is)
        Busy,      // another program holds the lock that was asked for
        InUse,     // another program holds the file open and lets nobody write it (a running game, on Windows)
    };

    FileError(std::filesystem::path path, std::string reason, Kind kind = Kind::Failed);

    // The failures that need no reason from the system.
    static FileError noName(std::filesystem::path path);   // Kind::NoName
    static FileError missing(std::filesystem::path path);  // Kind::Missing

    const std::filesystem::path& path() const { return path_; }
    const std::string& reason() const { return reason_; }  // UTF-8
    Kind kind() const { return kind_; }

private:
    std::filesystem::path path_;
    std::string reason_;
    Kind kind_;
};

// Size and modification time of a file, learnt without reading it. The time
// is in the system's own units (nanoseconds, or 100 ns on Windows); stamps are
// only compared with each other.
struct FileStamp {
    std::int64_t size = -1;  // -1: unknown
    std::int64_t time = 0;

    bool operator==(const FileStamp& other) const { return size == other.size && time == other.time; }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// Which file an open file is, whatever name it was opened by or has now: the
// device and inode number, on Windows the volume serial number and file ID.
// Two opens of one file have the same identity; a file put in its place under
// the same name has another. Sound only while one of the opens is held: a
// file gone for good may leave its number to a new one.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    bool operator==(const FileIdentity& other) const { return device == other.device && file == other.file; }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
    // "device 2049, file 1234567", for messages.
    std::string text() const;
};

// Only regular files are opened (a symbolic link to one is fine, except for
// CreateNew). The open never waits: a pipe or a device in place of the file
// is refused at once, before a single byte is read or written.
class BinaryFile {
public:
    enum class Mode {
        Read,       // the file must exist
        ReadWrite,  // for update in place: never created, never truncated
        CreateNew,  // a new, empty file for writing; refused (Kind::Exists) when
                    // anything is at the path, a symbolic link included
    };

    BinaryFile(const std::filesystem::path& path, Mode mode);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // The file's length in bytes when it was opened.
    std::int64_t size() const { return size_; }

    // Reads up to `size` bytes at `offset`. Returns how many bytes the file
    // had there: fewer than `size` when the file ends first. Throws on a read
    // error.
    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size);

    // Reads the whole file, from its first byte to its end.
    std::string readAll();

    // Writes `size` bytes at `offset`. Writing past the end would extend the
    // file; callers that must not grow it check size() first.
    void writeAt(std::int64_t offset, const void* buffer, std::size_t size);

    // Pushes every written byte to the storage device.
    void flushToDisk();

    // The file's size and modification time now.
    FileStamp stamp() const;

    // Which file this is (learnt when it was opened).
    const FileIdentity& identity() const { return identity_; }

    // The path the open file has now, however it was renamed since; empty
    // when it has none any more (deleted) or the system cannot tell.
    std::filesystem::path currentPath() const;

    // Closes the file, reporting any error that the close brings to light.
    // The file is closed afterwards whatever the outcome: every later call
    // throws FileError.
    void close();

private:
    [[noreturn]] void fail(const std::string& what, int error) const;
    std::FILE* handle() const;
    void seek(std::int64_t offset);

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::int64_t size_ = 0;
    FileIdentity identity_;
};
