// Menu > "Export League Setup…" and "Import League Setup…": what the window
// adds to the setup files (tests/setup): the dialogs and where they open,
// the messages and their icons, the review of an import and its answer
// reaching the boxes, and that neither entry ever writes the game executable.
// The stand-in game loads with Liga1 10 and Str7 (Club Name, row 3) 26.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include "../common/Rows.h"
#include "WindowFixture.h"

namespace {

struct Import {
    QString before;      // "typed": box 17 holds text it cannot store; "cancelled": no file chosen
    QByteArray file;     // the file chosen
    bool apply;          // the answer to the review
    QStringList review;  // its text's start, then its lines; empty: no review
    QString message;     // how the one message starts; empty: none
    QString liga1;       // box 0 afterwards
};

struct Export {
    QString before;  // as for Import
    QString file;    // the name chosen, beside the program folder
    platform::MessageIcon icon;
    QString message;  // how the one message starts, after FILE; empty: none
};

const QString kImport = QStringLiteral("mnuImportSetup");
const QString kExport = QStringLiteral("mnuExportSetup");

}  // namespace

Q_DECLARE_METATYPE(Import)
Q_DECLARE_METATYPE(Export)

class SetupMenuTest : public WindowFixture {
    Q_OBJECT

    // A file beside the program folder.
    QString outside(const QString& name) const { return platform::pathToText(folder_->root / name.toStdString()); }

    // Starts as `before` says.
    void startAs(const QString& before) {
        startLoaded();
        if (before == "typed")
            type(txt(17), QStringLiteral("32768"));
    }
    // The one message shown: its icon, and how its text starts.
    void toldOnce(platform::MessageIcon icon, const QString& start) const {
        QCOMPARE(services_.messages.size(), 1);
        QCOMPARE(services_.messages[0].icon, icon);
        QVERIFY2(services_.messages[0].text.startsWith(start), qPrintable(services_.messages[0].text));
    }

private slots:
    // An import lists each change in the window's order and words (a value
    // the game is not known to take says so) and puts the file's values into
    // the boxes only when applied; a file that changes nothing only shows so.
    // A file that cannot be read, or a box whose text cannot be stored (as
    // the session refuses anything it cannot save: tests/session), change
    // nothing and say why.
    void importSetup_data() {
        const QByteArray partial = "kelvory-league = 1\nNational Slot, row 1 = 101\nClub Name, row 3 = 300\n";
        const QStringList changes = {"FILE\n\nImporting this file changes 2 boxes, from the value now to the file's",
                                     "National Slot, row 1: 10 → 101 (the game takes 0 to 100)",
                                     "Club Name, row 3: 26 → 300"};
        const QString refused = "These boxes hold values that cannot be stored:\nClub Name, row 1: \"32768\"";
        rows<Import>({
            {"applied", {"", partial, true, changes, "", "101"}},
            {"review cancelled", {"", partial, false, changes, "", "10"}},
            {"no changes",
             {"",
              "kelvory-league = 1\nLiga1 = 10\n",
              true,
              {"FILE\n\nThe boxes already hold every value of this file.", "No changes"},
              "",
              "10"}},
            {"invalid file",
             {"",
              "kelvory-league = 1\nLiga1 = 9\nClub Name, row 10 = 3\n",
              true,
              {},
              "Nothing was imported; the boxes are as they were.\n\nFILE, line 3: unknown box",
              "10"}},
            {"dialog cancelled", {"cancelled", "", true, {}, "", "10"}},
            {"a box that cannot be stored", {"typed", partial, true, {}, "Nothing was imported.\n\n" + refused, "10"}},
        });
    }
    void importSetup() {
        QFETCH(Import, row);
        startAs(row.before);
        const QByteArray game = folder_->game();
        const QString file = outside("partial %2 %1.kelvory-league");  // like a message's place holders
        QVERIFY(testfiles::writeFile(file, row.file));
        services_.dialogAnswer = row.before == "cancelled" ? QString() : file;
        services_.reviewAnswer = row.apply;
        window_->action(kImport)->trigger();
        QCOMPARE(services_.dialogTitle,
                 row.before.isEmpty() || row.before == "cancelled" ? QStringLiteral("Import League Setup") : QString());
        QCOMPARE(services_.reviews.size(), row.review.isEmpty() ? 0 : 1);
        if (!row.review.isEmpty()) {
            const RecordingServices::Review& review = services_.reviews[0];
            QCOMPARE(review.caption, QStringLiteral("Import League Setup"));
            QVERIFY2(review.text.startsWith(QString(row.review[0]).replace("FILE", file)), qPrintable(review.text));
            QCOMPARE(review.lines, row.review.mid(1));
            QCOMPARE(review.acceptCaption, row.review.size() > 2 ? QStringLiteral("&Apply") : QString());
        }
        if (row.message.isEmpty())
            QVERIFY(services_.messages.isEmpty());
        else
            toldOnce(platform::MessageIcon::Warning, QString(row.message).replace("FILE", file));
        QCOMPARE(txt(0)->text(), row.liga1);
        QCOMPARE(window_->hasUnsavedChanges(), row.liga1 == "101" || row.before == "typed");  // 3276 was stored
        if (row.liga1 == "101")
            QCOMPARE(int(window_->baza().block().str[6]), 300);
        QVERIFY(folder_->game() == game);
    }

