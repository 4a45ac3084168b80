#include "store/SafeSave.h"

#include <memory>

#include "platform/FileSystem.h"
#include "store/RecordFile.h"
#include "store/Sha256.h"

using baza_regions::BlockBytes;
using baza_regions::kRegions;
using baza_regions::Region;
using platform::OpenFile;

namespace {

// Where region `index` starts within the 199 bytes.
std::size_t startOf(std::size_t index) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < index; ++i) {
        at += kRegions[i].size;
    }
    return at;
}

// The 199 bytes at the five regions; a file that ends early is refused.
BlockBytes readRegions(OpenFile& file, const std::filesystem::path& game) {
    if (file.size() < Baza::BlockEnd) {
        throw Baza::tooShortError(game, file.size());
    }
    BlockBytes bytes{};
    for (std::size_t i = 0; i < kRegions.size(); ++i) {
        const Region& region = kRegions[i];
        if (file.readAt(region.offset, bytes.data() + startOf(i), region.size) != region.size) {
            throw FileError(game, "the file ended while the league block was read");
        }
    }
    return bytes;
}

// Writes regions 0..count-1 of `bytes`; `started` counts the regions begun.
void writeRegions(OpenFile& file, const BlockBytes& bytes, std::size_t count, std::size_t& started) {
    for (std::size_t i = 0; i < count; ++i) {
        started = i + 1;
        file.writeAt(kRegions[i].offset, bytes.data() + startOf(i), kRegions[i].size);
    }
}

ExecutableIdentity identityThrough(OpenFile& file) {
    std::string head(kIdentityBytes, '\0');
    head.resize(file.readAt(0, head.data(), head.size()));
    return {file.size(), sha256Hex(head)};
}

// Closes a file the save only read from; a failure there changes nothing.
void closeQuietly(std::unique_ptr<OpenFile>& file) {
    try {
        file->close();
    } catch (const FileError&) {
    }
    file.reset();
}

// One save, from the moment its checks let it write.
class Writing {
public:
    Writing(const std::filesystem::path& game, const RecordPlace& place, std::unique_ptr<OpenFile> file,
            const BlockBytes& before, std::optional<OriginalRecord> found)
        : game_(game), place_(place), file_(std::move(file)), before_(before), found_(std::move(found)) {}

    SafeSaveResult run(const BlockBytes& bytes) {
        using Kind = SafeSaveError::Kind;
        SafeSaveResult result;
        result.record = place_.file();
        // 1. The record, complete on disk before the game executable is touched.
        const std::string now = recordDateNow();
        OriginalRecord record;
        const ExecutableIdentity identity = identityThrough(*file_);
        if (found_) {
            record = *found_;
            noteBeforeSave(record, identity, {now, before_});
        } else {
            record.executables.push_back({identity, {now, before_}, {}});
            result.recordCreated = true;
        }
        record.writing = BlockSnapshot{now, bytes};
        try {
            place_.write(record);
        } catch (const RecordError& error) {
            throw SafeSaveError(Kind::RecordUnwritable, place_.file(), error.what());
        }

        // 2. The 199 bytes, in place, through the open that was checked.
        std::size_t started = 0;
        try {
            writeRegions(*file_, bytes, kRegions.size(), started);
            file_->sync();  // a failed sync or close may leave any region half on disk
            file_->close();
        } catch (const FileError& error) {
            putBack(record, started, SafeSaveError::Cause::Write, error.reason());
        }
        file_.reset();

        // 3. Proof: what a new open finds there.
        BlockBytes found{};
        try {
            std::unique_ptr<OpenFile> check = platform::fileSystem().open(game_, BinaryFile::Mode::Read);
            found = readRegions(*check, game_);
            result.stamp = check->stamp();
            check->close();
        } catch (const FileError& error) {
            putBack(record, kRegions.size(), SafeSaveError::Cause::ReadBackFailed,
                    "the bytes could not be read back: " + error.reason());
        }
        if (found != bytes) {
            putBack(record, kRegions.size(), SafeSaveError::Cause::ReadBackDiffers,
                    "the bytes read back differ from the bytes written");
        }

        // 4. What this save wrote, so that a later run can tell another
        // program's change from Kelvory's own. The save itself has succeeded:
        // when only this note cannot be written, the record still says what
        // was being written, which counts as Kelvory's own.
        record.lastWritten = BlockSnapshot{now, bytes};
        record.writing.reset();
        try {
            place_.write(record);
        } catch (const RecordError&) {
        }
        return result;
    }

private:
    // Puts back regions 0..touched-1 as they were before the save, through a
    // new open, and reads them back. Always throws.
    [[noreturn]] void putBack(OriginalRecord& record, std::size_t touched, SafeSaveError::Cause cause,
                              const std::string& reason) {
        file_.reset();  // whatever state the save's own open is in, it is done with
        FileStamp stamp;
        try {
            std::unique_ptr<OpenFile> file = platform::fileSystem().open(game_, BinaryFile::Mode::ReadWrite);
            std::size_t started = 0;
            writeRegions(*file, before_, touched, started);
            file->sync();
            file->close();
            std::unique_ptr<OpenFile> check = platform::fileSystem().open(game_, BinaryFile::Mode::Read);
            const BlockBytes found = readRegions(*check, game_);
            stamp = check->stamp();
            check->close();
            if (found != before_) {
                throw FileError(game_, "the bytes put back read back otherwise");
            }
        } catch (const FileError&) {
            SafeSaveError::Ranges ranges;
            for (std::size_t i = 0; i < touched; ++i) {
                ranges.emplace_back(kRegions[i].offset, kRegions[i].size);
            }
            // The record keeps saying what was being written: those bytes are
            // Kelvory's own, and restoring the original is not refused for them.
            throw SafeSaveError(SafeSaveError::Kind::PartlyWritten, game_, reason, cause, ranges);
        }
        // In the end the save wrote nothing: the record goes back to what it
        // was (a first original stays: it is the file's true original).
        try {
            if (found_) {
                place_.write(*found_);
            } else {
                record.writing.reset();
                place_.write(record);
            }
        } catch (const RecordError&) {
        }
        throw SafeSaveError(SafeSaveError::Kind::PutBack, game_, reason, cause, {}, stamp);
    }

