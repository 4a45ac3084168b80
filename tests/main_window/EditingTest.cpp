// Editing in the window: what typing into the boxes and pickers and choosing
// from the pickers' lists stores in the block, the marks that show a changed
// box and a box whose text cannot be stored, undo and redo (each edit one
// step, typing merged into one step per run, the Undo and Redo keys inside
// the boxes), reverting all fields or one, the list of changes, and the club
// logo boxes' typing limit.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QUndoStack>
#include <QWheelEvent>

#include "../common/Rows.h"
#include "WindowFixture.h"
#include "core/Fields.h"
#include "ui/main_window/ChangeMarks.h"
#include "ui/main_window/FieldMarks.h"

namespace {

// The block every test starts from.
void knownValues(Baza& b) {
    b.setLiga1(5);    // member 0, "National Slot, row 1"
    b.setLiga3(-1);   // member 2, "National Slot, row 3"
    b.setLiga6(40);   // member 5, "Club Slot, row 2"
    b.setStr2(1);     // member 14, "National Name, row 4", picker 15
    b.setStr5(4821);  // member 17, "Club Name, row 1", picker 18
    b.setStr7(12);    // member 19, "Club Name, row 3", picker 20
    b.setStr8(1005);  // member 20, "Club Name, row 4", picker 21
    for (int i = 0; i < 4; ++i)
        b.setCat(i, "category_01");  // members 26 to 29, pickers 1 to 4
    b.setCatL1(5);                   // member 30, indicator Label2: unnamed_40.bin
    b.setCatL2(3);                   // member 31, indicator Label3: unnamed_38.bin
    b.setCatL7(29);                  // member 36, indicator Label8: unnamed_64.bin
    b.setAfrica(62);                 // member 40, "Maps Load ..., row 2"
    b.setPrimerLeague(2);            // member 43, "Maps Load ..., row 5"
    b.setLigue1(0);                  // member 44
}

// An edit: 'T' types into box `where` after clearing it, 'K' into picker
// `where`'s text field after clearing it, 'P' chooses `what` from picker
// `where`'s list, 'I' imports a block whose Club Name, row 3 is 77.
struct Edit {
    char how;
    int where;
    QString what;
};

// Edits, then box `member` shows `shown`, its field holds `stored` (a
// number in digits, a category's 11 bytes), and it and its picker carry the
// changed sentence `mark` (no other box or picker is marked); `step` is the
// one undo step taken, if any.
struct Edited {
    QList<Edit> edits;
    int member;
    QString shown;
    QByteArray stored;
    QString mark, step;
};
struct Described {
    int member;
    QString typed, description, tooltip;
};
struct Listed {
    QList<Edit> edits;
    QString text;
    QStringList lines;
};
struct LogoEdit {
    int member;
    QString edit, text, shown;  // edit: T type at end, P paste at end, C clear, B backspace, A select all
};

struct Run {
    QString keys;  // per character: a key into box 19 (cursor at the end), '<' backspace,
                   // '|' the focus leaves, '5' ... into box 5 after '@', '~' undo
    int steps;
    QStringList undone;  // box 19's text after each undo
};
struct Reverted {
    int member;     // the field reverted
    bool picker;    // through its picker's menu
    QString was;    // its box's text as last saved
    QString words;  // the field in the step's name
};

}  // namespace

Q_DECLARE_METATYPE(Edited)
Q_DECLARE_METATYPE(Described)
Q_DECLARE_METATYPE(Listed)
Q_DECLARE_METATYPE(LogoEdit)
Q_DECLARE_METATYPE(Run)
Q_DECLARE_METATYPE(Reverted)

class EditingTest : public WindowFixture {
    Q_OBJECT

    void apply(const QList<Edit>& edits) {
        for (const Edit& edit : edits) {
            if (edit.how == 'T') {
                type(txt(edit.where), edit.what);
            } else if (edit.how == 'K') {
                type(combo(edit.where)->lineEdit(), edit.what);
            } else if (edit.how == 'P') {
                choose(edit.where, edit.what);
            } else {
                Baza::Block values = window_->baza().block();
                values.str[6] = 77;
                window_->applyBlock(values, QStringLiteral("Import League Setup"));
            }
        }
    }

