// The check of the JSON writer's escaping, with a strict JSON reader of its
// own: it knows nothing of the writer but the JSON grammar.
#include <cstring>
#include <utility>
#include <vector>

#include "cli/Json.h"
#include "fuzz/FuzzChecks.h"
#include "platform/CodePage.h"

namespace {

struct Value {
    enum class Kind { Null, Boolean, Number, Text, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    long long number = 0;
    std::string text;  // UTF-8
    std::vector<Value> items;
    std::vector<std::pair<std::string, Value>> members;
};

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // The whole text as one value, blanks around it allowed; empty when it
    // reads, otherwise what is wrong.
    std::string document(Value& value) {
        skipBlanks();
        if (!readValue(value, 0)) {
            return error_;
        }
        skipBlanks();
        return at_ == text_.size() ? std::string() : "text after the document";
    }

private:
    bool fail(const std::string& what) {
        error_ = what + " at byte " + std::to_string(at_);
        return false;
    }

    void skipBlanks() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) {
            ++at_;
        }
    }

    bool literal(const char* word) {
        const std::size_t length = std::strlen(word);
        if (text_.compare(at_, length, word) != 0) {
            return fail("an unknown word");
        }
        at_ += length;
        return true;
    }

    bool readValue(Value& value, int depth) {
        if (depth > 16) {
            return fail("nested too deep");
        }
        if (at_ >= text_.size()) {
            return fail("the end instead of a value");
        }
        switch (text_[at_]) {
            case 'n':
                value.kind = Value::Kind::Null;
                return literal("null");
            case 't':
                value.kind = Value::Kind::Boolean;
                value.boolean = true;
                return literal("true");
            case 'f':
                value.kind = Value::Kind::Boolean;
                return literal("false");
            case '"':
                value.kind = Value::Kind::Text;
                return readString(value.text);
            case '[':
                value.kind = Value::Kind::Array;
                return readContainer(value, ']', depth);
            case '{':
                value.kind = Value::Kind::Object;
                return readContainer(value, '}', depth);
            default:
                value.kind = Value::Kind::Number;
                return readNumber(value.number);
        }
    }

    bool readContainer(Value& value, char end, int depth) {
        ++at_;
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == end) {
            ++at_;
            return true;
        }
        while (true) {
            skipBlanks();
            Value item;
            if (end == '}') {
                std::string key;
                if (at_ >= text_.size() || text_[at_] != '"' || !readString(key)) {
                    return error_.empty() ? fail("a member without a key") : false;
                }
                skipBlanks();
                if (at_ >= text_.size() || text_[at_] != ':') {
                    return fail("a key without a colon");
                }
                ++at_;
                skipBlanks();
                if (!readValue(item, depth + 1)) {
                    return false;
                }
                value.members.emplace_back(std::move(key), std::move(item));
            } else {
                if (!readValue(item, depth + 1)) {
                    return false;
                }
                value.items.push_back(std::move(item));
            }
            skipBlanks();
            if (at_ < text_.size() && text_[at_] == ',') {
                ++at_;
            } else if (at_ < text_.size() && text_[at_] == end) {
                ++at_;
                return true;
            } else {
                return fail("neither a comma nor the container's end");
            }
        }
    }

    bool readNumber(long long& number) {
        const bool negative = at_ < text_.size() && text_[at_] == '-';
        at_ += negative ? 1 : 0;
        const std::size_t first = at_;
        unsigned long long magnitude = 0;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            const unsigned digit = static_cast<unsigned>(text_[at_] - '0');
            if (magnitude > (9223372036854775808ULL - digit) / 10) {
                return fail("a number too large");
            }
            magnitude = magnitude * 10 + digit;
            ++at_;
        }
        if (at_ == first || (text_[first] == '0' && at_ - first > 1)) {
            return fail("not a number");
        }
        if (!negative && magnitude > 9223372036854775807ULL) {
            return fail("a number too large");
        }
        number = negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
        return true;
    }

    bool readHex4(unsigned& unit) {
        unit = 0;
        for (int i = 0; i < 4; ++i, ++at_) {
            const char c = at_ < text_.size() ? text_[at_] : '\0';
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) {
                return fail("a \\u escape without four hexadecimal digits");
            }
            unit = unit * 16 + static_cast<unsigned>(digit);
        }
        return true;
    }

    static void appendUtf8(std::string& out, char32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    bool readString(std::string& out) {
        ++at_;
        while (true) {
            if (at_ >= text_.size()) {
                return fail("a string without its end");
            }
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') {
                return true;
            }
            if (c < 0x20) {
                return fail("a control character in a string");
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            const char escape = at_ < text_.size() ? text_[at_++] : '\0';
            const char* const simple = "\"\"\\\\//b\bf\fn\nr\rt\t";
            const char* found = nullptr;
            for (const char* s = simple; *s; s += 2) {
                found = *s == escape ? s : found;
            }
            if (found) {
                out += found[1];
                continue;
            }
            if (escape != 'u') {
                return fail("an unknown escape");
            }
            unsigned unit = 0;
            if (!readHex4(unit)) {
                return false;
            }
            char32_t point = unit;
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                return fail("a low surrogate alone");
            }
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                unsigned low = 0;
                if (text_.compare(at_, 2, "\\u") != 0) {
                    return fail("a high surrogate alone");
                }
                at_ += 2;
                if (!readHex4(low)) {
                    return false;
                }
                if (low < 0xDC00 || low > 0xDFFF) {
                    return fail("a high surrogate alone");
                }
                point = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            }
            appendUtf8(out, point);
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string error_;
};

}  // namespace

