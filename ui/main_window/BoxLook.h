#pragma once

#include <QColor>

class QLineEdit;

// The look of the boxes that show block values: a thin frame and no inner
// margin, so the widest value of each field fits whole, with `base` behind
// the text.
void styleValueBox(QLineEdit* box, const QColor& base);

// Least room kept free between the text and each side of a value box.
constexpr int ValueBoxSpare = 2;

// Keeps the box's whole text visible: when it does not fit with the window's
// face, the box draws it a little smaller (never below 6 points), and goes
// back to the window's face as soon as it fits again.
void keepTextWhole(QLineEdit* box);
