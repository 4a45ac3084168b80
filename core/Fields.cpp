#include "core/Fields.h"

#include <cstdint>
#include <iterator>
#include <limits>
#include <stdexcept>

#include "core/Baza.h"

namespace {

// The block's names of its map slots, in slot order.
const char* const kMapNames[] = {
#define KELVORY_MAP_NAME(name, index) #name,
    KELVORY_MAP_SLOTS(KELVORY_MAP_NAME)
#undef KELVORY_MAP_NAME
};

// The thirteen map slots that have a box, in words: the block's names with
// their parts apart, as a reader would say them.
const char* const kMapSlotWords[] = {
    QT_TRANSLATE_NOOP("Fields", "Europe"),
    QT_TRANSLATE_NOOP("Fields", "Africa"),
    QT_TRANSLATE_NOOP("Fields", "America"),
    QT_TRANSLATE_NOOP("Fields", "Asia"),
    QT_TRANSLATE_NOOP("Fields", "Primer League"),
    QT_TRANSLATE_NOOP("Fields", "Ligue 1"),
    QT_TRANSLATE_NOOP("Fields", "Serie A"),
    QT_TRANSLATE_NOOP("Fields", "Eredvisie"),
    QT_TRANSLATE_NOOP("Fields", "Liga BBVA"),
    QT_TRANSLATE_NOOP("Fields", "Game League"),
    QT_TRANSLATE_NOOP("Fields", "D2"),
    QT_TRANSLATE_NOOP("Fields", "Other European"),
    QT_TRANSLATE_NOOP("Fields", "Other Latin American"),
};

constexpr const char* kContext = "Fields";

// The block's names of the other fields: "Liga1" .. "Liga13" and so on.
const char* const kLigaNames[] = {"Liga1", "Liga2", "Liga3",  "Liga4",  "Liga5",  "Liga6", "Liga7",
                                  "Liga8", "Liga9", "Liga10", "Liga11", "Liga12", "Liga13"};
const char* const kStrNames[] = {"Str1", "Str2", "Str3",  "Str4",  "Str5",  "Str6", "Str7",
                                 "Str8", "Str9", "Str10", "Str11", "Str12", "Str13"};
const char* const kCatNames[] = {"Cat1", "Cat2", "Cat3", "Cat4"};
const char* const kCatLNames[] = {"CatL1", "CatL2", "CatL3", "CatL4", "CatL5", "CatL6", "CatL7"};

// What fills the gap in a column's sentence for the box on row i (0-based
// within the column).
enum class Gap {
    Ordinal,  // "first" .. "ninth"
    Number,   // "0" .. "3"
    Slot,     // the map slot in words: "Africa"
};

// Each fills the gap before a division or a category, so a translation
// agrees with those words.
const char* const kOrdinals[] = {QT_TRANSLATE_NOOP("Fields", "first"),   QT_TRANSLATE_NOOP("Fields", "second"),
                                 QT_TRANSLATE_NOOP("Fields", "third"),   QT_TRANSLATE_NOOP("Fields", "fourth"),
                                 QT_TRANSLATE_NOOP("Fields", "fifth"),   QT_TRANSLATE_NOOP("Fields", "sixth"),
                                 QT_TRANSLATE_NOOP("Fields", "seventh"), QT_TRANSLATE_NOOP("Fields", "eighth"),
                                 QT_TRANSLATE_NOOP("Fields", "ninth")};

// One column of boxes in a frame: consecutive members of one kind, each
// beside the picker or indicator of the same row, and what each value is in
// the game, with "%1" for the gap that tells the rows apart.
struct Column {
    const char* frame;
    FieldKind kind;
    int firstMember;
    int firstIndex;
    int count;
    const char* const* names;
    int firstPicker;     // 0: no pickers
    int firstIndicator;  // 0: no indicators
    BoxInput input;
    const char* meaning;
    Gap gap;
};

const Column kColumns[] = {
    {FieldFrame::NationalSlot, FieldKind::Liga, 0, 0, 4, kLigaNames, 0, 0, BoxInput::Number,
     QT_TRANSLATE_NOOP("Fields", "Which league slot the %1 national division loads."), Gap::Ordinal},
    {FieldFrame::ClubSlot, FieldKind::Liga, 4, 4, 9, kLigaNames, 0, 0, BoxInput::Number,
     QT_TRANSLATE_NOOP("Fields", "Which league slot the %1 club division loads."), Gap::Ordinal},
    {FieldFrame::NationalName, FieldKind::Str, 13, 0, 4, kStrNames, 14, 0, BoxInput::Number,
     QT_TRANSLATE_NOOP("Fields", "Which name the %1 national division shows: an index into the game's league names."),
     Gap::Ordinal},
    {FieldFrame::ClubName, FieldKind::Str, 17, 4, 9, kStrNames, 18, 0, BoxInput::Number,
     QT_TRANSLATE_NOOP("Fields", "Which name the %1 club division shows: an index into the game's league names."),
     Gap::Ordinal},
    {FieldFrame::NationalCategory, FieldKind::Cat, 26, 0, 4, kCatNames, 1, 0, BoxInput::CategoryText,
     QT_TRANSLATE_NOOP("Fields",
                       "The category logo text of sector %1, which the game loads from u_1426.bin into dt06.img."),
     Gap::Number},
    {FieldFrame::ClubCategoryLogo, FieldKind::CatL, 30, 0, 7, kCatLNames, 0, 2, BoxInput::TwoTypedCharacters,
     QT_TRANSLATE_NOOP(
         "Fields",
         "Which logo file of dt04.img the %1 club category shows: 0 is unnamed_35.bin, 1 is unnamed_36.bin and so on."),
     Gap::Ordinal},
    {FieldFrame::Maps, FieldKind::Map, 39, 0, 13, kMapNames, 0, 0, BoxInput::Number,
     QT_TRANSLATE_NOOP("Fields", "Which map the %1 slot loads from u_1426.bin into dt06.img."), Gap::Slot},
};

// The column's sentence for its box on row `i`.
Words meaningOf(const Column& column, int i) {
    Words gap;
    switch (column.gap) {
        case Gap::Ordinal:
            gap = Words(kContext, kOrdinals[i]);
            break;
        case Gap::Number:
            gap = Words::number(i);
            break;
        case Gap::Slot:
            gap = Words(kContext, kMapSlotWords[column.firstIndex + i]);
            break;
    }
    return Words(kContext, column.meaning, {gap});
}

// In "National Name" the rows run Str1, Str3, Str4, Str2 from the top: the
// box of member 13 + i sits on this row.
constexpr int kNationalNameRow[] = {1, 4, 2, 3};

std::array<Field, FieldCount> makeFields() {
    std::array<Field, FieldCount> table{};
    std::size_t n = 0;
    for (const Column& column : kColumns) {
        for (int i = 0; i < column.count; ++i) {
            Field& field = table.at(n++);
            field.member = column.firstMember + i;
            field.kind = column.kind;
            field.index = column.firstIndex + i;
            field.frame = column.frame;
            field.row = column.firstMember == 13 ? kNationalNameRow[i] : i + 1;
            field.name = column.names[field.index];
            field.picker = column.firstPicker ? column.firstPicker + i : 0;
            field.indicator = column.firstIndicator ? column.firstIndicator + i : 0;
            field.input = column.input;
            field.meaningWords = meaningOf(column, i);
            field.meaning = field.meaningWords.english();
        }
    }
    if (n != table.size()) {
        throw std::logic_error("the field table does not cover every field");
    }
    return table;
}

[[noreturn]] void notNumeric(const Field& field) {
    throw std::logic_error(std::string(field.name) + " holds text, not a number");
}

}  // namespace