std::string checkJsonInput(std::string_view input) {
    const std::string text(input);
    long long number = 0;
    std::memcpy(&number, text.data(), std::min(text.size(), sizeof number));
    const std::string codePage = codepage::decode(text);
    const Json document = Json::object()
                              .set(text, Json::text(text))
                              .set("code page", Json::text(codePage))
                              .set("number", Json::number(number))
                              .set("nested", Json::array()
                                                 .push(Json::boolean(true))
                                                 .push(Json())
                                                 .push(Json::array())
                                                 .push(Json::object().set(text, Json::text(text))));
    const std::string written = document.write();
    for (const char c : written) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 126 || (byte < 0x20 && c != '\n')) {
            return "the JSON text holds a byte outside printable ASCII";
        }
    }
    Value read;
    if (const std::string wrong = Reader(written).document(read); !wrong.empty()) {
        return "the JSON text does not read back: " + wrong;
    }
    // A broken text is written as valid UTF-8; a valid one exactly.
    const bool valid = codepage::isValidUtf8(text);
    const auto same = [&](const std::string& back, const std::string& expected) {
        return back == expected && codepage::isValidUtf8(back);
    };
    const std::string expected = valid ? text : codepage::toUtf8(text, codepage::Encoding::Utf8);
    if (read.kind != Value::Kind::Object || read.members.size() != 4) {
        return "the JSON document reads back with another shape";
    }
    const Value& nested = read.members[3].second;
    if (!same(read.members[0].first, expected) || !same(read.members[0].second.text, expected) ||
        nested.items.size() != 4 || nested.items[3].members.size() != 1 ||
        !same(nested.items[3].members[0].second.text, expected)) {
        return "a text reads back changed";
    }
    if (read.members[1].second.text != codePage) {
        return "a code-page text reads back changed";
    }
    if (read.members[2].second.kind != Value::Kind::Number || read.members[2].second.number != number) {
        return "a number reads back changed";
    }
    if (!nested.items[0].boolean || nested.items[1].kind != Value::Kind::Null ||
        nested.items[2].kind != Value::Kind::Array) {
        return "a literal reads back changed";
    }
    return {};
}
