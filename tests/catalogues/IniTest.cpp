#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "FakeIniHost.h"
#include "catalogues/Ini.h"
#include "catalogues/ProgramPath.h"

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::u8path(path.toStdString());
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

using Items = std::vector<std::string>;

}  // namespace

class IniTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir_->path()).mkpath("Setting"));
        host_ = FakeIniHost();
    }

    void petlaFillsTheCategoryPickers() {
        Ini(host_, fsPath(dir_->path())).Petla();
        Items expected;
        for (int i = 0; i <= 18; ++i) {
            expected.push_back(QStringLiteral("category_%1").arg(i, 2, 10, QChar('0')).toStdString());
        }
        QCOMPARE(host_.appended.size(), std::size_t(4 * 19));
        for (int combo = 1; combo <= 4; ++combo) {
            QCOMPARE(host_.itemsOf("Combo" + std::to_string(combo)), expected);
        }
        QCOMPARE(host_.appended[18].first, std::string("Combo1"));  // Combo1 is filled before Combo2
        QVERIFY(host_.texts.empty());
    }

    void strPetlaFillsThirteenIdenticalLists() {
        QVERIFY(writeFile(inFolder("Setting/ID_Name_League.ini"),
                          "0,Northland\r\n1,\"Harbour City, FC\"\r\n\r\n2,Jos\xE9\r\n"));
        Ini(host_, fsPath(dir_->path())).Str_Petla();
        const Items expected = {"0", "Northland", "1", "Harbour City, FC", "", "2", "Jos\xC3\xA9"};
        QCOMPARE(host_.appended.size(), expected.size() * 13);
        // Each item goes to Combo14 .. Combo26 before the next is read.
        for (std::size_t i = 0; i < host_.appended.size(); ++i) {
            QCOMPARE(host_.appended[i], std::make_pair("Combo" + std::to_string(14 + i % 13), expected[i / 13]));
        }
    }

    void ligaPetlaFillsTheStructureList() {
        QVERIFY(writeFile(inFolder("Setting/Structure.ini"), "Slot 0,\"First Division, North\"\r\n\x80uro Cup\r\n"));
        Ini(host_, fsPath(dir_->path())).Liga_Petla();
        const Items expected = {"Slot 0", "First Division, North",
                                "\xE2\x82\xAC"
                                "uro Cup"};
        QCOMPARE(host_.itemsOf("List1"), expected);
        QCOMPARE(host_.appended.size(), expected.size());
    }

    void missingOrBrokenCatalogues() {
        QVERIFY(writeFile(inFolder("Setting/ID_Name_League.ini"), QByteArray()));
        QVERIFY(writeFile(inFolder("Setting/Structure.ini"), "a,b\r\n\"unclosed\r\n"));
        Ini ini(host_, fsPath(dir_->path()));
        ini.Str_Petla();
        ini.Liga_Petla();
        QCOMPARE(host_.appended.size(), std::size_t(2));
        QCOMPARE(host_.itemsOf("List1"), (Items{"a", "b"}));

        Ini elsewhere(host_, fsPath(inFolder("no-such-folder")));
        elsewhere.Str_Petla();
        elsewhere.Liga_Petla();
        QCOMPARE(host_.appended.size(), std::size_t(2));
    }

    void config_data() {
        QTest::addColumn<int>("kind");  // 0 missing, 1 folder, 2 file
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("nazwaExe");  // for a failure: a word of the message
        const int ok = int(ConfigResult::Status::Ok), tooShort = int(ConfigResult::Status::TooShort);
        QTest::newRow("three lines") << 2 << QByteArray("first\r\nGame.exe\r\nOther.exe\r\n") << ok << "Game.exe";
        QTest::newRow("LF line ends") << 2 << QByteArray("first\nGame.exe\nx\n") << ok << "Game.exe";
        QTest::newRow("CR line ends") << 2 << QByteArray("first\rGame.exe\rx\r") << ok << "Game.exe";
        QTest::newRow("no final line end") << 2 << QByteArray("first\r\nGame.exe") << ok << "Game.exe";
        QTest::newRow("empty line 2") << 2 << QByteArray("first\r\n\r\nx\r\n") << ok << "";
        QTest::newRow("blanks kept") << 2 << QByteArray("1\r\n  My Game.exe \t\r\n") << ok << "  My Game.exe \t";
        QTest::newRow("code page decoded") << 2 << QByteArray("1\r\nJe\xFC.exe\r\n") << ok << "Je\u00FC.exe";
        QTest::newRow("one line") << 2 << QByteArray("Game.exe\r\n") << tooShort << "second line";
        QTest::newRow("empty file") << 2 << QByteArray() << tooShort << "second line";
        QTest::newRow("folder") << 1 << QByteArray() << int(ConfigResult::Status::Unreadable) << "could not be read";
        QTest::newRow("missing file") << 0 << QByteArray() << int(ConfigResult::Status::Missing) << "not found";
    }

    void config() {
        QFETCH(int, kind);
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QString, nazwaExe);
        QVERIFY(kind != 1 || QDir(dir_->path()).mkpath("Leagues.ini"));
        QVERIFY(kind != 2 || writeFile(inFolder("Leagues.ini"), content));
        host_.texts["Nazwa_Exe"] = "Earlier.exe";
        Ini ini(host_, fsPath(dir_->path()));
        const ConfigResult result = ini.Config();
        QCOMPARE(int(result.status), status);
        const QString message = QString::fromStdString(result.message());
        if (result.ok()) {
            QVERIFY(message.isEmpty());
            QCOMPARE(QString::fromStdString(host_.texts["Nazwa_Exe"]), nazwaExe);
        } else {
            QCOMPARE(result.file, ini.leaguesIniPath());
            QVERIFY2(message.contains(QString::fromStdString(ini.leaguesIniPath().u8string())), qPrintable(message));
            QVERIFY2(message.contains(nazwaExe), qPrintable(message));
            QCOMPARE(host_.texts["Nazwa_Exe"], std::string("Earlier.exe"));
        }
    }

    void programPathJoinsAsWritten_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("backslash separates") << "prog"
                                             << "Setting\\a.ini" << QStringList{"prog", "Setting", "a.ini"};
        QTest::newRow("folder ending in /") << "prog/"
                                            << "Setting\\a.ini" << QStringList{"prog", "Setting", "a.ini"};
        QTest::newRow("blanks kept") << "prog"
                                     << " My Game.exe " << QStringList{"prog", " My Game.exe "};
        QTest::newRow("non-ASCII") << "Gra\u017C"
                                   << "Gr\u00E1\\g.exe" << QStringList{"Gra\u017C", "Gr\u00E1", "g.exe"};
    }

    void programPathJoinsAsWritten() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QStringList, parts);
        std::filesystem::path expected = fsPath(dir_->path());
        for (const QString& part : parts) {
            expected /= fsPath(part);
        }
        QCOMPARE(programPath(fsPath(dir_->path() + '/' + folder), name.toStdString()), expected);
    }

    void indicators_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");  // empty: the caption stays as it was
        QTest::newRow("0") << "0"
                           << "unnamed_35.bin";
        QTest::newRow("5") << "5"
                           << "unnamed_40.bin";
        QTest::newRow("29") << "29"
                            << "unnamed_64.bin";
        for (const char* text : {"30", "05", "-1", "+5", " 5", "5 ", "", "abc"}) {
            QTest::addRow("'%s'", text) << text << QString();
        }
    }

    void indicators() {
        QFETCH(QString, text);
        QFETCH(QString, caption);
        for (int n = 1; n <= 7; ++n) {
            host_.captions["Label" + std::to_string(n + 1)] = "earlier";
            host_.members[29 + n] = n == 7 ? "1" : text.toStdString();  // each box reads its own text
        }
        Ini ini(host_, fsPath(dir_->path()));
        for (int n = 1; n <= 7; ++n) {
            ini.ClubUnnament(n);
        }
        const std::string expected = caption.isEmpty() ? "earlier" : caption.toStdString();
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(host_.captions["Label" + std::to_string(n + 1)], expected);
        }
        QCOMPARE(host_.captions["Label8"], std::string("unnamed_36.bin"));
        QCOMPARE(host_.captions.size(), std::size_t(7));
    }

private:
    QString inFolder(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    FakeIniHost host_;
};

QTEST_MAIN(IniTest)
#include "IniTest.moc"
