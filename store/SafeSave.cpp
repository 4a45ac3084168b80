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

// The path names another file than the one the save opened.
struct PathSwapped {
    FileIdentity found;
};

// A first record was to be created, and one is at its name now.
struct RecordAppeared {};

SafeSaveError::Ranges regionsUpTo(std::size_t count) {
    SafeSaveError::Ranges ranges;
    for (std::size_t i = 0; i < count; ++i) {
        ranges.emplace_back(kRegions[i].offset, kRegions[i].size);
    }
    return ranges;
}

// One save, from the moment its checks let it write.
class Writing {
public:
    Writing(const std::filesystem::path& game, const RecordPlace& place, std::unique_ptr<OpenFile> file,
            const BlockBytes& before, std::optional<OriginalRecord> found)
        : game_(game),
          place_(place),
          file_(std::move(file)),
          opened_(file_->identity()),
          before_(before),
          found_(std::move(found)) {}

    // Steps 3 to 6 of the save (SafeSave.h); saveSafely has taken 1 and 2.
    SafeSaveResult run(const BlockBytes& bytes) {
        using Cause = SafeSaveError::Cause;
        SafeSaveResult result;
        result.record = place_.file();
        // 3. The record, complete on disk before the game executable is touched.
        const std::string now = recordDateNow();
        OriginalRecord record = startRecord(identityThrough(*file_), now, bytes, result);

        // 4. The 199 bytes, in place, through the open that was checked.
        std::size_t started = 0;
        try {
            writeRegions(*file_, bytes, kRegions.size(), started);
            file_->sync();  // a failed sync may leave any region half on disk
        } catch (const FileError& error) {
            putBack(record, started, Cause::Write, error.reason());
        }

        // 5. Proof: what a new open of the same file finds there. It holds the
        // file while the save's own open closes.
        BlockBytes found{};
        try {
            check_ = openSame(BinaryFile::Mode::Read);
        } catch (const FileError& error) {
            putBack(record, kRegions.size(), Cause::ReadBackFailed,
                    "the bytes could not be read back: " + error.reason());
        } catch (const PathSwapped& swap) {
            swapped(record, kRegions.size(), Cause::Write, swap.found);
        }
        try {
            file_->close();
        } catch (const FileError& error) {
            putBack(record, kRegions.size(), Cause::Write, error.reason());
        }
        file_.reset();
        try {
            found = readRegions(*check_, game_);
            result.stamp = check_->stamp();
            check_->close();
        } catch (const FileError& error) {
            putBack(record, kRegions.size(), Cause::ReadBackFailed,
                    "the bytes could not be read back: " + error.reason());
        }
        check_.reset();
        if (found != bytes) {
            putBack(record, kRegions.size(), Cause::ReadBackDiffers,
                    "the bytes read back differ from the bytes written");
        }

        // 6. What this save wrote, so that a later run can tell another
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
    // The record as this save writes it first: what it found, or what it
    // carries over, with the bytes about to be overwritten and written. Throws
    // RecordAppeared when a first record meets one at its name.
    OriginalRecord startRecord(const ExecutableIdentity& identity, const std::string& now, const BlockBytes& bytes,
                               SafeSaveResult& result) {
        const MetExecutable met =
            meetExecutable(found_, identity, before_, found_ ? std::vector<OriginalRecord>() : place_.others());
        OriginalRecord record = met.record.value_or(OriginalRecord());
        if (met.candidates > 0) {
            result.carriedFrom = record.find(identity)->carriedFrom;
            result.carriedCandidates = met.candidates;
        }
        noteBeforeSave(record, identity, {now, before_});
        record.writing = BlockSnapshot{now, bytes};
        try {
            if (found_) {
                place_.write(record);
            } else {
                place_.create(record);
                result.recordCreated = true;
            }
        } catch (const RecordError& error) {
            if (error.kind() == RecordError::Kind::Appeared) {
                throw RecordAppeared{};
            }
            throw SafeSaveError(SafeSaveError::Kind::RecordUnwritable, place_.file(), error.what());
        }
        return record;
    }

    // A new open of the game's path, when it is the file the save opened.
    // Sound while the save holds that file open (file_ or check_).
    std::unique_ptr<OpenFile> openSame(BinaryFile::Mode mode) {
        std::unique_ptr<OpenFile> file = platform::fileSystem().open(game_, mode);
        if (file->identity() != opened_) {
            const FileIdentity found = file->identity();
            closeQuietly(file);
            throw PathSwapped{found};
        }
        return file;
    }

    // The record as the save found it: the save wrote nothing in the end (a
    // first original stays: it is the file's true original).
    void restoreRecord(OriginalRecord& record) {
        try {
            if (found_) {
                place_.write(*found_);
            } else {
                record.writing.reset();
                place_.write(record);
            }
        } catch (const RecordError&) {
        }
    }

    // Puts back regions 0..touched-1 as they were before the save, through a
    // new open proven to be the file written, and reads them back. Always
    // throws.
    [[noreturn]] void putBack(OriginalRecord& record, std::size_t touched, SafeSaveError::Cause cause,
                              const std::string& reason) {
        FileStamp stamp;
        try {
            std::unique_ptr<OpenFile> file = openSame(BinaryFile::Mode::ReadWrite);
            // Whatever state the save's own opens are in, they are done with:
            // this one holds the file now.
            check_.reset();
            file_ = std::move(file);
            std::size_t started = 0;
            writeRegions(*file_, before_, touched, started);
            file_->sync();
            check_ = openSame(BinaryFile::Mode::Read);
            file_->close();
            file_.reset();
            const BlockBytes found = readRegions(*check_, game_);
            stamp = check_->stamp();
            check_->close();
            check_.reset();
            if (found != before_) {
                throw FileError(game_, "the bytes put back read back otherwise");
            }
        } catch (const FileError&) {
            file_.reset();
            check_.reset();
            // The record keeps saying what was being written: those bytes are
            // Kelvory's own, and restoring the original is not refused for them.
            throw SafeSaveError(SafeSaveError::Kind::PartlyWritten, game_, reason, cause, regionsUpTo(touched));
        } catch (const PathSwapped& swap) {
            swapped(record, touched, cause, swap.found);
        }
        restoreRecord(record);
        throw SafeSaveError(SafeSaveError::Kind::PutBack, game_, reason, cause, {}, stamp);
    }

    // Another file is at the path now: nothing is written into it. What this
    // save wrote into the file it opened goes back through its own open,
    // when it still has it. Always throws.
    [[noreturn]] void swapped(OriginalRecord& record, std::size_t touched, SafeSaveError::Cause cause,
                              const FileIdentity& found) {
        SafeSaveError::Swap swap{opened_, found, {}};
        SafeSaveError::Ranges ranges = regionsUpTo(touched);
        for (OpenFile* own : {file_.get(), check_.get()}) {
            try {
                if (own && swap.openedNow.empty()) {
                    swap.openedNow = own->currentPath();
                }
            } catch (const FileError&) {
            }
        }
        if (file_) {
            try {
                std::size_t started = 0;
                writeRegions(*file_, before_, touched, started);
                file_->sync();
                if (readRegions(*file_, game_) == before_) {
                    ranges.clear();
                }
                file_->close();
            } catch (const FileError&) {
                ranges = regionsUpTo(touched);
            }
        }
        file_.reset();
        check_.reset();
        if (ranges.empty()) {
            restoreRecord(record);
        }
        throw SafeSaveError(SafeSaveError::Kind::Swapped, game_,
                            "another file took the place of the game executable during the save", cause, ranges, {},
                            swap);
    }

    const std::filesystem::path& game_;
    const RecordPlace& place_;
    std::unique_ptr<OpenFile> file_;   // the save's own open, for update
    std::unique_ptr<OpenFile> check_;  // a new open of the same file, for reading back
    FileIdentity opened_;
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
                             Ranges mayHaveChanged, FileStamp stampAfter, Swap swap)
    : std::runtime_error(reason),
      kind_(kind),
      cause_(cause),
      file_(std::move(file)),
      reason_(std::move(reason)),
      mayHaveChanged_(std::move(mayHaveChanged)),
      stampAfter_(stampAfter),
      swap_(std::move(swap)) {}

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
    std::optional<BlockBytes> unfinished;  // the caller's own
    if (expected.unfinished) {
        unfinished = baza_regions::bytesOf(*expected.unfinished);
    }
    std::optional<BlockBytes> overwrite;  // bytes the user chose to save over
    bool appeared = false;                // a first record met one at its name once already
    for (;;) {
        std::unique_ptr<platform::FileLock> lock;
        try {
            lock = place->lock(kRecordLockWait);
        } catch (const RecordError& error) {
            throw SafeSaveError(error.kind() == RecordError::Kind::Busy ? Kind::Busy : Kind::RecordUnwritable,
                                place->file(), error.what());
        }
        place->removeLeftovers();
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
        disk.block = baza_regions::blockOf(disk.bytes);
        disk.change = compareWithExpected(disk.bytes, disk.stamp, baza_regions::bytesOf(expected.block), expected.stamp,
                                          unfinished);
        if (disk.change == OutsideChange::None && expected.lastWrittenToo && record && record->lastWritten) {
            std::optional<BlockBytes> writing;
            if (record->writing) {
                writing = record->writing->bytes;
            }
            disk.change = compareWithExpected(disk.bytes, {}, record->lastWritten->bytes, {}, writing);
        }
        if (disk.change == OutsideChange::None || overwrite == disk.bytes) {
            SafeSaveResult result;
            if (bytes == disk.bytes) {
                // Nothing to write: the file and the record stay as they are.
                closeQuietly(file);
                result.unchanged = true;
                result.stamp = disk.stamp;
                result.record = place->file();
            } else {
                try {
                    result = Writing(game, *place, std::move(file), disk.bytes, std::move(record)).run(bytes);
                } catch (const RecordAppeared&) {
                    // A record is there after all (a read that took it for
                    // missing): start over with it, once.
                    if (appeared) {
                        throw SafeSaveError(Kind::RecordUnreadable, place->file(),
                                            "a record is at its name, and reading it finds none");
                    }
                    appeared = true;
                    continue;
                }
            }
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

RecordView viewRecord(const std::filesystem::path& recordFolder, const std::filesystem::path& game) {
    const RecordPlace place(recordFolder, game);
    RecordView view;
    view.file = place.file();
    const std::optional<OriginalRecord> record = place.read();
    view.record = record;
    try {
        std::unique_ptr<OpenFile> file = platform::fileSystem().open(game, BinaryFile::Mode::Read);
        const BlockBytes block = readRegions(*file, game);
        view.identity = identityThrough(*file);
        closeQuietly(file);
        MetExecutable met =
            meetExecutable(record, *view.identity, block, record ? std::vector<OriginalRecord>() : place.others());
        view.record = std::move(met.record);
        view.candidates = met.candidates;
        if (const std::optional<std::string> date = record ? record->wroteDate(block) : std::nullopt) {
            view.wroteThisBlock = CarriedFrom{*date, place.gameText()};
        } else if (met.candidates > 0) {
            view.wroteThisBlock = view.record->find(*view.identity)->carriedFrom;
        }
    } catch (const FileError&) {
        view.identity.reset();
    }
    if (view.record && view.record->path.empty()) {
        view.record->path = place.gameText();
    }
    return view;
}

std::optional<std::filesystem::path> setAsideDamagedRecord(const std::filesystem::path& recordFolder,
                                                           const std::filesystem::path& game) {
    const RecordPlace place(recordFolder, game);
    try {
        place.read();
        return std::nullopt;  // none, or one that reads well: nothing to set aside, nothing created
    } catch (const RecordError&) {
    }
    const std::unique_ptr<platform::FileLock> lock = place.lock(kRecordLockWait);
    return place.setAside();
}
