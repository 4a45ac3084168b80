// Reading Kelvory's files: Leagues.ini, the two catalogues and the category
// identifiers, as the window's lists and boxes receive them.

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

#include "../common/TestFiles.h"
#include "FakeIniHost.h"
#include "catalogues/CatalogueReader.h"
#include "catalogues/Ini.h"

using testfiles::fsPath;
using testfiles::writeFile;

namespace {

// The reader hands over UTF-8; compared as text, a failure shows the items.
QStringList texts(const FakeIniHost::Items& items) {
    QStringList list;
    for (const std::string& item : items)
        list << QString::fromStdString(item);
    return list;
}

}  // namespace

class IniTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    FakeIniHost host_;

    QString inFolder(const QString& name) const { return dir_->filePath(name); }
    Ini ini() { return Ini(host_, fsPath(dir_->path())); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir_->path()).mkpath("Setting"));
        host_ = FakeIniHost();
    }

    // The nineteen category identifiers; the catalogues' items in file
    // order (commas split a line, quotes keep a comma, a bare LF ends a line
    // too, a blank line is an empty item, trailing blanks go), read as the system writes them: UTF-8 with or without a
    // mark, else code page 1252; a missing catalogue adds nothing.
    void listsInFileOrder() {
        ini().Petla();
        QCOMPARE(texts(host_.categories).mid(18) + texts(host_.categories).mid(0, 1),
                 (QStringList{"category_18", "category_00"}));
        QCOMPARE(host_.categories.size(), std::size_t(19));
        ini().Liga_Petla();
        QVERIFY(host_.structure.empty());
        QVERIFY(
            writeFile(inFolder("Setting/ID_Name_League.ini"), "0,North  \n1,\"Harbour City, FC\"\r\n\r\n2,Jos\xE9"));
        QVERIFY(writeFile(inFolder("Setting/Structure.ini"), "\xEF\xBB\xBFJos\xC3\xA9,12\r\n"));
        ini().Str_Petla();
        ini().Liga_Petla();
        QCOMPARE(texts(host_.names),
                 (QStringList{"0", "North", "1", "Harbour City, FC", "", "2", QStringLiteral("Jos\u00E9")}));
        QCOMPARE(texts(host_.structure), (QStringList{QStringLiteral("Jos\u00E9"), "12"}));
    }

    // The reader alone: an unclosed quote ends the reading, keeping the items
    // before it.
    void unclosedQuoteEndsTheReading() {
        std::istringstream in("a,b\r\n\"never closed, x\r\ny\r\n");
        const CatalogueContents read = readCatalogue(in);
        QCOMPARE(read.items, (std::vector<std::string>{"a", "b"}));
        QVERIFY(!read.complete);
    }

    // Line 2 of Leagues.ini names the game; only the first two lines are
    // read, never more than 4096 bytes. A failure names Leagues.ini and
    // leaves the name shown before.
    void config_data() {
        QTest::addColumn<QByteArray>("content");  // "-": no Leagues.ini
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("nazwaExe");  // for a failure: a word of the message
        const int ok = int(ConfigResult::Status::Ok), tooLong = int(ConfigResult::Status::TooLong);
        QTest::newRow("three lines") << QByteArray("first\r\nGame.exe\r\nOther.exe\r\n") << ok << "Game.exe";
        QTest::newRow("one line") << QByteArray("Game.exe\r\n") << int(ConfigResult::Status::TooShort) << "second line";
        QTest::newRow("missing file") << QByteArray("-") << int(ConfigResult::Status::Missing) << "not found";
        QTest::newRow("NUL in line 2") << QByteArray("x\r\nGame.exe\0.bak\r\n", 19)
                                       << int(ConfigResult::Status::BadName)
                                       << "holds a character that a file name cannot hold";
        QTest::newRow("long line 2") << ("x\r\n" + QByteArray(4093, 'g') + "\r\n") << tooLong
                                     << "longer than 4096 bytes";
        QTest::newRow("line 2 ends the file at 4096 bytes")
            << ("x\r\n" + QByteArray(4093, 'g')) << ok << QString(4093, 'g');
        QTest::newRow("line 2 ends in CR at 4096 bytes")
            << ("x\r\n" + QByteArray(4092, 'g') + "\r\nthird\r\n") << ok << QString(4092, 'g');
        QTest::newRow("megabyte after line 2") << ("x\r\nGame.exe\r\n" + QByteArray(1 << 20, 'z')) << ok << "Game.exe";
    }

    void config() {
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QString, nazwaExe);
        QVERIFY(content == "-" || writeFile(inFolder("Leagues.ini"), content));
        host_.executableName = "Earlier.exe";
        Ini reader = ini();
        const ConfigResult result = reader.Config();
        QCOMPARE(int(result.status), status);
        const QString message = QString::fromStdString(result.message());
        QCOMPARE(QString::fromStdString(host_.executableName), result.ok() ? nazwaExe : "Earlier.exe");
        QCOMPARE(message.isEmpty(), result.ok());
        if (!result.ok()) {
            QCOMPARE(result.file, reader.leaguesIniPath());
            QVERIFY2(message.contains(QString::fromStdString(reader.leaguesIniPath().u8string())), qPrintable(message));
            QVERIFY2(message.contains(nazwaExe), qPrintable(message));
            // The whole sentence is offered for translation; the file's name
            // fills its place: a translation of only "%1" leaves just the name.
            const std::string name = result.words().text([](const char*, const char*) { return std::string("%1"); });
            QCOMPARE(QString::fromStdString(name), QString::fromStdString(reader.leaguesIniPath().u8string()));
        }
    }

    // Line 2's bytes are the file name exactly as written (a mark on line 1
    // is no part of the file), split at backslashes, in UTF-8 or code page
    // 1252 alike; the name box shows them readably.
    void line2IsTheNameAsWritten_data() {
        QTest::addColumn<QByteArray>("line2");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("Game\\Gr\xC3\xA9.exe") << QStringLiteral("Game\\Gr\u00E9.exe");
        QTest::newRow("code page 1252") << QByteArray("Gr\xE9.exe") << QStringLiteral("Gr\u00E9.exe");
    }

    void line2IsTheNameAsWritten() {
#ifdef Q_OS_WIN
        QSKIP("Windows file names are not bytes; there line 2 is read in code page 1252");
#else
        QFETCH(QByteArray, line2);
        QFETCH(QString, shown);
        QVERIFY(writeFile(inFolder("Leagues.ini"), "\xEF\xBB\xBFx\r\n" + line2));
        const ConfigResult result = ini().Config();
        QVERIFY(result.ok());
        QCOMPARE(QString::fromStdString(host_.executableName), shown);
        QCOMPARE(QByteArray::fromStdString(result.gamePath.native()),
                 QByteArray::fromStdString(fsPath(dir_->path()).native()) + "/" + line2.replace('\\', '/'));
#endif
    }

    // A catalogue over the size or item limit offers nothing and says so once.
    void catalogueLimits_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("said");  // empty: nothing said
        QTest::newRow("100,000 items") << QByteArray(99999, ',') << 100000 << QString();
        QTest::newRow("100,001 items") << QByteArray(100000, ',') << 0 << "holds more than 100000 entries";
        QTest::newRow("4 MiB") << QByteArray(4 * 1024 * 1024, 'a') << 1 << QString();
        QTest::newRow("4 MiB and a byte") << QByteArray(4 * 1024 * 1024 + 1, 'a') << 0 << "is larger than 4 MiB";
    }

    void catalogueLimits() {
        QFETCH(QByteArray, content);
        QFETCH(int, items);
        QFETCH(QString, said);
        QVERIFY(writeFile(inFolder("Setting/ID_Name_League.ini"), content));
        ini().Str_Petla();
        QCOMPARE(int(host_.names.size()), items);
        QCOMPARE(texts(host_.skipped).join("").contains(said), true);
        QCOMPARE(int(host_.skipped.size()), said.isEmpty() ? 0 : 1);
        QVERIFY(said.isEmpty() || texts(host_.skipped)[0].contains("ID_Name_League.ini"));
    }

    // Each indicator follows the logo box on its own row: rows 1 to 6 hold
    // the row's text, row 7 holds "1"; every indicator started as "earlier".
    void indicators_data() {
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("caption");  // of rows 1 to 6
        for (const auto& [text, caption] : {std::pair{"0", "unnamed_35.bin"},
                                            {"29", "unnamed_64.bin"},
                                            {"30", "earlier"},
                                            {"05", "earlier"},
                                            {" 5", "earlier"}})
            QTest::addRow("'%s'", text) << QString(text) << QString(caption);
    }

    void indicators() {
        QFETCH(QString, boxText);
        QFETCH(QString, caption);
        for (int row = 1; row <= 7; ++row) {
            host_.indicators[row] = "earlier";
            host_.logoBoxes[row] = row == 7 ? "1" : boxText.toStdString();
        }
        Ini reader = ini();
        for (int row = 1; row <= 7; ++row)
            reader.ClubUnnament(row);
        QCOMPARE(texts({host_.indicators[1], host_.indicators[6], host_.indicators[7]}),
                 (QStringList{caption, caption, "unnamed_36.bin"}));
        QCOMPARE(host_.indicators.size(), std::size_t(7));
    }
};

QTEST_MAIN(IniTest)
#include "IniTest.moc"
