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

std::string str(const char* utf8) {
    return std::string(utf8);
}

}  // namespace

class IniTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void petlaFillsTheCategoryPickers();
    void strPetlaFillsThirteenIdenticalLists();
    void ligaPetlaFillsTheStructureList();
    void missingCataloguesAddNothing();
    void emptyCatalogueAddsNothing();
    void config_data();
    void config();
    void configFailures_data();
    void configFailures();
    void programPathJoinsAsWritten_data();
    void programPathJoinsAsWritten();
    void programPathFindsRealFiles();
    void indicators_data();
    void indicators();
    void indicatorsAreIndependent();

private:
    QString inFolder(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    FakeIniHost host_;
};

void IniTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir(dir_->path()).mkpath("Setting"));
    host_ = FakeIniHost();
}

void IniTest::petlaFillsTheCategoryPickers() {
    Ini ini(host_, fsPath(dir_->path()));
    ini.Petla();
    QCOMPARE(host_.appended.size(), std::size_t(4 * 19));
    for (int combo = 1; combo <= 4; ++combo) {
        const auto items = host_.itemsOf("Combo" + std::to_string(combo));
        QCOMPARE(items.size(), std::size_t(19));
        QCOMPARE(items.front(), str("category_00"));
        QCOMPARE(items[7], str("category_07"));
        QCOMPARE(items[10], str("category_10"));
        QCOMPARE(items.back(), str("category_18"));
        for (const std::string& item : items) {
            QCOMPARE(item.size(), std::size_t(11));
        }
    }
    // Combo1 is filled completely before Combo2.
    QCOMPARE(host_.appended[18].first, str("Combo1"));
    QCOMPARE(host_.appended[19].first, str("Combo2"));
    QVERIFY(host_.texts.empty());
}

void IniTest::strPetlaFillsThirteenIdenticalLists() {
    QVERIFY(writeFile(inFolder("Setting/ID_Name_League.ini"),
                      "0,Northland\r\n1,\"Harbour City, FC\"\r\n\r\n2,Jos\xE9\r\n2,Jos\xE9\r\n"));
    Ini ini(host_, fsPath(dir_->path()));
    ini.Str_Petla();

    const std::vector<std::string> expected = {"0", "Northland",   "1", "Harbour City, FC", "",
                                               "2", "Jos\xC3\xA9", "2", "Jos\xC3\xA9"};
    QCOMPARE(host_.appended.size(), expected.size() * 13);
    // Item by item: each item goes to Combo14 .. Combo26 before the next is read.
    for (std::size_t i = 0; i < host_.appended.size(); ++i) {
        QCOMPARE(host_.appended[i].first, "Combo" + std::to_string(14 + i % 13));
        QCOMPARE(host_.appended[i].second, expected[i / 13]);
    }
    QVERIFY(host_.itemsOf("List1").empty());
}

void IniTest::ligaPetlaFillsTheStructureList() {
    QVERIFY(writeFile(inFolder("Setting/Structure.ini"), "Slot 0,\"First Division, North\"\r\n\x80uro Cup\r\n"));
    Ini ini(host_, fsPath(dir_->path()));
    ini.Liga_Petla();
    const std::vector<std::string> expected = {"Slot 0", "First Division, North",
                                               "\xE2\x82\xAC"
                                               "uro Cup"};
    QCOMPARE(host_.itemsOf("List1"), expected);
    QCOMPARE(host_.appended.size(), expected.size());
}

void IniTest::missingCataloguesAddNothing() {
    QVERIFY(QDir(dir_->path()).mkpath("Setting/Structure.ini"));  // a folder where the file should be
    Ini ini(host_, fsPath(dir_->path()));
    ini.Str_Petla();
    ini.Liga_Petla();
    QVERIFY(host_.appended.empty());

    // Without any Setting folder the category pickers are still filled.
    Ini elsewhere(host_, fsPath(inFolder("no-such-folder")));
    elsewhere.Petla();
    elsewhere.Str_Petla();
    elsewhere.Liga_Petla();
    QCOMPARE(host_.appended.size(), std::size_t(4 * 19));
}

void IniTest::emptyCatalogueAddsNothing() {
    QVERIFY(writeFile(inFolder("Setting/ID_Name_League.ini"), QByteArray()));
    QVERIFY(writeFile(inFolder("Setting/Structure.ini"), "a,b\r\n\"unclosed\r\n"));
    Ini ini(host_, fsPath(dir_->path()));
    ini.Str_Petla();
    ini.Liga_Petla();
    QVERIFY(host_.itemsOf("Combo14").empty());
    QCOMPARE(host_.itemsOf("List1"), (std::vector<std::string>{"a", "b"}));
}

