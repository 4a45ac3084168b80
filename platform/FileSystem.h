#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"

// The file layer that saving goes through: every operation on the game
// executable, on the records Kelvory keeps of it and on the setup files it
// exports, as one replaceable object. The program uses the system's; tests put
// in one that fails or lies at a chosen step. Every failure is a FileError.
// Standard library and the system's file calls only.
namespace platform {

// One open file (BinaryFile's operations).
class OpenFile {
public:
    virtual ~OpenFile() = default;
    virtual std::int64_t size() const = 0;  // when it was opened
    virtual std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) = 0;
    virtual void writeAt(std::int64_t offset, const void* buffer, std::size_t size) = 0;
    virtual void sync() = 0;  // every written byte to the storage device
    virtual FileStamp stamp() = 0;
    // Which file this is (BinaryFile::identity).
    virtual FileIdentity identity() const = 0;
    // The path it has now; empty when it has none or the system cannot tell.
    virtual std::filesystem::path currentPath() const = 0;
    // Closed afterwards whatever the outcome; every later call throws.
    virtual void close() = 0;
};

// Held while it lives; the lock goes with it.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// What stands at a path, links not followed.
enum class EntryKind { None, RegularFile, Link, Other };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens as BinaryFile does (CreateNew: exclusively, never through a link).
    virtual std::unique_ptr<OpenFile> open(const std::filesystem::path& path, BinaryFile::Mode mode);
    // Puts `from` in the place of `to` in one step, replacing what was there.
    virtual void rename(const std::filesystem::path& from, const std::filesystem::path& to);
    // Puts `from` at `to` only when nothing is there: throws FileError
    // Kind::Exists (and leaves both as they were) when anything is, a link
    // included. One step where the system has one (renameat2 with
    // RENAME_NOREPLACE; MoveFileExW without MOVEFILE_REPLACE_EXISTING);
    // where the file system refuses it, a hard link at `to` and `from`
    // removed; where it has no links either, `to` created exclusively and then
    // replaced (a reader may find it empty for that moment).
    virtual void renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);
    virtual void remove(const std::filesystem::path& path);
    // Creates the folder and any missing folder above it, each one made
    // lasting (its parent synced) before the next.
    virtual void createFolder(const std::filesystem::path& folder);
    // Makes the folder's entries (a rename, a new file) lasting. Does nothing
    // where the system has no such call (Windows renames write through).
    virtual void syncFolder(const std::filesystem::path& folder);
    // An exclusive advisory lock on the file at `path` (created when missing,
    // never through a link), waiting up to `wait` for another holder to let
    // go; throws FileError Kind::Busy when it does not.
    virtual std::unique_ptr<FileLock> lock(const std::filesystem::path& path, std::chrono::milliseconds wait);
    virtual EntryKind entryKind(const std::filesystem::path& path);
    // The names of the entries in `folder` ("." and ".." left out), sorted.
    // Throws FileError (Kind::Missing when there is no such folder).
    virtual std::vector<std::filesystem::path> folderEntries(const std::filesystem::path& folder);
    // The file's own path, however `path` reached it: links and ".." resolved,
    // and on Windows letter case and short names as the file system keeps them.
    virtual std::filesystem::path finalPath(const std::filesystem::path& path);
};

// The file layer in use; useFileSystem(nullptr) goes back to the system's.
FileSystem& fileSystem();
void useFileSystem(FileSystem* files);

// The size and time of the file at `path`; size -1 when it cannot be learnt.
FileStamp stampOf(const std::filesystem::path& path);

// Writes `bytes` as the file `target` so that a reader only ever finds the old
// file or the whole new one: into a temporary file beside it, created
// exclusively under a name of its own, synced, closed, renamed over the
// target, and the folder synced. With `makeFolder` creates the folder when it
// is missing. Throws FileError (with the path that failed) and leaves no
// temporary file behind.
void writeFileReplacing(const std::filesystem::path& target, const std::string& bytes, bool makeFolder);

// Like writeFileReplacing, but puts the new file in place only when nothing
// is at `target`: throws FileError Kind::Exists when something is (the
// temporary file goes, what is there stays untouched).
void writeFileNew(const std::filesystem::path& target, const std::string& bytes, bool makeFolder);

// Which file `path` names once links are followed, straight from the system
// (not through the replaceable layer); none when it cannot be learnt.
std::optional<FileIdentity> identityAt(const std::filesystem::path& path);

// Reads a whole regular file of at most `limit` bytes. Throws FileError:
// Kind::Missing when there is none, Kind::Failed with the reason when it cannot
// be read or is longer than `limit` (then nothing beyond the limit is read).
std::string readSmallFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace platform
