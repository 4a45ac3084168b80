// The window's undo history: typing merged into one step per run, the Undo
// and Redo keys inside the boxes, stepping a box's value, and reverting every
// field or one.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QUndoStack>

#include "../common/Rows.h"
#include "EditingValues.h"
#include "WindowFixture.h"
#include "core/Fields.h"
#include "ui/main_window/ChangeMarks.h"
#include "ui/main_window/FieldMarks.h"

namespace {

struct Run {
    QString keys;  // per character: a key into box 19 (cursor at the end), '|' the focus leaves,
                   // '5' ... into box 5 after '@', '~' the Undo key, '>' the Redo key, in box 19
    int steps;
    QStringList texts;  // boxes 19 and 5 now, then after each undo from the menu
};
struct Stepped {
    int member;
    QString typed;  // typed into the box first; empty: as loaded
    Qt::Key key;
    QString shown;  // the box afterwards
};
struct Reverted {
    int member;     // the field reverted
    bool picker;    // through its picker's menu
    QString was;    // its box's text as last saved
    QString words;  // the field in the step's name
};

}  // namespace

Q_DECLARE_METATYPE(Run)
Q_DECLARE_METATYPE(Reverted)
Q_DECLARE_METATYPE(Stepped)

class HistoryTest : public WindowFixture {
    Q_OBJECT

    QUndoStack& stack() { return window_->undoStack(); }

private slots:
    // Keystrokes in one box are one step until the focus leaves it or
    // another action comes; a run typed back to its start is no step. Inside
    // a box the Undo and Redo keys are the window's: the first takes back the
    // run typed there, the next ones earlier steps in other boxes.
    void typingMergesIntoOneStep_data() {
        rows<Run>({
            {"focus left between", {"3|00", 2, {"12300 40", "123 40", "12 40"}}},
            {"another box between", {"3@5|0", 3, {"1230 405", "123 405", "123 40", "12 40"}}},
            {"the Undo key ends the run", {"3~0", 1, {"120 40", "12 40"}}},  // the new step replaces the undone one
            {"Undo and Redo keys reach other boxes", {"@13~~>", 2, {"12 401", "12 40"}}},
        });
    }

    void typingMergesIntoOneStep() {
        QFETCH(Run, row);
        startShown(knownValues);
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QLineEdit* box = txt(19);
        box->setFocus();
        box->end(false);
        QLineEdit* into = box;
        for (QChar c : row.keys) {
            if (c == '|') {
                txt(0)->setFocus();
                box->setFocus();
                box->end(false);
            } else if (c == '@') {
                into = txt(5);
            } else if (c == '~') {
                QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
                box->end(false);
            } else if (c == '>') {
                QTest::keySequence(box, QKeySequence(QKeySequence::Redo));
            } else {
                QTest::keyClick(into, c.toLatin1());
                into = box;
            }
        }
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(stack().count(), row.steps);
        for (const QString& texts : row.texts) {
            QCOMPARE(box->text() + " " + txt(5)->text(), texts);
            window_->mnuUndo_Click();
        }
    }

    // The launcher box is no field: its Undo key stays its own.
    void launcherKeepsItsOwnUndo() {
        startShown(knownValues);
        QLineEdit* launcher = window_->controls().Text1;
        launcher->setFocus();
        const QString before = launcher->text();
        type(txt(5), QStringLiteral("1"));
        QTest::keyClicks(launcher, QStringLiteral("xyz"));
        QTest::keyClick(launcher, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(launcher->text(), before);
        QCOMPARE(txt(5)->text(), QStringLiteral("1"));
    }

    // Revert to Saved asks first when something is changed, and is one step.
    // Up and Down step a number box's value by one, Page Up and Page Down by
    // ten, within what its field holds, each as one undo step; from the
    // field's value when the text does not convert. A category box has no
    // number to step.
    void stepping_data() {
        rows<Stepped>({
            {"up", {0, "", Qt::Key_Up, "6"}},
            {"page down", {5, "", Qt::Key_PageDown, "30"}},
            {"page down below zero", {0, "", Qt::Key_PageDown, "-5"}},
            {"down at a map code's floor", {40, "0", Qt::Key_Down, "0"}},
            {"page up near a name's top", {19, "32760", Qt::Key_PageUp, "32767"}},
            {"from a text that cannot be stored", {0, "5x", Qt::Key_Up, "6"}},
            {"a category", {27, "", Qt::Key_Up, "category_01"}},
        });
    }
    void stepping() {
        QFETCH(Stepped, row);
        startLoaded(knownValues);
        QLineEdit* box = txt(row.member);
        if (!row.typed.isEmpty())
            type(box, row.typed);
        const QString before = box->text();
        const int steps = stack().count();
        QTest::keyClick(box, row.key);
        QCOMPARE(box->text(), row.shown);
        const Field& field = *fieldOfMember(row.member);
        if (field.kind != FieldKind::Cat)
            QCOMPARE(QString::number(fieldNumber(window_->session().values(), field)), row.shown);
        QCOMPARE(stack().count(), steps + (row.shown != before ? 1 : 0));
        if (row.shown != before) {
            window_->mnuUndo_Click();
            QCOMPARE(box->text(), before);
        }
    }

    void revertAll_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer");  // 0 revert, -1 the way out
        QTest::newRow("changed, revert") << true << 0;
        QTest::newRow("changed, cancel") << true << -1;
        QTest::newRow("only text that cannot be stored") << false << 0;
    }