void IniTest::config_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("nazwaExe");
    QTest::newRow("two lines") << QByteArray("; Kelvory\r\nGame.exe\r\n") << QStringLiteral("Game.exe");
    QTest::newRow("three lines, only line 2 counts")
        << QByteArray("first\r\nGame.exe\r\nOther.exe\r\n") << QStringLiteral("Game.exe");
    QTest::newRow("LF line ends") << QByteArray("first\nGame.exe\nx\n") << QStringLiteral("Game.exe");
    QTest::newRow("CR line ends") << QByteArray("first\rGame.exe\rx\r") << QStringLiteral("Game.exe");
    QTest::newRow("line 2 without a line end") << QByteArray("first\r\nGame.exe") << QStringLiteral("Game.exe");
    QTest::newRow("empty line 1") << QByteArray("\r\nGame.exe\r\n") << QStringLiteral("Game.exe");
    QTest::newRow("empty line 2") << QByteArray("first\r\n\r\nx\r\n") << QString();
    QTest::newRow("empty line 2 at the end") << QByteArray("first\r\n\r\n") << QString();
    QTest::newRow("blanks kept") << QByteArray("first\r\n  My Game.exe \t\r\n") << QStringLiteral("  My Game.exe \t");
    QTest::newRow("commas and quotes kept") << QByteArray("first\r\n\"a,b\".exe\r\n") << QStringLiteral("\"a,b\".exe");
    QTest::newRow("backslashes kept") << QByteArray("first\r\nbin\\Game.exe\r\n") << QStringLiteral("bin\\Game.exe");
    QTest::newRow("code page decoded") << QByteArray("first\r\nJe\xFC.exe\r\n") << QStringLiteral("Je\u00FC.exe");
}

void IniTest::config() {
    QFETCH(QByteArray, content);
    QFETCH(QString, nazwaExe);
    QVERIFY(writeFile(inFolder("Leagues.ini"), content));
    host_.texts["Nazwa_Exe"] = "typed by the user";
    Ini ini(host_, fsPath(dir_->path()));
    const ConfigResult result = ini.Config();
    QVERIFY(result.ok());
    QVERIFY(result.message().empty());
    QCOMPARE(QString::fromStdString(host_.texts["Nazwa_Exe"]), nazwaExe);
}

void IniTest::configFailures_data() {
    QTest::addColumn<int>("kind");  // 0 missing, 1 folder, 2 file content
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("cause");
    QTest::newRow("missing") << 0 << QByteArray() << int(ConfigResult::Status::Missing) << QStringLiteral("not found");
    QTest::newRow("folder instead of file")
        << 1 << QByteArray() << int(ConfigResult::Status::Unreadable) << QStringLiteral("could not be read");
    QTest::newRow("empty file") << 2 << QByteArray() << int(ConfigResult::Status::TooShort)
                                << QStringLiteral("second line");
    QTest::newRow("one line with a line end")
        << 2 << QByteArray("Game.exe\r\n") << int(ConfigResult::Status::TooShort) << QStringLiteral("second line");
    QTest::newRow("one line without a line end")
        << 2 << QByteArray("Game.exe") << int(ConfigResult::Status::TooShort) << QStringLiteral("second line");
}

void IniTest::configFailures() {
    QFETCH(int, kind);
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QFETCH(QString, cause);
    if (kind == 1) {
        QVERIFY(QDir(dir_->path()).mkpath("Leagues.ini"));
    } else if (kind == 2) {
        QVERIFY(writeFile(inFolder("Leagues.ini"), content));
    }
    host_.texts["Nazwa_Exe"] = "Earlier.exe";
    Ini ini(host_, fsPath(dir_->path()));
    const ConfigResult result = ini.Config();
    QVERIFY(!result.ok());
    QCOMPARE(int(result.status), status);
    QCOMPARE(result.file, ini.leaguesIniPath());
    const QString message = QString::fromStdString(result.message());
    QVERIFY2(message.contains(QString::fromStdString(ini.leaguesIniPath().u8string())), qPrintable(message));
    QVERIFY2(message.contains(cause), qPrintable(message));
    QCOMPARE(host_.texts["Nazwa_Exe"], str("Earlier.exe"));
}

