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
//  1. the game executable is opened once for update; its 199 bytes are read
//     and compared with what Kelvory expects there (an outside change is
//     put to the caller, with the file closed and the lock let go meanwhile);
//  2. the record (OriginalRecord.h) notes the bytes about to be overwritten,
//     and what is about to be written, completely on disk first;
//  3. the 199 bytes are written through the same open, synced and closed;
//  4. they are read back through a new open and compared;
//  5. the record notes what was written.
// A write, sync or close that fails, or a read-back that fails or differs,
// puts back the overwritten bytes through a new open and reads them back; a
// save that in the end wrote nothing leaves the record as it found it. The
// game file is read at most 199 + 64 KiB + 199 bytes and written 199 bytes.

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
    // so of another program's change since Kelvory's last save).
    bool lastWrittenToo = false;
};

// Kelvory's own bytes are no outside change: a file whose every byte of the
// block is either the expected one or the one of the record's unfinished write
// (a save that failed part-way) holds what Kelvory left there.
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
    };
    // What went wrong, for PutBack and PartlyWritten.
    enum class Cause {
        Write,            // a write, the sync or the close failed
        ReadBackFailed,   // the bytes written could not be read back
        ReadBackDiffers,  // the bytes read back are not the bytes written
    };
    using Ranges = std::vector<std::pair<std::int64_t, std::size_t>>;

    SafeSaveError(Kind kind, std::filesystem::path file, std::string reason, Cause cause = Cause::Write,
                  Ranges mayHaveChanged = {}, FileStamp stampAfter = {});

    Kind kind() const { return kind_; }
    Cause cause() const { return cause_; }
    // The record file for the record kinds, the game executable otherwise.
    const std::filesystem::path& file() const { return file_; }
    const std::string& reason() const { return reason_; }
    // Offset and length of each region that may hold neither the old nor the new bytes.
    const Ranges& mayHaveChanged() const { return mayHaveChanged_; }
    // PutBack: the file's size and time once the old bytes were back.
    const FileStamp& stampAfter() const { return stampAfter_; }

private:
    Kind kind_;
    Cause cause_;
    std::filesystem::path file_;
    std::string reason_;
    Ranges mayHaveChanged_;
    FileStamp stampAfter_;
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
    bool recordCreated = false;    // this save took the first original
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
