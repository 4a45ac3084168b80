#pragma once

#include <QStringList>
#include <filesystem>

#include "core/Baza.h"

struct FormControls;
class QWidget;

// What became of a save.
enum class SaveOutcome {
    Saved,      // the five tables reached the file
    NotLoaded,  // no block was loaded at start-up; nothing was written
    Failed,     // the file could not be written; the user was told why
    Refused,    // some box holds text its field cannot take; nothing was written
};

// Where a save goes.
struct SaveTarget {
    std::filesystem::path location;  // the exact path behind the location box; empty before a load
    std::filesystem::path lookedAt;  // where start-up looked for the game executable
};

// Saves the block into the game executable and tells the user how it went:
// "Save Successfully", or why nothing (or not everything) was written. While
// any box of the window carries a not-stored mark, nothing is written and the
// message lists those boxes. Once the block is written, `written` receives it
// (before the user is told).
SaveOutcome saveBlock(QWidget* owner, Baza& baza, const FormControls& form, const SaveTarget& target,
                      Baza::Block& written);

// One line per box that carries a not-stored mark, in presenting order: its
// name, its text and what it allows ("Club Name, row 1: "32768" (allowed:
// whole numbers from -32768 to 32767)"). Empty when no box is marked.
QStringList markedBoxes(const FormControls& form);
