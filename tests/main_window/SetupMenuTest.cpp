// Menu > "Export League Setup…" and "Import League Setup…": what the window
// writes, what an import lists and puts into the boxes, and that neither
// ever writes the game executable.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include "../common/Rows.h"
#include "WindowFixture.h"

namespace {

using Edit = std::function<void(Baza&)>;

struct Partial {
    QByteArray file;
    QStringList review;  // the lines the review lists
    Edit expected;       // what the import does to the loaded block, by hand
};
struct BadFile {
    QByteArray file;  // empty: no file at all
    QString problem;  // what the message says after the file's path
};
struct Refusal {
    QString action;  // object name of the menu entry
    bool loaded;     // otherwise the game executable is missing
    QString message;
};

// The values the partial imports start from.
void knownValues(Baza& b) {
    b.setLiga1(5);
    b.setStr2(-4);
    b.setStr7(17);
    b.setCat2("category_01");
    b.setCatL7(29);
    b.setMap(12, 3);
}

const QString kImport = QStringLiteral("mnuImportSetup");
const QString kExport = QStringLiteral("mnuExportSetup");

}  // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Partial)
Q_DECLARE_METATYPE(BadFile)
Q_DECLARE_METATYPE(Refusal)

class SetupMenuTest : public WindowFixture {
    Q_OBJECT

    // A file beside the program folder, as text and as a path.
    QString outside(const QString& name) const { return platform::pathToText(folder_->root / name.toStdString()); }

    void run(const QString& action) const { window_->action(action)->trigger(); }

    void exportTo(const QString& path) {
        services_.saveDialogAnswer = path;
        run(kExport);
    }
    void importFrom(const QString& path, bool apply) {
        services_.dialogAnswer = path;
        services_.reviewAnswer = apply;
        run(kImport);
    }

    // The loaded block with `edit` made by hand through the block's setters.
    Baza::Block savedWith(const Edit& edit) const {
        Baza baza;
        baza.Wczytaj(folder_->gamePath());
        edit(baza);
        return baza.block();
    }

private slots:
    // An export holds every box's value: importing it after the boxes were
    // changed gives back the exact block, and the game file is untouched.
    void exportThenImportGivesTheSameBlock_data() {
        QTest::addColumn<Edit>("edit");
        QTest::newRow("texts with NULs, quotes and code-page bytes") << Edit([](Baza& b) {
            b.setCat(0, std::string("abc\0\0\0\0\0\0\0\0", 11));
            b.setCat(1, "say \"hi\" \\");
            b.setCat(2, "caf\xE9 \x80\x81\x8D\x8F\x90\xFF");
            b.setCat(3, "           ");
        });
    }

    void exportThenImportGivesTheSameBlock() {
        QFETCH(Edit, edit);
        startLoaded(edit);
        const QByteArray game = folder_->game();
        const QString file = outside("league.kelvory-league");
        exportTo(file);
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY(services_.messages[0].icon == platform::MessageIcon::Information);
        QCOMPARE(services_.messages[0].text, "The league setup was exported to:\n\n" + file);
        QVERIFY(testfiles::readFile(file).startsWith("kelvory-league = 1\n"));

        window_->applyBlock(savedWith([](Baza& b) {
                                for (int i = 0; i < Baza::LigaCount; ++i)
                                    b.setLiga(i, 1000 + i);
                                for (int i = 0; i < Baza::StrCount; ++i)
                                    b.setStr(i, -1000 - i);
                                for (int i = 0; i < Baza::CatCount; ++i)
                                    b.setCat(i, "scrambled");
                                for (int i = 0; i < Baza::CatLCount; ++i)
                                    b.setCatL(i, 77);
                                for (int i = 0; i < 13; ++i)
                                    b.setMap(i, 99);
                            }),
                            QStringLiteral("test"));
        QVERIFY(window_->hasUnsavedChanges());
        importFrom(file, true);
        QCOMPARE(services_.reviews.size(), 1);
        QVERIFY(window_->baza().block() == window_->savedBlock());
        QVERIFY(!window_->hasUnsavedChanges());
        QVERIFY(folder_->game() == game);
    }

    // A file that names a few boxes changes those and nothing else; the
    // review lists each change in the window's order and words. Only Save
    // then writes the game file.
    void partialImport_data() {
        const QString cat2 = "National Category Logo League u_1426.bin ->dt06.img, row 2";
        rows<Partial>({
            {"frame and row names",
             {"kelvory-league = 1\n# four boxes\nNational Slot, row 1 = -7\nClub Name, row 3 = 300\n" + cat2.toUtf8() +
                  " = \"ab\"\nMaps Load u_1426.bin ->dt06.img, row 13 = 255\n",
              // A value the game is not known to take says so on its line.
              {"National Slot, row 1: 5 → -7 (the game takes 0 to 100)", "Club Name, row 3: 17 → 300",
               cat2 + ": \"category_01\" → \"ab         \" (the game takes category_00 to category_18)",
               "Maps Load u_1426.bin ->dt06.img, row 13: 3 → 255 (the game takes 0 to 10)"},
              [](Baza& b) {
                  b.setLiga1(-7);
                  b.setStr7(300);
                  b.setCat2("ab         ");
                  b.setMap(12, 255);
              }}},
        });
    }

