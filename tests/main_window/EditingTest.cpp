// Editing in the window: what typing into the boxes and pickers and choosing
// from the pickers' lists stores in the block, each edit one undo step, the
// pickers following their boxes, the marks that show a changed box and a box
// whose text cannot be stored, the list of changes, and the club logo boxes'
// typing limit. (The undo history's own rules: HistoryTest.)

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QUndoStack>
#include <QWheelEvent>

#include "../common/Rows.h"
#include "EditingValues.h"
#include "WindowFixture.h"
#include "core/FieldHelp.h"
#include "core/Fields.h"
#include "session/LeagueSession.h"
#include "ui/main_window/ChangeMarks.h"
#include "ui/main_window/FieldMarks.h"

namespace {

// An edit: 'T' types into box `where` after clearing it, 'K' into picker
// `where`'s text field after clearing it, 'P' chooses `what` from picker
// `where`'s list, 'I' imports a block whose Club Name, row 3 is 77, 'U'
// undoes the last step, 'R' reverts every value (answering Revert).
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
struct Followed {
    QList<Edit> edits;
    QString name, category;  // then pickers 20 (Club Name, row 3) and 3 (its row's category) show these
};

}  // namespace

Q_DECLARE_METATYPE(Edited)
Q_DECLARE_METATYPE(Described)
Q_DECLARE_METATYPE(Followed)

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
            } else if (edit.how == 'U') {
                window_->mnuUndo_Click();
            } else if (edit.how == 'R') {
                services_.choiceAnswer = 0;
                window_->mnuRevert_Click();
            } else {
                window_->importSetup(
                    window_->session().previewSetup(parseSetup("kelvory-league = 1\nStr7 = 77\n", "")));
            }
        }
    }

    // Box `member` carries `mark`, shown by bold text; nothing else is
    // marked as changed, no picker either (its box carries the marks).
    void checkMarks(int member, const QString& mark) {
        for (const Field& field : fields()) {
            const QString expected = field.member == member ? mark : QString();
            QVERIFY2(changedMark(txt(field.member)) == expected, qPrintable(txt(field.member)->objectName()));
            QCOMPARE(txt(field.member)->font().bold(), !expected.isEmpty());
            if (QComboBox* picker = field.picker ? combo(field.picker) : nullptr) {
                QCOMPARE(changedMark(picker), QString());
                QVERIFY(!picker->lineEdit()->font().bold());
            }
        }
    }

    // The block, every box text and every indicator (the pickers follow the
    // boxes: pickersFollowTheirBoxes).
    using Shown = std::pair<Baza::Block, QStringList>;
    Shown shown() const {
        Shown all{window_->baza().block(), {}};
        for (const Field& field : fields())
            all.second << txt(field.member)->text();
        for (int n = 2; n <= 8; ++n)
            all.second << label(n);
        return all;
    }

    QUndoStack& stack() { return window_->undoStack(); }

