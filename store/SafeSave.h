#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/Baza.h"
#include "core/BazaRegions.h"
#include "platform/BinaryFile.h"
#include "store/OriginalRecord.h"

// Saving the league block so that there is always a way back. One save, under
// a lock that keeps every other Kelvory out of the same record:
//  1. temporary record files that earlier saves left behind are removed;
//  2. the game executable is opened once for update; its 199 bytes are read
//     and compared with what Kelvory expects there (an outside change is
//     put to the caller, with the file closed and the lock let go meanwhile);
//     when they already are the bytes to save, nothing more is done;
//  3. the record (OriginalRecord.h) notes the bytes about to be overwritten,
//     and what is about to be written, completely on disk first; a first
//     record never replaces a file at its name (one that appears meanwhile is
//     read and the save starts over with it), and carries over the original
//     of a moved, copied or patched game (meetExecutable);
//  4. the 199 bytes are written through the same open and synced;
//  5. a new open, proven to be the same file (FileIdentity) while the save's
//     own is still open, holds the file while the save's own open closes,
//     and reads the bytes back;
//  6. the record notes what was written.
// A write, sync or close that fails, or a read-back that fails or differs,
// puts back the overwritten bytes through a new open proven to be the same
// file and reads them back; a save that in the end wrote nothing leaves the
// record as it found it. When the path names another file than the one
// opened (it was replaced during the save), nothing is written into that
// one: what the save wrote is put back through its own open, when it still
// has it. The game file is read at most 199 + 64 KiB + 199 bytes and written
// 199 bytes (twice when the bytes are put back).

// What another program did to the game executable since Kelvory last loaded
// or saved it.
enum class OutsideChange {
    None,
    Block,       // the 199 bytes of the league block differ
    SizeOrTime,  // the block is the same, but the file's size or time changed
};

// The game executable as the save found it.
struct DiskState {
    baza_regions::BlockBytes bytes{};
    Baza::Block block;
    FileStamp stamp;
    OutsideChange change = OutsideChange::None;
};

// What the file should hold when the save begins.
struct Expected {
    Baza::Block block;  // the block last loaded or saved there
    FileStamp stamp;    // the file's size and time then; size -1: not compared
    // `block` must also be what the record says Kelvory last wrote, when it
    // says so (the console program, which loads right before it saves, learns
    // so of another program's change since Kelvory's last save). There the
    // record's unfinished write (its "writing" line) counts as Kelvory's own.
    bool lastWrittenToo = false;
    // The caller's own save that failed part-way (PartlyWritten), when it
    // made one since `block`: its bytes count as the caller's own. The
    // record's "writing" line never does for `block`: it may be another
    // Kelvory's save, whose change this caller has not seen.
    std::optional<Baza::Block> unfinished = std::nullopt;
};

// Kelvory's own bytes are no outside change: a file whose every byte of the
// block is either the expected one or the one of an unfinished write (a save
// that failed part-way) holds what Kelvory left there.
OutsideChange compareWithExpected(const baza_regions::BlockBytes& found, const FileStamp& stamp,
                                  const baza_regions::BlockBytes& expected, const FileStamp& expectedStamp,
                                  const std::optional<baza_regions::BlockBytes>& unfinished);

enum class OutsideChangeAnswer {
    Overwrite,  // save the values anyway
    Reload,     // save nothing; the caller shows what the file holds
    Cancel,     // save nothing
};

// A save that did not go as it should, once the file had been opened.
class SafeSaveError : public std::runtime_error {
public:
    enum class Kind {
        RecordUnwritable,  // the record could not be written: the game executable was not touched
        RecordUnreadable,  // a record may exist but cannot be read: it is not replaced, nothing was written
        Busy,              // another Kelvory is saving into the same executable: nothing was written
        PutBack,           // the save failed; what had been overwritten was put back and read back
        PartlyWritten,     // the save failed and putting back failed too: `mayHaveChanged` lists the bytes
        Swapped,           // the path names another file than the one the save opened and wrote: nothing was
                           // written into that one; `swap` says which files, `mayHaveChanged` what the opened one
                           // may hold (empty: its old bytes were put back through the save's own open)
    };
    // What went wrong, for PutBack and PartlyWritten; for Swapped, why the
    // bytes were being put back when the other file was found (Write: it was
    // found while reading back a write that had gone well).
    enum class Cause {
        Write,            // a write, the sync or the close failed
        ReadBackFailed,   // the bytes written could not be read back
        ReadBackDiffers,  // the bytes read back are not the bytes written
    };
    using Ranges = std::vector<std::pair<std::int64_t, std::size_t>>;
    // Swapped: the file the save opened, and the one at the path now.
    struct Swap {
        FileIdentity opened;
        FileIdentity found;
        std::filesystem::path openedNow;  // where the opened file is now; empty: deleted, or unknown
    };

