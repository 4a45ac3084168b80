#pragma once

#include <QString>

class QWidget;

// What a field's box or picker tells about itself beyond its value, one
// sentence per state, so that several states can stand together: the
// accessible description reads every state that is set, in the order below;
// the tooltip reads the help and the marks (the states not shown in the
// window anyway).
// A new state takes its place in the enum and in the table of FieldStates.cpp.
enum class FieldState {
    Help,         // what the value is in the game, the box's and the game's ranges, a map box's slot
    NotStored,    // mark: the text cannot be stored, why, and what the field keeps
    OutsideGame,  // mark: the value is one the game is not known to take, and what it takes
    Changed,      // mark: the field differs from the file as last loaded or saved, and what it was
    LogoFile,     // the game data file that the logo index names, shown beside the box
};

// Sets one state's sentence; an empty sentence clears the state. The
// description and tooltip change only when the sentence does.
void setFieldState(QWidget* control, FieldState state, const QString& sentence);

// The sentence of one state, or an empty string.
QString fieldState(const QWidget* control, FieldState state);