    // Box `member` and its picker carry `mark`, shown by bold text; nothing
    // else is marked as changed.
    void checkMarks(int member, const QString& mark) {
        for (const Field& field : fields()) {
            const QString expected = field.member == member ? mark : QString();
            QWidget* controls[] = {txt(field.member), field.picker ? combo(field.picker) : nullptr};
            for (QWidget* control : controls) {
                if (!control)
                    continue;
                const QString where = " (" + control->objectName() + ")";
                QCOMPARE(changedMark(control) + where, expected + where);
                auto* picker = qobject_cast<QComboBox*>(control);
                QCOMPARE((picker ? picker->lineEdit() : control)->font().bold(), !expected.isEmpty());
            }
        }
    }

    // The block, every box and picker text and every indicator.
    struct Shown {
        Baza::Block block;
        QStringList texts;
        bool operator==(const Shown& o) const { return block == o.block && texts == o.texts; }
    };
    Shown shown() const {
        Shown all{window_->baza().block(), {}};
        for (const Field& field : fields())
            all.texts << txt(field.member)->text() << (field.picker ? combo(field.picker)->currentText() : QString());
        for (int n = 2; n <= 8; ++n)
            all.texts << label(n);
        return all;
    }

    QUndoStack& stack() { return window_->undoStack(); }

    // Starts with Club Name, row 3 changed from 12 to 300 and Club Slot, row
    // 2 from 40 to 41, and National Category ..., row 2 chosen as category_07.
    void startEdited() {
        startLoaded(knownValues);
        type(txt(19), QStringLiteral("300"));
        type(txt(5), QStringLiteral("41"));
        choose(2, QStringLiteral("category_07"));
    }

private slots:
    // Numbers are read in the C locale: rounded to the nearest whole number,
    // blanks around allowed; a name picker's choice is stored when it is a
    // number in range; a category is stored as the game's code page holds
    // it, cut at 11 characters and filled with blanks. Each edit is one
    // step that undo takes back and redo brings again, whole.
    void editsReachTheBlock_data() {
        const QString cat = "National Category Logo League u_1426.bin ->dt06.img, row ";
        const QString was01 = "Changed: was \"category_01\"";
        rows<Edited>({
            {"-3 into Liga6", {{{'T', 5, "-3"}}, 5, "-3", "-3", "Changed: was 40", "Typing in Club Slot, row 2"}},
            {"Str2, the bottom row",
             {{{'T', 14, "12.4"}}, 14, "12.4", "12", "Changed: was 1", "Typing in National Name, row 4"}},
            {"Str5, blanks around",
             {{{'T', 17, " 12 "}}, 17, " 12 ", "12", "Changed: was 4821", "Typing in Club Name, row 1"}},
            {"Ligue1 rounds",
             {{{'T', 44, "12.6"}},
              44,
              "12.6",
              "13",
              "Changed: was 0",
              "Typing in Maps Load u_1426.bin ->dt06.img, row 6"}},
            {"logo index",
             {{{'T', 31, "7"}}, 31, "7", "7", "Changed: was 3", "Typing in Club Category Logo(dt04.img), row 2"}},
            {"cannot be stored", {{{'T', 19, "abc"}}, 19, "abc", "12", "", "Typing in Club Name, row 3"}},
            {"typed back", {{{'T', 19, "300"}, {'T', 19, "12"}}, 19, "12", "12", "", ""}},
            {"name chosen", {{{'P', 21, "-7"}}, 20, "-7", "-7", "Changed: was 1005", "Choice in Club Name, row 4"}},
            {"name chosen, not a number",
             {{{'P', 21, "Northern League"}}, 20, "Northern League", "1005", "", "Choice in Club Name, row 4"}},
            {"name chosen, out of range",
             {{{'P', 21, "32768"}}, 20, "32768", "1005", "", "Choice in Club Name, row 4"}},
            {"name typed into its picker",
             {{{'K', 20, "9"}}, 19, "9", "9", "Changed: was 12", "Typing in Club Name, row 3"}},
            {"category chosen",
             {{{'P', 3, "category_07"}}, 28, "category_07", "category_07", was01, "Choice in " + cat + "3"}},
            {"category typed into its picker",
             {{{'K', 2, "ab"}}, 27, "ab", "ab         ", was01, "Typing in " + cat + "2"}},
            {"category picker cleared", {{{'K', 1, ""}}, 26, "", "           ", was01, "Typing in " + cat + "1"}},
            {"picker, cut at 11",
             {{{'K', 3, "category_123"}},
              28,
              "category_12",
              "category_12",
              "Changed: was \"category_01\"",
              "Typing in " + cat + "3"}},
            {"box, cut at 11",
             {{{'T', 29, "category_100"}}, 29, "category_10", "category_10", was01, "Typing in " + cat + "4"}},
            {"code page letters",
             {{{'T', 28, QStringLiteral("caf\u00e9 \u20ac")}},
              28,
              QStringLiteral("caf\u00e9 \u20ac"),
              "caf\xe9 \x80     ",
              was01,
              "Typing in " + cat + "3"}},
            {"outside the code page",
             {{{'T', 28, QStringLiteral("a\u0394b")}}, 28, "ab", "ab         ", was01, "Typing in " + cat + "3"}},
            {"import", {{{'I', 0, {}}}, 19, "77", "77", "Changed: was 12", "Import League Setup"}},
        });
    }

