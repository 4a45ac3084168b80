#include <algorithm>
#include <map>

#include "core/Baza.h"
#include "platform/CodePage.h"
#include "core/Hex.h"
#include "setup/LeagueSetup.h"
#include "setup/SetupText.h"

using namespace setuptext;

namespace {

// What a name in a setup file may stand for.
struct Name {
    const Field* field = nullptr;  // null for a map slot the window does not show
    std::string hiddenSlot;        // that slot's name
};

const char* const kMapSlotNames[] = {
#define KELVORY_MAP_SLOT_NAME(name, index) #name,
    KELVORY_MAP_SLOTS(KELVORY_MAP_SLOT_NAME)
#undef KELVORY_MAP_SLOT_NAME
};

// Every accepted name, in lower case: the window's words, the field names,
// and the hidden map slots (to say why they cannot be set).
const std::map<std::string, Name>& names() {
    static const std::map<std::string, Name> table = [] {
        std::map<std::string, Name> built;
        for (const Field& field : fields()) {
            built[asciiLower(setupName(field))] = {&field, {}};
            built[asciiLower(field.name)] = {&field, {}};
        }
        for (const char* slot : kMapSlotNames) {
            built.emplace(asciiLower(slot), Name{nullptr, slot});
        }
        return built;
    }();
    return table;
}

// The number of rows of the frame whose caption `key` starts with, when it
// starts with one followed by ", row"; 0 otherwise.
std::pair<std::string, int> frameRows(const std::string& lowerKey) {
    std::pair<std::string, int> found{{}, 0};
    for (const Field& field : fields()) {
        const std::string prefix = asciiLower(field.frame) + ", row";
        if (lowerKey.compare(0, prefix.size(), prefix) == 0) {
            found.first = field.frame;
            found.second = std::max(found.second, field.row);
        }
    }
    return found;
}

// One line of the file.
struct Line {
    int number;
    std::string_view text;  // without its line end
};

std::vector<Line> splitLines(std::string_view content) {
    std::vector<Line> lines;
    int number = 1;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = std::min(content.find_first_of("\r\n", start), content.size());
        lines.push_back({number++, content.substr(start, end - start)});
        start = end;
        if (start < content.size() && content[start] == '\r') {
            ++start;
        }
        if (start < content.size() && content[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

enum class NumberForm { Whole, NotWhole, TooLarge };

// An optional minus sign and at least one decimal digit, nothing else.
NumberForm readWholeNumber(std::string_view text, long long& value) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return NumberForm::NotWhole;
    }
    constexpr long long kCap = 1'000'000'000'000LL;  // far beyond every field's range
    long long magnitude = 0;
    bool tooLarge = false;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return NumberForm::NotWhole;
        }
        if (!tooLarge) {
            magnitude = magnitude * 10 + (c - '0');
            tooLarge = magnitude > kCap;
        }
    }
    if (tooLarge) {
        return NumberForm::TooLarge;
    }
    value = negative ? -magnitude : magnitude;
    return NumberForm::Whole;
}

class Reader {
public:
    Reader(std::string_view content, const std::string& file) : content_(content), file_(file) {}

    Setup read() {
        static_assert(SetupMaxBytes == 65536, "the message below names the limit");
        if (content_.size() > SetupMaxBytes) {
            fail(0, "the file is larger than 64 KiB (65,536 bytes), too large to be a league setup.");
        }
        if (content_.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            content_.remove_prefix(kByteOrderMark.size());
        }
        const std::vector<Line> lines = splitLines(content_);
        for (const Line& line : lines) {
            checkText(line);
        }
        if (lines.empty()) {
            fail(1, firstLineRule());
        }
        readVersion(lines.front());
        Setup setup;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            readLine(lines[i], setup);
        }
        return setup;
    }

