#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// The launcher that "Save and Start Game" starts after a save: its path is
// shown in the launcher box, chosen with the "..." button and remembered in
// the user's settings between runs.

// The remembered launcher path, or "Change..." when none is remembered.
QString rememberedLauncher();

// Shows the open-file dialog for the launcher. A chosen file that exists
// replaces the text of `box`; after a cancel, or a file that does not exist,
// the box keeps its text. Either way the box's text is remembered, and the
// user is told when it could not be.
void chooseLauncher(QWidget* owner, QLineEdit* box);

// Starts `commandLine` as the launcher, without waiting for it; tells the
// user when it could not be started, and when none is chosen yet (an empty
// box, or "Change...").
void startLauncher(QWidget* owner, const QString& commandLine);
