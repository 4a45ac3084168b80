#pragma once

#include <QString>

class QLineEdit;

// The mark a box carries while its text cannot be stored in its field: a red
// frame with a warning corner drawn over the box (the corner's shape tells it
// apart without colour), the reason as tooltip and as accessible description
// (with the box's other states, FieldStates.h).
// An empty reason takes the mark away. Setting the same reason again does
// nothing.
void setFieldMark(QLineEdit* box, const QString& reason);

// The reason the box is marked for, or an empty string.
QString fieldMark(const QLineEdit* box);

// The mark a box carries while its field holds a value the game is not known
// to take: an amber triangle in the top right corner and a dotted amber frame
// (the corner's place and the frame's dots tell it apart from the not-stored
// mark without colour; a box may carry both), the sentence ("Outside what the
// game takes: map codes 0 to 10") as tooltip and accessible description,
// beside the box's other states. An empty sentence takes the mark away.
void setOutsideMark(QLineEdit* box, const QString& sentence);
QString outsideMark(const QLineEdit* box);
