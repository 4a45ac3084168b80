#pragma once

#include <optional>

#include "session/LeagueSession.h"

class QWidget;

// Menu > "Import League Setup…" and "Export League Setup…": the session's
// values as a league setup file (setup/LeagueSetup.h) and back.
//
// Both work on what the block holds. While any box holds text its field cannot
// take, its text and its field disagree, so both refuse, as Save does, and
// list those boxes. Without a loaded block there is nothing to export or
// import into, and the user is told so.

// Asks where to save, writes every box's value there and says where it went.
// The folder is remembered for the next export or import.
void exportLeagueSetup(QWidget* owner, const LeagueSession& session);

// Asks for a setup file and reads it. A file that cannot be read changes
// nothing and the user is told the file, the line and what is wrong.
// Otherwise the boxes the file would change are listed, old value and new;
// on "Apply" the preview is returned, for the window to have the session apply
// it as unsaved edits. The game executable is never written here: that is
// Save's work.
std::optional<SetupPreview> importLeagueSetup(QWidget* owner, const LeagueSession& session);
