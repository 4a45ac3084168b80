#pragma once

#include <functional>
#include <string>
#include <vector>

// Words for the user, written once below the window and the console program:
// an English text with numbered places (%1 to %9), each filled with more
// words or with a plain value (a path, a number, a name from the game), which
// is never translated. The console program shows them in English; the window
// translates each text, by its context and English source, before it fills
// the places. So a sentence is never glued together from pieces a translator
// cannot see, and a value holding "%2" stays as it is. Standard library only.

// Marks a text for the translation tools without needing the toolkit: they
// find the context and the text here, where it is written.
#ifndef QT_TRANSLATE_NOOP
// (Spelt as the toolkit spells it, so that either definition may come first.)
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

class Words {
public:
    // What a translator does: the text for `context` and its English `source`,
    // in UTF-8; the source itself when there is no translation.
    using Translate = std::function<std::string(const char* context, const char* source)>;

    // No words: nothing to tell.
    Words() = default;
    // A text of `context` with its places filled by `values` in order (%1 is
    // the first). `source` is a string literal marked with QT_TRANSLATE_NOOP.
    Words(const char* context, const char* source, std::vector<Words> values = {});

    // A value shown as it is, never translated (UTF-8).
    static Words value(std::string text);
    static Words number(long long number);
    // The parts one after another, `separator` between them (a plain text:
    // "\n", "\n\n"). Empty parts are left out.
    static Words joined(std::vector<Words> parts, const std::string& separator);

    bool empty() const;

    // The words in English, every place filled in.
    std::string english() const;
    // The words through `translate`, every place filled in.
    std::string text(const Translate& translate) const;

    // The words followed by `more` after `separator`; either may be empty.
    Words then(Words more, const std::string& separator = "\n\n") const;

private:
    enum class Form { Nothing, Text, Value, Joined };
    Form form_ = Form::Nothing;
    const char* context_ = nullptr;
    const char* source_ = nullptr;
    std::string value_;         // Form::Value: the value; Form::Joined: the separator
    std::vector<Words> parts_;  // the places' values, or the joined parts
};
