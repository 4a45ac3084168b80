#pragma once

#include <QValidator>

class QLineEdit;

// Limits what the user may type or paste into a box, never what the program
// sets: the window may show values longer than the user could type.
//
// An edit may not leave more than `limit` characters, even when the program
// has set a longer text: an insertion is cut to what fits (a long paste into
// an empty box keeps its first `limit` characters), and one of which nothing
// fits is refused. Deleting always works.
class TypedLengthLimit : public QValidator {
public:
    TypedLengthLimit(QLineEdit* box, int limit);
    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* box_;
    int limit_;
    QString shown_;  // the text the box showed before the edit being judged
};

// Refuses characters that code page 1252 cannot hold, so that what the box
// shows is what the game file receives.
class CodePageText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
