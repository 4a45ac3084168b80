#include "fuzz/FuzzChecks.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "catalogues/CatalogueReader.h"
#include "core/Baza.h"
#include "platform/CodePage.h"
#include "setup/LeagueSetup.h"
#include "store/OriginalRecord.h"

namespace {

int lineCount(std::string_view input) {
    int lines = 1;
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i] == '\n' || (input[i] == '\r' && (i + 1 == input.size() || input[i + 1] != '\n'))) {
            ++lines;
        }
    }
    return lines;
}

std::string checkParsed(const Setup& setup) {
    for (std::size_t i = 0; i < setup.size(); ++i) {
        const SetupValue& value = setup[i];
        for (std::size_t j = 0; j < i; ++j) {
            if (setup[j].field == value.field) {
                return "a box is named twice in one setup";
            }
        }
        if (value.field->kind == FieldKind::Cat) {
            if (value.text.size() != static_cast<std::size_t>(Baza::CatLength)) {
                return "a category text is not 11 bytes long";
            }
        } else {
            const FieldRange range = *fieldRange(value.field->kind);
            if (value.number < range.minimum || value.number > range.maximum) {
                return "a number lies outside its field's range";
            }
        }
    }
    // Written out and read back: the same boxes with the same values.
    const std::string written = writeSetup(setup);
    Setup again;
    try {
        again = parseSetup(written, "written");
    } catch (const SetupError& error) {
        return std::string("a written setup does not read back: ") + error.what();
    }
    if (again.size() != setup.size()) {
        return "a written setup reads back with another number of boxes";
    }
    for (const SetupValue& value : setup) {
        const auto found = std::find_if(again.begin(), again.end(),
                                        [&](const SetupValue& other) { return other.field == value.field; });
        if (found == again.end() || !found->sameValue(value)) {
            return "a written setup reads back with another value";
        }
    }
    // Applied to a block: the named boxes hold the values, nothing else moves.
    const Baza untouched;
    Baza baza;
    applySetup(baza, setup);
    if (!setupChanges(baza, setup).empty()) {
        return "an applied setup still has changes to make";
    }
    Baza::Block expected = untouched.block();
    Baza::Block got = baza.block();
    for (const SetupValue& value : setup) {
        switch (value.field->kind) {
            case FieldKind::Liga:
                got.liga[value.field->index] = 0;
                break;
            case FieldKind::Str:
                got.str[value.field->index] = 0;
                break;
            case FieldKind::Cat:
                got.cat[value.field->index] = expected.cat[value.field->index];
                break;
            case FieldKind::CatL:
                got.catL[value.field->index] = 0;
                break;
            case FieldKind::Map:
                got.map[value.field->index] = 0;
                break;
        }
    }
    if (got != expected) {
        return "applying a setup changed a value it does not name";
    }
    return {};
}

// Written so that readCatalogue gives the same items again: a quoted item
// never holds a double quote, so an item that holds one was unquoted and
// holds no delimiter.
std::string writeCatalogue(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        if (items[i].find('"') == std::string::npos) {
            text += '"' + items[i] + '"';
        } else {
            text += items[i];
        }
    }
    return text;
}

}  // namespace

std::string checkSetupInput(std::string_view input) {
    Setup setup;
    try {
        setup = parseSetup(input, "input");
    } catch (const SetupError& error) {
        if (error.line() < 0 || error.line() > lineCount(input)) {
            return "an error names a line the input does not have: " + std::string(error.what());
        }
        if (!codepage::isValidUtf8(error.what())) {
            return "an error message is not valid UTF-8";
        }
        return {};
    } catch (const std::exception& error) {
        return std::string("the reader let another error out: ") + error.what();
    }
    return checkParsed(setup);
}

std::string checkCatalogueInput(std::string_view input) {
    std::istringstream in{std::string(input)};
    const CatalogueContents contents = readCatalogue(in);
    if (contents.items.size() > input.size() + 1) {
        return "more items than the input has bytes";
    }
    std::istringstream rewritten(writeCatalogue(contents.items));
    const CatalogueContents again = readCatalogue(rewritten);
    if (!again.complete || again.items != contents.items) {
        return "items written back do not read again the same";
    }
    const codepage::TextForm form = codepage::detectTextForm(input);
    for (const std::string& item : contents.items) {
        if (!codepage::isValidUtf8(codepage::toUtf8(item, form.encoding))) {
            return "an item does not decode to valid UTF-8";
        }
    }
    return {};
}

std::string checkRecordInput(std::string_view input) {
    const std::string text(input);
    OriginalRecord record;
    try {
        record = parseRecord(text);
    } catch (const RecordError& error) {
        const std::string what = error.what();
        if (what.rfind("the record is longer than ", 0) == 0) {
            return text.size() > kRecordFileLimit ? "" : "a short record refused as too long";
        }
        if (what.rfind("line ", 0) != 0) {
            return "a refusal that names no line: " + what;
        }
        const long line = std::strtol(what.c_str() + 5, nullptr, 10);
        const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 2;
        if (line < 1 || line > lines) {
            return "a refusal naming line " + std::to_string(line) + " of an input of " + std::to_string(lines - 1) +
                   " lines";
        }
        return {};
    }
    std::size_t entries = 0;
    for (const RecordedExecutable& executable : record.executables) {
        entries += executable.history.size();
    }
    if (entries > kHistoryLimit || record.executables.empty() || record.executables.size() > kExecutableLimit) {
        return "more history entries or executables than the limits allow";
    }
    // The current format has one way of writing each record; earlier ones
    // are read into it and written in the current one.
    const std::string written = recordText(record);
    if (text.rfind("kelvory-original-block " + std::to_string(kRecordFormat) + "\n", 0) == 0) {
        return written == text ? "" : "a record whose text differs from the input";
    }
    try {
        return parseRecord(written) == record ? "" : "an earlier-format record that does not survive being written";
    } catch (const RecordError& error) {
        return std::string("an earlier-format record written in a form its reader refuses: ") + error.what();
    }
}
