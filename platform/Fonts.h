#pragma once

#include <QFont>
#include <QStringList>

namespace platform {

// The faces the window asks for, first choice first: Arial, which the layout
// was measured with; Liberation Sans, which has Arial's widths; then the
// system's own sans-serif face for its user interface. A system that lacks a
// face then shows the next one instead of blank boxes.
QStringList windowFontFamilies();

// The window's face at `pointSize` points.
QFont windowFont(qreal pointSize);

}  // namespace platform
