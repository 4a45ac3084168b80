// Editing in the window: typing into the boxes, the pickers, the club logo
// boxes' typing limit, and the mark on a box whose text cannot be stored.

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include "../common/Rows.h"
#include "WindowFixture.h"
#include "ui/main_window/FieldMarks.h"

namespace {

// Reads a field through the block's own named accessors.
using Reader = long long (*)(const Baza&);

struct Typed {
    int member;
    QString typed;
    Reader read;
    long long stored;
};
struct NameChoice {
    QString item;
    int stored;
    bool marked;
};
struct CategoryTyping {
    int picker;
    bool intoBox;
    QString keys, shown;
    QByteArray stored;
};
struct Offered {
    int picker;
    QString typed;
    int items;
};
struct LogoEdit {
    int member;
    QString edit, text, shown;  // edit: T type at end, P paste at end, C clear, B backspace, A select all
};
struct NotStored {
    int member;
    QString typed, reason;
    QString also;     // what the description says after the reason: the box's other states
    QString changed;  // the changed mark's sentence beside the not-stored mark, if any
};

}  // namespace

Q_DECLARE_METATYPE(Typed)
Q_DECLARE_METATYPE(NameChoice)
Q_DECLARE_METATYPE(CategoryTyping)
Q_DECLARE_METATYPE(Offered)
Q_DECLARE_METATYPE(LogoEdit)
Q_DECLARE_METATYPE(NotStored)

class EditingTest : public WindowFixture {
    Q_OBJECT

private slots:
    // What is typed into a box reaches its own field, converted in the C
    // locale: rounded to the nearest whole number, blanks around allowed.
    void typingStoresIntoTheBoxField_data() {
        rows<Typed>({
            {"7 into Liga6", {5, "7", [](const Baza& b) -> long long { return b.Liga6(); }, 7}},
            {"-3 into Liga1", {0, "-3", [](const Baza& b) -> long long { return b.Liga1(); }, -3}},
            {"Str1 on top", {13, "-5", [](const Baza& b) -> long long { return b.Str1(); }, -5}},
            {"Str2 at the bottom", {14, "12.4", [](const Baza& b) -> long long { return b.Str2(); }, 12}},
            {"Str5", {17, " 12 ", [](const Baza& b) -> long long { return b.Str5(); }, 12}},
            {"CatL4", {33, "29", [](const Baza& b) -> long long { return b.CatL4(); }, 29}},
            {"Ligue1", {44, "12.6", [](const Baza& b) -> long long { return b.Ligue1(); }, 13}},
            {"LigaBBVA", {47, "7", [](const Baza& b) -> long long { return b.LigaBBVA(); }, 7}},
        });
    }

    void typingStoresIntoTheBoxField() {
        QFETCH(Typed, row);
        startLoaded();
        type(txt(row.member), row.typed);
        QCOMPARE(row.read(window_->baza()), row.stored);
    }

    void categoryChoiceStoresTextInOnePass() {
        startLoaded([](Baza& b) { b.setCat2("category_01"); });
        const int passes = window_->passCount();
        choose(3, QStringLiteral("category_07"));
        QCOMPARE(window_->passCount(), passes + 1);
        QCOMPARE(txt(28)->text(), QStringLiteral("category_07"));
        QCOMPARE(QString::fromStdString(window_->baza().Cat3()), QStringLiteral("category_07"));
        QCOMPARE(QString::fromStdString(window_->baza().Cat2()), QStringLiteral("category_01"));
    }

    // A name picker copies its choice into its box; only numbers in range are
    // stored.
    void choosingFromANamePicker_data() {
        rows<NameChoice>({
            {"12", {"12", 12, false}},
            {"name", {"Northern League", 1005, true}},
            {"32768", {"32768", 1005, true}},
            {"-7", {"-7", -7, false}},
        });
    }

    void choosingFromANamePicker() {
        QFETCH(NameChoice, row);
        startLoaded([](Baza& b) { b.setStr8(1005); });
        choose(21, row.item);
        QCOMPARE(txt(20)->text(), row.item);
        QCOMPARE(int(window_->baza().Str8()), row.stored);
        QCOMPARE(!fieldMark(txt(20)).isEmpty(), row.marked);
        // One list for all thirteen, each with its own text.
        QCOMPARE(combo(21)->currentText(), row.item);
        QCOMPARE(combo(22)->currentText(), QStringLiteral("Select Index"));
        for (int n = 14; n <= 26; ++n)
            QCOMPARE(combo(n)->model(), combo(21)->model());
    }

    // Every Cat loads as "category_01"; keys are typed one by one, after
    // clearing, into a category picker or its box.
    void typingACategoryStoresWhatTheBoxHolds_data() {
        rows<CategoryTyping>({
            {"a", {2, false, "a", "a", "a          "}},
            {"a then b", {2, false, "ab", "ab", "ab         "}},
            {"cleared", {1, false, "", "", "           "}},
            {"picker, cut at 11", {3, false, "category_123", "category_12", "category_12"}},
            {"box, cut at 11", {4, true, "category_100", "category_10", "category_10"}},
            {"code page letters",
             {3, true, QStringLiteral("caf\u00e9 \u20ac"), QStringLiteral("caf\u00e9 \u20ac"), "caf\xe9 \x80     "}},
            {"outside the code page", {3, true, QStringLiteral("a\u0394b"), "ab", "ab         "}},
        });
    }

    void typingACategoryStoresWhatTheBoxHolds() {
        QFETCH(CategoryTyping, row);
        const auto& [picker, intoBox, keys, shown, stored] = row;
        startLoaded([](Baza& b) {
            for (int i = 0; i < 4; ++i)
                b.setCat(i, "category_01");
        });
        QLineEdit* box = txt(25 + picker);  // Combo1 stands beside member 26
        type(intoBox ? box : combo(picker)->lineEdit(), keys);
        QCOMPARE(box->text(), shown);
        QCOMPARE(QByteArray::fromStdString(window_->baza().cat(picker - 1)), stored);
    }