    SafeSaveError(Kind kind, std::filesystem::path file, std::string reason, Cause cause = Cause::Write,
                  Ranges mayHaveChanged = {}, FileStamp stampAfter = {}, Swap swap = {});

    Kind kind() const { return kind_; }
    Cause cause() const { return cause_; }
    // The record file for the record kinds, the game executable otherwise.
    const std::filesystem::path& file() const { return file_; }
    const std::string& reason() const { return reason_; }
    // Offset and length of each region that may hold neither the old nor the new bytes.
    const Ranges& mayHaveChanged() const { return mayHaveChanged_; }
    // PutBack: the file's size and time once the old bytes were back.
    const FileStamp& stampAfter() const { return stampAfter_; }
    const Swap& swap() const { return swap_; }

private:
    Kind kind_;
    Cause cause_;
    std::filesystem::path file_;
    std::string reason_;
    Ranges mayHaveChanged_;
    FileStamp stampAfter_;
    Swap swap_;
};

struct SafeSaveResult {
    enum class Status {
        Saved,      // written, synced and read back
        Reload,     // an outside change, answered Reload: nothing was written
        Cancelled,  // an outside change, answered Cancel: nothing was written
    };
    Status status = Status::Saved;
    DiskState disk;                // the file as the save found it
    FileStamp stamp;               // Saved: the file after the save
    std::filesystem::path record;  // the record file
    bool recordCreated = false;    // this save created the record (its original: the block it found, or carried over)
    bool unchanged = false;        // Saved: the file held these bytes already; neither it nor the record was touched
    // The original and history this save carried over from another record
    // (a moved, copied or patched game): from where, and how many records
    // could have been carried from (more than 1: the newest was taken).
    std::optional<CarriedFrom> carriedFrom;
    std::size_t carriedCandidates = 0;
};

using OutsideChangeQuestion = std::function<OutsideChangeAnswer(const DiskState&)>;

// Writes `values` into the five regions of `game`, in place, as above, with
// its record in `recordFolder`. When the file does not hold what `expected`
// says, `ask` decides. Throws SaveError (FileError) when the file cannot be
// opened for writing, is gone, is not a regular file or ends before the block
// (nothing written, the record untouched), and SafeSaveError as above.
SafeSaveResult saveSafely(const Baza::Block& values, const std::filesystem::path& game, const Expected& expected,
                          const std::filesystem::path& recordFolder, const OutsideChangeQuestion& ask);

// Size and SHA-256 of the first 64 KiB of `game`, for comparing with a
// record. Throws FileError.
ExecutableIdentity identityOf(const std::filesystem::path& game);

// The record of `game` as its next save would start from it, for the restore
// list and dry runs: read without a lock, and nothing is written or created
// (no data folder, no lock file; a read-only data folder is fine).
struct RecordView {
    std::filesystem::path file;  // where the record of this executable lives (or will)
    // The record, with the entry the next save would carry over (from
    // another record, or from the entry a patched game had); none when there
    // is nothing recorded for this executable anywhere.
    std::optional<OriginalRecord> record;
    // The executable now; none when it cannot be read (then `record` is the
    // record at the path as it is).
    std::optional<ExecutableIdentity> identity;
    std::size_t candidates = 0;  // as MetExecutable: more than 1, the newest was taken
    // When and where Kelvory wrote the block the file holds now: this
    // record's last-written or writing line, or the record it would be
    // carried from; none when Kelvory did not write it (as far as its records
    // tell) or the file cannot be read.
    std::optional<CarriedFrom> wroteThisBlock;
};
// Throws RecordError (no data folder; a record at the path that cannot be
// read) and FileError (the game cannot be found).
RecordView viewRecord(const std::filesystem::path& recordFolder, const std::filesystem::path& game);

// Sets the record of `game` aside when it cannot be read (RecordPlace::
// setAside), under its lock, so that the next save starts a new record.
// Returns where it went; none when there was nothing to set aside (then
// nothing is created either). Throws RecordError: Kind::Busy when another
// Kelvory holds the lock, Kind::Unwritable when it cannot be renamed.
std::optional<std::filesystem::path> setAsideDamagedRecord(const std::filesystem::path& recordFolder,
                                                           const std::filesystem::path& game);
