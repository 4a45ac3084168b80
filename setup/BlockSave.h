#pragma once

#include <filesystem>
#include <string>

#include "core/Baza.h"

// Writing the league block into the game executable, for everything outside
// the window that writes it (the console program today). Every such write
// goes through saveLeagueBlock, so a change to how Kelvory saves (a record of
// the original bytes, a check for outside changes, a read-back) is made in
// this one place.

// Writes the loaded block of `baza` into the game executable at `game` under
// the window's save rules: only the five regions, in place, never creating,
// truncating or growing the file, flushed to disk before it returns true.
// Returns false, touching nothing, while no block is loaded. Throws SaveError
// when the file cannot be written or is refused (gone, not a regular file,
// too short).
//
// `onDisk` is the block as the caller last loaded it from `game` or saved it
// there: what the file should still hold. Saving does not look at it yet; a
// save that checks for outside changes compares the file with it.
bool saveLeagueBlock(Baza& baza, const Baza::Block& onDisk, const std::filesystem::path& game);

// What the window says when a save fails with `error`, in the same words.
std::string saveFailureMessage(const SaveError& error);

// Why the game executable at `game` did not load (Baza::Wczytaj returned
// false): where Kelvory looked, and the system's reason.
std::string loadFailureMessage(const std::filesystem::path& game);
