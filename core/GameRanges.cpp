#include "core/GameRanges.h"

#include <array>
#include <cstddef>

namespace {

constexpr const char* kContext = "GameRanges";

constexpr char kCategoryPrefix[] = "category_";
constexpr std::size_t kCategoryPrefixLength = sizeof kCategoryPrefix - 1;

// One row per kind, in the order of FieldKind. The sources are in words a
// user reads; in the code, the category texts are Ini::categoryName's, the
// logo indices Ini::logoFileName's, and Baza::Get_Stat clamps map codes to 10.
constexpr std::array<GameRange, 5> kGameRanges = {{
    {FieldKind::Liga, 0, 100, QT_TRANSLATE_NOOP("GameRanges", "0 to 100"),
     QT_TRANSLATE_NOOP("GameRanges", "slot numbers 0 to 100"), "what the game is known to take"},
    {FieldKind::Str, 0, 32767, QT_TRANSLATE_NOOP("GameRanges", "0 to 32767"),
     QT_TRANSLATE_NOOP("GameRanges", "name indices 0 to 32767"),
     "the name boxes' non-negative values; with a catalogue that pairs indices and names, its indices"},
    {FieldKind::Cat, 0, 18, QT_TRANSLATE_NOOP("GameRanges", "category_00 to category_18"),
     QT_TRANSLATE_NOOP("GameRanges", "category texts category_00 to category_18"),
     "the built-in texts of the category pickers; other text is allowed"},
    {FieldKind::CatL, 0, 29, QT_TRANSLATE_NOOP("GameRanges", "0 to 29"),
     QT_TRANSLATE_NOOP("GameRanges", "club category logo indices 0 to 29"),
     "the file-name indicators beside the logo boxes: 0 is unnamed_35.bin, 29 is unnamed_64.bin"},
    {FieldKind::Map, 0, 10, QT_TRANSLATE_NOOP("GameRanges", "0 to 10"),
     QT_TRANSLATE_NOOP("GameRanges", "map codes 0 to 10"),
     "the legend beside the map boxes (Min = 0, Max = 10) and the map code legend, 0 Europe to 10 World"},
}};

constexpr bool inKindOrder() {
    for (std::size_t i = 0; i < kGameRanges.size(); ++i) {
        if (static_cast<std::size_t>(kGameRanges[i].kind) != i) {
            return false;
        }
    }
    return true;
}
static_assert(inKindOrder(), "gameRange() finds a kind's row by its number");

bool isPadding(char c) {
    return c == ' ' || c == '\0';
}

// A name box's value, when a paired catalogue says which indices there are.
bool usesNames(const Field& field, const NameIndices* names) {
    return names && field.kind == FieldKind::Str;
}

}  // namespace

const GameRange& gameRange(FieldKind kind) {
    return kGameRanges.at(static_cast<std::size_t>(kind));
}

Words gameRangeText(const Field& field, const NameIndices* names) {
    if (usesNames(field, names)) {
        return Words(kContext, QT_TRANSLATE_NOOP("GameRanges", "name indices listed in %1"),
                     {Words::value(names->fileName())});
    }
    return Words(kContext, gameRange(field.kind).words);
}

std::string gameRangeWords(const Field& field, const NameIndices* names) {
    return gameRangeText(field, names).english();
}

bool isGameCategoryText(const std::string& text) {
    const std::size_t tens = kCategoryPrefixLength;  // "category_NN": where NN starts
    if (text.size() < tens + 2 || text.compare(0, tens, kCategoryPrefix) != 0) {
        return false;
    }
    for (std::size_t i = tens + 2; i < text.size(); ++i) {
        if (!isPadding(text[i])) {
            return false;
        }
    }
    const auto digit = [&text](std::size_t at) { return text[at] >= '0' && text[at] <= '9' ? text[at] - '0' : -1; };
    if (digit(tens) < 0 || digit(tens + 1) < 0) {
        return false;
    }
    const GameRange& range = gameRange(FieldKind::Cat);
    const int number = digit(tens) * 10 + digit(tens + 1);
    return number >= range.minimum && number <= range.maximum;
}

bool withinGameRange(const Baza::Block& block, const Field& field, const NameIndices* names) {
    if (field.kind == FieldKind::Cat) {
        return isGameCategoryText(fieldCategory(block, field));
    }
    const long long value = fieldNumber(block, field);
    if (usesNames(field, names)) {
        return names->lists(value);
    }
    const GameRange& range = gameRange(field.kind);
    return value >= range.minimum && value <= range.maximum;
}

std::optional<Words> outsideGameRangeText(const Baza::Block& block, const Field& field, const NameIndices* names) {
    if (withinGameRange(block, field, names)) {
        return std::nullopt;
    }
    if (usesNames(field, names)) {
        return Words(kContext, QT_TRANSLATE_NOOP("GameRanges", "Outside what the game takes: no name %1 in %2"),
                     {Words::number(fieldNumber(block, field)), Words::value(names->fileName())});
    }
    return Words(kContext, QT_TRANSLATE_NOOP("GameRanges", "Outside what the game takes: %1"),
                 {Words(kContext, gameRange(field.kind).words)});
}

std::optional<std::string> outsideGameRange(const Baza::Block& block, const Field& field, const NameIndices* names) {
    const std::optional<Words> outside = outsideGameRangeText(block, field, names);
    return outside ? std::optional<std::string>(outside->english()) : std::nullopt;
}

Words gameRangeNoteText(const Field& field, const NameIndices* names) {
    if (usesNames(field, names)) {
        return Words(kContext, QT_TRANSLATE_NOOP("GameRanges", "the game takes the name indices listed in %1"),
                     {Words::value(names->fileName())});
    }
    return Words(kContext, QT_TRANSLATE_NOOP("GameRanges", "the game takes %1"),
                 {Words(kContext, gameRange(field.kind).values)});
}

std::string gameRangeNote(const Field& field, const NameIndices* names) {
    return gameRangeNoteText(field, names).english();
}

std::vector<const Field*> fieldsOutsideGameRange(const Baza::Block& block, const NameIndices* names) {
    std::vector<const Field*> outside;
    for (const Field& field : fields()) {
        if (!withinGameRange(block, field, names)) {
            outside.push_back(&field);
        }
    }
    return outside;
}
