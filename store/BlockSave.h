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

struct BlockSaveResult {
    enum class Status {
        Saved,      // written, synced and read back
        NotLoaded,  // no block loaded: nothing was opened
        Reload,     // an outside change, answered Reload: nothing was written
        Cancelled,  // an outside change, answered Cancel: nothing was written
    };
    Status status = Status::NotLoaded;
    SafeSaveResult save;  // once the file was opened
};

// Saves the loaded block of `baza` into the game executable at `game`: only
// the five regions, in place, never creating, truncating or growing the file
// (SafeSave.h). Records go into `recordFolder`.
// Throws SaveError (the file cannot be opened, or is refused) and
// SafeSaveError (record, read-back, failed write: SafeSave.h).
BlockSaveResult saveLeagueBlock(const Baza& baza, const Expected& expected, const std::filesystem::path& game,
                                const std::filesystem::path& recordFolder, const OutsideChangeQuestion& ask);

// The question put when the file changed outside Kelvory (`change` is not None).
std::string outsideChangeQuestion(OutsideChange change);

// What the window says when a save fails with `error`, in the same words.
std::string saveFailureMessage(const SaveError& error);
std::string saveFailureMessage(const SafeSaveError& error);

// Why the game executable at `game` did not load: where Kelvory looked, and
// `reason`, or when it is empty the system's reason (Baza::Wczytaj returned
// false).
std::string loadFailureMessage(const std::filesystem::path& game, const std::string& reason = {});