    void editsReachTheBlock() {
        QFETCH(Edited, row);
        startLoaded(knownValues);
        const QByteArray file = folder_->game();
        const Shown before = shown();
        apply(row.edits);
        QCOMPARE(txt(row.member)->text(), row.shown);
        const Field& field = *fieldOfMember(row.member);
        const Baza::Block block = window_->baza().block();
        QCOMPARE(field.kind == FieldKind::Cat ? QByteArray::fromStdString(fieldCategory(block, field))
                                              : QByteArray::number(fieldNumber(block, field)),
                 row.stored);
        checkMarks(row.member, row.mark);
        QCOMPARE(window_->isWindowModified(), !row.mark.isEmpty());
        QCOMPARE(stack().count(), row.step.isEmpty() ? 0 : 1);
        if (row.step.isEmpty())
            return;
        QCOMPARE(stack().undoText(), row.step);
        const Shown after = shown();
        for (int round = 0; round < 2; ++round) {
            window_->mnuUndo_Click();
            QVERIFY(shown() == before);
            checkMarks(row.member, QString());
            QCOMPARE(fieldMark(txt(row.member)), QString());
            QVERIFY(!window_->action(QStringLiteral("mnuUndo"))->isEnabled());
            window_->mnuRedo_Click();
            QVERIFY(shown() == after);
        }
        QVERIFY(folder_->game() == file);  // never written
    }

    // A category choice is stored in one copy-back pass.
    void categoryChoiceStoresTextInOnePass() {
        startLoaded(knownValues);
        const int passes = window_->passCount();
        choose(3, QStringLiteral("category_07"));
        QCOMPARE(window_->passCount(), passes + 1);
    }

    // Drawn: a dark bar two pixels high along the bottom edge, over the
    // box's frame line; with the not-stored mark too, that mark's red frame
    // stays whole on top.
    void markDrawnAlongTheBottom_data() {
        QTest::addColumn<QList<Edit>>("edits");
        QTest::addColumn<QColor>("bottom");  // the two bottom rows of pixels
        QTest::newRow("unchanged") << QList<Edit>{} << QColor(0x7a, 0x7a, 0x7a);
        QTest::newRow("changed") << QList<Edit>{{'T', 5, "41"}} << QColor(32, 32, 32);
        QTest::newRow("changed and not stored") << QList<Edit>{{'T', 5, "41"}, {'T', 5, "x"}} << QColor(204, 0, 0);
    }