    void partialImport() {
        QFETCH(Partial, row);
        startLoaded(knownValues);
        const QByteArray game = folder_->game();
        const QString file =
            outside("partial %2 %1.kelvory-league");  // a name that looks like a message's place holders
        QVERIFY(testfiles::writeFile(file, row.file));
        importFrom(file, true);

        QCOMPARE(services_.reviews.size(), 1);
        const RecordingServices::Review& review = services_.reviews[0];
        QCOMPARE(review.caption, QStringLiteral("Import League Setup"));
        QCOMPARE(review.text, file + "\n\nImporting this file changes " + QString::number(row.review.size()) +
                                  " boxes, from the value now to the file's value. Apply puts the new values into "
                                  "the boxes; nothing is written to the game executable until you save.");
        QCOMPARE(review.lines, row.review);
        QCOMPARE(review.acceptCaption, QStringLiteral("&Apply"));
        QVERIFY(services_.messages.isEmpty());

        const Baza::Block expected = savedWith([&](Baza& b) {
            knownValues(b);
            row.expected(b);
        });
        QVERIFY(window_->baza().block() == expected);
        QCOMPARE(txt(1)->text(), QString::number(expected.liga[1]));  // a box the file leaves alone
        QCOMPARE(txt(19)->text(), QStringLiteral("300"));             // the file's values as the boxes show them
        QCOMPARE(txt(27)->text(), QStringLiteral("ab         "));
        QVERIFY(window_->hasUnsavedChanges());
        QVERIFY(folder_->game() == game);

        services_.choiceAnswer = 0;  // values the game is not known to take: Save Anyway
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        Baza saved;
        QVERIFY(saved.Wczytaj(folder_->gamePath()));
        QVERIFY(saved.block() == expected);
    }

