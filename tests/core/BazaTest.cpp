#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <functional>
#include <random>

#include "core/Baza.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

constexpr qint64 kGameSize = 15613092;

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::u8path(path.toStdString());
}

QByteArray pseudoRandomBytes(qint64 size, unsigned seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    std::mt19937 generator(seed);
    for (qint64 i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(generator() & 0xFF);
    }
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values) {
        bytes.append(static_cast<char>(v));
    }
    return bytes;
}

struct Region {
    qint64 offset;
    qint64 size;
};

const Region kRegions[] = {{Baza::LigaOffset, 52},
                           {Baza::StrOffset, 52},
                           {Baza::CatOffset, 47},
                           {Baza::CatLOffset, 28},
                           {Baza::MapOffset, 20}};

bool insideRegion(qint64 position) {
    for (const Region& r : kRegions) {
        if (position >= r.offset && position < r.offset + r.size) {
            return true;
        }
    }
    return false;
}

// One edit through a named accessor and the bytes it must leave in the file.
struct FieldEdit {
    const char* name;
    std::function<void(Baza&)> apply;
    qint64 offset;
    QByteArray bytes;
};

const std::vector<FieldEdit>& fieldEdits() {
    static const std::vector<FieldEdit> edits = {
        {"Liga1", [](Baza& b) { b.setLiga1(0x01020304); }, Baza::LigaOffset, bytesOf({4, 3, 2, 1})},
        {"Liga6", [](Baza& b) { b.setLiga6(7); }, Baza::LigaOffset + 20, bytesOf({7, 0, 0, 0})},
        {"Liga13", [](Baza& b) { b.setLiga13(-2); }, Baza::LigaOffset + 48, bytesOf({0xFE, 0xFF, 0xFF, 0xFF})},
        {"Str1 -1", [](Baza& b) { b.setStr1(-1); }, Baza::StrOffset, bytesOf({0xFF, 0xFF})},
        {"Str5", [](Baza& b) { b.setStr5(0x1234); }, Baza::StrOffset + 16, bytesOf({0x34, 0x12})},
        {"Str13", [](Baza& b) { b.setStr13(-32768); }, Baza::StrOffset + 48, bytesOf({0x00, 0x80})},
        {"Cat1", [](Baza& b) { b.setCat1("category_07"); }, Baza::CatOffset, QByteArray("category_07")},
        {"Cat2", [](Baza& b) { b.setCat2("abc"); }, Baza::CatOffset + 12, QByteArray("abc        ")},
        {"Cat4", [](Baza& b) { b.setCat4("category_18"); }, Baza::CatOffset + 36, QByteArray("category_18")},
        {"CatL1", [](Baza& b) { b.setCatL1(29); }, Baza::CatLOffset, bytesOf({29, 0, 0, 0})},
        {"CatL7", [](Baza& b) { b.setCatL7(-1); }, Baza::CatLOffset + 24, bytesOf({0xFF, 0xFF, 0xFF, 0xFF})},
        {"Europe", [](Baza& b) { b.setEurope(200); }, Baza::MapOffset, bytesOf({200})},
        {"OtherLatinAmerican", [](Baza& b) { b.setOtherLatinAmerican(10); }, Baza::MapOffset + 12, bytesOf({10})},
        {"unnamed3", [](Baza& b) { b.setunnamed3(255); }, Baza::MapOffset + 19, bytesOf({255})},
    };
    return edits;
}

}  // namespace

class BazaTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void roundTripChangesNoByte();
    void fieldLandsAtItsOffset_data();
    void fieldLandsAtItsOffset();
    void reservedBytesSurviveEdits();
    void hiddenMapSlotsSurviveWindowEdits();
    void shortFileLoadsZerosAndSaveExtends_data();
    void shortFileLoadsZerosAndSaveExtends();
    void missingTargetIsCreated();
    void failedLoadKeepsEarlierBlock_data();
    void failedLoadKeepsEarlierBlock();
    void saveFailureRaisesError_data();
    void saveFailureRaisesError();
    void readOnlyTargetRaisesError();
    void emptyPathFallsBackToPath();
    void saveBeforeLoadCreatesNothing();
    void bulkSettersRefuseBeforeLoad();
    void bulkSettersAfterLoad();
    void getStat_data();
    void getStat();
    void categoryFitting_data();
    void categoryFitting();
    void nulTextsComeBackUntrimmed();