    void markDrawnAlongTheBottom() {
        QFETCH(QList<Edit>, edits);
        QFETCH(QColor, bottom);
        startShown(knownValues);
        apply(edits);
        // Box 5 is 75 pixels wide, yellow inside its grey frame line.
        const QImage image = txt(5)->grab().toImage();
        const int h = image.height();
        for (int x = 2; x < 73; ++x) {
            const QString at = QStringLiteral(" at x %1").arg(x);
            QCOMPARE(QColor(image.pixel(x, h - 1)).name() + at, bottom.name() + at);
            const QColor above = edits.isEmpty() ? QColor(255, 255, 0) : bottom;
            QCOMPARE(QColor(image.pixel(x, h - 2)).name() + at, above.name() + at);
        }
        if (bottom == QColor(204, 0, 0)) {  // the mark's right side, and its corner triangle
            QCOMPARE(QColor(image.pixel(image.width() - 2, h / 2)), bottom);
            QCOMPARE(QColor(image.pixel(3, 3)), bottom);
        }
    }

    // A box whose text cannot be stored is marked: a red frame over the
    // box, and the reason as tooltip and description, the changed sentence
    // after it; a logo box's description goes on with the file its indicator
    // names (the last one found while typing key by key: 3, then 31). The
    // drawn mark is no control of its own, and it goes once the text stores.
    void marksSayWhy_data() {
        const QString allowed32 = " Allowed: whole numbers from -2147483648 to 2147483647.";
        const QString logo1 = "Not stored: Club Category Logo(dt04.img), row 1 keeps 5." + allowed32;
        const QString name1 = "Not stored: Club Name, row 1 keeps 3276. Allowed: whole numbers from -32768 to 32767.";
        const QString map2 =
            "Not stored: Maps Load u_1426.bin ->dt06.img, row 2 keeps 30. Allowed: whole numbers from 0 to 255.";
        const QString slot3 = "Not stored: National Slot, row 3 keeps -1." + allowed32;
        // A value the game is not known to take says so beside the other states.
        const QString map = "Outside what the game takes: map codes 0 to 10";
        const QString slot = "Outside what the game takes: slot numbers 0 to 100";
        const QString logo = "Outside what the game takes: club category logo indices 0 to 29";
        rows<Described>({
            {"name 32768, 3276 stored on the way",
             {17, "32768", name1 + " Changed: was 4821", name1 + "\nChanged: was 4821"}},
            {"map 300",
             {40, "300", map2 + " " + map + " Changed: was 62", map2 + "\n" + map + "\nChanged: was 62"}},
            {"letters", {2, "abc", slot3 + " " + slot, slot3 + "\n" + slot}},
            {"logo box as loaded", {30, "5", "Logo file: unnamed_40.bin.", ""}},
            {"logo index of no file",
             {30, "31", logo + " Changed: was 5 Logo file: unnamed_38.bin.", logo + "\nChanged: was 5"}},
            {"logo box not stored", {30, "x", logo1 + " Logo file: unnamed_40.bin.", logo1}},
        });
    }

    void marksSayWhy() {
        QFETCH(Described, row);
        startLoaded(knownValues);
        QLineEdit* box = txt(row.member);
        type(box, row.typed);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(iface->text(QAccessible::Description), row.description);
        QCOMPARE(box->toolTip(), row.tooltip);
        QCOMPARE(iface->childCount(), 0);
        QWidget* mark = box->findChild<QWidget*>(QStringLiteral("fieldMark"));
        const bool marked = row.tooltip.contains("Not stored") || row.tooltip.contains("Outside");
        QCOMPARE(mark && mark->isVisibleTo(box), marked);
        if (!marked)
            return;
        QCOMPARE(mark->geometry(), box->rect());
        type(box, QStringLiteral("3"));
        QCOMPARE(fieldMark(box), QString());
        QVERIFY(!mark->isVisibleTo(box));
    }