void IniTest::programPathJoinsAsWritten_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("plain name") << QStringLiteral("prog") << QStringLiteral("Leagues.ini")
                                << QStringList{"prog", "Leagues.ini"};
    QTest::newRow("backslash separates") << QStringLiteral("prog") << QStringLiteral("Setting\\Structure.ini")
                                         << QStringList{"prog", "Setting", "Structure.ini"};
    QTest::newRow("folder ending in a separator")
        << QStringLiteral("prog/") << QStringLiteral("Setting\\a.ini") << QStringList{"prog", "Setting", "a.ini"};
    QTest::newRow("blanks kept") << QStringLiteral("prog") << QStringLiteral(" My Game.exe ")
                                 << QStringList{"prog", " My Game.exe "};
    QTest::newRow("non-ASCII") << QStringLiteral("Gra\u017C") << QStringLiteral("Gr\u00E1\\g.exe")
                               << QStringList{"Gra\u017C", "Gr\u00E1", "g.exe"};
}

void IniTest::programPathJoinsAsWritten() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QStringList, parts);
    const QString base = dir_->path() + '/';
    std::filesystem::path expected = fsPath(base + parts.takeFirst());
    for (const QString& part : parts) {
        expected /= fsPath(part);
    }
    QCOMPARE(programPath(fsPath(base + folder), name.toStdString()), expected);
}

void IniTest::programPathFindsRealFiles() {
    QVERIFY(writeFile(inFolder("Setting/ID_Name_League.ini"), "x"));
    Ini ini(host_, fsPath(dir_->path() + '/'));
    QVERIFY(std::filesystem::is_regular_file(ini.namesCataloguePath()));
    QVERIFY(std::filesystem::is_directory(ini.namesCataloguePath().parent_path()));
}

void IniTest::indicators_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");  // empty: the caption stays as it was
    QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("unnamed_35.bin");
    QTest::newRow("1") << QStringLiteral("1") << QStringLiteral("unnamed_36.bin");
    QTest::newRow("5") << QStringLiteral("5") << QStringLiteral("unnamed_40.bin");
    QTest::newRow("10") << QStringLiteral("10") << QStringLiteral("unnamed_45.bin");
    QTest::newRow("29") << QStringLiteral("29") << QStringLiteral("unnamed_64.bin");
    QTest::newRow("30") << QStringLiteral("30") << QString();
    QTest::newRow("99") << QStringLiteral("99") << QString();
    QTest::newRow("leading zero") << QStringLiteral("05") << QString();
    QTest::newRow("minus one") << QStringLiteral("-1") << QString();
    QTest::newRow("plus sign") << QStringLiteral("+5") << QString();
    QTest::newRow("blank before") << QStringLiteral(" 5") << QString();
    QTest::newRow("blank after") << QStringLiteral("5 ") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("letters") << QStringLiteral("abc") << QString();
}

void IniTest::indicators() {
    QFETCH(QString, text);
    QFETCH(QString, caption);
    Ini ini(host_, fsPath(dir_->path()));
    for (int n = 1; n <= 7; ++n) {
        host_.captions["Label" + std::to_string(n + 1)] = "earlier";
        host_.members[29 + n] = text.toStdString();
    }
    ini.ClubUnnament1();
    ini.ClubUnnament2();
    ini.ClubUnnament3();
    ini.ClubUnnament4();
    ini.ClubUnnament5();
    ini.ClubUnnament6();
    ini.ClubUnnament7();
    const std::string expected = caption.isEmpty() ? "earlier" : caption.toStdString();
    for (int n = 1; n <= 7; ++n) {
        QCOMPARE(host_.captions["Label" + std::to_string(n + 1)], expected);
    }
    QCOMPARE(host_.captions.size(), std::size_t(7));
}

void IniTest::indicatorsAreIndependent() {
    Ini ini(host_, fsPath(dir_->path()));
    const std::vector<std::string> texts = {"0", "29", "30", "5", "", "05", "-1"};
    const std::vector<std::string> captions = {"unnamed_35.bin", "unnamed_64.bin", "design", "unnamed_40.bin",
                                               "design",         "design",         "design"};
    for (int n = 1; n <= 7; ++n) {
        host_.members[29 + n] = texts[n - 1];
    }
    host_.members[29] = "1";  // neighbours of the seven boxes are not read
    host_.members[37] = "2";
    for (int n = 1; n <= 7; ++n) {
        host_.captions["Label" + std::to_string(n + 1)] = "design";
    }
    for (int n = 1; n <= 7; ++n) {
        ini.ClubUnnament(n);
    }
    for (int n = 1; n <= 7; ++n) {
        QCOMPARE(host_.captions["Label" + std::to_string(n + 1)], captions[n - 1]);
    }
    // A later non-matching text leaves the last match in place.
    host_.members[30] = "31";
    ini.ClubUnnament1();
    QCOMPARE(host_.captions["Label2"], str("unnamed_35.bin"));
    QCOMPARE(host_.captions.size(), std::size_t(7));
}

QTEST_MAIN(IniTest)
#include "IniTest.moc"
