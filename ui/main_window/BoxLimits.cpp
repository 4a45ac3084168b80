#include "ui/main_window/BoxLimits.h"

#include <QLineEdit>

#include "platform/CodePage.h"
#include "platform/Text.h"

TypedLengthLimit::TypedLengthLimit(QLineEdit* box, int limit) : QValidator(box), box_(box), limit_(limit) {
    // The box asks before it reports the new text, so this still holds the
    // text from before the edit while an edit is judged.
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
}

QValidator::State TypedLengthLimit::validate(QString& input, int& pos) const {
    // A text the program sets (or an undo back to one) leaves the box with
    // nothing to undo: accept it whole. Refusing it would leave the box
    // believing its text invalid, and it would then let every edit through.
    if (!box_->isUndoAvailable()) {
        return Acceptable;
    }
    if (input.size() <= limit_) {
        return Acceptable;
    }
    // The characters the edit put in are those between the part it kept at
    // the start and the part it kept at the end.
    qsizetype head = 0;
    const qsizetype common = std::min(input.size(), shown_.size());
    while (head < common && input[head] == shown_[head]) {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < common - head && input[input.size() - 1 - tail] == shown_[shown_.size() - 1 - tail]) {
        ++tail;
    }
    const qsizetype inserted = input.size() - head - tail;
    if (inserted == 0) {
        return Acceptable;  // only deleted
    }
    const qsizetype excess = input.size() - limit_;
    if (inserted <= excess) {
        return Invalid;  // nothing of it fits
    }
    input.remove(head + inserted - excess, excess);
    pos = static_cast<int>(head + inserted - excess);
    return Acceptable;
}

QValidator::State CodePageText::validate(QString& input, int& /*pos*/) const {
    bool lossy = false;
    codepage::encode(platform::toUtf8(input), &lossy);
    return lossy ? Invalid : Acceptable;
}
