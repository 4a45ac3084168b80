// What the window shows of the edits since the last load or save: the
// changed mark on boxes and pickers, the title's modified marker, and the
// list of changes.

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include "../common/Rows.h"
#include "WindowFixture.h"
#include "core/Fields.h"
#include "ui/main_window/ChangeMarks.h"
#include "ui/main_window/FieldMarks.h"

namespace {

// The block every test starts from, with values worked out by hand below.
void knownValues(Baza& b) {
    b.setLiga1(5);             // member 0, "National Slot, row 1"
    b.setLiga6(40);            // member 5, "Club Slot, row 2"
    b.setStr2(1);              // member 14, "National Name, row 4", picker 15
    b.setStr7(12);             // member 19, "Club Name, row 3", picker 20
    b.setCat2("category_01");  // member 27, picker 2
    b.setCatL2(3);             // member 31, indicator Label3
    b.setPrimerLeague(2);      // member 43, "Maps Load ..., row 5"
}

// An edit: T<member>:<text> types into a box after clearing it, P<picker>:<item>
// chooses from a picker's list.
struct Edit {
    char how;
    int where;
    QString what;
};

struct Typed {
    QList<Edit> edits;
    QMap<int, QString> changed;  // box member -> its changed sentence; the rest unmarked
    QMap<int, QString> pickers;  // picker number -> its changed sentence; the rest unmarked
    bool modified;
};
struct Listed {
    QList<Edit> edits;
    QString text;
    QStringList lines;
};
enum class SaveEnd { Saved, Refused, Failed };

}  // namespace

Q_DECLARE_METATYPE(Typed)
Q_DECLARE_METATYPE(Listed)
Q_DECLARE_METATYPE(SaveEnd)

class MarksTest : public WindowFixture {
    Q_OBJECT

    void apply(const QList<Edit>& edits) {
        for (const Edit& edit : edits) {
            if (edit.how == 'T')
                type(txt(edit.where), edit.what);
            else
                choose(edit.where, edit.what);
        }
    }

    // Every box and picker carries the sentence the row expects, shown by
    // bold text (the bar is drawn, markDrawnAlongTheBottom), and nothing
    // else is marked as changed.
    void checkMarks(const QMap<int, QString>& boxes, const QMap<int, QString>& pickers) {
        for (const Field& field : fields()) {
            QLineEdit* box = txt(field.member);
            const QString expected = boxes.value(field.member);
            const QString where = QStringLiteral(" (member %1)").arg(field.member);
            QCOMPARE(changedMark(box) + where, expected + where);
            QCOMPARE(box->font().bold(), !expected.isEmpty());
        }
        for (const auto& [number, picker] : window_->controls().combo) {
            const QString expected = pickers.value(number);
            const QString where = QStringLiteral(" (picker %1)").arg(number);
            QCOMPARE(changedMark(picker) + where, expected + where);
            QCOMPARE(picker->lineEdit()->font().bold(), !expected.isEmpty());
        }
    }

private slots:
    void marksFollowTheValues_data() {
        const QString was12 = "Changed: was 12";
        const QString wasCategory = "Changed: was \"category_01\"";
        rows<Typed>({
            {"nothing typed", {{}, {}, {}, false}},
            {"a number", {{{'T', 19, "300"}}, {{19, was12}}, {{20, was12}}, true}},
            {"typed back", {{{'T', 19, "300"}, {'T', 19, "12"}}, {}, {}, false}},
            {"same value, other text", {{{'T', 19, " 12.2 "}}, {}, {}, false}},
            {"cannot be stored", {{{'T', 19, "abc"}}, {}, {}, false}},
            // Typed key by key, 3276 is stored on the way to 32768.
            {"out of range on the way",
             {{{'T', 19, "32768"}}, {{19, "Changed: was 12"}}, {{20, "Changed: was 12"}}, true}},
            {"stored, then not", {{{'T', 19, "300"}, {'T', 19, "x"}}, {{19, was12}}, {{20, was12}}, true}},
            {"slot without picker", {{{'T', 5, "-3"}}, {{5, "Changed: was 40"}}, {}, true}},
            {"map code", {{{'T', 43, "9"}}, {{43, "Changed: was 2"}}, {}, true}},
            {"logo index", {{{'T', 31, "7"}}, {{31, "Changed: was 3"}}, {}, true}},
            {"two boxes",
             {{{'T', 0, "6"}, {'T', 14, "-1"}},
              {{0, "Changed: was 5"}, {14, "Changed: was 1"}},
              {{15, "Changed: was 1"}},
              true}},
            {"name choice", {{{'P', 20, "-7"}}, {{19, was12}}, {{20, was12}}, true}},
            {"name choice back", {{{'P', 20, "-7"}, {'P', 20, "12"}}, {}, {}, false}},
            {"name choice not stored", {{{'P', 20, "Northern League"}}, {}, {}, false}},
            {"category choice", {{{'P', 2, "category_07"}}, {{27, wasCategory}}, {{2, wasCategory}}, true}},
            {"category choice back", {{{'P', 2, "category_07"}, {'P', 2, "category_01"}}, {}, {}, false}},
            {"category typed", {{{'T', 27, "ab"}}, {{27, wasCategory}}, {{2, wasCategory}}, true}},
            {"category typed back", {{{'T', 27, "ab"}, {'T', 27, "category_01"}}, {}, {}, false}},
        });
    }

