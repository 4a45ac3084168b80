#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/Baza.h"
#include "core/Fields.h"
#include "core/Words.h"

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
    const char* values;  // the values alone: "0 to 10" (translatable, context "GameRanges")
    const char* words;   // what they are, for a sentence: "map codes 0 to 10" (translatable, context "GameRanges")
    const char* source;  // where Kelvory knows the range from
};

// The name indices a name catalogue lists, when it pairs each index with a
// name (catalogues/NameCatalogue.h). Where there is such a catalogue, the
// name boxes take exactly its indices; without one, the table's range.
class NameIndices {
public:
    virtual ~NameIndices() = default;
    // Whether the catalogue lists `index`.
    virtual bool lists(long long index) const = 0;
    // How many names it lists (an index listed twice counts twice).
    virtual std::size_t nameCount() const = 0;
    // The catalogue's file name as the user knows it: "ID_Name_League.ini".
    virtual std::string fileName() const = 0;
};

// The range of a kind, from the one table of them. For the name boxes this
// is the range without a paired catalogue.
const GameRange& gameRange(FieldKind kind);

// The functions that return Words give the same words as their std::string
// twins (which are the English), for the window to translate.
//
// Every function below takes the paired name catalogue, or nullptr where
// there is none; only the name boxes look at it.

// What the game takes in the field, in words for a sentence: "map codes 0 to
// 10", "name indices listed in ID_Name_League.ini".
std::string gameRangeWords(const Field& field, const NameIndices* names = nullptr);
Words gameRangeText(const Field& field, const NameIndices* names = nullptr);

// Whether a category text, as the block stores it, is one of the texts the
// game takes: exactly "category_00" .. "category_18", followed only by blanks
// or NULs up to its 11 bytes.
bool isGameCategoryText(const std::string& text);

// Whether the field's value in the block is one the game takes.
bool withinGameRange(const Baza::Block& block, const Field& field, const NameIndices* names = nullptr);

// None when the field's value in the block lies within what the game takes;
// otherwise the sentence that says so, for a tooltip or a description:
// "Outside what the game takes: map codes 0 to 10", "Outside what the game
// takes: no name 57 in ID_Name_League.ini".
std::optional<std::string> outsideGameRange(const Baza::Block& block, const Field& field,
                                            const NameIndices* names = nullptr);
std::optional<Words> outsideGameRangeText(const Baza::Block& block, const Field& field,
                                          const NameIndices* names = nullptr);

// The short note for a line of a list, which puts it in parentheses:
// "the game takes 0 to 10", "the game takes category_00 to category_18",
// "the game takes the name indices listed in ID_Name_League.ini".
std::string gameRangeNote(const Field& field, const NameIndices* names = nullptr);
Words gameRangeNoteText(const Field& field, const NameIndices* names = nullptr);

// The fields whose values lie outside what the game takes, in presenting order.
std::vector<const Field*> fieldsOutsideGameRange(const Baza::Block& block, const NameIndices* names = nullptr);
