#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <random>

#include "../common/FifoWatchdog.h"
#include "core/Baza.h"

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::u8path(path.toStdString());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

using Edit = std::function<void(Baza&)>;

}  // namespace

Q_DECLARE_METATYPE(Edit)

class BazaTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkpath("folder"));
        original_ = QByteArray(15613092, Qt::Uninitialized);
        std::mt19937 generator(20240611u);
        for (char& byte : original_)
            byte = static_cast<char>(generator() & 0xFF);
    }

    void init() { QVERIFY(writeAll(game(), original_)); }

    // Whole-file compare: only the edited bytes change, reserved bytes around
    // them survive (padding and empty texts: groupedSetters).
    void saveChangesOnlyTheEditedBytes_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no edit") << Edit([](Baza&) {}) << qint64(0) << QByteArray();
        QTest::newRow("Str1 -1") << Edit([](Baza& b) { b.setStr1(-1); }) << qint64(Baza::StrOffset)
                                 << QByteArray::fromHex("ffff");
        QTest::newRow("Cat1 cut to 11") << Edit([](Baza& b) { b.setCat1("category_070"); }) << qint64(Baza::CatOffset)
                                        << QByteArray("category_07");
    }

    void saveChangesOnlyTheEditedBytes() {
        QFETCH(Edit, edit);
        QFETCH(qint64, offset);
        QFETCH(QByteArray, bytes);
        Baza baza;
        load(baza);
        edit(baza);
        QVERIFY(baza.Zapisz(fsPath(game())));
        QVERIFY(readAll(game()) == QByteArray(original_).replace(offset, bytes.size(), bytes));
    }

    // A file that ends before the block still loads (zeros past its end), but
    // a save never grows it: it is refused with the size and the block's place.
    void saveWritesOnlyBytesThatExist_data() {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("shownLength");  // empty: the save goes ahead
        QTest::newRow("empty file") << qint64(0) << "0";
        QTest::newRow("ends inside Cat2") << qint64(15612531) << "15,612,531";
        QTest::newRow("one byte short") << qint64(15613091) << "15,613,091";
        QTest::newRow("ends with the block") << qint64(15613092) << "";
    }

    void saveWritesOnlyBytesThatExist() {
        QFETCH(qint64, length);
        QFETCH(QString, shownLength);
        const QByteArray before = original_.left(length);
        QVERIFY(writeAll(game(), before));
        Baza baza;
        load(baza);
        // The last map slot lies at the very end of the block.
        QCOMPARE(int(baza.unnamed3()), length == 15613092 ? int(static_cast<unsigned char>(original_.back())) : 0);
        if (length <= Baza::CatOffset + 24)
            QCOMPARE(baza.Cat3(), std::string(11, '\0'));
        if (shownLength.isEmpty()) {
            QVERIFY(baza.Zapisz(fsPath(game())));
        } else {
            try {
                baza.Zapisz(fsPath(game()));
                QFAIL("a short file was saved into");
            } catch (const SaveError& error) {
                QVERIFY(error.kind() == FileError::Kind::TooShort);
                const QString reason = QString::fromStdString(error.reason());
                QVERIFY2(reason.contains(" " + shownLength + " bytes"), qPrintable(reason));
                QVERIFY2(reason.contains("15,612,412 to 15,613,091"), qPrintable(reason));
            }
        }
        QVERIFY(readAll(game()) == before);
    }

    void recordOfNulBytesReadsAsNulCharacters() {
        QByteArray bytes = original_;
        bytes.replace(Baza::CatOffset, Baza::CatSize, QByteArray(Baza::CatSize, '\0'));
        QVERIFY(writeAll(game(), bytes));
        Baza baza;
        load(baza);
        const std::string nuls(11, '\0');
        QCOMPARE(baza.Cat1() + baza.Cat2() + baza.Cat3() + baza.Cat4(), nuls + nuls + nuls + nuls);
    }

    // The grouped setters refuse, changing nothing, until a block is loaded;
    // then every one works, only the map setter clamps, and the save puts each
    // table, reserved bytes kept, in its place.
    void groupedSetters() {
        Baza baza;
        Baza::Liga_Table liga;
        liga.fill(-5);
        Baza::Str_Table str;
        str.fill(-300);
        Baza::Map_Table map;
        map.fill(200);
        Baza::CatL_Table catL;
        catL.fill(0x01020304);
        for (const bool loaded : {false, true}) {
            if (loaded)
                load(baza);
            QCOMPARE(baza.Zmien_Dane(liga), loaded);
            QCOMPARE(baza.Zmien_DaneStr(str), loaded);
            QCOMPARE(baza.Zmien_DaneStruct_Category({"category_07", "abc", "", "fifteen letters"}), loaded);
            QCOMPARE(baza.Zmien_DaneMap(map), loaded);
            QCOMPARE(baza.Zmien_DaneStruct_CategoryL(catL), loaded);
            if (!loaded)
                QVERIFY(baza.Liga1() == 0 && baza.Str13() == 0 && baza.Cat4()[0] == '\0' && baza.Europe() == 0 &&
                        baza.CatL7() == 0);
        }
        for (int i = 0; i < Baza::MapCount; ++i)
            QCOMPARE(int(baza.map(i)), 10);
        baza.setEurope(200);  // the single-slot setter does not clamp
        QCOMPARE(int(baza.Europe()), 200);
        QVERIFY(baza.Zapisz(fsPath(game())));

        QByteArray expected = original_;
        for (int i = 0; i < 13; ++i) {
            expected.replace(Baza::LigaOffset + 4 * i, 4, QByteArray::fromHex("fbffffff"));  // -5
            expected.replace(Baza::StrOffset + 4 * i, 2, QByteArray::fromHex("d4fe"));       // -300
        }
        expected.replace(Baza::CatOffset, 11, "category_07");
        expected.replace(Baza::CatOffset + 12, 11, "abc        ");
        expected.replace(Baza::CatOffset + 24, 11, QByteArray(11, ' '));
        expected.replace(Baza::CatOffset + 36, 11, "fifteen let");
        for (int i = 0; i < 7; ++i)
            expected.replace(Baza::CatLOffset + 4 * i, 4, QByteArray::fromHex("04030201"));
        expected.replace(Baza::MapOffset, 20, char(200) + QByteArray(19, char(10)));
        QVERIFY(readAll(game()) == expected);
    }

    void failedSecondLoadKeepsEarlierBlock_data() {
        QTest::addColumn<QString>("bad");
        QTest::newRow("folder") << dir_.filePath("folder");
        QTest::newRow("missing file") << dir_.filePath("missing.exe");
    }

    void failedSecondLoadKeepsEarlierBlock() {
        QFETCH(QString, bad);
        Baza baza;
        load(baza);
        baza.setLiga1(12345);
        QVERIFY(!baza.Wczytaj(fsPath(bad)));
        QVERIFY(baza.loaded());
        QCOMPARE(baza.Liga1(), 12345);
        QCOMPARE(baza.Cat2(), original_.mid(Baza::CatOffset + 12, 11).toStdString());
    }

    // Each refusal is an error the caller can tell apart, and none creates,
    // grows or touches a file.
    void saveFailureThrows_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("kind");
        QTest::newRow("empty path and empty Path") << QString() << int(FileError::Kind::NoName);
        QTest::newRow("folder") << dir_.filePath("folder") << int(FileError::Kind::NotAFile);