private:
    [[noreturn]] void fail(int line, const std::string& what) const { throw SetupError(file_, line, what); }

    static std::string firstLineRule() {
        return "the first line must be \"" + std::string(kVersionKey) + " = " + std::to_string(SetupVersion) +
               "\", which marks a Kelvory league setup.";
    }

    void checkText(const Line& line) const {
        if (line.text.find('\0') != std::string_view::npos) {
            fail(line.number, "the file is not text: it holds a NUL byte.");
        }
        if (!codepage::isValidUtf8(line.text)) {
            fail(line.number, "the file is not UTF-8 text: this line holds bytes that are not UTF-8.");
        }
    }

    void readVersion(const Line& line) const {
        const std::size_t equals = line.text.find('=');
        if (equals == std::string_view::npos || asciiLower(trimmed(line.text.substr(0, equals))) != kVersionKey) {
            fail(line.number, firstLineRule());
        }
        const std::string_view value = trimmed(line.text.substr(equals + 1));
        long long version = 0;
        const NumberForm form = readWholeNumber(value, version);
        if (form == NumberForm::NotWhole) {
            fail(line.number, firstLineRule());
        }
        if (form == NumberForm::TooLarge || version != SetupVersion) {
            fail(line.number, "format version " + (form == NumberForm::TooLarge ? quoted(value) : std::string(value)) +
                                  " is not supported: this Kelvory reads version " + std::to_string(SetupVersion) +
                                  ".");
        }
    }

    void readLine(const Line& line, Setup& setup) const {
        const std::string_view text = trimmed(line.text);
        if (text.empty() || text.front() == '#' || text.front() == ';') {
            return;
        }
        if (text.front() == '[') {
            fail(line.number, "a league setup has no sections: name each box on a line of its own.");
        }
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            fail(line.number, "expected \"box = value\", a comment starting with # or ;, or a blank line, not " +
                                  quoted(text) + ".");
        }
        const std::string_view key = trimmed(text.substr(0, equals));
        SetupValue value;
        value.field = fieldNamed(line, key);
        value.line = line.number;
        for (const SetupValue& earlier : setup) {
            if (earlier.field == value.field) {
                fail(line.number,
                     setupName(*value.field) + ": already set on line " + std::to_string(earlier.line) + ".");
            }
        }
        const std::string_view written = trimmed(text.substr(equals + 1));
        if (value.field->kind == FieldKind::Cat) {
            value.text = readText(line, *value.field, written);
        } else {
            value.number = readNumber(line, *value.field, written);
        }
        setup.push_back(std::move(value));
    }

    const Field* fieldNamed(const Line& line, std::string_view key) const {
        const std::string lower = asciiLower(key);
        const auto found = names().find(lower);
        if (found != names().end()) {
            if (found->second.field) {
                return found->second.field;
            }
            fail(line.number, found->second.hiddenSlot +
                                  " is a map slot that the window does not show; a league setup never changes it.");
        }
        if (lower == kVersionKey) {
            fail(line.number, "the format version belongs on the first line only.");
        }
        const auto [frame, rows] = frameRows(lower);
        if (rows > 0) {
            fail(line.number, "unknown box " + quoted(key) + ": the frame \"" + frame + "\" has rows 1 to " +
                                  std::to_string(rows) + ".");
        }
        fail(line.number,
             "unknown box " + quoted(key) +
                 ": name a box as the window does (\"Club Name, row 3\") or by its field name (\"Str7\").");
    }

    long long readNumber(const Line& line, const Field& field, std::string_view written) const {
        const std::string name = setupName(field);
        if (written.empty()) {
            fail(line.number, name + ": no value after \"=\".");
        }
        if (written.front() == '"') {
            fail(line.number, name + ": a number is written without quotes.");
        }
        long long value = 0;
        const NumberForm form = readWholeNumber(written, value);
        const FieldRange range = *fieldRange(field.kind);
        if (form == NumberForm::NotWhole) {
            fail(line.number, name + ": " + quoted(written) + " is not a whole number.");
        }
        if (form == NumberForm::TooLarge || value < range.minimum || value > range.maximum) {
            fail(line.number, name + ": " + quoted(written) + " is outside " + std::to_string(range.minimum) + " to " +
                                  std::to_string(range.maximum) + ".");
        }
        return value;
    }

    std::string readText(const Line& line, const Field& field, std::string_view written) const {
        const std::string name = setupName(field);
        if (written.empty() || written.front() != '"') {
            fail(line.number, name + ": a category text is written in double quotes, e.g. \"category_07\".");
        }
        std::string bytes;  // code page 1252
        int characters = 0;
        std::size_t pos = 1;
        for (;;) {
            if (pos >= written.size()) {
                fail(line.number, name + ": the closing double quote is missing.");
            }
            const char c = written[pos];
            if (c == '"') {
                break;
            }
            if (c == '\\') {
                bytes += readEscape(line, name, written, pos);
            } else {
                const std::size_t length = sequenceLength(static_cast<unsigned char>(c));
                const std::string_view sequence = written.substr(pos, length);
                const char32_t point = codePoint(sequence);
                bool lossy = false;
                const std::string byte = codepage::encode(sequence, &lossy);
                if (lossy) {
                    const std::string character = isControl(point) ? "the control character " + unicodeName(point)
                                                                   : quoted(sequence) + " (" + unicodeName(point) + ")";
                    fail(line.number, name + ": " + character + " is not in code page 1252, the game's character set.");
                }
                if (isControl(point)) {
                    fail(line.number, name + ": the control character " + unicodeName(point) +
                                          " is written as an escape, \\x" +
                                          hexByte(static_cast<unsigned char>(byte[0])) + ".");
                }
                bytes += byte;
                pos += length;
            }
            ++characters;
        }
        if (trimmed(written.substr(pos + 1)).size() > 0) {
            fail(line.number, name + ": nothing but blanks may follow the closing double quote.");
        }
        if (characters > Baza::CatLength) {
            fail(line.number, name + ": the text has " + std::to_string(characters) +
                                  " characters; a category holds at most " + std::to_string(Baza::CatLength) + ".");
        }
        return Baza::fitCategory(bytes);
    }

    // Reads the escape at `pos` (a backslash) and moves past it.
    char readEscape(const Line& line, const std::string& name, std::string_view written, std::size_t& pos) const {
        if (pos + 1 >= written.size()) {
            fail(line.number, name + ": the closing double quote is missing.");
        }
        const char kind = written[pos + 1];
        if (kind == '"' || kind == '\\') {
            pos += 2;
            return kind;
        }
        if (kind == 'x') {
            const auto digit = [&](std::size_t at) -> int {
                if (at >= written.size()) {
                    return -1;
                }
                return hex::value(written[at], true);
            };
            const int high = digit(pos + 2);
            const int low = digit(pos + 3);
            if (high < 0 || low < 0) {
                fail(line.number, name + ": \\x is followed by two hexadecimal digits, the character's byte.");
            }
            pos += 4;
            return static_cast<char>(high * 16 + low);
        }
        fail(line.number, name + ": unknown escape " +
                              quoted(written.substr(pos, 1 + sequenceLength(static_cast<unsigned char>(kind)))) +
                              ": write \\\" for a double quote, \\\\ for a backslash, \\xHH for the character of "
                              "code-page byte HH.");
    }

    std::string_view content_;
    const std::string& file_;
};

}  // namespace

Setup parseSetup(std::string_view content, const std::string& file) {
    return Reader(content, file).read();
}

bool startsLikeSetup(std::string_view head) {
    if (head.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        head.remove_prefix(kByteOrderMark.size());
    }
    const std::string_view line = head.substr(0, head.find_first_of("\r\n"));
    const std::size_t equals = line.find('=');
    return equals != std::string_view::npos && asciiLower(trimmed(line.substr(0, equals))) == kVersionKey;
}
