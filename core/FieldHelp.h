#pragma once

#include <string>

#include "core/Fields.h"
#include "core/GameRanges.h"

// What a field's box says about itself: its tooltip, accessible description
// and What's This, and the same words wherever else a field is explained.
// Built from the field table and the table of what the game takes, so every
// place that names a range names the same numbers. Standard library only.
// Words the window translates; english() gives the English.
struct FieldHelp {
    Words meaning;    // what the value is in the game: the field table's sentence
    Words place;      // a map box's slot: "Row 2, Africa."; empty for the others
    Words holds;      // what the box can store: "The box holds whole numbers from 0 to 255."
    Words gameTakes;  // "The game takes map codes 0 to 10."
};

// The help of `field`; `names` is the paired name catalogue, nullptr where
// there is none.
FieldHelp fieldHelp(const Field& field, const NameIndices* names = nullptr);

// The help as one text, a sentence a line, in the order of FieldHelp; a map
// box's slot comes right after the first line, the others have none.
Words fieldHelpWords(const Field& field, const NameIndices* names = nullptr);
std::string fieldHelpText(const Field& field, const NameIndices* names = nullptr);