    // An export holds the values in the boxes, edited or not, and says where
    // it went; one that cannot be written says which file and why, and
    // leaves no file behind.
    void exportSetup_data() {
        using I = platform::MessageIcon;
        const QString written = "The league setup was exported to:\n\nFILE";
        rows<Export>({
            {"exported", {"", "league.kelvory-league", I::Information, written}},
            {"cannot be written",
             {"", "no such folder/league.kelvory-league", I::Critical,
              "The league setup was not exported.\n\nFILE: the file could not be written (No such file or "
              "directory)."}},
            {"dialog cancelled", {"", "", I::Information, ""}},
            {"a box that cannot be stored",
             {"typed", "league.kelvory-league", I::Warning, "Nothing was exported.\n\nThese boxes hold values"}},
        });
    }
    void exportSetup() {
        QFETCH(Export, row);
        startAs(row.before);
        if (row.before.isEmpty())
            type(txt(0), QStringLiteral("77"));  // edited, not saved
        const QByteArray game = folder_->game();
        const QString file = row.file.isEmpty() ? QString() : outside(row.file);
        services_.saveDialogAnswer = file;
        window_->action(kExport)->trigger();
        QCOMPARE(services_.dialogTitle, row.before == "typed" ? QString() : QStringLiteral("Export League Setup"));
        if (row.message.isEmpty())
            QVERIFY(services_.messages.isEmpty());
        else
            toldOnce(row.icon, QString(row.message).replace("FILE", file));
        const QByteArray written = file.isEmpty() ? QByteArray() : testfiles::readFile(file);
        QCOMPARE(written.isEmpty(), row.icon != platform::MessageIcon::Information || file.isEmpty());
        if (!written.isEmpty()) {
            QVERIFY(written.startsWith("kelvory-league = 1\n"));
            QVERIFY(written.contains("\nNational Slot, row 1 = 77\n"));
        }
        QVERIFY(!QFileInfo::exists(outside("no such folder")));
        QVERIFY(folder_->game() == game);
        QCOMPARE(QDir(folder_->path()).entryList(QDir::Files), (QStringList{"Game File.exe", "Leagues.ini"}));
    }

    // The dialogs open in the folder of the last setup file chosen while it
    // exists, otherwise in the game executable's folder; they offer league
    // setups, and an import any file too.
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
        window_->action(action)->trigger();
        QCOMPARE(services_.dialogStart,
                 QDir::toNativeSeparators((inRemembered ? outside(remembered) : folder_->path()) + suggestedName));
        QCOMPARE(services_.savedSettings, QStringList{"Kelvory/LeagueSetups/Folder=" + outside("setups")});
        QCOMPARE(services_.dialogFilters, action == kImport ? 2 : 1);  // an import takes a file of any name too
    }
};

QTEST_MAIN(SetupMenuTest)
#include "SetupMenuTest.moc"
