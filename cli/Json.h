#pragma once

#include <string>
#include <utility>
#include <vector>

// A JSON document to write, and its writer: what kelvory-cli --json prints.
// Dependency-free (standard library and the code page's UTF-8 check).
//
// The text is ASCII whatever the text it holds, so it reads the same in any
// locale and through any console: every character above 127 is written as a
// \uXXXX escape (a pair of them above U+FFFF), and so is every control
// character; `"` and `\` are escaped. A string that is not valid UTF-8 has
// each broken sequence written as U+FFFD. The members of an object stay in the
// order they were set. The outer containers are written one member or item a
// line, indented by two blanks; anything nested two deep or more on one line,
// so each field of a list is one line.
class Json {
public:
    // null
    Json() = default;

    static Json boolean(bool value);
    static Json number(long long value);
    static Json text(std::string utf8);
    static Json array();
    static Json object();

    // Adds a member to an object, or an item to an array; returns *this.
    Json& set(std::string key, Json value);
    Json& push(Json value);

    // The document's text, ending in a newline.
    std::string write() const;

private:
    enum class Kind { Null, Boolean, Number, Text, Array, Object };

    void writeTo(std::string& out, int depth) const;

    Kind kind_ = Kind::Null;
    bool boolean_ = false;
    long long number_ = 0;
    std::string text_;
    std::vector<Json> items_;
    std::vector<std::pair<std::string, Json>> members_;
};

// The JSON string literal of `utf8`, quotes included, escaped as above.
std::string jsonString(const std::string& utf8);
