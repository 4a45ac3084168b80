#pragma once

#include <QObject>
#include <QStringList>
#include <QUndoStack>
#include <functional>

#include "core/Baza.h"

// Everything an undo step puts back: the block, and the texts of the boxes
// and pickers as they stood, a text that could not be stored included (its
// field keeps the block's value; the box shows the text and its mark again).
struct WindowState {
    Baza::Block block;
    QStringList boxes;  // the boxes' texts, in the field table's order; the pickers follow them

    bool operator==(const WindowState& other) const { return block == other.block && boxes == other.boxes; }
    bool operator!=(const WindowState& other) const { return !(*this == other); }
};

// The window's undo history: one step per user action on the block, each
// holding the whole window state before and after it. Typing is one step
// per run: the keystrokes in one text field join the step they started until
// the focus leaves that field or another action comes.
//
// The history owns the Undo and Redo keys inside the text fields it watches:
// a line edit's own typing history would otherwise take them, and it knows
// neither the other boxes nor the texts the program sets (which clear it).
class EditHistory : public QObject {
    Q_OBJECT

public:
    using Capture = std::function<WindowState()>;
    using Show = std::function<void(const WindowState&)>;

    // `capture` reads the state the window shows; `show` puts a state back
    // into the window (block, boxes, pickers, and everything that follows
    // from them).
    EditHistory(Capture capture, Show show, QObject* parent = nullptr);

    QUndoStack& stack() { return stack_; }

    // Lets the history take the Undo and Redo keys in `control`, and end
    // the run of typing when the focus leaves it.
    void watch(QObject* control);

    // The window now shows what the next step starts from: after a load, or
    // after a change made outside the history.
    void settle();

    // Called once a keystroke in `control` has had its whole effect: joins
    // the run of typing in `control`, or starts a step named `what`.
    void typed(const QObject* control, const QString& what);

    // Runs `action` as one step named `what`, from the state the last step
    // (or settle) left; records nothing when nothing changed.
    void record(const QString& what, const std::function<void()>& action);

    // Ends the run of typing: the next keystroke starts a step of its own.
    void seal() { ++run_; }

    void undo();
    void redo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class StateStep;
    void show(const WindowState& state);

    QUndoStack stack_;
    Capture capture_;
    Show show_;
    WindowState settled_;  // what the window showed when the last step ended
    int run_ = 0;          // which run of typing a keystroke belongs to
};