private:
    QString gamePath() const { return dir_.filePath("game.exe"); }

    QTemporaryDir dir_;
    QByteArray original_;
};

void BazaTest::initTestCase() {
    QVERIFY(dir_.isValid());
    original_ = pseudoRandomBytes(kGameSize, 20240611u);
}

void BazaTest::init() {
    QVERIFY(writeAll(gamePath(), original_));
}

void BazaTest::roundTripChangesNoByte() {
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    QVERIFY(baza.loaded());
    QVERIFY(baza.Zapisz(fsPath(gamePath())));
    const QByteArray after = readAll(gamePath());
    QCOMPARE(after.size(), original_.size());
    QVERIFY(after == original_);
}

void BazaTest::fieldLandsAtItsOffset_data() {
    QTest::addColumn<int>("edit");
    for (std::size_t i = 0; i < fieldEdits().size(); ++i) {
        QTest::newRow(fieldEdits()[i].name) << static_cast<int>(i);
    }
}

void BazaTest::fieldLandsAtItsOffset() {
    QFETCH(int, edit);
    const FieldEdit& e = fieldEdits()[edit];
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    e.apply(baza);
    QVERIFY(baza.Zapisz(fsPath(gamePath())));

    QByteArray expected = original_;
    expected.replace(e.offset, e.bytes.size(), e.bytes);
    const QByteArray after = readAll(gamePath());
    QCOMPARE(after.size(), expected.size());
    for (qint64 i = Baza::LigaOffset; i < Baza::BlockEnd; ++i) {
        if (after.at(i) != expected[i]) {
            QFAIL(qPrintable(QStringLiteral("byte %1 differs").arg(i)));
        }
    }
    QVERIFY(after == expected);
}

void BazaTest::reservedBytesSurviveEdits() {
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    for (int i = 0; i < Baza::StrCount; ++i) {
        baza.setStr(i, static_cast<std::int16_t>(-1 - i));
    }
    QVERIFY(baza.Zmien_DaneStr(Baza::Str_Table{}));
    QVERIFY(baza.Zmien_DaneStruct_Category({"a", "b", "c", "d"}));
    QVERIFY(baza.Zapisz(fsPath(gamePath())));

    const QByteArray after = readAll(gamePath());
    for (int i = 0; i < Baza::StrCount; ++i) {
        const qint64 slot = Baza::StrOffset + 4 * i;
        QCOMPARE(after.mid(slot, 2), bytesOf({0, 0}));
        QCOMPARE(after.mid(slot + 2, 2), original_.mid(slot + 2, 2));
    }
    for (int i = 0; i < 3; ++i) {
        const qint64 reserved = Baza::CatOffset + 12 * i + 11;
        QCOMPARE(after[reserved], original_.at(reserved));
    }
}

void BazaTest::hiddenMapSlotsSurviveWindowEdits() {
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    // The window writes the thirteen slots it shows, and everything else.
    baza.setEurope(1);
    baza.setAfrica(2);
    baza.setAmerica(3);
    baza.setAsia(4);
    baza.setPrimerLeague(5);
    baza.setLigue1(6);
    baza.setSerieA(7);
    baza.setEredvisie(8);
    baza.setLigaBBVA(9);
    baza.setGameLeague(10);
    baza.setD2(0);
    baza.setOtherEuropean(1);
    baza.setOtherLatinAmerican(2);
    for (int i = 0; i < Baza::LigaCount; ++i) {
        baza.setLiga(i, i);
    }
    QVERIFY(baza.Zapisz(fsPath(gamePath())));

    const QByteArray after = readAll(gamePath());
    QCOMPARE(after.mid(Baza::MapOffset, 13), bytesOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1, 2}));
    QCOMPARE(after.mid(Baza::MapOffset + 13, 7), original_.mid(Baza::MapOffset + 13, 7));
    QCOMPARE(int(baza.Libertadores()), int(static_cast<std::uint8_t>(original_.at(Baza::MapOffset + 13))));
    QCOMPARE(int(baza.unnamed3()), int(static_cast<std::uint8_t>(original_.at(Baza::MapOffset + 19))));
}