    // A save that wrote the block takes every mark away, and later typing
    // compares with what was saved; one that did not leaves the marks. So
    // does replacing the saved block (the file read again).
    void savingClearsTheMarks() {
        startLoaded(knownValues);
        services_.choiceAnswer = 0;  // values the game is not known to take: Save Anyway
        type(txt(19), QStringLiteral("300"));
        QVERIFY(QFile::rename(folder_->file(ProgramFolder::GameName), folder_->file("away")));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Failed);
        checkMarks(19, QStringLiteral("Changed: was 12"));
        QVERIFY(QFile::rename(folder_->file("away"), folder_->file(ProgramFolder::GameName)));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        checkMarks(19, QString());
        QVERIFY(!window_->isWindowModified());
        type(txt(19), QStringLiteral("12"));
        checkMarks(19, QStringLiteral("Changed: was 300"));
        QVERIFY(window_->isWindowModified());
    }

    // Show Changes lists every changed field in the window's order; a text
    // that cannot be stored is no change.
    void showChangesListsEveryChangedField_data() {
        const QString arrow = QStringLiteral(" \u2192 "), cat = "National Category Logo League u_1426.bin ->dt06.img";
        rows<Listed>({
            {"only text that cannot be stored", {{{'T', 19, "abc"}}, "No changes since the last save", {}}},
            {"in the window's order",
             {{{'T', 43, "9"}, {'P', 2, "category_07"}, {'T', 0, "-3"}, {'P', 15, "-7"}, {'T', 29, "x"}},
              QStringLiteral("Changed since the last load or save (saved \u2192 now):"),
              {"National Slot, row 1: 5" + arrow + "-3", "National Name, row 4: 1" + arrow + "-7",
               cat + ", row 2: \"category_01\"" + arrow + "\"category_07\"",
               cat + ", row 4: \"category_01\"" + arrow + "\"x          \"",
               "Maps Load u_1426.bin ->dt06.img, row 5: 2" + arrow + "9"}}},
        });
    }

    void showChangesListsEveryChangedField() {
        QFETCH(Listed, row);
        startLoaded(knownValues);
        apply(row.edits);
        window_->action(QStringLiteral("mnuShowChanges"))->trigger();
        QCOMPARE(services_.reviews.size(), 1);
        QCOMPARE(services_.reviews[0].text, row.text);
        QCOMPARE(services_.reviews[0].lines, row.lines);
        QCOMPARE(services_.reviews[0].acceptCaption, QString());  // only shows
    }

    // Before any block is loaded nothing is marked, changed or recorded,
    // whatever is typed, chosen or asked for.
    void nothingCountsWithoutABlock() {
        folder_->write("Leagues.ini", ProgramFolder::MissingGame);
        QVERIFY(start());
        type(txt(17), QStringLiteral("32768"));
        type(txt(2), QStringLiteral("abc"));
        choose(20, QStringLiteral("12"));
        window_->applyBlock(window_->baza().block(), QStringLiteral("Import League Setup"));
        window_->mnuRevert_Click();
        window_->revertField(*fieldOfMember(19));
        for (QLineEdit* box : window_->findChildren<QLineEdit*>())
            QVERIFY2(fieldMark(box).isEmpty(), qPrintable(box->objectName()));
        checkMarks(-1, QString());
        QVERIFY(!window_->isWindowModified());
        QCOMPARE(stack().count(), 0);
        QCOMPARE(services_.questions, 0);
        window_->mnuShowChanges_Click();
        QCOMPARE(services_.reviews[0].text, QStringLiteral("No changes since the last save"));
    }

    // The pickers have no completer, and the wheel over a closed one changes
    // nothing: no choice, no focus, no edit.
    void pickersChangeOnlyWhenAsked() {
        startShown(knownValues);
        for (const auto& [number, picker] : window_->controls().combo)
            QVERIFY2(picker->isEditable() && !picker->completer(), qPrintable(picker->objectName()));
        txt(0)->setFocus();
        QComboBox* picker = combo(18);
        for (QWidget* target : {static_cast<QWidget*>(picker), static_cast<QWidget*>(picker->lineEdit())}) {
            const QPointF at(target->width() / 2.0, target->height() / 2.0);
            for (int notch : {-120, -120, 120, -120}) {
                QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, notch), Qt::NoButton, Qt::NoModifier,
                                  Qt::NoScrollPhase, false);
                QApplication::sendEvent(target, &wheel);
            }
        }
        QCOMPARE(picker->currentIndex(), -1);
        QCOMPARE(txt(17)->text(), QStringLiteral("4821"));
        QVERIFY(!picker->hasFocus() && !picker->lineEdit()->hasFocus());
        QVERIFY(!window_->hasUnsavedChanges());
    }

    // Each club logo box loaded with 123 (three characters, one over its
    // limit), one edit, then what it shows and stores.
    void logoLimitHoldsTheTextTheProgramSet_data() {
        rows<LogoEdit>({
            {"type at end", {30, "T", "4567", "123"}},
            {"paste at end", {31, "P", "45", "123"}},
            {"long paste into a cleared box", {32, "CP", "4567", "45"}},
            {"delete, then type", {33, "BT", "89", "12"}},
            {"replace all by typing", {34, "AT", "987", "98"}},
        });
    }

    void logoLimitHoldsTheTextTheProgramSet() {
        QFETCH(LogoEdit, row);
        startLoaded([](Baza& b) {
            for (int i = 0; i < Baza::CatLCount; ++i)
                b.setCatL(i, 123);
        });
        QLineEdit* box = txt(row.member);
        box->setFocus();
        box->end(false);
        for (QChar step : row.edit) {
            if (step == 'T') {
                QTest::keyClicks(box, row.text);
            } else if (step == 'P') {
                QApplication::clipboard()->setText(row.text);
                box->paste();
            } else if (step == 'C') {
                box->selectAll();
                QTest::keyClick(box, Qt::Key_Delete);
            } else if (step == 'B') {
                QTest::keyClick(box, Qt::Key_Backspace);
            } else {
                box->selectAll();
            }
        }
        QCOMPARE(box->text(), row.shown);
        QCOMPARE(window_->baza().catL(row.member - 30), row.shown.toInt());  // CatL1 is in member 30
    }

    // Keystrokes in one box are one step until the focus leaves it or
    // another action comes; a run typed back to its start is no step.
    void typingMergesIntoOneStep_data() {
        rows<Run>({
            {"one run", {"300", 1, {"12"}}},
            {"focus left between", {"3|00", 2, {"123", "12"}}},
            {"typed back to where it began", {"4<", 0, {}}},
            {"another box between", {"3@5|0", 3, {"123", "123", "12"}}},
            {"undo ends the run", {"3~0", 1, {"12"}}},  // the new step replaces the undone one
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
    // The launcher box is no field: its Undo key stays its own.
    void undoKeysInsideABox() {
        startShown(knownValues);
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        txt(5)->setFocus();
        txt(5)->end(false);
        QTest::keyClick(txt(5), '1');
        txt(19)->setFocus();
        txt(19)->selectAll();
        QTest::keyClicks(txt(19), QStringLiteral("300"));
        QTest::keyClick(txt(19), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(txt(19)->text() + " " + txt(5)->text(), QStringLiteral("12 401"));
        QTest::keyClick(txt(19), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(txt(19)->text() + " " + txt(5)->text(), QStringLiteral("12 40"));
        QTest::keySequence(txt(19), QKeySequence(QKeySequence::Redo));
        QCOMPARE(txt(19)->text() + " " + txt(5)->text(), QStringLiteral("12 401"));
        QCOMPARE(QApplication::focusWidget(), txt(19));
        QLineEdit* launcher = window_->controls().Text1;
        launcher->setFocus();
        const QString before = launcher->text();
        QTest::keyClicks(launcher, QStringLiteral("xyz"));
        QTest::keyClick(launcher, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(launcher->text(), before);
        QCOMPARE(txt(5)->text(), QStringLiteral("401"));
    }

    // Revert to Saved asks first when something is changed, and is one step.
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
            QCOMPARE(txt(19)->text(), QStringLiteral("300"));
            QCOMPARE(stack().count(), steps);
            return;
        }
        QCOMPARE(txt(5)->text(), QStringLiteral("40"));
        QCOMPARE(txt(27)->text(), QStringLiteral("category_01"));
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
        startEdited();
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

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
