#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <map>
#include <random>

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

// One accessor edit and the bytes (hex) it must leave at `offset`.
struct FieldEdit {
    std::function<void(Baza&)> apply;
    qint64 offset;
    QByteArray bytes;
};

const std::map<QByteArray, FieldEdit> kEdits = {
    {"Liga1", {[](Baza& b) { b.setLiga1(0x01020304); }, Baza::LigaOffset, QByteArray::fromHex("04030201")}},
    {"Liga13", {[](Baza& b) { b.setLiga13(-2); }, Baza::LigaOffset + 48, QByteArray::fromHex("feffffff")}},
    {"Str1 -1", {[](Baza& b) { b.setStr1(-1); }, Baza::StrOffset, QByteArray::fromHex("ffff")}},
    {"Str13", {[](Baza& b) { b.setStr13(-32768); }, Baza::StrOffset + 48, QByteArray::fromHex("0080")}},
    {"Cat2", {[](Baza& b) { b.setCat2("abc"); }, Baza::CatOffset + 12, "abc        "}},
    {"Cat1 12 is cut", {[](Baza& b) { b.setCat1("category_070"); }, Baza::CatOffset, "category_07"}},
    {"Cat3 empty", {[](Baza& b) { b.setCat3(""); }, Baza::CatOffset + 24, "           "}},
    {"Cat4 trailing blanks", {[](Baza& b) { b.setCat4("ab  "); }, Baza::CatOffset + 36, "ab         "}},
    {"Cat4", {[](Baza& b) { b.setCat4("category_18"); }, Baza::CatOffset + 36, "category_18"}},
    {"CatL7", {[](Baza& b) { b.setCatL7(-1); }, Baza::CatLOffset + 24, QByteArray::fromHex("ffffffff")}},
    {"Europe", {[](Baza& b) { b.setEurope(200); }, Baza::MapOffset, QByteArray::fromHex("c8")}},
    {"OtherLatinAmerican", {[](Baza& b) { b.setOtherLatinAmerican(10); }, Baza::MapOffset + 12, "\x0a"}},
    {"unnamed3", {[](Baza& b) { b.setunnamed3(255); }, Baza::MapOffset + 19, QByteArray::fromHex("ff")}},
};

}  // namespace

class BazaTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkpath("folder"));
        original_ = QByteArray(15613092, Qt::Uninitialized);
        std::mt19937 generator(20240611u);
        for (char& byte : original_) {
            byte = static_cast<char>(generator() & 0xFF);
        }
    }

    void init() { QVERIFY(writeAll(game(), original_)); }

    void roundTripChangesNoByte() {
        Baza baza;
        load(baza);
        QVERIFY(baza.loaded());
        QVERIFY(baza.Zapisz(fsPath(game())));
        QVERIFY(readAll(game()) == original_);
    }

    void fieldLandsAtItsOffset_data() {
        QTest::addColumn<QByteArray>("edit");
        for (const auto& [name, edit] : kEdits) {
            QTest::newRow(name.constData()) << name;
        }
    }

    void fieldLandsAtItsOffset() {
        QFETCH(QByteArray, edit);
        const FieldEdit& e = kEdits.at(edit);
        Baza baza;
        load(baza);
        e.apply(baza);
        QVERIFY(baza.Zapisz(fsPath(game())));
        QVERIFY(readAll(game()) == QByteArray(original_).replace(e.offset, e.bytes.size(), e.bytes));
    }

    void reservedBytesSurviveBulkEdits() {
        Baza baza;
        load(baza);
        QVERIFY(baza.Zmien_DaneStr(Baza::Str_Table{}));
        QVERIFY(baza.Zmien_DaneStruct_Category({"a", "b", "c", "d"}));
        QVERIFY(baza.Zapisz(fsPath(game())));
        QByteArray expected = original_;
        for (int i = 0; i < Baza::StrCount; ++i) {
            expected.replace(Baza::StrOffset + 4 * i, 2, QByteArray(2, '\0'));
        }
        for (int i = 0; i < Baza::CatCount; ++i) {
            expected.replace(Baza::CatOffset + 12 * i, 11, QByteArray(1, char('a' + i)) + QByteArray(10, ' '));
        }
        QVERIFY(readAll(game()) == expected);
    }

    void shortFileLoadsZerosAndSaveExtends_data() {
        QTest::addColumn<qint64>("length");
        QTest::newRow("empty file") << qint64(0);
        QTest::newRow("ends inside Liga") << qint64(Baza::LigaOffset + 10);
        QTest::newRow("ends inside Cat2") << qint64(Baza::CatOffset + 15);
        QTest::newRow("ends inside Map") << qint64(Baza::MapOffset + 5);
    }

    void shortFileLoadsZerosAndSaveExtends() {
        QFETCH(qint64, length);
        QVERIFY(writeAll(game(), original_.left(length)));
        Baza baza;
        load(baza);
        QCOMPARE(baza.unnamed3(), std::uint8_t(0));
        QVERIFY(baza.Zapisz(fsPath(game())));
        QVERIFY(readAll(game()) == original_.left(length) + QByteArray(Baza::BlockEnd - length, '\0'));
    }

    void failedLoadKeepsEarlierBlock_data() {
        QTest::addColumn<QString>("bad");
        QTest::newRow("folder") << dir_.filePath("folder");
        QTest::newRow("missing file") << dir_.filePath("missing.exe");
        QTest::newRow("empty path") << QString();
    }

    void failedLoadKeepsEarlierBlock() {
        QFETCH(QString, bad);
        Baza fresh;
        QVERIFY(!fresh.Wczytaj(fsPath(bad)));
        QVERIFY(!fresh.loaded());

        Baza baza;
        load(baza);
        baza.setLiga1(12345);
        QVERIFY(!baza.Wczytaj(fsPath(bad)));
        QVERIFY(baza.loaded());
        QCOMPARE(baza.Liga1(), 12345);

        // Saving to a new file writes the earlier block and zeros elsewhere.
        const QString target = dir_.filePath("copy.exe");
        QVERIFY(baza.Zapisz(fsPath(target)));
        QByteArray expected(Baza::BlockEnd, '\0');
        for (const auto& [offset, size] : {std::pair{Baza::LigaOffset, 52},
                                           {Baza::StrOffset, 52},
                                           {Baza::CatOffset, 47},
                                           {Baza::CatLOffset, 28},
                                           {Baza::MapOffset, 20}}) {
            expected.replace(offset, size, original_.mid(offset, size));
        }
        expected.replace(Baza::LigaOffset, 4, QByteArray::fromHex("39300000"));
        QVERIFY(readAll(target) == expected);
        QVERIFY(QFile::remove(target));
    }

    void saveFailureRaisesError_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("empty path and empty Path") << QString();
        QTest::newRow("parent is a regular file") << dir_.filePath("game.exe/inner.exe");
        QTest::newRow("inside a missing folder") << dir_.filePath("no-such-folder/game.exe");
        QTest::newRow("target is a folder") << dir_.filePath("folder");
    }

    void saveFailureRaisesError() {
        QFETCH(QString, target);
        const std::filesystem::path path = fsPath(target);
        Baza baza;
        load(baza);
        try {
            baza.Zapisz(path);
            QFAIL("Zapisz did not raise an error");
        } catch (const SaveError& error) {
            QCOMPARE(error.path(), path);
            QVERIFY(!error.reason().empty());
            QVERIFY(std::string(error.what()).find(path.u8string()) != std::string::npos);
        }
        QVERIFY(readAll(game()) == original_);
    }

    void emptyPathFallsBackToPath() {
        const QString target = dir_.filePath("fallback.exe");
        Baza baza;
        baza.setPath(fsPath(target));
        QVERIFY(!baza.Zapisz({}));  // nothing loaded yet
        QVERIFY(!QFile::exists(target));
        load(baza);
        baza.setPath(fsPath(target));
        QVERIFY(baza.Zapisz({}));
        QCOMPARE(readAll(target).mid(Baza::LigaOffset, 52), original_.mid(Baza::LigaOffset, 52));
        QVERIFY(QFile::remove(target));
    }

    void bulkSetters() {
        Baza baza;
        baza.setLiga1(5);
        baza.setAsia(8);
        Baza::Liga_Table liga;
        liga.fill(1);
        Baza::Str_Table str;
        str.fill(1);
        Baza::CatL_Table catL;
        catL.fill(1);
        Baza::Map_Table map;
        map.fill(200);
        map[0] = 4;
        QVERIFY(!baza.Zmien_Dane(liga));
        QVERIFY(!baza.Zmien_DaneStr(str));
        QVERIFY(!baza.Zmien_DaneStruct_Category({"p", "q", "r", "s"}));
        QVERIFY(!baza.Zmien_DaneMap(map));
        QVERIFY(!baza.Zmien_DaneStruct_CategoryL(catL));
        QCOMPARE(baza.Liga1(), 5);
        QCOMPARE(baza.Liga2(), 0);
        QCOMPARE(baza.Europe(), std::uint8_t(0));
        QCOMPARE(baza.Asia(), std::uint8_t(8));

        load(baza);
        QVERIFY(baza.Zmien_Dane(liga));
        QVERIFY(baza.Zmien_DaneStr(str));
        QVERIFY(baza.Zmien_DaneStruct_Category({"category_01", "ab", "0123456789ABCDEF", ""}));
        QVERIFY(baza.Zmien_DaneMap(map));
        QVERIFY(baza.Zmien_DaneStruct_CategoryL(catL));
        QCOMPARE(baza.Liga13(), 1);
        QCOMPARE(baza.Str13(), std::int16_t(1));
        QCOMPARE(baza.Cat2(), std::string("ab         "));
        QCOMPARE(baza.Cat3(), std::string("0123456789A"));
        QCOMPARE(baza.Cat4(), std::string(11, ' '));
        QCOMPARE(baza.CatL7(), 1);
        QCOMPARE(baza.Europe(), std::uint8_t(4));
        QCOMPARE(baza.map(Baza::MapCount - 1), std::uint8_t(10));
    }

    void getStat_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("expected");
        for (const auto& [code, expected] : {std::pair{0, 0}, {9, 9}, {10, 10}, {11, 10}, {255, 10}}) {
            QTest::addRow("%d", code) << code << expected;
        }
    }

    void getStat() {
        QFETCH(int, code);
        QFETCH(int, expected);
        QCOMPARE(int(Baza::Get_Stat(static_cast<std::uint8_t>(code))), expected);
    }

    void nulTextsComeBackUntrimmed() {
        const std::string withNuls("ab\0\0cd   \0\0", 11);
        QByteArray bytes = original_;
        bytes.replace(Baza::CatOffset + 12, 11, QByteArray::fromStdString(withNuls));
        QVERIFY(writeAll(game(), bytes));
        Baza baza;
        load(baza);
        QCOMPARE(baza.Cat2(), withNuls);
        QVERIFY(baza.Zapisz(fsPath(game())));
        QVERIFY(readAll(game()) == bytes);
    }

private:
    QString game() const { return dir_.filePath("game.exe"); }
    void load(Baza& baza) { QVERIFY(baza.Wczytaj(fsPath(game()))); }

    QTemporaryDir dir_;
    QByteArray original_;
};

QTEST_MAIN(BazaTest)
#include "BazaTest.moc"
