#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "core/Baza.h"

using testfiles::fsPath;
using testfiles::readFile;

namespace {

// Where the five tables lie in the game executable, 0-based, as the file
// layout gives them (the block's own constants are not trusted here).
constexpr qint64 kLiga = 15612412;
constexpr qint64 kStr = 15612464;
constexpr qint64 kCat = 15612516;
constexpr qint64 kCatL = 15612712;
constexpr qint64 kMap = 15613072;
constexpr qint64 kBlockEnd = 15613092;

// An edit, then `bytes` at `offset` of the file are all that differ.
struct Edited {
    void (*edit)(Baza&);
    qint64 offset;
    QByteArray bytes;
};

}  // namespace

Q_DECLARE_METATYPE(Edited)
Q_DECLARE_METATYPE(FileError::Kind)

class BazaTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkpath("folder"));
        original_ = testfiles::gameBytes();
    }

    void init() { QVERIFY(testfiles::writeGameFile(fsPath(game()))); }

    // Whole-file compare: only the edited bytes change, reserved bytes around
    // them survive (every table's encoding, padding and empty texts:
    // groupedSetters).
    void saveChangesOnlyTheEditedBytes_data() {
        rows<Edited>({
            {"no edit", {[](Baza&) {}, 0, {}}},
            {"Cat1 cut to 11", {[](Baza& b) { b.setCat1("category_070"); }, kCat, "category_07"}},
            {"unnamed3 9", {[](Baza& b) { b.setunnamed3(9); }, kBlockEnd - 1, "\x09"}},
        });
    }

    void saveChangesOnlyTheEditedBytes() {
        QFETCH(Edited, row);
        Baza baza;
        load(baza);
        row.edit(baza);
        QVERIFY(baza.Zapisz(fsPath(game())));
        QVERIFY(readFile(game()) == QByteArray(original_).replace(row.offset, row.bytes.size(), row.bytes));
    }

    // A file that ends before the block still loads (zeros past its end), but
    // a save never grows it: it is refused with the size and the block's place.
    void saveWritesOnlyBytesThatExist_data() {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("shownLength");  // empty: the save goes ahead
        QTest::newRow("one byte short") << qint64(15613091) << "15,613,091";
        QTest::newRow("ends with the block") << qint64(15613092) << "";
    }

    void saveWritesOnlyBytesThatExist() {
        QFETCH(qint64, length);
        QFETCH(QString, shownLength);
        QVERIFY(testfiles::writeGameFile(fsPath(game()), length));
        Baza baza;
        load(baza);
        // The last map slot is the very last byte of the block.
        QCOMPARE(int(baza.unnamed3()), length == kBlockEnd ? int(static_cast<unsigned char>(original_.back())) : 0);
        if (shownLength.isEmpty()) {
            QVERIFY(baza.Zapisz(fsPath(game())));
        } else {
            try {
                baza.Zapisz(fsPath(game()));
                QFAIL("a short file was saved into");
            } catch (const SaveError& error) {
                QCOMPARE(error.kind(), FileError::Kind::TooShort);
                QCOMPARE(QString::fromStdString(error.reason()),
                         "the file is " + shownLength +
                             " bytes long and ends before the league block, which lies at bytes 15,612,412 to "
                             "15,613,091 (counted from 0)");
            }
        }
        QVERIFY(readFile(game()) == original_.left(length));
    }

    // The grouped setters and the save refuse, changing nothing, until a block is loaded;
    // then every one works, only the map setter clamps, and the save puts each
    // table, reserved bytes kept, in its place.
    void groupedSetters() {
        const auto filled = [](auto table, auto value) {
            table.fill(value);
            return table;
        };
        Baza baza;
        for (const bool loaded : {false, true}) {
            if (loaded)
                load(baza);
            QCOMPARE(baza.Zmien_Dane(filled(Baza::Liga_Table(), -5)), loaded);
            QCOMPARE(baza.Zmien_DaneStr(filled(Baza::Str_Table(), -300)), loaded);
            QCOMPARE(baza.Zmien_DaneStruct_Category({"category_07", "abc", "", "fifteen letters"}), loaded);
            QCOMPARE(baza.Zmien_DaneMap(filled(Baza::Map_Table(), 200)), loaded);
            QCOMPARE(baza.Zmien_DaneStruct_CategoryL(filled(Baza::CatL_Table(), 0x01020304)), loaded);
            QVERIFY(loaded || baza.block() == Baza().block());
            QVERIFY(loaded || (!baza.Zapisz(fsPath(game())) && readFile(game()) == original_));
        }
        QCOMPARE(int(baza.Europe()), 10);  // the file below shows the other slots
        baza.setEurope(200);               // the single-slot setter does not clamp
        QCOMPARE(int(baza.Europe()), 200);
        QVERIFY(baza.Zapisz(fsPath(game())));

        QByteArray expected = original_;
        for (int i = 0; i < 13; ++i) {
            expected.replace(kLiga + 4 * i, 4, QByteArray::fromHex("fbffffff"));  // -5
            expected.replace(kStr + 4 * i, 2, QByteArray::fromHex("d4fe"));       // -300
        }
        expected.replace(kCat, 11, "category_07");
        expected.replace(kCat + 12, 11, "abc        ");
        expected.replace(kCat + 24, 11, QByteArray(11, ' '));
        expected.replace(kCat + 36, 11, "fifteen let");
        for (int i = 0; i < 7; ++i)
            expected.replace(kCatL + 4 * i, 4, QByteArray::fromHex("04030201"));
        expected.replace(kMap, 20, char(200) + QByteArray(19, char(10)));
        QVERIFY(readFile(game()) == expected);
    }

    // A load that fails says why, and leaves an earlier block, and the loaded
    // flag, as they were; a later load that works clears the reason.
    void failedLoadSaysWhyAndKeepsTheBlock_data() {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<FileError::Kind>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty path") << QString() << FileError::Kind::NoName << "no file name was given";
        QTest::newRow("below a file") << dir_.filePath("game.exe/inner.exe") << FileError::Kind::Missing
                                      << "the file does not exist";
        QTest::newRow("folder") << dir_.filePath("folder") << FileError::Kind::NotAFile
                                << "it is not a regular file but a folder, a pipe or a device";
#ifdef Q_OS_LINUX
        // A kernel file that opens like any file but refuses reads at offsets
        // that are not a multiple of 8; the first table starts at 15,612,412.
        QTest::newRow("unreadable") << "/proc/self/pagemap" << FileError::Kind::Failed
                                    << "cannot read the file (Invalid argument)";
#endif
    }

    void failedLoadSaysWhyAndKeepsTheBlock() {
        QFETCH(QString, bad);
        QFETCH(FileError::Kind, kind);
        QFETCH(QString, reason);
        const std::filesystem::path path = fsPath(bad);

        Baza fresh;
        QVERIFY(!fresh.Wczytaj(path));
        QVERIFY(!fresh.loaded());

        Baza baza;
        load(baza);
        baza.setLiga1(12345);
        std::optional<LoadError> why;
        QVERIFY(!baza.Wczytaj(path, why));
        QVERIFY(why.has_value());
        QCOMPARE(why->kind(), kind);
        QCOMPARE(QString::fromStdString(why->reason()), reason);
        QCOMPARE(why->path(), path);
        QVERIFY(baza.loaded());
        QCOMPARE(baza.Liga1(), 12345);

        QVERIFY(baza.Wczytaj(fsPath(game()), why));
        QVERIFY(!why.has_value());
        QCOMPARE(baza.Liga1(), qFromLittleEndian<qint32>(original_.constData() + kLiga));
    }

    // Each table's indexed getter and setter refuse an index outside it,
    // changing nothing.
    void indexesOutsideATableAreRefused() {
        Baza baza;
        const Baza::Block before = baza.block();
        const std::function<void(int)> uses[] = {[&](int i) { baza.liga(i); }, [&](int i) { baza.setLiga(i, 1); },
                                                 [&](int i) { baza.str(i); },  [&](int i) { baza.setStr(i, 1); },
                                                 [&](int i) { baza.cat(i); },  [&](int i) { baza.setCat(i, "a"); },
                                                 [&](int i) { baza.catL(i); }, [&](int i) { baza.setCatL(i, 1); },
                                                 [&](int i) { baza.map(i); },  [&](int i) { baza.setMap(i, 1); }};
        const int counts[] = {Baza::LigaCount, Baza::StrCount, Baza::CatCount, Baza::CatLCount, Baza::MapCount};
        for (int n = 0; n < 10; ++n) {
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, uses[n](counts[n / 2]));
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, uses[n](-1));
            uses[n](counts[n / 2] - 1);
        }
        QVERIFY(baza.block() != before);  // the last index of each table was in range
        QCOMPARE(baza.CatL7(), 1);
    }

    // Map codes above 10, the highest, count as 10.
    void getStat() {
        for (const auto& [code, clamped] : {std::pair{0, 0}, {10, 10}, {11, 10}, {255, 10}})
            QCOMPARE(int(Baza::Get_Stat(static_cast<std::uint8_t>(code))), clamped);
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
