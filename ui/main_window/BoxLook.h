#pragma once

#include <QColor>
#include <QLineEdit>

// A box that shows a block value: a thin frame and no inner margin, so the
// widest value of each field fits whole, with its own colour behind the text.
// The frame is drawn by the box itself, so no style sheet is needed.
class ValueBox : public QLineEdit {
public:
    ValueBox(QWidget* parent, const QColor& base);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Least room kept free between the text and each side of a value box.
constexpr int ValueBoxSpare = 2;

// The frame colours of a value box, without and with the focus (the blue of
// the focus ring, FocusRing.h, which goes around it as well).
inline const QColor ValueBoxFrame(0x7a, 0x7a, 0x7a);
inline const QColor ValueBoxFocusFrame(0x2f, 0x65, 0xca);

// Keeps the box's whole text visible: when it does not fit with the window's
// face, the box draws it a little smaller (never below 6 points), and goes
// back to the window's face as soon as it fits again.
void keepTextWhole(QLineEdit* box);
