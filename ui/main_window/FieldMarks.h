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
