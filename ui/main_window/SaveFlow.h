#pragma once

#include "session/LeagueSession.h"

class QWidget;

// What became of a save.
using SaveOutcome = LeagueSession::SaveStatus;

// Saves the session's values into the game executable and tells the user how
// it went: "Save Successfully", or why nothing (or not everything) was
// written. When the file no longer holds what the session expects, asks
// whether to overwrite, reload or cancel; after Reload, `disk` holds what the
// file holds.
SaveOutcome saveBlock(QWidget* owner, LeagueSession& session, DiskState& disk);