const std::array<Field, FieldCount>& fields() {
    static const std::array<Field, FieldCount> table = makeFields();
    return table;
}

const Field* fieldOfMember(int member) {
    for (const Field& field : fields()) {
        if (field.member == member) {
            return &field;
        }
    }
    return nullptr;
}

const Field* fieldOfPicker(int picker) {
    if (picker <= 0) {
        return nullptr;
    }
    for (const Field& field : fields()) {
        if (field.picker == picker) {
            return &field;
        }
    }
    return nullptr;
}

std::optional<FieldRange> fieldRange(FieldKind kind) {
    switch (kind) {
        case FieldKind::Liga:
        case FieldKind::CatL:
            return FieldRange{std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
        case FieldKind::Str:
            return FieldRange{std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
        case FieldKind::Map:
            return FieldRange{0, std::numeric_limits<std::uint8_t>::max()};
        case FieldKind::Cat:
            break;
    }
    return std::nullopt;
}

Words fieldLabel(const Field& field) {
    return Words(kContext, QT_TRANSLATE_NOOP("Fields", "%1, row %2"),
                 {Words(kContext, field.frame), Words::number(field.row)});
}

std::string fieldWords(const Field& field) {
    return fieldLabel(field).english();
}

Words fieldAllowed(const Field& field) {
    const std::optional<FieldRange> range = fieldRange(field.kind);
    if (!range) {
        return {};
    }
    return Words(kContext, QT_TRANSLATE_NOOP("Fields", "whole numbers from %1 to %2"),
                 {Words::number(range->minimum), Words::number(range->maximum)});
}

std::string fieldAllowedWords(const Field& field) {
    return fieldAllowed(field).english();
}

Words fieldSlot(const Field& field) {
    if (field.kind != FieldKind::Map || field.index < 0 || field.index >= static_cast<int>(std::size(kMapSlotWords))) {
        return {};
    }
    return Words(kContext, kMapSlotWords[field.index]);
}

std::string fieldSlotWords(const Field& field) {
    return fieldSlot(field).english();
}

long long fieldNumber(const Baza& baza, const Field& field) {
    switch (field.kind) {
        case FieldKind::Liga:
            return baza.liga(field.index);
        case FieldKind::Str:
            return baza.str(field.index);
        case FieldKind::CatL:
            return baza.catL(field.index);
        case FieldKind::Map:
            return baza.map(field.index);
        case FieldKind::Cat:
            break;
    }
    notNumeric(field);
}

void setFieldNumber(Baza& baza, const Field& field, long long value) {
    const std::optional<FieldRange> range = fieldRange(field.kind);
    if (!range) {
        notNumeric(field);
    }
    if (value < range->minimum || value > range->maximum) {
        throw std::out_of_range(std::to_string(value) + " does not fit " + field.name);
    }
    switch (field.kind) {
        case FieldKind::Liga:
            baza.setLiga(field.index, static_cast<std::int32_t>(value));
            return;
        case FieldKind::Str:
            baza.setStr(field.index, static_cast<std::int16_t>(value));
            return;
        case FieldKind::CatL:
            baza.setCatL(field.index, static_cast<std::int32_t>(value));
            return;
        case FieldKind::Map:
            baza.setMap(field.index, static_cast<std::uint8_t>(value));
            return;
        case FieldKind::Cat:
            break;
    }
}

long long fieldNumber(const Baza::Block& block, const Field& field) {
    const auto at = static_cast<std::size_t>(field.index);
    switch (field.kind) {
        case FieldKind::Liga:
            return block.liga.at(at);
        case FieldKind::Str:
            return block.str.at(at);
        case FieldKind::CatL:
            return block.catL.at(at);
        case FieldKind::Map:
            return block.map.at(at);
        case FieldKind::Cat:
            break;
    }
    notNumeric(field);
}

std::string fieldCategory(const Baza::Block& block, const Field& field) {
    if (field.kind != FieldKind::Cat) {
        throw std::logic_error(std::string(field.name) + " is not a category text");
    }
    return block.cat.at(static_cast<std::size_t>(field.index));
}

bool sameField(const Baza::Block& a, const Baza::Block& b, const Field& field) {
    if (field.kind == FieldKind::Cat) {
        return fieldCategory(a, field) == fieldCategory(b, field);
    }
    return fieldNumber(a, field) == fieldNumber(b, field);
}

std::vector<const Field*> changedFields(const Baza::Block& a, const Baza::Block& b) {
    std::vector<const Field*> changed;
    for (const Field& field : fields()) {
        if (!sameField(a, b, field)) {
            changed.push_back(&field);
        }
    }
    return changed;
}

void copyFields(Baza& to, const Baza::Block& from) {
    for (const Field& field : fields()) {
        if (field.kind == FieldKind::Cat) {
            to.setCat(field.index, fieldCategory(from, field));
        } else {
            setFieldNumber(to, field, fieldNumber(from, field));
        }
    }
}