void BazaTest::shortFileLoadsZerosAndSaveExtends_data() {
    QTest::addColumn<qint64>("length");
    QTest::newRow("empty file") << qint64(0);
    QTest::newRow("ends inside LigaTable") << qint64(Baza::LigaOffset + 10);
    QTest::newRow("ends inside Cat2") << qint64(Baza::CatOffset + 15);
    QTest::newRow("ends between CatRecord and CatLTable") << qint64(Baza::CatOffset + 100);
    QTest::newRow("ends inside MapTable") << qint64(Baza::MapOffset + 5);
}

void BazaTest::shortFileLoadsZerosAndSaveExtends() {
    QFETCH(qint64, length);
    const QByteArray prefix = original_.left(length);
    QVERIFY(writeAll(gamePath(), prefix));

    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    if (length <= Baza::LigaOffset + 48) {
        QCOMPARE(baza.Liga13(), 0);
    }
    if (length <= Baza::CatOffset + 36) {
        QCOMPARE(baza.Cat4(), std::string(11, '\0'));
    }
    if (length <= Baza::MapOffset + 19) {
        QCOMPARE(baza.unnamed3(), std::uint8_t(0));
    }
    if (length <= Baza::CatLOffset + 24) {
        QCOMPARE(baza.CatL7(), 0);
    }

    QVERIFY(baza.Zapisz(fsPath(gamePath())));
    const QByteArray after = readAll(gamePath());
    QCOMPARE(after.size(), qint64(Baza::BlockEnd));
    QVERIFY(after.left(length) == prefix);
    for (qint64 i = length; i < after.size(); ++i) {
        if (after.at(i) != '\0') {
            QFAIL(qPrintable(QStringLiteral("byte %1 beyond the old end is not zero").arg(i)));
        }
    }
}

void BazaTest::missingTargetIsCreated() {
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    const QString target = dir_.filePath("new.exe");
    QVERIFY(!QFile::exists(target));
    QVERIFY(baza.Zapisz(fsPath(target)));

    const QByteArray created = readAll(target);
    QCOMPARE(created.size(), qint64(Baza::BlockEnd));
    for (qint64 i = 0; i < created.size(); ++i) {
        const char expected = insideRegion(i) ? original_.at(i) : '\0';
        if (created.at(i) != expected) {
            QFAIL(qPrintable(QStringLiteral("byte %1 is wrong").arg(i)));
        }
    }
}

void BazaTest::failedLoadKeepsEarlierBlock_data() {
    QTest::addColumn<QString>("badPath");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("missing file") << QStringLiteral("missing.exe");
    QTest::newRow("empty path") << QString();
}

void BazaTest::failedLoadKeepsEarlierBlock() {
    QFETCH(QString, badPath);
    QVERIFY(QDir(dir_.path()).mkpath("folder"));
    const QString bad = badPath.isEmpty() ? QString() : dir_.filePath(badPath);

    Baza fresh;
    QVERIFY(!fresh.Wczytaj(fsPath(bad)));
    QVERIFY(!fresh.loaded());

    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    baza.setLiga1(12345);
    const std::string cat2 = baza.Cat2();
    QVERIFY(!baza.Wczytaj(fsPath(bad)));
    QVERIFY(baza.loaded());
    QCOMPARE(baza.Liga1(), 12345);
    QCOMPARE(baza.Cat2(), cat2);

    // A later save writes the earlier block.
    const QString target = dir_.filePath("copy.exe");
    QVERIFY(baza.Zapisz(fsPath(target)));
    const QByteArray saved = readAll(target);
    QCOMPARE(saved.mid(Baza::LigaOffset, 4), bytesOf({0x39, 0x30, 0, 0}));
    QCOMPARE(saved.mid(Baza::CatOffset, 47), original_.mid(Baza::CatOffset, 47));
    QVERIFY(QFile::remove(target));
}

