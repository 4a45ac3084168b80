#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "store/OriginalRecord.h"

// Where the record of one game executable lives in Kelvory's data folder, and
// reading, writing and locking it there. The record is named after the
// executable's own path (links and ".." resolved; on Windows letter case and
// short names too), so every way of reaching the file finds the same record.
// A record kept under the name an earlier Kelvory gave it (after the path as
// it was spelt) is still found, and the next write moves it to its new name.
class RecordPlace {
public:
    // Throws RecordError (Kind::Unwritable) when there is no data folder, and
    // FileError when the executable cannot be found.
    RecordPlace(const std::filesystem::path& folder, const std::filesystem::path& game);

    const std::filesystem::path& file() const { return file_; }

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

private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::filesystem::path earlierFile_;  // the name an earlier Kelvory gave it; may be file_
    std::string gameText_;               // the executable's own path, as the record writes it (UTF-8 on Windows)
};

// How long a save waits for another Kelvory to finish with the same record.
constexpr std::chrono::milliseconds kRecordLockWait{10000};
