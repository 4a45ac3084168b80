#pragma once

#include <QString>
#include <QStringList>

#include "core/Baza.h"

struct Field;
class QWidget;

// What the window shows of the edits made since the block was last loaded or
// saved: the changed mark on a field's box and picker, and the words that
// name a change.
//
// The changed mark is bold text and a dark bar two pixels high along the
// bottom edge of the control's text field: two cues that need no colour,
// and unlike the not-stored mark (a red frame all round with a warning
// corner top left, FieldMarks.h), so a box can carry both and each is still
// told apart. The bar lies over the box's own frame line, outside the text:
// the boxes are as wide as their widest value, and a mark inside would cover
// digits. The sentence ("Changed: was 12") is the control's tooltip and part
// of its accessible description, beside its other states (FieldStates.h).

// Marks `control` (a box or a picker) as changed with `sentence`; an empty
// sentence takes the mark away. Setting the same sentence again does nothing.
void setChangedMark(QWidget* control, const QString& sentence);

// The sentence the control is marked with, or an empty string.
QString changedMark(const QWidget* control);

// A field's value in `block` as the window shows it: the number in decimal,
// or a category's 11 characters in double quotes, so that blanks show.
QString shownValue(const Baza::Block& block, const Field& field);

// What the changed mark says of a field whose saved value is in `saved`:
// "Changed: was 12".
QString changedSentence(const Baza::Block& saved, const Field& field);

// One line per field that differs between the two blocks, in the window's
// order: "Club Name, row 3: 12 → 300".
QStringList changeLines(const Baza::Block& saved, const Baza::Block& current);
