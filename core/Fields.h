#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/Baza.h"
#include "core/Words.h"

// Every value of the league block that the editor shows and edits, described
// once: which box shows it, what it holds, the words that name it, and what
// stands beside its box. The window's layout, presenting, copy-back pass,
// marks, accessible names and pickers read this table, and so does anything
// else that names a field to the user. Standard library only.

enum class FieldKind {
    Liga,  // 32-bit signed slot number
    Str,   // 16-bit signed name index
    Cat,   // 11-character category text, one byte per character
    CatL,  // 32-bit signed club category logo index
    Map,   // 8-bit unsigned map code
};

// What typing into the field's box may do, beyond what the field can hold.
enum class BoxInput {
    Number,              // any text; what converts is stored, the rest is marked
    CategoryText,        // at most 11 characters, each one the game's code page can hold
    TwoTypedCharacters,  // typing never makes the text longer than 2 characters;
                         // a longer text set by the program shows whole
};

// Captions of the seven frames that hold the boxes. The window's layout
// places its frames under these same names, and league setup files name the
// fields by them, so they stay English here; the window shows them translated
// in the context "Fields".
namespace FieldFrame {
inline constexpr char NationalSlot[] = QT_TRANSLATE_NOOP("Fields", "National Slot");
inline constexpr char ClubSlot[] = QT_TRANSLATE_NOOP("Fields", "Club Slot");
inline constexpr char NationalName[] = QT_TRANSLATE_NOOP("Fields", "National Name");
inline constexpr char ClubName[] = QT_TRANSLATE_NOOP("Fields", "Club Name");
inline constexpr char NationalCategory[] =
    QT_TRANSLATE_NOOP("Fields", "National Category Logo League u_1426.bin ->dt06.img");
inline constexpr char ClubCategoryLogo[] = QT_TRANSLATE_NOOP("Fields", "Club Category Logo(dt04.img)");
inline constexpr char Maps[] = QT_TRANSLATE_NOOP("Fields", "Maps Load u_1426.bin ->dt06.img");
}  // namespace FieldFrame

// The values a numeric field can hold, both ends included.
struct FieldRange {
    long long minimum;
    long long maximum;
};

struct Field {
    int member;  // index in the window's text-box array: 0..36, 39..51
    FieldKind kind;
    int index;          // 0-based within the field's table (for maps: the map slot)
    const char* frame;  // caption of the frame that holds the box, e.g. "Club Name"
    int row;            // 1-based row of the box within that frame, top to bottom
    const char* name;   // the block's own name: "Liga1", "Str5", "Cat2", "CatL3", "Europe"
    int picker;         // N of the picker ComboN on the box's row; 0 when there is none
    int indicator;      // N of the file-name indicator LabelN on the box's row; 0 when none
    BoxInput input;
    // What the value is in the game, in one plain sentence for the user:
    // "Which league slot the third club division loads."; in English, and as
    // words the window translates.
    std::string meaning;
    Words meaningWords;
};

constexpr int FieldCount = 50;

// The fifty fields in presenting order: members 0..36, then 39..51. The seven
// map slots after OtherLatinAmerican and the reserved bytes have no field.
const std::array<Field, FieldCount>& fields();

// The field shown in member `member` of the text-box array, or in the box
// beside picker ComboN; nullptr when there is none (members 37 and 38).
const Field* fieldOfMember(int member);
const Field* fieldOfPicker(int picker);

// The numeric range of a kind; none for category texts.
std::optional<FieldRange> fieldRange(FieldKind kind);

// How the window names the field's box: "Club Name, row 3".
std::string fieldWords(const Field& field);
Words fieldLabel(const Field& field);

// What a numeric field can hold, in words: "whole numbers from -32768 to
// 32767"; empty for a category text.
std::string fieldAllowedWords(const Field& field);
Words fieldAllowed(const Field& field);

// The slot of the game that the field belongs to, in words ("Primer League"
// for PrimerLeague), where the block names one: only the map slots have
// names; every other field is numbered (Liga1, Str5, ...) and gets "".
std::string fieldSlotWords(const Field& field);
Words fieldSlot(const Field& field);

// A numeric field's value. Not for category texts (throws std::logic_error).
long long fieldNumber(const Baza& baza, const Field& field);
// Stores a numeric value that lies within the field's range; throws
// std::out_of_range for any other value and std::logic_error for a category.
void setFieldNumber(Baza& baza, const Field& field, long long value);

// A field's value in a whole block, as the window shows it before converting:
// the number, or for a category the text's 11 bytes, untrimmed.
long long fieldNumber(const Baza::Block& block, const Field& field);
std::string fieldCategory(const Baza::Block& block, const Field& field);

// Whether the field holds the same value in both blocks.
bool sameField(const Baza::Block& a, const Baza::Block& b, const Field& field);

// The fields whose values differ between the two blocks, in presenting order.
// The hidden map slots and the reserved bytes are not fields: a difference
// there alone gives an empty list.
std::vector<const Field*> changedFields(const Baza::Block& a, const Baza::Block& b);

// Copies every field's value from `from` into the block of `to`, exactly.
// The hidden map slots and the reserved bytes of `to` stay as they are.
void copyFields(Baza& to, const Baza::Block& from);
