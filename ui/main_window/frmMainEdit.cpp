// The main window's Edit side: the changed marks and the title's modified
// state, the undo history's view of the window, the Edit menu, and the
// context menus of the boxes and pickers.

#include <QAction>

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "core/Fields.h"
#include "core/GameRanges.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "session/LeagueSession.h"
#include "ui/main_window/ChangeMarks.h"
#include "ui/main_window/EditHistory.h"
#include "ui/main_window/FieldMarks.h"
#include "ui/main_window/FieldText.h"
#include "ui/main_window/Telling.h"
#include "ui/main_window/frmMain.h"

namespace {

// The text a box shows for the field's value in `block`.
QString boxText(const Baza::Block& block, const Field& field) {
    if (field.kind == FieldKind::Cat) {
        return platform::fromCodePage(fieldCategory(block, field));
    }
    return QString::number(fieldNumber(block, field));
}

QLineEdit* textFieldOf(QWidget* control) {
    if (auto* picker = qobject_cast<QComboBox*>(control)) {
        return picker->lineEdit();
    }
    return qobject_cast<QLineEdit*>(control);
}

}  // namespace

void frmMain::connectEditMenu() {
    QAction* undo = action(QStringLiteral("mnuUndo"));
    QAction* redo = action(QStringLiteral("mnuRedo"));
    QUndoStack& stack = history_->stack();
    undo->setEnabled(stack.canUndo());
    redo->setEnabled(stack.canRedo());
    connect(&stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
}

void frmMain::connectHistory(const Field& field) {
    QList<QWidget*> controls{form_.box(field)};
    if (QComboBox* picker = form_.picker(field)) {
        controls << picker << picker->lineEdit();
    }
    for (QWidget* control : controls) {
        history_->watch(control);
        if (qobject_cast<QComboBox*>(control)) {
            continue;  // its text field has the menu
        }
        QWidget* owner = control == form_.box(field) ? control : control->parentWidget();
        control->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(control, &QWidget::customContextMenuRequested, this, [this, control, owner, &field](const QPoint& at) {
            QMenu* menu = fieldMenu(owner, field);
            menu->exec(control->mapToGlobal(at));
            delete menu;
        });
    }
}

QMenu* frmMain::fieldMenu(QWidget* control, const Field& field) {
    QLineEdit* edit = textFieldOf(control);
    QMenu* menu = edit ? edit->createStandardContextMenu() : new QMenu(control);
    // One history for the whole window: the text field's own Undo and Redo,
    // the first two entries of its menu, make way for the window's.
    const QList<QAction*> own = menu->actions();
    if (edit && !edit->isReadOnly() && own.size() >= 2) {
        menu->insertAction(own[0], action(QStringLiteral("mnuUndo")));
        menu->insertAction(own[0], action(QStringLiteral("mnuRedo")));
        menu->removeAction(own[0]);
        menu->removeAction(own[1]);
    }
    menu->addSeparator();
    QAction* revert = menu->addAction(QCoreApplication::translate("frmMain", "Revert to Saved Value"));
    revert->setObjectName(QStringLiteral("mnuRevertField"));
    revert->setEnabled(session_->loaded() && (!sameField(session_->values(), session_->saved(), field) ||
                                              form_.box(field)->text() != boxText(session_->saved(), field)));
    connect(revert, &QAction::triggered, this, [this, &field] { revertField(field); });
    return menu;
}

void frmMain::refreshChanges() {
    const bool loaded = session_->loaded();
    const Baza::Block& now = session_->values();
    for (const Field& field : fields()) {
        QString sentence;
        if (loaded && !sameField(now, session_->saved(), field)) {
            sentence = changedSentence(session_->saved(), field);
        }
        // The box carries the marks; its picker only shows the box's value.
        setChangedMark(form_.box(field), sentence);
        // A table look-up per field: cheap enough for every keystroke.
        const std::optional<Words> outside = session_->outsideGame(field);
        setOutsideMark(form_.box(field), outside ? shown(*outside) : QString());
    }
    // Setting the same state again would still rewrite the system's title.
    const bool modified = hasUnsavedChanges();
    if (modified != isWindowModified()) {
        setWindowModified(modified);
    }
}

WindowState frmMain::currentState() const {
    WindowState state{session_->values(), {}};
    state.boxes.reserve(FieldCount);
    for (const Field& field : fields()) {
        state.boxes << form_.box(field)->text();
    }
    return state;
}

void frmMain::showState(const WindowState& state) {
    // As presenting: every box first, then one copy-back pass over them all,
    // which brings the indicators and marks in step.
    presenting_ = true;
    qsizetype at = 0;
    for (const Field& field : fields()) {
        form_.box(field)->setText(state.boxes.value(at++));
    }
    presenting_ = false;
    // The whole block as the step left it; the pass then stores the boxes'
    // texts again (the same values) and marks those that cannot be stored.
    session_->returnTo(state.block);
    txt_Change(-1);
}

QUndoStack& frmMain::undoStack() {
    return history_->stack();
}

void frmMain::mnuUndo_Click() {
    history_->undo();
}

void frmMain::mnuRedo_Click() {
    history_->redo();
}

void frmMain::mnuRevert_Click() {
    if (!session_->loaded()) {
        return;
    }
    if (hasUnsavedChanges()) {
        const auto count = changedFields(session_->saved(), session_->values()).size();
        const QString question =
            QCoreApplication::translate("frmMain",
                                        "Put back every value as it was last loaded or saved?\n\n%1 %2 will go back. "
                                        "Edit > Undo takes this back.")
                .arg(count)
                .arg(count == 1 ? QCoreApplication::translate("frmMain", "changed value")
                                : QCoreApplication::translate("frmMain", "changed values"));
        const int answer = platform::services().askChoice(
            this, platform::MessageIcon::Warning, kApplicationTitle, question,
            {QCoreApplication::translate("frmMain", "&Revert"), QCoreApplication::translate("frmMain", "Cancel")}, 0);
        if (answer != 0) {
            return;
        }
    }
    editStep(QCoreApplication::translate("frmMain", "Revert to Saved"), [this] { session_->revertAll(); });
}

void frmMain::revertField(const Field& field) {
    if (!session_->loaded()) {
        return;
    }
    history_->record(QCoreApplication::translate("frmMain", "Revert %1 to Saved Value").arg(fieldName(field)),
                     [this, &field] {
                         session_->revertField(field);
                         form_.box(field)->setText(boxText(session_->saved(), field));
                         refreshChanges();
                     });
}

void frmMain::mnuShowChanges_Click() {
    history_->seal();
    const QStringList lines = session_->loaded() ? changeLines(session_->saved(), session_->values()) : QStringList();
    const QString text = lines.isEmpty() ? QCoreApplication::translate("frmMain", "No changes since the last save")
                                         : QCoreApplication::translate(
                                               "frmMain", "Changed since the last load or save (saved \u2192 now):");
    platform::services().reviewList(this, kApplicationTitle, text, lines, QString());
}
