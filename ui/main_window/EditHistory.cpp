#include "ui/main_window/EditHistory.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QUndoCommand>

// One step: the window before and after one action. The action has already
// happened when the step is pushed, so its first redo does nothing.
class StateStep : public QUndoCommand {
public:
    StateStep(EditHistory& history, const QString& text, WindowState before, WindowState after, const QObject* typedIn,
              int run)
        : QUndoCommand(text),
          history_(history),
          before_(std::move(before)),
          after_(std::move(after)),
          typedIn_(typedIn),
          run_(run) {}

    // Keystrokes merge; other steps stand alone.
    int id() const override { return typedIn_ ? 1 : -1; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const StateStep*>(other);
        if (next->typedIn_ != typedIn_ || next->run_ != run_) {
            return false;
        }
        after_ = next->after_;
        // Typed back to where the run began: the step goes.
        setObsolete(after_ == before_);
        return true;
    }

    void undo() override { history_.show(before_); }

    void redo() override {
        if (pushed_) {
            history_.show(after_);
        }
        pushed_ = true;
    }

private:
    EditHistory& history_;
    WindowState before_;
    WindowState after_;
    const QObject* typedIn_;  // the text field of a run of typing; nullptr for other steps
    int run_;
    bool pushed_ = false;
};

EditHistory::EditHistory(Capture capture, Show show, QObject* parent)
    : QObject(parent), capture_(std::move(capture)), show_(std::move(show)) {}

void EditHistory::watch(QObject* control) {
    control->installEventFilter(this);
}

void EditHistory::settle() {
    settled_ = capture_();
}

void EditHistory::typed(const QObject* control, const QString& what) {
    WindowState after = capture_();
    auto* step = new StateStep(*this, what, settled_, after, control, run_);
    settled_ = std::move(after);
    stack_.push(step);
}

void EditHistory::record(const QString& what, const std::function<void()>& action) {
    seal();
    // What the window showed when the last step ended: a picker has taken
    // the chosen entry as its text before it reports the choice.
    WindowState before = settled_;
    action();
    WindowState after = capture_();
    settled_ = after;
    if (after != before) {
        stack_.push(new StateStep(*this, what, std::move(before), std::move(after), nullptr, run_));
    }
    seal();
}

void EditHistory::undo() {
    seal();
    stack_.undo();
}

void EditHistory::redo() {
    seal();
    stack_.redo();
}

void EditHistory::show(const WindowState& state) {
    show_(state);
    settled_ = state;
}

bool EditHistory::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
                // Not the text field's own: left to the window's Undo and
                // Redo shortcuts, and swallowed when they have nothing to do.
                event->setAccepted(event->type() == QEvent::KeyPress);
                return true;
            }
            break;
        }
        case QEvent::FocusOut:
            // A menu opening over the field leaves the run going on.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
                seal();
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}