    const std::filesystem::path& game_;
    const RecordPlace& place_;
    std::unique_ptr<OpenFile> file_;
    BlockBytes before_;
    std::optional<OriginalRecord> found_;
};

}  // namespace

OutsideChange compareWithExpected(const BlockBytes& found, const FileStamp& stamp, const BlockBytes& expected,
                                  const FileStamp& expectedStamp, const std::optional<BlockBytes>& unfinished) {
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i] != expected[i] && (!unfinished || found[i] != (*unfinished)[i])) {
            return OutsideChange::Block;
        }
    }
    // After an unfinished write of Kelvory's own the file's time says nothing.
    if (!unfinished && expectedStamp.size >= 0 && stamp != expectedStamp) {
        return OutsideChange::SizeOrTime;
    }
    return OutsideChange::None;
}

SafeSaveError::SafeSaveError(Kind kind, std::filesystem::path file, std::string reason, Cause cause,
                             Ranges mayHaveChanged, FileStamp stampAfter)
    : std::runtime_error(reason),
      kind_(kind),
      cause_(cause),
      file_(std::move(file)),
      reason_(std::move(reason)),
      mayHaveChanged_(std::move(mayHaveChanged)),
      stampAfter_(stampAfter) {}

ExecutableIdentity identityOf(const std::filesystem::path& game) {
    std::unique_ptr<OpenFile> file = platform::fileSystem().open(game, BinaryFile::Mode::Read);
    const ExecutableIdentity identity = identityThrough(*file);
    file->close();
    return identity;
}

SafeSaveResult saveSafely(const Baza::Block& values, const std::filesystem::path& game, const Expected& expected,
                          const std::filesystem::path& recordFolder, const OutsideChangeQuestion& ask) {
    using Kind = SafeSaveError::Kind;
    if (game.empty()) {
        throw FileError::noName(game);
    }
    std::optional<RecordPlace> place;
    try {
        place.emplace(recordFolder, game);
    } catch (const RecordError& error) {
        throw SafeSaveError(Kind::RecordUnwritable, recordFolder, error.what());
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::Missing) {
            throw SaveError(game, "the file no longer exists", error.kind());
        }
        throw;
    }
    const BlockBytes bytes = baza_regions::bytesOf(values);
    std::optional<BlockBytes> overwrite;  // bytes the user chose to save over
    for (;;) {
        std::unique_ptr<platform::FileLock> lock;
        try {
            lock = place->lock(kRecordLockWait);
        } catch (const RecordError& error) {
            throw SafeSaveError(error.kind() == RecordError::Kind::Busy ? Kind::Busy : Kind::RecordUnwritable,
                                place->file(), error.what());
        }
        std::unique_ptr<OpenFile> file;
        DiskState disk;
        try {
            file = platform::fileSystem().open(game, BinaryFile::Mode::ReadWrite);
            disk.bytes = readRegions(*file, game);
            disk.stamp = file->stamp();
        } catch (const FileError& error) {
            if (error.kind() == FileError::Kind::Missing) {
                throw SaveError(game, "the file no longer exists", error.kind());
            }
            throw;
        }
        std::optional<OriginalRecord> record;
        try {
            record = place->read();
        } catch (const RecordError& error) {
            throw SafeSaveError(Kind::RecordUnreadable, place->file(), error.what());
        }
        std::optional<BlockBytes> unfinished;
        if (record && record->writing) {
            unfinished = record->writing->bytes;
        }
        disk.block = baza_regions::blockOf(disk.bytes);
        disk.change = compareWithExpected(disk.bytes, disk.stamp, baza_regions::bytesOf(expected.block), expected.stamp,
                                          unfinished);
        if (disk.change == OutsideChange::None && expected.lastWrittenToo && record && record->lastWritten) {
            disk.change = compareWithExpected(disk.bytes, {}, record->lastWritten->bytes, {}, unfinished);
        }
        if (disk.change == OutsideChange::None || overwrite == disk.bytes) {
            SafeSaveResult result = Writing(game, *place, std::move(file), disk.bytes, std::move(record)).run(bytes);
            result.disk = disk;
            return result;
        }
        // Nothing is held while the user thinks it over; the file is checked
        // again afterwards, and asked about again if it changed once more.
        closeQuietly(file);
        lock.reset();
        SafeSaveResult result;
        result.disk = disk;
        result.record = place->file();
        switch (ask(disk)) {
            case OutsideChangeAnswer::Overwrite:
                overwrite = disk.bytes;
                continue;
            case OutsideChangeAnswer::Reload:
                result.status = SafeSaveResult::Status::Reload;
                return result;
            case OutsideChangeAnswer::Cancel:
                result.status = SafeSaveResult::Status::Cancelled;
                return result;
        }
    }
}
