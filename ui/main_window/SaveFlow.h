#pragma once

#include <QStringList>
#include <filesystem>

#include "core/Baza.h"
#include "store/SafeSave.h"

struct FormControls;
class QWidget;

// What became of a save.
enum class SaveOutcome {
    Saved,      // the five tables reached the file and were read back
    NotLoaded,  // no block was loaded at start-up; nothing was written
    Failed,     // the file could not be written, or does not hold what was written; the user was told why
    Refused,    // some box holds text its field cannot take; nothing was written
    Cancelled,  // another program changed the file, and the user chose Cancel; nothing was written
    Reload,     // another program changed the file, and the user chose Reload; nothing was written
};

// Where a save goes.
struct SaveTarget {
    std::filesystem::path location;  // the exact path behind the location box; empty before a load
    std::filesystem::path lookedAt;  // where start-up looked for the game executable
};

// What the file holds as far as the window knows: the block and the file's
// size and time after the last load or successful save.
struct FileState {
    Baza::Block block;
    FileStamp stamp;
};

// Saves the block into the game executable and tells the user how it went:
// "Save Successfully", or why nothing (or not everything) was written. While
// any box of the window carries a not-stored mark, nothing is written and the
// message lists those boxes. When the file no longer holds `saved`, asks
// whether to overwrite, reload or cancel. Once the block is written and read
// back, `saved` receives it (before the user is told); after Reload, `onDisk`
// receives what the file holds.
SaveOutcome saveBlock(QWidget* owner, Baza& baza, const FormControls& form, const SaveTarget& target, FileState& saved,
                      FileState& onDisk);

// One line per box that carries a not-stored mark, in presenting order: its
// name, its text and what it allows ("Club Name, row 1: "32768" (allowed:
// whole numbers from -32768 to 32767)"). Empty when no box is marked.
QStringList markedBoxes(const FormControls& form);