void BazaTest::saveFailureRaisesError_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("empty path and empty Path") << QString();
    QTest::newRow("parent is a regular file") << QStringLiteral("game.exe/inner.exe");
    QTest::newRow("inside a missing folder") << QStringLiteral("no-such-folder/game.exe");
    QTest::newRow("target is a folder") << QStringLiteral("folder");
}

void BazaTest::saveFailureRaisesError() {
    QFETCH(QString, target);
    QVERIFY(QDir(dir_.path()).mkpath("folder"));
    const std::filesystem::path path = target.isEmpty() ? std::filesystem::path() : fsPath(dir_.filePath(target));
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    try {
        baza.Zapisz(path);
        QFAIL("Zapisz did not raise an error");
    } catch (const SaveError& error) {
        QCOMPARE(error.path(), path);
        QVERIFY(!error.reason().empty());
        QVERIFY(std::string(error.what()).find(path.u8string()) != std::string::npos);
    }
    QVERIFY(readAll(gamePath()) == original_);
}

void BazaTest::readOnlyTargetRaisesError() {
#ifndef _WIN32
    if (::geteuid() == 0) {
        QSKIP("running as root: a read-only file can still be written");
    }
#endif
    QFile::setPermissions(gamePath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    QVERIFY_THROWS_EXCEPTION(SaveError, baza.Zapisz(fsPath(gamePath())));
    QFile::setPermissions(gamePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(readAll(gamePath()) == original_);
}

void BazaTest::emptyPathFallsBackToPath() {
    const QString target = dir_.filePath("fallback.exe");
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    baza.setPath(fsPath(target));
    QCOMPARE(baza.Path(), fsPath(target));
    QVERIFY(baza.Zapisz({}));
    QCOMPARE(readAll(target).mid(Baza::LigaOffset, 52), original_.mid(Baza::LigaOffset, 52));
    QVERIFY(QFile::remove(target));
}

void BazaTest::saveBeforeLoadCreatesNothing() {
    const QString target = dir_.filePath("never.exe");
    Baza baza;
    baza.setPath(fsPath(target));
    QVERIFY(!baza.Zapisz(fsPath(target)));
    QVERIFY(!baza.Zapisz({}));
    QVERIFY(!QFile::exists(target));
}

void BazaTest::bulkSettersRefuseBeforeLoad() {
    Baza baza;
    // Accessors work before a load; bulk setters do not.
    baza.setLiga1(5);
    baza.setStr2(6);
    baza.setCat3("x");
    baza.setCatL4(7);
    baza.setAsia(8);
    Baza::Liga_Table liga;
    liga.fill(1);
    Baza::Str_Table str;
    str.fill(1);
    Baza::CatL_Table catL;
    catL.fill(1);
    Baza::Map_Table map;
    map.fill(1);
    QVERIFY(!baza.Zmien_Dane(liga));
    QVERIFY(!baza.Zmien_DaneStr(str));
    QVERIFY(!baza.Zmien_DaneStruct_Category({"p", "q", "r", "s"}));
    QVERIFY(!baza.Zmien_DaneMap(map));
    QVERIFY(!baza.Zmien_DaneStruct_CategoryL(catL));
    QCOMPARE(baza.Liga1(), 5);
    QCOMPARE(baza.Liga2(), 0);
    QCOMPARE(baza.Str2(), std::int16_t(6));
    QCOMPARE(baza.Cat3(), std::string("x          "));
    QCOMPARE(baza.Cat1(), std::string(11, '\0'));
    QCOMPARE(baza.CatL4(), 7);
    QCOMPARE(baza.Asia(), std::uint8_t(8));
    QCOMPARE(baza.Europe(), std::uint8_t(0));

    // A load overwrites what the accessors stored.
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    QCOMPARE(int(baza.Asia()), int(static_cast<std::uint8_t>(original_.at(Baza::MapOffset + 3))));
}

void BazaTest::bulkSettersAfterLoad() {
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    Baza::Liga_Table liga;
    Baza::Str_Table str;
    Baza::CatL_Table catL;
    for (int i = 0; i < 13; ++i) {
        liga[i] = 100 + i;
        str[i] = static_cast<std::int16_t>(-i);
    }
    for (int i = 0; i < 7; ++i) {
        catL[i] = i * 3;
    }
    Baza::Map_Table map;
    map.fill(200);
    map[0] = 4;
    QVERIFY(baza.Zmien_Dane(liga));
    QVERIFY(baza.Zmien_DaneStr(str));
    QVERIFY(baza.Zmien_DaneStruct_Category({"category_01", "ab", "0123456789ABCDEF", ""}));
    QVERIFY(baza.Zmien_DaneMap(map));
    QVERIFY(baza.Zmien_DaneStruct_CategoryL(catL));

    QCOMPARE(baza.Liga1(), 100);
    QCOMPARE(baza.Liga13(), 112);
    QCOMPARE(baza.Str13(), std::int16_t(-12));
    QCOMPARE(baza.Cat1(), std::string("category_01"));
    QCOMPARE(baza.Cat2(), std::string("ab         "));
    QCOMPARE(baza.Cat3(), std::string("0123456789A"));
    QCOMPARE(baza.Cat4(), std::string(11, ' '));
    QCOMPARE(baza.CatL7(), 18);
    QCOMPARE(baza.Europe(), std::uint8_t(4));
    for (int i = 1; i < Baza::MapCount; ++i) {
        QCOMPARE(baza.map(i), std::uint8_t(10));
    }
    // The single-slot setter does not clamp.
    baza.setEurope(200);
    QCOMPARE(baza.Europe(), std::uint8_t(200));
}

void BazaTest::getStat_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("expected");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("9") << 9 << 9;
    QTest::newRow("10") << 10 << 10;
    QTest::newRow("11") << 11 << 10;
    QTest::newRow("128") << 128 << 10;
    QTest::newRow("255") << 255 << 10;
}

void BazaTest::getStat() {
    QFETCH(int, code);
    QFETCH(int, expected);
    QCOMPARE(int(Baza::Get_Stat(static_cast<std::uint8_t>(code))), expected);
}

void BazaTest::categoryFitting_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("exactly 11") << QByteArray("category_07") << QByteArray("category_07");
    QTest::newRow("short is padded") << QByteArray("abc") << QByteArray("abc        ");
    QTest::newRow("15 is cut") << QByteArray("category_07_xyz") << QByteArray("category_07");
    QTest::newRow("12 is cut") << QByteArray("category_070") << QByteArray("category_07");
    QTest::newRow("empty") << QByteArray() << QByteArray("           ");
    QTest::newRow("trailing blanks kept") << QByteArray("ab  ") << QByteArray("ab         ");
}

void BazaTest::categoryFitting() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, stored);
    const std::string expected = stored.toStdString();
    Baza baza;
    baza.setCat1(text.toStdString());
    baza.setCat4(text.toStdString());
    QCOMPARE(baza.Cat1(), expected);
    QCOMPARE(baza.Cat4(), expected);
    QCOMPARE(baza.Cat2(), std::string(11, '\0'));
}

void BazaTest::nulTextsComeBackUntrimmed() {
    QByteArray bytes = original_;
    bytes.replace(Baza::CatOffset, 11, QByteArray(11, '\0'));
    bytes.replace(Baza::CatOffset + 12, 11, QByteArray("ab\0\0cd   \0\0", 11));
    QVERIFY(writeAll(gamePath(), bytes));
    Baza baza;
    QVERIFY(baza.Wczytaj(fsPath(gamePath())));
    QCOMPARE(baza.Cat1(), std::string(11, '\0'));
    QCOMPARE(baza.Cat2(), std::string("ab\0\0cd   \0\0", 11));
    QVERIFY(baza.Zapisz(fsPath(gamePath())));
    QVERIFY(readAll(gamePath()) == bytes);
}

QTEST_MAIN(BazaTest)
#include "BazaTest.moc"
