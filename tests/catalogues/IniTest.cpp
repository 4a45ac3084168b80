#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/TestFiles.h"
#include "FakeIniHost.h"
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

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

class IniTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir_->path()).mkpath("Setting"));
        host_ = FakeIniHost();
    }

    void petlaOffersTheNineteenCategories() {
        Ini(host_, fsPath(dir_->path())).Petla();
        const QStringList expected = {"category_00", "category_01", "category_02", "category_03", "category_04",
                                      "category_05", "category_06", "category_07", "category_08", "category_09",
                                      "category_10", "category_11", "category_12", "category_13", "category_14",
                                      "category_15", "category_16", "category_17", "category_18"};
        QCOMPARE(texts(host_.categories), expected);
    }

    // Every item in file order: commas split a line, quotes keep a comma, a
    // blank line is an empty item, code page 1252 is read as such.
    void strPetlaOffersEveryNameInFileOrder() {
        QVERIFY(writeFile(inFolder("Setting/ID_Name_League.ini"),
                          "0,Northland\r\n1,\"Harbour City, FC\"\r\n\r\n2,Jos\xE9\r\n"));
        Ini(host_, fsPath(dir_->path())).Str_Petla();
        const QStringList expected = {"0", "Northland", "1", "Harbour City, FC", "", "2", QStringLiteral("Jos\u00E9")};
        QCOMPARE(texts(host_.names), expected);
        QVERIFY(host_.structure.empty());
    }

    void missingCatalogueAddsNothing() {
        Ini ini(host_, fsPath(dir_->path()));
        ini.Str_Petla();
        ini.Liga_Petla();
        QVERIFY(host_.names.empty());
        QVERIFY(host_.structure.empty());
    }

    void config_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("nazwaExe");  // for a failure: a word of the message
        const int ok = int(ConfigResult::Status::Ok), tooShort = int(ConfigResult::Status::TooShort);
        QTest::newRow("three lines") << true << QByteArray("first\r\nGame.exe\r\nOther.exe\r\n") << ok << "Game.exe";
        QTest::newRow("empty line 2") << true << QByteArray("first\r\n\r\nx\r\n") << ok << "";
        QTest::newRow("blanks kept") << true << QByteArray("1\r\n  My Game.exe  \r\n") << ok << "  My Game.exe  ";
        QTest::newRow("one line") << true << QByteArray("Game.exe\r\n") << tooShort << "second line";
        QTest::newRow("missing file") << false << QByteArray() << int(ConfigResult::Status::Missing) << "not found";
        // Only the first two lines are read, never more than 4096 bytes.
        const int badName = int(ConfigResult::Status::BadName), tooLong = int(ConfigResult::Status::TooLong);
        QTest::newRow("NUL in line 2") << true << QByteArray("x\r\nStandInGame.exe\0.bak\r\n", 25) << badName
                                       << "holds a character that a file name cannot hold";
        // A tab is kept where file names may hold it; Windows names cannot.
#ifdef Q_OS_WIN
        QTest::newRow("tab in line 2") << true << QByteArray("1\r\nMy Game.exe\t\r\n") << badName
                                       << "holds a character that a file name cannot hold";
#else
        QTest::newRow("tab in line 2") << true << QByteArray("1\r\nMy Game.exe\t\r\n") << ok << "My Game.exe\t";