private slots:
    // Each box and picker reaches its own field (how a number is read is
    // FieldTextTest's); a name picker's choice is stored when it is a number
    // in range; a category is stored as the game's code page holds it (a
    // character it lacks dropped), cut at 11 characters and filled with blanks. Each edit is one step that undo
    // takes back and redo brings again, whole.
    void editsReachTheBlock_data() {
        const QString was01 = "Changed: was \"category_01\"", club3 = "Club Name, row 3", club4 = "Club Name, row 4";
        const auto typing = [](const QString& words) { return "Typing in " + words; };
        const auto choice = [](const QString& words) { return "Choice in " + words; };
        const QString cat = "National Category Logo League u_1426.bin ->dt06.img, row ";
        rows<Edited>({
            {"-3 into Liga6", {{{'T', 5, "-3"}}, 5, "-3", "-3", "Changed: was 40", typing("Club Slot, row 2")}},
            {"cannot be stored", {{{'T', 19, "abc"}}, 19, "abc", "12", "", typing(club3)}},
            {"typed back", {{{'T', 19, "300"}, {'T', 19, "12"}}, 19, "12", "12", "", ""}},
            {"name chosen", {{{'P', 21, "-7"}}, 20, "-7", "-7", "Changed: was 1005", choice(club4)}},
            {"name chosen, not a number",
             {{{'P', 21, "Northern League"}}, 20, "Northern League", "1005", "", choice(club4)}},
            {"name typed into its picker", {{{'K', 20, "9"}}, 19, "9", "9", "Changed: was 12", typing(club3)}},
            {"category chosen",
             {{{'P', 3, "category_07"}}, 28, "category_07", "category_07", was01, choice(cat + "3")}},
            {"picker, cut at 11",
             {{{'K', 3, "category_123"}}, 28, "category_12", "category_12", was01, typing(cat + "3")}},
            {"outside the code page",
             {{{'T', 28, QStringLiteral("a\u0394b")}}, 28, "ab", "ab         ", was01, typing(cat + "3")}},
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
        // A changed box has a dark bar along its bottom edge, over its frame line.
        const QImage image = txt(row.member)->grab().toImage();
        QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() - 2)) == QColor(32, 32, 32), !row.mark.isEmpty());
        QCOMPARE(window_->isWindowModified(), !row.mark.isEmpty());
        QCOMPARE(stack().count(), row.step.isEmpty() ? 0 : 1);
        if (row.step.isEmpty())
            return;
        QCOMPARE(stack().undoText(), row.step);
        const Shown after = shown();
        window_->mnuUndo_Click();
        QVERIFY(shown() == before);
        checkMarks(row.member, QString());
        QCOMPARE(fieldMark(txt(row.member)), QString());
        QVERIFY(!window_->action(QStringLiteral("mnuUndo"))->isEnabled());
        window_->mnuRedo_Click();
        QVERIFY(shown() == after);
        QVERIFY(folder_->game() == file);  // never written
    }

    // Each picker shows its box's value: the catalogue item that is the name
    // box's number, the category text of a category box, its caption when no
    // item has the value; and it follows every change of its box. (As loaded,
    // box 19 holds 12, one of the catalogue's items, and box 28 "category_01".)
    void pickersFollowTheirBoxes_data() {
        const QString index = "Select Index", sector = "Select category to Sector 2";
        rows<Followed>({
            {"as loaded", {{}, "12", "category_01"}},
            {"a listed number typed", {{{'T', 19, "-7"}}, "-7", "category_01"}},
            {"an unlisted number typed", {{{'T', 19, "57"}}, index, "category_01"}},
            {"a text that cannot be stored", {{{'T', 19, "abc"}}, index, "category_01"}},
            {"undone", {{{'T', 19, "-7"}, {'U', 0, {}}}, "12", "category_01"}},
            {"typed into the picker", {{{'K', 20, "Nor"}}, "Nor", "category_01"}},
            {"typed into the picker, undone", {{{'K', 20, "Nor"}, {'U', 0, {}}}, "12", "category_01"}},
            {"reverted", {{{'T', 19, "57"}, {'T', 28, "category_07"}, {'R', 0, {}}}, "12", "category_01"}},
            {"imported", {{{'I', 0, {}}}, index, "category_01"}},
            {"a category typed into its box", {{{'T', 28, "category_07"}}, "12", "category_07"}},
            {"a category no item has", {{{'T', 28, "xyz"}}, "12", sector}},
            {"a name item chosen", {{{'P', 20, "Northern League"}}, index, "category_01"}},
        });
    }

    void pickersFollowTheirBoxes() {
        QFETCH(Followed, row);
        startLoaded(knownValues);
        window_->show();
        window_->afterFirstPaint();
        apply(row.edits);
        QCOMPARE(combo(20)->currentText(), row.name);
        QCOMPARE(combo(3)->currentText(), row.category);
    }

    // A box whose text cannot be stored is marked: a red frame over the
    // box, and the reason as tooltip and description, the changed sentence
    // after it; a logo box's description goes on with the file its indicator
    // names (the last one found while typing key by key: 3, then 31). The
    // drawn mark is no control of its own, and it goes once the text stores.
    void marksSayWhy_data() {
        const QString allowed32 = " Allowed: whole numbers from -2147483648 to 2147483647.";
        const QString logo1 = "Not stored: Club Category Logo(dt04.img), row 1 keeps 5." + allowed32;
        const QString map2 =
            "Not stored: Maps Load u_1426.bin ->dt06.img, row 2 keeps 30. Allowed: whole numbers from 0 to 255.";
        // A value the game is not known to take says so beside the other states.
        const QString map = "Outside what the game takes: map codes 0 to 10";
        const QString logo = "Outside what the game takes: club category logo indices 0 to 29";
        rows<Described>({
            {"map 300", {40, "300", map2 + " " + map + " Changed: was 62", map2 + "\n" + map + "\nChanged: was 62"}},
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
        // What the box is comes first (its words: FieldHelpTest), its states after.
        const QString help = QString::fromStdString(fieldHelpText(*fieldOfMember(row.member)));
        QCOMPARE(iface->text(QAccessible::Description), help + " " + row.description);
        QCOMPARE(box->toolTip(), help + "\n" + row.tooltip);
        QCOMPARE(box->whatsThis(), help);
        QCOMPARE(iface->childCount(), 0);
        // The not-stored frame is red and two pixels wide, over the changed bar.
        const QImage image = box->grab().toImage();
        for (int y : {image.height() - 1, image.height() - 2})
            QCOMPARE(QColor(image.pixel(image.width() / 2, y)) == QColor(204, 0, 0),
                     row.tooltip.contains("Not stored"));
        QWidget* mark = box->findChild<QWidget*>(QStringLiteral("fieldMark"));
        const bool marked = row.tooltip.contains("Not stored") || row.tooltip.contains("Outside");
        QCOMPARE(mark && mark->isVisibleTo(box), marked);
        if (!marked)
            return;
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
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        checkMarks(19, QString());
        QVERIFY(!window_->isWindowModified());
        type(txt(19), QStringLiteral("12"));
        checkMarks(19, QStringLiteral("Changed: was 300"));
        QVERIFY(window_->isWindowModified());
    }

    // Show Changes lists every changed field in the window's order; a text
    // that cannot be stored (box 19's) is no change.
    void showChangesListsEveryChangedField() {
        const QString arrow = QStringLiteral(" \u2192 "), cat = "National Category Logo League u_1426.bin ->dt06.img";
        startLoaded(knownValues);
        apply({{'P', 2, "category_07"}, {'T', 0, "-3"}, {'T', 19, "abc"}});
        window_->action(QStringLiteral("mnuShowChanges"))->trigger();
        QCOMPARE(services_.reviews.size(), 1);
        QCOMPARE(services_.reviews[0].text, QStringLiteral("Changed since the last load or save (saved \u2192 now):"));
        QCOMPARE(services_.reviews[0].lines,
                 (QStringList{"National Slot, row 1: 5" + arrow + "-3",
                              cat + ", row 2: \"category_01\"" + arrow + "\"category_07\""}));
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
        window_->importSetup(window_->session().previewSetup(parseSetup("kelvory-league = 1\nStr7 = 77\n", "")));
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
    // nothing: no choice, no focus, no edit; choosing again the entry a
    // picker shows is no second undo step.
    void pickersChangeOnlyWhenAsked() {
        startShown(knownValues);
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
        for (int i = 0; i < 2; ++i)
            choose(2, QStringLiteral("category_07"));
        QCOMPARE(stack().count(), 1);
    }

    // A club logo box loaded with 123, one character over its limit: typed
    // keys that do not fit are refused, deleting works, and a long paste over
    // the whole text keeps what fits, which is stored.
    void logoLimitHoldsTheTextTheProgramSet() {
        startLoaded([](Baza& b) { b.setCatL4(123); });
        QLineEdit* box = txt(33);
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, QStringLiteral("4567"));
        QCOMPARE(box->text(), QStringLiteral("123"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QStringLiteral("89"));
        QCOMPARE(box->text(), QStringLiteral("12"));
        box->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("4567"));
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("45"));
        QCOMPARE(window_->baza().CatL4(), 45);
    }
};

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
