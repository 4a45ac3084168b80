#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <Qt>

// Kelvory's own pictures, drawn in code so the program ships no image files.

// A football pitch seen from above, with the program's name: the picture on
// the main window.
QPixmap drawPitchPicture(const QSize& size);

// A ball on a green disc: the window icon.
QIcon drawAppIcon();

// A double chevron pointing right (left when `mirrored`), or down: the overflow
// button of a menu bar or tool bar.
QIcon drawOverflowIcon(Qt::Orientation orientation, bool mirrored);
