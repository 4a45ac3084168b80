#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "store/OriginalRecord.h"

// Where the record of one game executable lives in Kelvory's data folder, and
// reading, writing and locking it there. The record is named after the
// executable's own path (links and ".." resolved; on Windows letter case and
// short names too), so every way of reaching the file finds the same record.
// A record kept under the name an earlier Kelvory gave it (after the path as
// it was spelt) is still found, and the next write moves it to its new name.
//
// A record is only ever replaced whole, by a rename, so reading one needs no
// lock and creates nothing: a reader finds the old record or the new one.
// Writing it, creating it and setting it aside happen under its lock.
class RecordPlace {
public:
    // Throws RecordError (Kind::Unwritable) when there is no data folder, and
    // FileError when the executable cannot be found.
    RecordPlace(const std::filesystem::path& folder, const std::filesystem::path& game);

    const std::filesystem::path& file() const { return file_; }
    // The executable's own path, as the record writes it.
    const std::string& gameText() const { return gameText_; }

    // Whether a record lies at its name (or the name an earlier Kelvory gave it).
    bool exists() const;

    // Keeps every other Kelvory from reading or writing the record until the
    // lock goes. Throws RecordError: Kind::Busy when another holds it longer
    // than `wait`, Kind::Unwritable when the lock cannot be made.
    std::unique_ptr<platform::FileLock> lock(std::chrono::milliseconds wait) const;

    // The record, or none when there is definitely none (nothing at its name).
    // Throws RecordError (Kind::Unreadable) when it cannot be read, is not a
    // valid record, or whether it is there cannot be told.
    std::optional<OriginalRecord> read() const;

    // Writes the whole record (a temporary file, synced, renamed, the folder
    // synced). Throws RecordError (Kind::Unwritable) saying why.
    void write(const OriginalRecord& record) const;

    // Writes a first record the same way, but never over a file at its name:
    // throws RecordError Kind::Appeared when one is there (a record that a
    // read took for missing: a flaky network folder), Kind::Unwritable as
    // write() does.
    void create(const OriginalRecord& record) const;

    // Removes the temporary files that updates of this record left behind
    // (a save that failed, or died, after creating one). Only under the lock,
    // which every update holds; a failure here is left for the next save.
    void removeLeftovers() const;

    // The records of other executables in the folder, for carrying a moved
    // or copied game's original over; one that cannot be read is left out.
    // Read without the lock.
    std::vector<OriginalRecord> others() const;

    // When the record cannot be read (damaged, or not a record at all),
    // renames it beside itself, never replacing anything, to
    // "league-block-….damaged-<UTC date and time>.txt" (with "-2", "-3"... when
    // that is taken), so that the next save starts a new record; the file
    // itself is kept as it is. Only under the lock. Returns the new name;
    // none when there is nothing to set aside (no record, or one that reads
    // well). Throws RecordError Kind::Unwritable when the rename fails.
    std::optional<std::filesystem::path> setAside() const;

private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::filesystem::path earlierFile_;  // the name an earlier Kelvory gave it; may be file_
    std::string gameText_;               // the executable's own path, as the record writes it (UTF-8 on Windows)
};

// How long a save waits for another Kelvory to finish with the same record.
constexpr std::chrono::milliseconds kRecordLockWait{10000};