    // The pickers have no completer: typing the start of an item leaves just
    // what was typed. Their lists open with every item.
    void pickersOfferTheirItemsWithoutCompleting_data() {
        rows<Offered>({
            {"category picker", {2, "categ", 19}},
            {"name picker", {20, "North", 5}},
        });
    }

    void pickersOfferTheirItemsWithoutCompleting() {
        QFETCH(Offered, row);
        startShown();
        QComboBox* picker = combo(row.picker);
        QVERIFY(picker->isEditable());
        QVERIFY(!picker->completer());  // typing offscreen shows no completion
        type(picker->lineEdit(), row.typed);
        QCOMPARE(picker->currentText(), row.typed);
        picker->showPopup();
        QTRY_VERIFY(picker->view()->isVisible());
        QCOMPARE(picker->view()->model()->rowCount(), row.items);
        picker->hidePopup();
        QCOMPARE(picker->currentText(), row.typed);
    }

    void wheelOverAClosedPickerChangesNothing() {
        startShown([](Baza& b) { b.setStr5(44); });
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
        QCOMPARE(picker->currentText(), QStringLiteral("Select Index"));
        QCOMPARE(txt(17)->text(), QStringLiteral("44"));
        QVERIFY(!picker->hasFocus());
        QVERIFY(!picker->lineEdit()->hasFocus());
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
            {"paste over a selection", {35, "AP", "4567", "45"}},
            {"clear, then type", {36, "CT", "123", "12"}},
        });
    }

    void logoLimitHoldsTheTextTheProgramSet() {
        QFETCH(LogoEdit, row);
        const auto& [member, edit, text, shown] = row;
        startLoaded([](Baza& b) {
            for (int i = 0; i < Baza::CatLCount; ++i)
                b.setCatL(i, 123);
        });
        QLineEdit* box = txt(member);
        box->setFocus();
        box->end(false);
        for (QChar step : edit) {
            if (step == 'T') {
                QTest::keyClicks(box, text);
            } else if (step == 'P') {
                QApplication::clipboard()->setText(text);
                box->paste();
            } else if (step == 'C') {
                box->selectAll();
                QTest::keyClick(box, Qt::Key_Delete);
            } else if (step == 'B') {
                QTest::keyClick(box, Qt::Key_Backspace);
            } else if (step == 'A') {
                box->selectAll();
            }
        }
        QCOMPARE(box->text(), shown);
        QCOMPARE(window_->baza().catL(member - 30), shown.toInt());  // CatL1 is in member 30
    }

    // Typed key by key, 32768 passes through 3276, which a name field can
    // hold; the box then shows 32768 while the field keeps 3276. The mark
    // says so as tooltip and description (a logo box's description goes on
    // with the file its indicator names), and goes once the text stores.
    void textThatIsNotStoredIsMarked_data() {
        rows<NotStored>({
            {"name 32768",
             {17,
              "32768",
              "Not stored: Club Name, row 1 keeps 3276. Allowed: whole numbers from -32768 to 32767.",
              {},
              "Changed: was 4821"}},
            {"map 300",
             {40,
              "300",
              "Not stored: Maps Load u_1426.bin ->dt06.img, row 2 keeps 30. Allowed: whole numbers from 0 to 255.",
              {},
              "Changed: was 62"}},
            {"letters",
             {2,
              "abc",
              "Not stored: National Slot, row 3 keeps -1. Allowed: whole numbers from -2147483648 to 2147483647.",
              {},
              {}}},
            {"cleared",
             {36,
              "",
              "Not stored: Club Category Logo(dt04.img), row 7 keeps 29. "
              "Allowed: whole numbers from -2147483648 to 2147483647.",
              " Logo file: unnamed_64.bin.",
              {}}},
        });
    }

    void textThatIsNotStoredIsMarked() {
        QFETCH(NotStored, row);
        startLoaded([](Baza& b) {
            b.setLiga3(-1);
            b.setStr5(4821);
            b.setCatL7(29);
            b.setAfrica(62);
        });
        QLineEdit* box = txt(row.member);
        type(box, row.typed);
        QCOMPARE(fieldMark(box), row.reason);
        // A value stored on the way (3276 for 32768) is also a change.
        const QString changed = row.changed.isEmpty() ? QString() : "\n" + row.changed;
        QCOMPARE(box->toolTip(), row.reason + changed);
        QCOMPARE(box->accessibleDescription(), row.reason + QString(changed).replace('\n', ' ') + row.also);
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->childCount(), 0);  // the drawn mark is no control
        QWidget* mark = box->findChild<QWidget*>(QStringLiteral("fieldMark"));
        QVERIFY(mark);
        QVERIFY(mark->isVisibleTo(box));
        QCOMPARE(mark->geometry(), box->rect());

        type(box, QStringLiteral("12"));
        QCOMPARE(fieldMark(box), QString());
        QVERIFY(box->toolTip().startsWith("Changed: was "));  // only the change is left
        QVERIFY(!mark->isVisibleTo(box));
    }

    // Without a block nothing is marked, whatever is typed.
    void nothingIsMarkedWithoutABlock() {
        folder_->write("Leagues.ini", ProgramFolder::MissingGame);
        QVERIFY(start());
        QVERIFY(!window_->baza().loaded());
        type(txt(17), QStringLiteral("32768"));
        type(txt(2), QStringLiteral("abc"));
        for (QLineEdit* box : window_->findChildren<QLineEdit*>())
            QVERIFY2(fieldMark(box).isEmpty(), qPrintable(box->objectName()));
    }
};

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
