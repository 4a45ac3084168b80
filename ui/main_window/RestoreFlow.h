#pragma once

#include <optional>

#include "session/LeagueSession.h"

class QWidget;

// Menu > Restore Original Values: offers the blocks the record keeps of the
// session's game executable (its original first, then the blocks before each
// later save, newest first, then the originals of executables that stood at
// the same path before), each with its date and how many fields differ from
// the window. Says so, and lets the user decide, when the executable is not
// the one the values were taken of. Returns the recorded block chosen, or nothing when
// the user cancelled or there is nothing to offer (the user has been told why).
std::optional<RecordedBlock> chooseRecordedBlock(QWidget* owner, const LeagueSession& session);
