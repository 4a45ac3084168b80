#include "setup/LeagueSetup.h"

#include <algorithm>

#include "core/Baza.h"
#include "platform/CodePage.h"
#include "setup/SetupText.h"

using namespace setuptext;

namespace {

std::size_t orderOf(const Field* field) {
    const std::vector<const Field*>& order = setupOrder();
    return static_cast<std::size_t>(std::find(order.begin(), order.end(), field) - order.begin());
}

SetupValue valueOf(const Baza& baza, const Field& field) {
    SetupValue value;
    value.field = &field;
    if (field.kind == FieldKind::Cat) {
        value.text = baza.cat(field.index);
    } else {
        value.number = fieldNumber(baza, field);
    }
    return value;
}

}  // namespace

bool SetupValue::sameValue(const SetupValue& other) const {
    if (field != other.field) {
        return false;
    }
    return field && field->kind == FieldKind::Cat ? text == other.text : number == other.number;
}

SetupError::SetupError(std::string file, int line, std::string what)
    : std::runtime_error(file + (line > 0 ? ", line " + std::to_string(line) : std::string()) + ": " + what),
      file_(std::move(file)),
      line_(line),
      what_(std::move(what)) {}

std::string setupName(const Field& field) {
    return fieldWords(field);
}

const std::vector<const Field*>& setupOrder() {
    static const std::vector<const Field*> order = [] {
        std::vector<std::string> frames;  // in the order the table first names them
        std::vector<const Field*> built;
        for (const Field& field : fields()) {
            if (std::find(frames.begin(), frames.end(), field.frame) == frames.end()) {
                frames.emplace_back(field.frame);
            }
            built.push_back(&field);
        }
        const auto rank = [&](const Field* field) {
            const auto frame = std::find(frames.begin(), frames.end(), field->frame) - frames.begin();
            return std::make_pair(frame, field->row);
        };
        std::stable_sort(built.begin(), built.end(), [&](const Field* a, const Field* b) { return rank(a) < rank(b); });
        return built;
    }();
    return order;
}

std::string setupValueText(const SetupValue& value) {
    if (value.field->kind != FieldKind::Cat) {
        return std::to_string(value.number);
    }
    std::string text = "\"";
    for (char c : value.text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (writtenAsEscape(byte)) {
            text += "\\x" + hexByte(byte);
        } else {
            text += codepage::decode(std::string_view(&c, 1));
        }
    }
    return text + "\"";
}

std::string writeSetup(const Setup& setup, const std::function<std::string(const SetupValue&)>& note) {
    std::vector<const SetupValue*> sorted;
    for (const SetupValue& value : setup) {
        sorted.push_back(&value);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const SetupValue* a, const SetupValue* b) { return orderOf(a->field) < orderOf(b->field); });
    std::string text = std::string(kVersionKey) + " = " + std::to_string(SetupVersion) + "\n";
    text += "# Kelvory league setup: each line sets one box, named as the window names it.\n";
    text += "# A box left out keeps its value. In texts: \\\" quote, \\\\ backslash, \\xHH code-page byte.\n";
    std::string frame;  // a blank line before each frame's boxes
    for (const SetupValue* value : sorted) {
        if (frame.empty() || frame != value->field->frame) {
            frame = value->field->frame;
            text += "\n";
        }
        text += setupName(*value->field) + " = " + setupValueText(*value) + "\n";
        if (const std::string noted = note ? note(*value) : std::string(); !noted.empty()) {
            text += "# " + noted + "\n";
        }
    }
    return text;
}

Setup setupOf(const Baza& baza) {
    Setup setup;
    for (const Field* field : setupOrder()) {
        setup.push_back(valueOf(baza, *field));
    }
    return setup;
}

std::vector<SetupChange> setupChanges(const Baza& baza, const Setup& setup) {
    std::vector<SetupChange> changes;
    for (const SetupValue& value : setup) {
        SetupValue before = valueOf(baza, *value.field);
        if (!before.sameValue(value)) {
            changes.push_back({value.field, std::move(before), value});
        }
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const SetupChange& a, const SetupChange& b) { return orderOf(a.field) < orderOf(b.field); });
    return changes;
}

std::string describeChange(const SetupChange& change, Charset charset) {
    return setupName(*change.field) + ": " + setupValueText(change.before) +
           (charset == Charset::Ascii ? " -> " : " → ") + setupValueText(change.after);
}

void applySetup(Baza& baza, const Setup& setup) {
    for (const SetupValue& value : setup) {
        if (value.field->kind == FieldKind::Cat) {
            baza.setCat(value.field->index, value.text);
        } else {
            setFieldNumber(baza, *value.field, value.number);
        }
    }
}
