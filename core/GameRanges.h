#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Baza.h"
#include "core/Fields.h"

// What the game is known to take in each kind of field, beside the field
// table: a field may hold any value its bytes can (fieldRange), but the game
// only knows what to do with these. A value outside is worth a warning and
// nothing more: Kelvory never refuses or changes a value because of it.
// Standard library only.

struct GameRange {
    FieldKind kind;
    // Both ends included. For category texts these are the numbers NN of the
    // texts "category_NN" the game takes; any other text lies outside.
    long long minimum;
    long long maximum;
    const char* values;  // the values alone: "0 to 10"
    const char* words;   // what they are, for a sentence: "map codes 0 to 10"
    const char* source;  // where Kelvory knows the range from
};

// The range of a kind, from the one table of them.
const GameRange& gameRange(FieldKind kind);

// Whether a category text, as the block stores it, is one of the texts the
// game takes: exactly "category_00" .. "category_18", followed only by blanks
// or NULs up to its 11 bytes.
bool isGameCategoryText(const std::string& text);

// None when the field's value in the block lies within what the game takes;
// otherwise the sentence that says so, for a tooltip or a description:
// "Outside what the game takes: map codes 0 to 10".
std::optional<std::string> outsideGameRange(const Baza::Block& block, const Field& field);

// The short note for a line of a list, which puts it in parentheses:
// "the game takes 0 to 10", "the game takes category_00 to category_18".
std::string gameRangeNote(const Field& field);

// The fields whose values lie outside what the game takes, in presenting order.
std::vector<const Field*> fieldsOutsideGameRange(const Baza::Block& block);
