#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/Baza.h"
#include "core/BazaRegions.h"
#include "platform/BinaryFile.h"
#include "store/OriginalRecord.h"

// Saving the league block so that there is always a way back: before the game
// executable is touched, a record of the bytes about to be overwritten is
// written (OriginalRecord.h); before writing, the bytes on disk are compared
// with what Kelvory last loaded or saved there; after writing, they are read
// back through a new open; and a save that fails part-way puts back what it
// had overwritten. The window and the console program both save through here.

// The file layer the save goes through: the system's files, or a test's
// stand-in that fails or lies on purpose.
class GameFile {
public:
    virtual ~GameFile() = default;
    virtual std::int64_t size() const = 0;
    virtual std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) = 0;
    virtual void writeAt(std::int64_t offset, const void* buffer, std::size_t size) = 0;
    virtual void flushToDisk() = 0;
    virtual void close() = 0;
};

class GameFiles {
public:
    virtual ~GameFiles() = default;
    // Opens as BinaryFile does; throws FileError.
    virtual std::unique_ptr<GameFile> open(const std::filesystem::path& path, BinaryFile::Mode mode);
};

// The file layer in use; useGameFiles(nullptr) goes back to the system's.
GameFiles& gameFiles();
void useGameFiles(GameFiles* files);

// Size and modification time of a file, learnt without reading it.
struct FileStamp {
    std::int64_t size = -1;  // -1: unknown
    std::filesystem::file_time_type time{};

    bool operator==(const FileStamp& other) const { return size == other.size && time == other.time; }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};
FileStamp stampOf(const std::filesystem::path& file);

// What another program did to the game executable since Kelvory last loaded
// or saved it.
enum class OutsideChange {
    None,
    Block,       // the 199 bytes of the league block differ
    SizeOrTime,  // the block is the same, but the file's size or time changed
};

// The game executable as it stands right before a save.
struct DiskState {
    baza_regions::BlockBytes bytes{};
    Baza::Block block;
    FileStamp stamp;
    OutsideChange change = OutsideChange::None;
};

// Reads the five regions (199 bytes, nothing else) and compares them, and the
// file's size and time, with what Kelvory expects there. Throws SaveError when
// the file is gone, not a regular file, too short (Kind::TooShort, as
// Baza::Zapisz words it) or unreadable.
DiskState inspectGame(const std::filesystem::path& game, const Baza::Block& expected, const FileStamp& expectedStamp);

// A save that did not go as it should, after the checks let it start.
class SafeSaveError : public std::runtime_error {
public:
    enum class Kind {
        RecordUnwritable,  // the record could not be written: the game executable was not touched
        RecordUnreadable,  // a record exists but cannot be read: it is not replaced, nothing was written
        NotAsWritten,      // the read-back does not match what was written
        PutBack,           // a write failed; what had been overwritten was put back: the file is as before
        PartlyWritten,     // a write failed and putting back failed too: `mayHaveChanged` lists the bytes
    };
    SafeSaveError(Kind kind, std::filesystem::path file, std::string reason,
                  std::vector<std::pair<std::int64_t, std::size_t>> mayHaveChanged = {});

    Kind kind() const { return kind_; }
    // The record file for the record kinds, the game executable otherwise.
    const std::filesystem::path& file() const { return file_; }
    const std::string& reason() const { return reason_; }
    // Offset and length of each region that may hold neither the old nor the new bytes.
    const std::vector<std::pair<std::int64_t, std::size_t>>& mayHaveChanged() const { return mayHaveChanged_; }

private:
    Kind kind_;
    std::filesystem::path file_;
    std::string reason_;
    std::vector<std::pair<std::int64_t, std::size_t>> mayHaveChanged_;
};

struct SafeSaveResult {
    FileStamp stamp;               // the file after the save
    std::filesystem::path record;  // the record file
    bool recordCreated = false;    // this save took the original
};

// Writes `values` into the five regions of `game`, in place, with `before`
// (from inspectGame) as the bytes it overwrites:
//  1. the record in `recordFolder`: created with `before` as the original
//     (reading the executable's first 64 KiB for its identity), or given
//     `before` as a history entry; written completely first;
//  2. the 199 bytes, flushed to disk; on a failed write the bytes of
//     `before` are put back;
//  3. the 199 bytes read back through a new open and compared.
// Throws SaveError when the file cannot be opened for writing (nothing was
// written) and SafeSaveError as above.
SafeSaveResult writeGameSafely(const Baza::Block& values, const std::filesystem::path& game, const DiskState& before,
                               const std::filesystem::path& recordFolder);

// Size and SHA-256 of the first 64 KiB of `game`, for comparing with a
// record. Throws FileError.
std::pair<std::int64_t, std::string> identityOf(const std::filesystem::path& game);
