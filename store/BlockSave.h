#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/Baza.h"
#include "store/SafeSave.h"

// Writing the league block into the game executable. Every write, from the
// window and from the console program, goes through saveLeagueBlock: the
// check for outside changes, the record of the original bytes, the write, the
// put-back of a failed write and the read-back are made in this one place
// (SafeSave.h).

// What to do when the file no longer holds what Kelvory expects there.
enum class OutsideChangeAnswer {
    Overwrite,  // save the values anyway
    Reload,     // save nothing; the caller shows what the file holds
    Cancel,     // save nothing
};

struct BlockSaveResult {
    enum class Status {
        Saved,      // written, flushed and read back
        NotLoaded,  // no block loaded: nothing was opened
        Reload,     // an outside change, answered Reload: nothing was written
        Cancelled,  // an outside change, answered Cancel: nothing was written
    };
    Status status = Status::NotLoaded;
    DiskState disk;       // the file right before the save (once it was read)
    SafeSaveResult save;  // once saved
};

// Saves the loaded block of `baza` into the game executable at `game`: only
// the five regions, in place, never creating, truncating or growing the file.
// `expected` and `expectedStamp` are what the file should hold (the block
// last loaded or saved there, and the file's size and time then; a stamp of
// size -1 is not compared). When the file holds something else,
// `onOutsideChange` decides. Records go into `recordFolder`.
// Throws SaveError (the file cannot be opened, or is refused) and
// SafeSaveError (record, read-back, failed write: SafeSave.h).
BlockSaveResult saveLeagueBlock(Baza& baza, const Baza::Block& expected, const FileStamp& expectedStamp,
                                const std::filesystem::path& game, const std::filesystem::path& recordFolder,
                                const std::function<OutsideChangeAnswer(const DiskState&)>& onOutsideChange);

// The question put when the file changed outside Kelvory (`change` is not None).
std::string outsideChangeQuestion(OutsideChange change);

// What the window says when a save fails with `error`, in the same words.
std::string saveFailureMessage(const SaveError& error);
std::string saveFailureMessage(const SafeSaveError& error);

// Why the game executable at `game` did not load (Baza::Wczytaj returned
// false): where Kelvory looked, and the system's reason.
std::string loadFailureMessage(const std::filesystem::path& game);
