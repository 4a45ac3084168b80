// Taking edits back: undo and redo of every kind of step, typing merged into
// one step per run, the Undo and Redo keys inside the boxes, reverting all
// fields or one, and that none of it reaches the file.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QUndoStack>

#include "../common/Rows.h"
#include "WindowFixture.h"
#include "core/Fields.h"
#include "ui/main_window/ChangeMarks.h"
#include "ui/main_window/FieldMarks.h"

namespace {

void knownValues(Baza& b) {
    b.setLiga1(5);             // member 0
    b.setLiga6(40);            // member 5, "Club Slot, row 2"
    b.setStr7(12);             // member 19, "Club Name, row 3", picker 20
    b.setCat2("category_01");  // member 27, picker 2
    b.setCatL2(3);             // member 31, indicator Label3: unnamed_38.bin
    b.setPrimerLeague(2);      // member 43
}

// What a step changes, seen in one box, its picker and the indicator.
struct Step {
    QString kind;  // what the test does, see doStep()
    QString name;  // the step's name in the history
    int member;    // the box that shows the change
    QString boxBefore, boxAfter;
    int picker;  // 0: none looked at
    QString pickerBefore, pickerAfter;
    QString label3Before, label3After;  // the logo indicator beside member 31
};
struct Run {
    QString keys;  // per character: a key into box 19 (cursor at the end), '<' backspace,
                   // '|' the focus leaves, '5' ... into box 5 after '@'
    int steps;
    QStringList undone;  // box 19's text after each undo
};

}  // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Run)

class UndoTest : public WindowFixture {
    Q_OBJECT

    struct Shown {
        Baza::Block block;
        QStringList boxes, pickers, labels;
        bool operator==(const Shown& o) const {
            return block == o.block && boxes == o.boxes && pickers == o.pickers && labels == o.labels;
        }
    };

    Shown shown() const {
        Shown s{window_->baza().block(), {}, {}, {}};
        for (const Field& field : fields())
            s.boxes << txt(field.member)->text();
        for (const auto& [number, picker] : window_->controls().combo)
            s.pickers << picker->currentText();
        for (int n = 2; n <= 8; ++n)
            s.labels << label(n);
        return s;
    }

    void doStep(const QString& kind) {
        if (kind == "typing") {
            type(txt(19), QStringLiteral("300"));
        } else if (kind == "bad typing") {
            type(txt(19), QStringLiteral("3x"));
        } else if (kind == "logo typing") {
            type(txt(31), QStringLiteral("7"));
        } else if (kind == "name choice") {
            choose(20, QStringLiteral("-7"));
        } else if (kind == "category choice") {
            choose(2, QStringLiteral("category_07"));
        } else if (kind == "category typing") {
            type(txt(27), QStringLiteral("ab"));
        } else if (kind == "picker typing") {
            combo(20)->lineEdit()->end(false);
            QTest::keyClicks(combo(20)->lineEdit(), QStringLiteral("9"));
        } else if (kind == "import") {
            Baza::Block values = window_->baza().block();
            values.str[6] = 77;
            values.catL[1] = 29;
            window_->applyBlock(values, QStringLiteral("Import League Setup"));
        } else if (kind == "revert") {
            window_->revertField(*fieldOfMember(19));
        }
    }

    QUndoStack& stack() { return window_->undoStack(); }

private slots:
    // Each kind of step goes back and comes again exactly: the whole block,
    // every box, every picker and every indicator.
    void undoAndRedoPutEverythingBack_data() {
        const QString sel = "Select Index", l38 = "unnamed_38.bin";
        rows<Step>({
            {"typing", {"typing", "Typing in Club Name, row 3", 19, "12", "300", 20, sel, sel, l38, l38}},
            {"typing that cannot be stored",
             {"bad typing", "Typing in Club Name, row 3", 19, "12", "3x", 20, sel, sel, l38, l38}},
            {"logo index",
             {"logo typing",
              "Typing in Club Category Logo(dt04.img), row 2",
              31,
              "3",
              "7",
              0,
              {},
              {},
              l38,
              "unnamed_42.bin"}},
            {"name choice", {"name choice", "Choice in Club Name, row 3", 19, "12", "-7", 20, sel, "-7", l38, l38}},
            {"category choice",
             {"category choice", "Choice in National Category Logo League u_1426.bin ->dt06.img, row 2", 27,
              "category_01", "category_07", 2, "Select category to Sector 1", "category_07", l38, l38}},
            {"category typed",
             {"category typing", "Typing in National Category Logo League u_1426.bin ->dt06.img, row 2", 27,
              "category_01", "ab", 2, "Select category to Sector 1", "Select category to Sector 1", l38, l38}},
            {"typed into a picker",
             {"picker typing", "Typing in Club Name, row 3", 19, "12", "Select Index9", 20, sel, "Select Index9", l38,
              l38}},
            {"import", {"import", "Import League Setup", 19, "12", "77", 20, sel, sel, l38, "unnamed_64.bin"}},
        });
    }