    void marksFollowTheValues() {
        QFETCH(Typed, row);
        startLoaded(knownValues);
        apply(row.edits);
        checkMarks(row.changed, row.pickers);
        QCOMPARE(window_->isWindowModified(), row.modified);
        QCOMPARE(window_->hasUnsavedChanges(), row.modified);
    }

    // Drawn: a dark bar two pixels high along the bottom edge, over the
    // box's frame line; with the not-stored mark too, that mark's red frame
    // stays whole on top.
    void markDrawnAlongTheBottom_data() {
        QTest::addColumn<QList<Edit>>("edits");
        QTest::addColumn<QColor>("bottom");  // the bottom row of pixels
        QTest::addColumn<QColor>("above");   // the row above it
        const QColor bar(32, 32, 32), red(204, 0, 0), frame(0x7a, 0x7a, 0x7a), yellow(255, 255, 0);
        QTest::newRow("unchanged") << QList<Edit>{} << frame << yellow;
        QTest::newRow("changed") << QList<Edit>{{'T', 5, "41"}} << bar << bar;
        QTest::newRow("changed back") << QList<Edit>{{'T', 5, "41"}, {'T', 5, "40"}} << frame << yellow;
        QTest::newRow("changed and not stored") << QList<Edit>{{'T', 5, "41"}, {'T', 5, "x"}} << red << red;
    }

    void markDrawnAlongTheBottom() {
        QFETCH(QList<Edit>, edits);
        QFETCH(QColor, bottom);
        QFETCH(QColor, above);
        startShown(knownValues);
        apply(edits);
        // Box 5 is 75 pixels wide; the columns inside the left and right
        // frame lines.
        const QImage image = txt(5)->grab().toImage();
        const int h = image.height();
        QCOMPARE(image.width(), 75);
        for (int x = 2; x < 73; ++x) {
            const QString at = QStringLiteral(" at x %1").arg(x);
            QCOMPARE(QColor(image.pixel(x, h - 1)).name() + at, bottom.name() + at);
            QCOMPARE(QColor(image.pixel(x, h - 2)).name() + at, above.name() + at);
        }
    }

    // The changed sentence stands in the tooltip with the other mark, and in
    // the description before what the box tells anyway.
    void descriptionsCombine_data() {
        QTest::addColumn<QList<Edit>>("edits");
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("changed logo index")
            << QList<Edit>{{'T', 31, "7"}} << 31 << "Changed: was 3 Logo file: unnamed_42.bin."
            << "Changed: was 3";
        QTest::newRow("changed, then not stored")
            << QList<Edit>{{'T', 19, "300"}, {'T', 19, "x"}} << 19
            << "Not stored: Club Name, row 3 keeps 300. Allowed: whole numbers from -32768 to 32767. Changed: was 12"
            << "Not stored: Club Name, row 3 keeps 300. Allowed: whole numbers from -32768 to 32767.\nChanged: was 12";
        QTest::newRow("unchanged logo index") << QList<Edit>{{'T', 31, "3"}} << 31 << "Logo file: unnamed_38.bin."
                                              << "";
    }

    void descriptionsCombine() {
        QFETCH(QList<Edit>, edits);
        QFETCH(int, member);
        QFETCH(QString, description);
        QFETCH(QString, tooltip);
        startLoaded(knownValues);
        apply(edits);
        QCOMPARE(txt(member)->accessibleDescription(), description);
        QCOMPARE(txt(member)->toolTip(), tooltip);
    }

    // A save that wrote the block takes every mark away; one that did not
    // leaves them, and the title still says so.
    void savingClearsTheMarks_data() {
        QTest::addColumn<SaveEnd>("end");
        QTest::newRow("saved") << SaveEnd::Saved;
        QTest::newRow("refused: a box cannot be stored") << SaveEnd::Refused;
        QTest::newRow("failed: the file has gone") << SaveEnd::Failed;
    }

