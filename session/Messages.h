#pragma once

#include <filesystem>
#include <string>

#include "platform/BinaryFile.h"
#include "store/SafeSave.h"

// What the program tells the user about loading and saving the game
// executable, in one place for the window and the console program. Texts are
// UTF-8.

// A reason as the file layer words it ("the file does not exist"), as a
// sentence of its own ("The file does not exist").
std::string sentence(std::string reason);

// The question put when the file changed outside Kelvory (`change` is not None).
std::string outsideChangeQuestion(OutsideChange change);

// Why a save failed, and what it left.
std::string saveFailureMessage(const SaveError& error);
std::string saveFailureMessage(const SafeSaveError& error);

// Why the game executable at `game` did not load: where Kelvory looked, and
// `reason`, or when it is empty the system's reason.
std::string loadFailureMessage(const std::filesystem::path& game, const std::string& reason = {});