    void undoAndRedoPutEverythingBack() {
        QFETCH(Step, row);
        startLoaded(knownValues);
        const QByteArray file = folder_->game();
        const Shown before = shown();
        doStep(row.kind);
        const Shown after = shown();
        QCOMPARE(stack().count(), 1);
        QCOMPARE(stack().undoText(), row.name);
        QCOMPARE(txt(row.member)->text(), row.boxAfter);
        if (row.picker)
            QCOMPARE(combo(row.picker)->currentText(), row.pickerAfter);
        QCOMPARE(label(3), row.label3After);

        for (int round = 0; round < 2; ++round) {
            window_->mnuUndo_Click();
            QCOMPARE(txt(row.member)->text(), row.boxBefore);
            if (row.picker)
                QCOMPARE(combo(row.picker)->currentText(), row.pickerBefore);
            QCOMPARE(label(3), row.label3Before);
            QVERIFY(shown() == before);
            QVERIFY(!window_->isWindowModified());
            QCOMPARE(changedMark(txt(row.member)), QString());
            QCOMPARE(fieldMark(txt(row.member)), QString());

            window_->mnuRedo_Click();
            QCOMPARE(txt(row.member)->text(), row.boxAfter);
            if (row.picker)
                QCOMPARE(combo(row.picker)->currentText(), row.pickerAfter);
            QCOMPARE(label(3), row.label3After);
            QVERIFY(shown() == after);
        }
        QVERIFY(folder_->game() == file);  // never written
    }

    // Each value stored in the block, checked by hand after undo and redo.
    void undoneValuesInTheBlock() {
        startLoaded(knownValues);
        type(txt(19), QStringLiteral("300"));
        choose(2, QStringLiteral("category_07"));
        type(txt(5), QStringLiteral("-3"));
        QCOMPARE(stack().count(), 3);
        const Baza& b = window_->baza();
        window_->mnuUndo_Click();
        QCOMPARE(b.Liga6(), 40);
        QCOMPARE(b.Cat2(), std::string("category_07"));
        window_->mnuUndo_Click();
        QCOMPARE(b.Cat2(), std::string("category_01"));
        QCOMPARE(b.Str7(), std::int16_t(300));
        QCOMPARE(changedMark(txt(19)), QStringLiteral("Changed: was 12"));
        window_->mnuUndo_Click();
        QCOMPARE(b.Str7(), std::int16_t(12));
        QVERIFY(!window_->action(QStringLiteral("mnuUndo"))->isEnabled());
        QVERIFY(window_->action(QStringLiteral("mnuRedo"))->isEnabled());
        window_->mnuRedo_Click();
        window_->mnuRedo_Click();
        QCOMPARE(b.Str7(), std::int16_t(300));
        QCOMPARE(b.Cat2(), std::string("category_07"));
        QCOMPARE(b.Liga6(), 40);
        // A new step drops what could be redone.
        type(txt(43), QStringLiteral("9"));
        QVERIFY(!window_->action(QStringLiteral("mnuRedo"))->isEnabled());
        QCOMPARE(stack().count(), 3);
    }

    // Keystrokes in one box are one step until the focus leaves it or
    // another action comes; a run typed back to its start is no step.
    void typingMergesIntoOneStep_data() {
        rows<Run>({
            {"one run", {"300", 1, {"12"}}},
            {"focus left between", {"3|00", 2, {"123", "12"}}},
            {"typed back to where it began", {"4<", 0, {}}},
            {"another box between", {"3@5|0", 3, {"123", "123", "12"}}},
            // ~: undo, then type on; the new step replaces the undone one
            {"undo ends the run", {"3~0", 1, {"12"}}},
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
                window_->mnuUndo_Click();
                box->end(false);
            } else if (c == '<') {
                QTest::keyClick(into, Qt::Key_Backspace);
            } else {
                QTest::keyClick(into, c.toLatin1());
                into = box;
            }
        }
        QCOMPARE(stack().count(), row.steps);
        for (const QString& text : row.undone) {
            window_->mnuUndo_Click();
            QCOMPARE(box->text(), text);
        }
    }

