#include "core/FieldHelp.h"

#include "core/Baza.h"

namespace {

constexpr const char* kContext = "FieldHelp";

Words say(const char* source, std::vector<Words> values = {}) {
    return Words(kContext, source, std::move(values));
}

}  // namespace

FieldHelp fieldHelp(const Field& field, const NameIndices* names) {
    FieldHelp help;
    help.meaning = field.meaningWords;
    const Words slot = fieldSlot(field);
    if (!slot.empty()) {
        help.place = say(QT_TRANSLATE_NOOP("FieldHelp", "Row %1, %2."), {Words::number(field.row), slot});
    }
    help.holds = field.kind == FieldKind::Cat
                     ? say(QT_TRANSLATE_NOOP("FieldHelp", "The box holds a text of up to %1 characters."),
                           {Words::number(Baza::CatLength)})
                     : say(QT_TRANSLATE_NOOP("FieldHelp", "The box holds %1."), {fieldAllowed(field)});
    if (names && field.kind == FieldKind::Str) {
        const std::size_t count = names->nameCount();
        help.gameTakes = say(count == 1 ? QT_TRANSLATE_NOOP("FieldHelp", "The game takes the %1 (%2 name).")
                                        : QT_TRANSLATE_NOOP("FieldHelp", "The game takes the %1 (%2 names)."),
                             {gameRangeText(field, names), Words::number(static_cast<long long>(count))});
    } else {
        help.gameTakes = say(QT_TRANSLATE_NOOP("FieldHelp", "The game takes %1."), {gameRangeText(field, names)});
    }
    return help;
}

Words fieldHelpWords(const Field& field, const NameIndices* names) {
    const FieldHelp help = fieldHelp(field, names);
    return Words::joined({help.meaning, help.place, help.holds, help.gameTakes}, "\n");
}

std::string fieldHelpText(const Field& field, const NameIndices* names) {
    return fieldHelpWords(field, names).english();
}
