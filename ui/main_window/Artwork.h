#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <Qt>

// Kelvory's own pictures, drawn in code so the program ships no image files.

// A football pitch seen from above, with the program's name: the picture on
// the main window.
QPixmap drawPitchPicture(const QSize& size);

// A ball on a green disc: the window icon, at the sizes title and task bars
// take.
QIcon drawAppIcon();

// The same picture, `side` pixels square with a transparent surround. Drawing
// it needs no application object, so build tools can draw it too (the Windows
// program's icon file is made from it).
QImage drawAppIconImage(int side);

// A double chevron pointing right (left when `mirrored`), or down: the overflow
// button of a menu bar or tool bar.
QIcon drawOverflowIcon(Qt::Orientation orientation, bool mirrored);
