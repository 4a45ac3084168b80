#include "core/FieldHelp.h"

#include "core/Baza.h"

FieldHelp fieldHelp(const Field& field, const NameIndices* names) {
    FieldHelp help;
    help.meaning = field.meaning;
    const std::string slot = fieldSlotWords(field);
    if (!slot.empty()) {
        help.place = "Row " + std::to_string(field.row) + ", " + slot + ".";
    }
    help.holds = field.kind == FieldKind::Cat
                     ? "The box holds a text of up to " + std::to_string(Baza::CatLength) + " characters."
                     : "The box holds " + fieldAllowedWords(field) + ".";
    help.gameTakes = "The game takes " + gameRangeWords(field, names);
    if (names && field.kind == FieldKind::Str) {
        const std::size_t count = names->nameCount();
        help.gameTakes = "The game takes the " + gameRangeWords(field, names) + " (" + std::to_string(count) +
                         (count == 1 ? " name)" : " names)");
    }
    help.gameTakes += ".";
    return help;
}

std::string fieldHelpText(const Field& field, const NameIndices* names) {
    const FieldHelp help = fieldHelp(field, names);
    std::string text = help.meaning;
    for (const std::string* line : {&help.place, &help.holds, &help.gameTakes}) {
        if (!line->empty()) {
            text += "\n" + *line;
        }
    }
    return text;
}
