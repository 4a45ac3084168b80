#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "FakeIniHost.h"
#include "catalogues/Ini.h"

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

    void strPetlaFillsThirteenIdenticalLists() {
        QVERIFY(writeFile(inFolder("Setting/ID_Name_League.ini"),
                          "0,Northland\r\n1,\"Harbour City, FC\"\r\n\r\n2,Jos\xE9\r\n"));
        Ini(host_, fsPath(dir_->path())).Str_Petla();
        const Items expected = {"0", "Northland", "1", "Harbour City, FC", "", "2", "Jos\xC3\xA9"};
        QCOMPARE(host_.appended.size(), expected.size() * 13);
        // Each item goes to Combo14 .. Combo26 before the next is read.
        for (std::size_t i = 0; i < host_.appended.size(); ++i)
            QCOMPARE(host_.appended[i], std::make_pair("Combo" + std::to_string(14 + i % 13), expected[i / 13]));
    }

    void missingCatalogueAddsNothing() {
        Ini ini(host_, fsPath(dir_->path()));
        ini.Str_Petla();
        ini.Liga_Petla();
        QVERIFY(host_.appended.empty());
    }

    void config_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("nazwaExe");  // for a failure: a word of the message
        const int ok = int(ConfigResult::Status::Ok), tooShort = int(ConfigResult::Status::TooShort);
        QTest::newRow("three lines") << true << QByteArray("first\r\nGame.exe\r\nOther.exe\r\n") << ok << "Game.exe";
        QTest::newRow("empty line 2") << true << QByteArray("first\r\n\r\nx\r\n") << ok << "";
        QTest::newRow("blanks kept") << true << QByteArray("1\r\n  My Game.exe \t\r\n") << ok << "  My Game.exe \t";
        QTest::newRow("one line") << true << QByteArray("Game.exe\r\n") << tooShort << "second line";
        QTest::newRow("missing file") << false << QByteArray() << int(ConfigResult::Status::Missing) << "not found";
    }

    void config() {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QString, nazwaExe);
        QVERIFY(!exists || writeFile(inFolder("Leagues.ini"), content));
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
        QStringList got;
        for (const auto& [control, item] : host_.appended) {
            QCOMPARE(control, std::string("List1"));
            got << QString::fromStdString(item);
        }
        QCOMPARE(got, items);
    }

    // Line 2's bytes are the file name exactly as written (a mark on line 1
    // is no part of the file), split at backslashes; the box shows them readably.
    // The UTF-8 and code page 1252 names are found in frmMainTest (gameNamedOnLine2).
    void line2IsTheNameAsWritten() {
#ifdef Q_OS_WIN
        QSKIP("Windows file names are not bytes; there line 2 is read in code page 1252");
#else
        QVERIFY(writeFile(inFolder("Leagues.ini"), "\xEF\xBB\xBFx\r\nGame\\Gr\xC3\xA9.exe"));
        const std::filesystem::path folder = fsPath(dir_->path());
        const ConfigResult result = Ini(host_, folder).Config();
        QVERIFY(result.ok());
        QCOMPARE(QString::fromStdString(host_.texts["Nazwa_Exe"]), QStringLiteral("Game\\Gr\u00E9.exe"));
        QCOMPARE(QByteArray::fromStdString(result.gamePath.native()),
                 QByteArray::fromStdString(folder.native()) + "/Game/Gr\xC3\xA9.exe");
#endif
    }

    void indicators_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");  // empty: the caption stays as it was
        for (const auto& [text, caption] :
             {std::pair{"0", "unnamed_35.bin"}, {"5", "unnamed_40.bin"}, {"29", "unnamed_64.bin"}})
            QTest::newRow(text) << QString(text) << QString(caption);
        for (const char* text : {"30", "05", "-1", " 5", ""})
            QTest::addRow("'%s'", text) << QString(text) << QString();
    }

    void indicators() {
        QFETCH(QString, text);
        QFETCH(QString, caption);
        for (int n = 1; n <= 7; ++n) {
            host_.captions["Label" + std::to_string(n + 1)] = "earlier";
            host_.members[29 + n] = n == 7 ? "1" : text.toStdString();  // each box reads its own text
        }
        Ini ini(host_, fsPath(dir_->path()));
        for (int n = 1; n <= 7; ++n)
            ini.ClubUnnament(n);
        const std::string expected = caption.isEmpty() ? "earlier" : caption.toStdString();
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(host_.captions["Label" + std::to_string(n + 1)], expected);
        QCOMPARE(host_.captions["Label8"], std::string("unnamed_36.bin"));
        QCOMPARE(host_.captions.size(), std::size_t(7));
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