    void savingClearsTheMarks() {
        QFETCH(SaveEnd, end);
        startLoaded(knownValues);
        type(txt(19), QStringLiteral("300"));
        type(txt(43), QStringLiteral("9"));
        if (end == SaveEnd::Refused)
            type(txt(5), QStringLiteral("abc"));
        if (end == SaveEnd::Failed)
            QVERIFY(QFile::remove(folder_->file(ProgramFolder::GameName)));
        const frmMain::SaveOutcome outcome = window_->Cmd_Zapisz_Click();
        if (end == SaveEnd::Saved) {
            QCOMPARE(outcome, frmMain::SaveOutcome::Saved);
            checkMarks({}, {});
            QVERIFY(!window_->isWindowModified());
            QCOMPARE(window_->savedBlock().str[6], std::int16_t(300));
            // Typing after the save compares with what was saved.
            type(txt(19), QStringLiteral("12"));
            checkMarks({{19, "Changed: was 300"}}, {{20, "Changed: was 300"}});
            return;
        }
        QCOMPARE(outcome, end == SaveEnd::Refused ? frmMain::SaveOutcome::Refused : frmMain::SaveOutcome::Failed);
        checkMarks({{19, "Changed: was 12"}, {43, "Changed: was 2"}}, {{20, "Changed: was 12"}});
        QVERIFY(window_->isWindowModified());
    }

    // The title's words stay; the platform adds its marker while the block
    // has changes.
    void titleShowsUnsavedChanges_data() {
        QTest::addColumn<QList<Edit>>("edits");
        QTest::addColumn<QString>("shown");
        QTest::newRow("as loaded") << QList<Edit>{} << "Kelvory Exibition Mode";
        QTest::newRow("changed") << QList<Edit>{{'T', 5, "41"}} << "Kelvory Exibition Mode*";
        QTest::newRow("changed back") << QList<Edit>{{'T', 5, "41"}, {'T', 5, "40"}} << "Kelvory Exibition Mode";
        QTest::newRow("only a text that cannot be stored") << QList<Edit>{{'T', 5, "x"}} << "Kelvory Exibition Mode";
        QTest::newRow("category choice") << QList<Edit>{{'P', 1, "category_02"}} << "Kelvory Exibition Mode*";
    }

    void titleShowsUnsavedChanges() {
        QFETCH(QList<Edit>, edits);
        QFETCH(QString, shown);
        startShown(knownValues);
        apply(edits);
        QCOMPARE(window_->windowTitle(), QStringLiteral("Kelvory Exibition Mode[*]"));
        QCOMPARE(window_->windowHandle()->title(), shown);
    }

    void showChangesListsEveryChangedField_data() {
        rows<Listed>({
            {"nothing changed", {{}, "No changes since the last save", {}}},
            {"typed back", {{{'T', 19, "300"}, {'T', 19, "12"}}, "No changes since the last save", {}}},
            {"only text that cannot be stored", {{{'T', 19, "abc"}}, "No changes since the last save", {}}},
            {"one",
             {{{'T', 19, "300"}},
              "Changed since the last load or save (saved \u2192 now):",
              {"Club Name, row 3: 12 \u2192 300"}}},
            {"in the window's order",
             {{{'T', 43, "9"}, {'P', 2, "category_07"}, {'T', 0, "-3"}, {'P', 15, "-7"}, {'T', 27 + 2, "x"}},
              "Changed since the last load or save (saved \u2192 now):",
              {"National Slot, row 1: 5 \u2192 -3", "National Name, row 4: 1 \u2192 -7",
               "National Category Logo League u_1426.bin ->dt06.img, row 2: \"category_01\" \u2192 \"category_07\"",
               "National Category Logo League u_1426.bin ->dt06.img, row 4: \"category_01\" \u2192 \"x          \"",
               "Maps Load u_1426.bin ->dt06.img, row 5: 2 \u2192 9"}}},
        });
    }

    void showChangesListsEveryChangedField() {
        QFETCH(Listed, row);
        startLoaded([](Baza& b) {
            knownValues(b);
            b.setCat4("category_01");
        });
        apply(row.edits);
        window_->action(QStringLiteral("mnuShowChanges"))->trigger();
        QCOMPARE(services_.reviews.size(), 1);
        QCOMPARE(services_.reviews[0].caption, QStringLiteral("Kelvory"));
        QCOMPARE(services_.reviews[0].text, row.text);
        QCOMPARE(services_.reviews[0].lines, row.lines);
        QCOMPARE(services_.reviews[0].acceptCaption, QString());  // only shows
    }

    // Before any block is loaded nothing counts as changed.
    void nothingMarkedWithoutABlock() {
        folder_->write("Leagues.ini", ProgramFolder::MissingGame);
        QVERIFY(start());
        type(txt(19), QStringLiteral("300"));
        checkMarks({}, {});
        QVERIFY(!window_->isWindowModified());
        window_->mnuShowChanges_Click();
        QCOMPARE(services_.reviews.size(), 1);
        QCOMPARE(services_.reviews[0].text, QStringLiteral("No changes since the last save"));
    }
};

QTEST_MAIN(MarksTest)
#include "MarksTest.moc"