    // Inside a box the Undo and Redo keys are the window's: the first takes
    // back the run typed there, the next ones earlier steps in other boxes.
    void undoKeysInsideABox_data() {
        QTest::addColumn<QList<int>>("keys");  // 1 undo, 2 redo
        QTest::addColumn<QString>("box19");
        QTest::addColumn<QString>("box5");
        QTest::newRow("undo") << QList<int>{1} << "12"
                              << "41";
        QTest::newRow("undo twice reaches the other box") << QList<int>{1, 1} << "12"
                                                          << "40";
        QTest::newRow("undo, redo") << QList<int>{1, 2} << "300"
                                    << "41";
        QTest::newRow("more undos than steps") << QList<int>{1, 1, 1} << "12"
                                               << "40";
        QTest::newRow("redo with nothing undone") << QList<int>{2} << "300"
                                                  << "41";
    }

    void undoKeysInsideABox() {
        QFETCH(QList<int>, keys);
        QFETCH(QString, box19);
        QFETCH(QString, box5);
        startShown(knownValues);
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        txt(5)->setFocus();
        txt(5)->end(false);
        QTest::keyClick(txt(5), Qt::Key_Backspace);
        QTest::keyClick(txt(5), '1');
        txt(19)->setFocus();
        txt(19)->selectAll();
        QTest::keyClicks(txt(19), QStringLiteral("300"));
        for (int key : keys) {
            if (key == 1)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
            else
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(QKeySequence::Redo));
        }
        QCOMPARE(txt(19)->text(), box19);
        QCOMPARE(txt(5)->text(), box5);
        QCOMPARE(QApplication::focusWidget(), txt(19));
    }

    // The launcher box is no field: its Undo key stays its own.
    void undoKeyInTheLauncherBoxIsItsOwn() {
        startShown(knownValues);
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        type(txt(19), QStringLiteral("300"));
        QLineEdit* launcher = window_->controls().Text1;
        launcher->setFocus();
        launcher->end(false);
        const QString before = launcher->text();
        QTest::keyClicks(launcher, QStringLiteral("xyz"));
        QTest::keyClick(launcher, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(launcher->text(), before);
        QCOMPARE(txt(19)->text(), QStringLiteral("300"));
        QCOMPARE(stack().count(), 1);
    }

    // Revert to Saved asks first when something is changed; one step.
    void revertAll_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer");  // 0 revert, -1 the way out
        QTest::addColumn<bool>("reverted");
        QTest::newRow("changed, revert") << true << 0 << true;
        QTest::newRow("changed, cancel") << true << -1 << false;
        QTest::newRow("only text that cannot be stored") << false << 0 << true;
    }

    void revertAll() {
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(bool, reverted);
        startLoaded(knownValues);
        services_.choiceAnswer = answer;
        type(txt(5), QStringLiteral("abc"));
        if (changed) {
            type(txt(19), QStringLiteral("300"));
            choose(2, QStringLiteral("category_07"));
        }
        const Shown edited = shown();
        const int steps = stack().count();
        window_->action(QStringLiteral("mnuRevert"))->trigger();
        QCOMPARE(services_.choiceTexts, changed
                                            ? QStringList{"Put back every value as it was last loaded or saved?\n\n"
                                                          "2 changed values will go back. Edit > Undo takes this back."}
                                            : QStringList{});
        if (!reverted) {
            QVERIFY(shown() == edited);
            QCOMPARE(stack().count(), steps);
            return;
        }
        QCOMPARE(txt(5)->text(), QStringLiteral("40"));
        QCOMPARE(txt(19)->text(), QStringLiteral("12"));
        QCOMPARE(txt(27)->text(), QStringLiteral("category_01"));
        QVERIFY(window_->baza().block() == window_->savedBlock());
        QCOMPARE(fieldMark(txt(5)), QString());
        QVERIFY(!window_->isWindowModified());
        QCOMPARE(stack().count(), steps + 1);
        QCOMPARE(stack().undoText(), QStringLiteral("Revert to Saved"));
        window_->mnuUndo_Click();
        QVERIFY(shown() == edited);
    }

    // The context menu of a box or picker: the text field's own entries with
    // the window's Undo and Redo, and the revert of that field alone.
    void revertOneField_data() {
        QTest::addColumn<bool>("fromPicker");
        QTest::newRow("box") << false;
        QTest::newRow("picker") << true;
    }

    void revertOneField() {
        QFETCH(bool, fromPicker);
        startLoaded(knownValues);
        type(txt(19), QStringLiteral("300"));
        type(txt(5), QStringLiteral("41"));
        QWidget* control = fromPicker ? static_cast<QWidget*>(combo(20)) : txt(19);
        std::unique_ptr<QMenu> menu(window_->fieldMenu(control, *fieldOfMember(19)));
        QStringList names;
        for (QAction* action : menu->actions())
            names << (action->objectName().isEmpty() ? action->text().section('\t', 0, 0) : action->objectName());
        // The text field's own entries after the window's Undo and Redo.
        QCOMPARE(names, (QStringList{"mnuUndo", "mnuRedo", "", "Cu&t", "&Copy", "&Paste", "Delete", "", "Select All",
                                     "", "mnuRevertField"}));
        QAction* revert = menu->actions().last();
        QCOMPARE(revert->text(), QStringLiteral("Revert to Saved Value"));
        QVERIFY(revert->isEnabled());
        revert->trigger();
        QCOMPARE(txt(19)->text(), QStringLiteral("12"));
        QCOMPARE(window_->baza().Str7(), std::int16_t(12));
        QCOMPARE(changedMark(txt(19)), QString());
        QCOMPARE(txt(5)->text(), QStringLiteral("41"));  // the other edit stays
        QCOMPARE(changedMark(txt(5)), QStringLiteral("Changed: was 40"));
        QCOMPARE(stack().count(), 3);
        QCOMPARE(stack().undoText(), QStringLiteral("Revert Club Name, row 3 to Saved Value"));
        // Nothing left to revert in that field.
        std::unique_ptr<QMenu> again(window_->fieldMenu(control, *fieldOfMember(19)));
        QVERIFY(!again->actions().last()->isEnabled());
        window_->mnuUndo_Click();
        QCOMPARE(txt(19)->text(), QStringLiteral("300"));
        QCOMPARE(window_->baza().Str7(), std::int16_t(300));
    }

    void revertOneCategory() {
        startLoaded(knownValues);
        choose(2, QStringLiteral("category_07"));
        window_->revertField(*fieldOfMember(27));
        QCOMPARE(txt(27)->text(), QStringLiteral("category_01"));
        QCOMPARE(window_->baza().Cat2(), std::string("category_01"));
        QCOMPARE(changedMark(combo(2)), QString());
        QVERIFY(!window_->isWindowModified());
    }

    // Undone edits saved: the file holds the values the window shows.
    void savingAfterUndo() {
        startLoaded(knownValues);
        type(txt(0), QStringLiteral("77"));
        type(txt(5), QStringLiteral("-2"));
        window_->mnuUndo_Click();
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        const QByteArray file = folder_->game();
        QCOMPARE(file.mid(Baza::LigaOffset, 4), QByteArray("\x4d\x00\x00\x00", 4));       // Liga1 77
        QCOMPARE(file.mid(Baza::LigaOffset + 20, 4), QByteArray("\x28\x00\x00\x00", 4));  // Liga6 40
        // Undo after the save: the value differs from the saved one again.
        window_->mnuUndo_Click();
        QCOMPARE(txt(0)->text(), QStringLiteral("5"));
        QCOMPARE(changedMark(txt(0)), QStringLiteral("Changed: was 77"));
        QVERIFY(folder_->game() == file);
    }

    // Without a block there is nothing to take back.
    void nothingRecordedWithoutABlock() {
        folder_->write("Leagues.ini", ProgramFolder::MissingGame);
        QVERIFY(start());
        type(txt(19), QStringLiteral("300"));
        choose(20, QStringLiteral("12"));
        window_->applyBlock(window_->baza().block(), QStringLiteral("Import League Setup"));
        window_->mnuRevert_Click();
        QCOMPARE(stack().count(), 0);
        QCOMPARE(services_.questions, 0);
    }
};

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
