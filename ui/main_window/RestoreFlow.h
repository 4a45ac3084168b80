#pragma once

#include <filesystem>
#include <optional>

#include "core/Baza.h"

class QWidget;

// Menu > Restore Original Values: the record that Kelvory keeps of the game
// executable's league block (the original and the blocks before each save).

// Whether a record exists for the game executable at `game`.
bool hasOriginalRecord(const std::filesystem::path& game);

// Offers the recorded blocks of `game` (the original first, then the history,
// newest first), each with its date and how many fields differ from `shown`.
// Says so, and lets the user decide, when the executable is not the one the
// record was taken of. Returns the block chosen, or nothing when the user
// cancelled or there is nothing to offer (the user has been told why).
std::optional<Baza::Block> chooseRecordedBlock(QWidget* owner, const std::filesystem::path& game,
                                               const Baza::Block& shown);
