#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
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
        for (char& byte : original_) {
            byte = static_cast<char>(generator() & 0xFF);
        }
    }

    void init() { QVERIFY(writeAll(game(), original_)); }

    // Whole-file compare: only the edited bytes change, reserved bytes around them survive.
    void saveChangesOnlyTheEditedBytes_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no edit") << Edit([](Baza&) {}) << qint64(0) << QByteArray();
        QTest::newRow("Str1 -1") << Edit([](Baza& b) { b.setStr1(-1); }) << qint64(Baza::StrOffset)
                                 << QByteArray::fromHex("ffff");
        QTest::newRow("Cat1 cut to 11") << Edit([](Baza& b) { b.setCat1("category_070"); }) << qint64(Baza::CatOffset)
                                        << QByteArray("category_07");
        QTest::newRow("Cat2 padded") << Edit([](Baza& b) { b.setCat2("ab  "); }) << qint64(Baza::CatOffset + 12)
                                     << QByteArray("ab         ");
        QTest::newRow("Cat3 empty") << Edit([](Baza& b) { b.setCat3(""); }) << qint64(Baza::CatOffset + 24)
                                    << QByteArray(11, ' ');
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

    void shortFileLoadsZerosAndSaveExtends() {
        const qint64 length = Baza::CatOffset + 15;
        QVERIFY(writeAll(game(), original_.left(length)));
        Baza baza;
        load(baza);
        QCOMPARE(baza.unnamed3(), std::uint8_t(0));
        QVERIFY(baza.Zapisz(fsPath(game())));
        QVERIFY(readAll(game()) == original_.left(length) + QByteArray(Baza::BlockEnd - length, '\0'));
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

    void saveFailureThrows_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("empty path and empty Path") << QString();
        QTest::newRow("unwritable target") << dir_.filePath("game.exe/inner.exe");
    }

    void saveFailureThrows() {
        QFETCH(QString, target);
        const std::filesystem::path path = fsPath(target);
        Baza baza;
        load(baza);
        try {
            baza.Zapisz(path);
            QFAIL("Zapisz returned instead of throwing");
        } catch (const SaveError& error) {
            QCOMPARE(error.path(), path);
            QVERIFY(std::string(error.what()).find(path.u8string()) != std::string::npos);
        }
        QVERIFY(readAll(game()) == original_);
    }

    void bulkSettersRefuseBeforeLoad() {
        Baza baza;
        baza.setLiga1(5);
        Baza::Liga_Table liga;
        liga.fill(1);
        Baza::Map_Table map;
        map.fill(4);
        QVERIFY(!baza.Zmien_Dane(liga));
        QVERIFY(!baza.Zmien_DaneStr(Baza::Str_Table{}));
        QVERIFY(!baza.Zmien_DaneStruct_Category({"p", "q", "r", "s"}));
        QVERIFY(!baza.Zmien_DaneMap(map));
        QVERIFY(!baza.Zmien_DaneStruct_CategoryL(Baza::CatL_Table{}));
        QCOMPARE(baza.Liga1(), 5);
        QCOMPARE(baza.Europe(), std::uint8_t(0));
        load(baza);
        QVERIFY(baza.Zmien_Dane(liga));
        QCOMPARE(baza.Liga13(), 1);
    }

    void getStat_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("expected");
        for (const auto& [code, expected] : {std::pair{0, 0}, {10, 10}, {11, 10}, {255, 10}}) {
            QTest::addRow("%d", code) << code << expected;
        }
    }

    void getStat() {
        QFETCH(int, code);
        QFETCH(int, expected);
        QCOMPARE(int(Baza::Get_Stat(static_cast<std::uint8_t>(code))), expected);
    }

private:
    QString game() const { return dir_.filePath("game.exe"); }
    void load(Baza& baza) { QVERIFY(baza.Wczytaj(fsPath(game()))); }

    QTemporaryDir dir_;
    QByteArray original_;
};

QTEST_MAIN(BazaTest)
#include "BazaTest.moc"