    // A file that changes nothing only shows so; Cancel in the review
    // applies nothing.
    void nothingApplied_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("changes");
        QTest::newRow("no changes") << QByteArray("kelvory-league = 1\nLiga1 = 5\nCat2 = \"category_01\"\n") << false;
        QTest::newRow("review cancelled") << QByteArray("kelvory-league = 1\nLiga1 = 6\n") << true;
    }

    void nothingApplied() {
        QFETCH(QByteArray, file);
        QFETCH(bool, changes);
        startLoaded(knownValues);
        const QByteArray game = folder_->game();
        const QString path = outside("same.kelvory-league");
        QVERIFY(testfiles::writeFile(path, file));
        const int passes = window_->passCount();
        importFrom(path, false);

        QCOMPARE(services_.reviews.size(), 1);
        const RecordingServices::Review& review = services_.reviews[0];
        if (changes) {
            QCOMPARE(review.lines, QStringList{"National Slot, row 1: 5 → 6"});
            QCOMPARE(review.text, path +
                                      "\n\nImporting this file changes 1 box, from the value now to the file's value. "
                                      "Apply puts the new values into the boxes; nothing is written to the game "
                                      "executable until you save.");
            QCOMPARE(review.acceptCaption, QStringLiteral("&Apply"));
        } else {
            QCOMPARE(review.text, path + "\n\nThe boxes already hold every value of this file.");
            QCOMPARE(review.lines, QStringList{"No changes"});
            QCOMPARE(review.acceptCaption, QString());
        }
        QCOMPARE(window_->passCount(), passes);
        QCOMPARE(txt(0)->text(), QStringLiteral("5"));
        QVERIFY(!window_->hasUnsavedChanges());
        QVERIFY(folder_->game() == game);
        QVERIFY(services_.messages.isEmpty());
    }

    // A file that cannot be read changes nothing, not even the boxes its
    // valid lines name, and the message names the file, the line and why.
    void invalidFile_data() {
        rows<BadFile>({
            {"unknown row",
             {"kelvory-league = 1\nLiga1 = 9\nClub Name, row 10 = 3\n",
              ", line 3: unknown box \"Club Name, row 10\": the frame \"Club Name\" has rows 1 to 9."}},
        });
    }

    void invalidFile() {
        QFETCH(BadFile, row);
        startLoaded(knownValues);
        const QByteArray game = folder_->game();
        const QString path = outside("bad.kelvory-league");
        if (!row.file.isEmpty())
            QVERIFY(testfiles::writeFile(path, row.file));
        importFrom(path, true);

        QVERIFY(services_.reviews.isEmpty());
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY(services_.messages[0].icon == platform::MessageIcon::Warning);
        QCOMPARE(services_.messages[0].text,
                 "Nothing was imported; the boxes are as they were.\n\n" + path + row.problem);
        QVERIFY(window_->baza().block() == window_->savedBlock());
        QCOMPARE(txt(0)->text(), QStringLiteral("5"));
        QVERIFY(folder_->game() == game);
    }

    // A cancelled file dialog does nothing at all.
    void cancelledDialog_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::newRow("import") << kImport << "Import League Setup";
        QTest::newRow("export") << kExport << "Export League Setup";
    }

    void cancelledDialog() {
        QFETCH(QString, action);
        QFETCH(QString, title);
        startLoaded(knownValues);
        const QByteArray game = folder_->game();
        run(action);
        QCOMPARE(services_.dialogTitle, title);
        QVERIFY(services_.messages.isEmpty());
        QVERIFY(services_.reviews.isEmpty());
        QVERIFY(services_.savedSettings.isEmpty());
        QVERIFY(!window_->hasUnsavedChanges());
        QVERIFY(folder_->game() == game);
        QCOMPARE(QDir(folder_->path()).entryList(QDir::Files), (QStringList{"Game File.exe", "Leagues.ini"}));
    }

    // An export that cannot be written says which file and why, and leaves
    // no file behind.
    void exportWriteFailure() {
        startLoaded(knownValues);
        const QString path = outside("no such folder/league.kelvory-league");
        exportTo(path);
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY(services_.messages[0].icon == platform::MessageIcon::Critical);
        QCOMPARE(services_.messages[0].text, "The league setup was not exported.\n\n" + path +
                                                 ": the file could not be written (No such file or directory).");
        QVERIFY(!QFileInfo::exists(outside("no such folder")));
    }

    // Without a block, or while a box holds text its field cannot take,
    // neither entry goes on: the values in the boxes and in the block
    // differ, and the user is told which boxes.
    void refused_data() {
        const QString marked =
            ".\n\nThese boxes hold values that cannot be stored:\n"
            "Club Name, row 1: \"32768\" (allowed: whole numbers from -32768 to 32767)\n\n"
            "Correct them, then try again.";
        rows<Refusal>({
            {"export, marked box", {kExport, true, "Nothing was exported" + marked}},
            {"import, nothing loaded",
             {kImport, false, "Nothing was imported: no game executable was loaded when Kelvory started."}},
        });
    }

    void refused() {
        QFETCH(Refusal, row);
        if (row.loaded) {
            startLoaded(knownValues);
            type(txt(17), QStringLiteral("32768"));
        } else {
            folder_->write("Leagues.ini", ProgramFolder::MissingGame);
            QVERIFY(start());
        }
        const QString file = outside("league.kelvory-league");
        QVERIFY(testfiles::writeFile(file, "kelvory-league = 1\nLiga1 = 9\n"));
        services_.saveDialogAnswer = services_.dialogAnswer = file;
        services_.reviewAnswer = true;
        run(row.action);
        QCOMPARE(services_.dialogTitle, QString());
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY(services_.messages[0].icon == platform::MessageIcon::Warning);
        QCOMPARE(services_.messages[0].text, row.message);
        QCOMPARE(testfiles::readFile(file), QByteArray("kelvory-league = 1\nLiga1 = 9\n"));
        QCOMPARE(txt(0)->text(), row.loaded ? QStringLiteral("5") : QString());
    }

    // The dialogs open in the folder of the last setup file chosen while it
    // exists, otherwise in the game executable's folder.
    void dialogsStartFolder_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("remembered");  // beside the program folder; empty: nothing
        QTest::addColumn<bool>("inRemembered");
        QTest::addColumn<QString>("suggestedName");
        QTest::newRow("export, first time") << kExport << QString() << false << "/league.kelvory-league";
        QTest::newRow("import, remembered") << kImport << "setups" << true << "";
        QTest::newRow("import, remembered folder gone") << kImport << "gone" << false << "";
    }

    void dialogsStartFolder() {
        QFETCH(QString, action);
        QFETCH(QString, remembered);
        QFETCH(bool, inRemembered);
        QFETCH(QString, suggestedName);
        QVERIFY(QDir().mkpath(outside("setups")));
        if (!remembered.isEmpty())
            services_.settingValues["Kelvory/LeagueSetups/Folder"] = outside(remembered);
        startLoaded();
        const QString chosen = outside("setups") + "/mine.kelvory-league";
        QVERIFY(testfiles::writeFile(chosen, "kelvory-league = 1\n"));
        services_.saveDialogAnswer = services_.dialogAnswer = chosen;
        run(action);
        QCOMPARE(services_.dialogStart,
                 QDir::toNativeSeparators((inRemembered ? outside(remembered) : folder_->path()) + suggestedName));
        QCOMPARE(services_.savedSettings, QStringList{"Kelvory/LeagueSetups/Folder=" + outside("setups")});
    }
};

QTEST_MAIN(SetupMenuTest)
#include "SetupMenuTest.moc"