#endif
        QTest::newRow("long line 1") << true << (QByteArray(5000, 'x') + "\r\nGame.exe\r\n") << tooLong
                                     << "first two lines are longer than 4096 bytes";
        QTest::newRow("long line 2") << true << ("x\r\n" + QByteArray(4093, 'g') + "\r\n") << tooLong
                                     << "longer than 4096 bytes";
        QTest::newRow("line 2 ends the file at 4096 bytes")
            << true << ("x\r\n" + QByteArray(4093, 'g')) << ok << QString(4093, 'g');
        QTest::newRow("megabyte after line 2")
            << true << ("x\r\nGame.exe\r\n" + QByteArray(1 << 20, 'z')) << ok << "Game.exe";
    }

    void config() {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QString, nazwaExe);
        QVERIFY(!exists || writeFile(inFolder("Leagues.ini"), content));
        host_.executableName = "Earlier.exe";
        Ini ini(host_, fsPath(dir_->path()));
        const ConfigResult result = ini.Config();
        QCOMPARE(int(result.status), status);
        const QString message = QString::fromStdString(result.message());
        if (result.ok()) {
            QVERIFY(message.isEmpty());
            QCOMPARE(text(host_.executableName), nazwaExe);
        } else {
            QCOMPARE(result.file, ini.leaguesIniPath());
            QVERIFY2(message.contains(QString::fromStdString(ini.leaguesIniPath().u8string())), qPrintable(message));
            QVERIFY2(message.contains(nazwaExe), qPrintable(message));
            QCOMPARE(text(host_.executableName), QStringLiteral("Earlier.exe"));
        }
    }

    // Catalogues are read as the system writes them: UTF-8 with or without a
    // mark, else code page 1252.
    void catalogueEncodings_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("UTF-8 with a mark") << QByteArray(
                                                  "\xEF\xBB\xBF"
                                                  "12,Jos\xC3\xA9\r\n")
                                           << QStringList{"12", "Jos\u00E9"};
        QTest::newRow("UTF-8 without a mark")
            << QByteArray("Gr\xC3\xA9,\xC5\xBB\xC3\xB3\xC5\x82w\r\n") << QStringList{"Gr\u00E9", "\u017B\u00F3\u0142w"};
        QTest::newRow("code page 1252") << QByteArray("Jos\xE9,\x80 5\r\n") << QStringList{"Jos\u00E9", "\u20AC 5"};
    }

    void catalogueEncodings() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, items);
        QVERIFY(writeFile(inFolder("Setting/Structure.ini"), content));
        Ini(host_, fsPath(dir_->path())).Liga_Petla();
        QCOMPARE(texts(host_.structure), items);
        QVERIFY(host_.names.empty());
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
        Ini(host_, fsPath(dir_->path())).Str_Petla();
        QCOMPARE(int(host_.names.size()), items);
        if (said.isEmpty()) {
            QVERIFY(host_.skipped.empty());
        } else {
            QCOMPARE(int(host_.skipped.size()), 1);
            QVERIFY2(text(host_.skipped[0]).contains(said), host_.skipped[0].c_str());
            QVERIFY(text(host_.skipped[0]).contains("ID_Name_League.ini"));
        }
    }

    // Line 2's bytes are the file name exactly as written (a mark on line 1
    // is no part of the file), split at backslashes; the box shows them readably.
    // The UTF-8 and code page 1252 names are found in the window's start-up
    // test (gameNamedOnLine2).
    void line2IsTheNameAsWritten() {
#ifdef Q_OS_WIN
        QSKIP("Windows file names are not bytes; there line 2 is read in code page 1252");
#else
        QVERIFY(writeFile(inFolder("Leagues.ini"), "\xEF\xBB\xBFx\r\nGame\\Gr\xC3\xA9.exe"));
        const std::filesystem::path folder = fsPath(dir_->path());
        const ConfigResult result = Ini(host_, folder).Config();
        QVERIFY(result.ok());
        QCOMPARE(text(host_.executableName), QStringLiteral("Game\\Gr\u00E9.exe"));
        QCOMPARE(QByteArray::fromStdString(result.gamePath.native()),
                 QByteArray::fromStdString(folder.native()) + "/Game/Gr\xC3\xA9.exe");
#endif
    }

    // Rows 1 to 6 hold the row's text, row 7 holds "1"; every indicator
    // started as "earlier". Each indicator follows its own row's box.
    void indicators_data() {
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("caption");  // of rows 1 to 6
        QTest::newRow("0") << "0"
                           << "unnamed_35.bin";
        QTest::newRow("5") << "5"
                           << "unnamed_40.bin";
        QTest::newRow("29") << "29"
                            << "unnamed_64.bin";
        for (const char* text : {"30", "05", "-1", " 5", ""})
            QTest::addRow("'%s' matches nothing", text) << QString(text) << "earlier";
    }

    void indicators() {
        QFETCH(QString, boxText);
        QFETCH(QString, caption);
        for (int row = 1; row <= 7; ++row) {
            host_.indicators[row] = "earlier";
            host_.logoBoxes[row] = row == 7 ? "1" : boxText.toStdString();
        }
        Ini ini(host_, fsPath(dir_->path()));
        for (int row = 1; row <= 7; ++row)
            ini.ClubUnnament(row);
        for (int row = 1; row <= 6; ++row)
            QCOMPARE(text(host_.indicators[row]), caption);
        QCOMPARE(text(host_.indicators[7]), QStringLiteral("unnamed_36.bin"));
        QCOMPARE(host_.indicators.size(), std::size_t(7));
    }

private:
    QString inFolder(const QString& name) const {
        return dir_->filePath(name);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    FakeIniHost host_;
};

QTEST_MAIN(IniTest)
#include "IniTest.moc"