    void revertAll() {
        QFETCH(bool, changed);
        QFETCH(int, answer);
        startLoaded(knownValues);
        services_.choiceAnswer = answer;
        if (changed) {
            type(txt(19), QStringLiteral("300"));
            choose(2, QStringLiteral("category_07"));
        }
        type(txt(5), QStringLiteral("abc"));
        const int steps = stack().count();
        window_->action(QStringLiteral("mnuRevert"))->trigger();
        QCOMPARE(services_.choiceTexts.size(), changed ? 1 : 0);
        QVERIFY(!changed || services_.choiceTexts[0].contains("\n\n2 changed values will go back."));
        if (answer != 0) {
            QCOMPARE(txt(19)->text() + " " + QString::number(stack().count()), "300 " + QString::number(steps));
            return;
        }
        QCOMPARE(txt(5)->text() + " " + txt(27)->text(), QStringLiteral("40 category_01"));
        QVERIFY(window_->baza().block() == window_->savedBlock());
        QCOMPARE(fieldMark(txt(5)), QString());
        QVERIFY(!window_->isWindowModified());
        QCOMPARE(stack().undoText(), QStringLiteral("Revert to Saved"));
        window_->mnuUndo_Click();
        QCOMPARE(txt(5)->text(), QStringLiteral("abc"));
        QCOMPARE(window_->isWindowModified(), changed);
    }

    // The context menu of a box or picker: the text field's own entries
    // with the window's Undo and Redo in place of its own, and the revert of
    // that field alone, one step, offered while there is something to revert.
    void revertOneField_data() {
        rows<Reverted>({
            {"box", {19, false, "12", "Club Name, row 3"}},
            {"category, by its picker",
             {27, true, "category_01", "National Category Logo League u_1426.bin ->dt06.img, row 2"}},
        });
    }

    void revertOneField() {
        QFETCH(Reverted, row);
        startLoaded(knownValues);  // then Club Name, row 3 12 -> 300, Club Slot, row 2 40 -> 41, category_07 chosen
        type(txt(19), QStringLiteral("300"));
        type(txt(5), QStringLiteral("41"));
        choose(2, QStringLiteral("category_07"));
        const Field& field = *fieldOfMember(row.member);
        QWidget* control = row.picker ? static_cast<QWidget*>(combo(field.picker)) : txt(row.member);
        std::unique_ptr<QMenu> menu(window_->fieldMenu(control, field));
        const QList<QAction*> entries = menu->actions();
        QCOMPARE(entries[0], window_->action(QStringLiteral("mnuUndo")));
        QCOMPARE(entries[1], window_->action(QStringLiteral("mnuRedo")));
        for (QAction* own : entries.mid(2))
            QVERIFY2(!own->text().contains("Undo") && !own->text().contains("Redo"), qPrintable(own->text()));
        QCOMPARE(entries.last()->objectName(), QStringLiteral("mnuRevertField"));
        QVERIFY(entries.last()->isEnabled());
        entries.last()->trigger();
        QCOMPARE(txt(row.member)->text(), row.was);
        QVERIFY(sameField(window_->baza().block(), window_->savedBlock(), field));
        QCOMPARE(changedMark(txt(row.member)), QString());
        QCOMPARE(changedMark(txt(5)), QStringLiteral("Changed: was 40"));  // the other edits stay
        QCOMPARE(stack().undoText(), "Revert " + row.words + " to Saved Value");
        std::unique_ptr<QMenu> again(window_->fieldMenu(control, field));
        QVERIFY(!again->actions().last()->isEnabled());
        window_->mnuUndo_Click();
        QVERIFY(!sameField(window_->baza().block(), window_->savedBlock(), field));
    }
};

QTEST_MAIN(HistoryTest)
#include "HistoryTest.moc"