#ifdef Q_OS_WIN  // Windows reports a path through a file as not found
        QTest::newRow("below a file") << dir_.filePath("game.exe/inner.exe") << int(FileError::Kind::Missing);
#else
        QTest::newRow("below a file") << dir_.filePath("game.exe/inner.exe") << int(FileError::Kind::Failed);
#endif
    }

    void saveFailureThrows() {
        QFETCH(QString, target);
        QFETCH(int, kind);
        const std::filesystem::path path = fsPath(target);
        Baza baza;
        load(baza);
        try {
            baza.Zapisz(path);
            QFAIL("Zapisz returned instead of throwing");
        } catch (const SaveError& error) {
            QCOMPARE(int(error.kind()), kind);
            QCOMPARE(error.path(), path);
            QVERIFY(std::string(error.what()).find(path.u8string()) != std::string::npos);
        }
        QVERIFY(readAll(game()) == original_);
        QCOMPARE(QFileInfo::exists(target), kind == int(FileError::Kind::NotAFile));
    }

    // A symbolic link to the game file counts as the file itself.
    void linkToTheGameFile() {
#ifdef Q_OS_WIN
        QSKIP("making symbolic links needs extra rights on Windows");
#else
        const std::filesystem::path link = fsPath(dir_.filePath("link.exe"));
        std::filesystem::create_symlink(fsPath(game()), link);
        Baza baza;
        QVERIFY(baza.Wczytaj(link));
        baza.setLiga1(0x01020304);
        QVERIFY(baza.Zapisz(link));
        QVERIFY(std::filesystem::is_symlink(link));
        QVERIFY(readAll(game()) == QByteArray(original_).replace(Baza::LigaOffset, 4, QByteArray::fromHex("04030201")));
        std::filesystem::remove(link);
#endif
    }

    // A pipe in place of the game file: neither load nor save waits for a
    // writer or a reader, and neither counts it as the game.
    void pipeInPlaceOfTheGameFile() {
#ifdef Q_OS_WIN
        QSKIP("Windows folders hold no named pipes");
#else
        const std::filesystem::path pipe = fsPath(dir_.filePath("pipe.exe"));
        QVERIFY(makeFifo(pipe));
        Baza baza;
        bool loadedPipe = true;
        QVERIFY(finishesWithin(std::chrono::seconds(1), pipe, [&] { loadedPipe = baza.Wczytaj(pipe); }));
        QVERIFY(!loadedPipe);
        load(baza);
        int kind = -1;
        QVERIFY(finishesWithin(std::chrono::seconds(1), pipe, [&] {
            try {
                baza.Zapisz(pipe);
            } catch (const SaveError& error) {
                kind = int(error.kind());
            }
        }));
        QCOMPARE(kind, int(FileError::Kind::NotAFile));
        QVERIFY(std::filesystem::is_fifo(pipe));
#endif
    }

    void getStat() {
        for (const auto& [code, expected] : {std::pair{0, 0}, {10, 10}, {11, 10}, {255, 10}})
            QCOMPARE(int(Baza::Get_Stat(static_cast<std::uint8_t>(code))), expected);
    }

private:
    QString game() const {
        return dir_.filePath("game.exe");
    }
    void load(Baza& baza) {
        QVERIFY(baza.Wczytaj(fsPath(game())));
    }

    QTemporaryDir dir_;
    QByteArray original_;
};

QTEST_MAIN(BazaTest)
#include "BazaTest.moc"
