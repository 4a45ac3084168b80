// The record of the original values: its text, read strictly and written one
// way, and what a save notes in it. Expected texts are written out by hand.

#include <QtTest>

#include "../common/Rows.h"
#include "store/OriginalRecord.h"
#include "store/Sha256.h"

namespace {

const QByteArray kRegions = "regions 15612412+52 15612464+52 15612516+47 15613072+20 15612712+28\n";

// A block of 199 bytes, all `b`, as the record writes it, with its date.
QByteArray block(const char* date, const char* hexByte) {
    return QByteArray(date) + " " + QByteArray(hexByte).repeated(199);
}

BlockSnapshot snapshot(const char* date, std::uint8_t b) {
    BlockSnapshot s{date, {}};
    s.bytes.fill(b);
    return s;
}

ExecutableIdentity identity(std::int64_t size, char digit) {
    return {size, std::string(64, digit)};
}

struct Noting {
    QList<int> history;    // before: the fill byte of each history entry, oldest first (one executable)
    int extraExecutables;  // before: further executables, each with an empty history
    char seen;             // the identity digit of the executable the save meets ('a' is the first)
    int before;            // the fill byte of the block before the save
    QList<int> after;      // the first executable's history afterwards
    int executables;       // executables afterwards
    int newestOriginal;    // the fill byte of the newest executable's original afterwards
};

}  // namespace

Q_DECLARE_METATYPE(Noting)

class RecordTest : public QObject {
    Q_OBJECT

private slots:
    // FIPS 180-4 examples, and lengths around the 64-byte block and its padding.
    void sha256_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("digest");
        QTest::newRow("empty") << QByteArray()
                               << QByteArray("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
        QTest::newRow("abc") << QByteArray("abc")
                             << QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        QTest::newRow("56 bytes, two padding blocks")
            << QByteArray("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")
            << QByteArray("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
        QTest::newRow("a million a") << QByteArray(1000000, 'a')
                                     << QByteArray("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    }
    void sha256() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, digest);
        QCOMPARE(QByteArray::fromStdString(sha256Hex(input.toStdString())), digest);
    }

    // A record with two executables, history, the last write and an
    // unfinished one, and a path with every kind of byte the writer escapes.
    void text() {
        OriginalRecord record;
        record.path = "/g/My \\Game\n\x1f\x7f.exe";
        record.executables.push_back({identity(15613092, 'a'), snapshot("2026-12-06T23:15:39Z", 0x01), {}});
        record.executables[0].history.push_back(snapshot("2026-12-07T01:02:03Z", 0x00));
        record.executables.push_back({identity(15613100, 'b'), snapshot("2026-12-08T00:00:00Z", 0xfe), {}});
        record.lastWritten = snapshot("2026-12-08T00:00:01Z", 0x07);
        record.writing = snapshot("2026-12-08T00:00:02Z", 0x08);
        const QByteArray expected =
            "kelvory-original-block 2\n"
            "path /g/My \\\\Game\\x0a\\x1f\\x7f.exe\n" +
            kRegions + "executable 15613092 " + QByteArray(64, 'a') + "\n" + "original " +
            block("2026-12-06T23:15:39Z", "01") + "\nbefore-save " + block("2026-12-07T01:02:03Z", "00") +
            "\nexecutable 15613100 " + QByteArray(64, 'b') + "\noriginal " + block("2026-12-08T00:00:00Z", "fe") +
            "\nlast-written " + block("2026-12-08T00:00:01Z", "07") + "\nwriting " +
            block("2026-12-08T00:00:02Z", "08") + "\nend\n";
        QCOMPARE(QByteArray::fromStdString(recordText(record)), expected);
        QVERIFY(parseRecord(expected.toStdString()) == record);
    }

    // Records of the first format (one executable) are still read.
    void firstFormat() {
        const QByteArray text =
            "kelvory-original-block 1\npath /g.exe\nsize 15613092\nsha256-of-first-65536-bytes " + QByteArray(64, 'c') +
            "\n" + kRegions + "original " + block("2026-12-06T23:15:39Z", "01") + "\nbefore-save " +
            block("2026-12-07T01:02:03Z", "02") + "\nlast-written " + block("2026-12-07T01:02:03Z", "03") + "\nend\n";
        const OriginalRecord record = parseRecord(text.toStdString());
        QCOMPARE(record.path, std::string("/g.exe"));
        QCOMPARE(record.executables.size(), std::size_t(1));
        QVERIFY(record.executables[0].identity == identity(15613092, 'c'));
        QVERIFY(record.executables[0].original == snapshot("2026-12-06T23:15:39Z", 0x01));
        QVERIFY(record.executables[0].history == std::vector<BlockSnapshot>{snapshot("2026-12-07T01:02:03Z", 0x02)});
        QVERIFY(record.lastWritten == snapshot("2026-12-07T01:02:03Z", 0x03));
        QVERIFY(!record.writing);
    }

    // Record files are read strictly: anything out of place is an error
    // naming the line, and each record has one way of being written.
    void damaged_data() {
        const QByteArray head =
            "kelvory-original-block 2\npath /g.exe\n" + kRegions + "executable 15613092 " + QByteArray(64, 'b') + "\n";
        const QByteArray good = head + "original " + block("2026-12-06T23:15:39Z", "ff") + "\nend\n";
        const auto with = [&](const QByteArray& from, const QByteArray& to) {
            return QByteArray(good).replace(from, to);
        };
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << "line 1: the record ends too early";
        QTest::newRow("format 3") << with("block 2", "block 3") << "line 1: format 1 or 2 expected";
        QTest::newRow("no end") << good.chopped(4) << "line 6: the record ends too early";
        QTest::newRow("after the end") << (good + "x\n") << "line 7: nothing may follow \"end\"";
        QTest::newRow("last line unended") << good.chopped(1) << "line 6: the line has no end";
        QTest::newRow("no executable") << with("executable", "executables") << "line 4: \"executable\" expected";
        QTest::newRow("upper-case hex") << with("ffff", "FFFF") << "line 5: hex digits 0-9 and a-f expected";
        QTest::newRow("one bad digit, high") << with(" ffff", " gfff") << "line 5: hex digits 0-9 and a-f expected";
        QTest::newRow("one bad digit, low") << with(" ffff", " fgff") << "line 5: hex digits 0-9 and a-f expected";
        QTest::newRow("short block") << with("ff\nend", "f\nend") << "line 5: a date and 398 hex digits expected";
        QTest::newRow("bad date") << with("23:15:39Z", "23:15:3xZ") << "line 5: a date and 398 hex digits expected";
        QTest::newRow("NUL in path") << with("/g.exe", QByteArray("/g\0.exe", 7))
                                     << "line 2: a control character in the path";
        QTest::newRow("unit separator in path")
            << with("/g.exe", "/g\x1f.exe") << "line 2: a control character in the path";
        QTest::newRow("lone backslash") << with("/g.exe", "/g\\.exe")
                                        << "line 2: \"\\\\\" or \"\\xHH\" expected after a backslash in the path";
        QTest::newRow("escaped blank") << with("/g.exe", "/g\\x20.exe")
                                       << "line 2: \"\\xHH\" stands only for a control character in the path";
        QTest::newRow("escape, one digit")
            << with("/g.exe", "/g\\x1.exe") << "line 2: \"\\\\\" or \"\\xHH\" expected after a backslash in the path";
        QTest::newRow("size 0-led") << with("executable 1", "executable 01")
                                    << "line 4: a size in bytes and 64 hex digits expected";
        QTest::newRow("size too long") << with("15613092", "1234567890123456")
                                       << "line 4: a size in bytes and 64 hex digits expected";
        QTest::newRow("short hash") << with(QByteArray(64, 'b'), QByteArray(63, 'b'))
                                    << "line 4: a size in bytes and 64 hex digits expected";
        QTest::newRow("other regions") << with("+20", "+21")
                                       << "line 3: the regions must be 15612412+52 15612464+52 15612516+47 "
                                          "15613072+20 15612712+28";
        QByteArray many = head + "original " + block("2026-12-06T23:15:39Z", "ff") + "\n";
        for (int i = 0; i < 51; ++i)
            many += "before-save " + block("2026-12-06T23:15:39Z", "ff") + "\n";
        QTest::newRow("51 history entries") << (many + "end\n") << "line 56: more than 50 history entries";
        QByteArray executables = "kelvory-original-block 2\npath /g.exe\n" + kRegions;
        for (int i = 0; i < 17; ++i)
            executables +=
                "executable 1 " + QByteArray(64, 'b') + "\noriginal " + block("2026-12-06T23:15:39Z", "ff") + "\n";
        QTest::newRow("17 executables") << (executables + "end\n") << "line 36: more than 16 executables";
        QTest::newRow("writing before last-written")
            << with("end\n", "writing " + block("2026-12-06T23:15:39Z", "01") + "\nlast-written " +
                                 block("2026-12-06T23:15:39Z", "01") + "\nend\n")
            << "line 7: \"end\" expected";
        QTest::newRow("first format: size 05")
            << QByteArray("kelvory-original-block 1\npath /g.exe\nsize 05\n") << "line 3: a size in bytes expected";
        QTest::newRow("first format: no writing")
            << ("kelvory-original-block 1\npath /g.exe\nsize 5\nsha256-of-first-65536-bytes " + QByteArray(64, 'b') +
                "\n" + kRegions + "original " + block("2026-12-06T23:15:39Z", "ff") + "\nwriting " +
                block("2026-12-06T23:15:39Z", "ff") + "\nend\n")
            << "line 7: \"end\" expected";
        QTest::newRow("too long") << (good + QByteArray(128 * 1024, '#')) << "the record is longer than 131072 bytes";
    }
    void damaged() {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        try {
            parseRecord(text.toStdString());
            QFAIL("accepted");
        } catch (const RecordError& e) {
            QCOMPARE(QString::fromStdString(e.what()), error);
        }
    }

    // What a save notes before it writes: a history entry for a known
    // executable (not twice the same bytes in a row; the newest 50 in all), a
    // first original for one it meets for the first time (16 executables at
    // most, the very first always kept).
    void noteBeforeSave_data() {
        QList<int> fifty;
        for (int i = 1; i <= 50; ++i)
            fifty << i;
        rows<Noting>({
            {"first entry", {{}, 0, 'a', 2, {2}, 1, 1}},
            {"same as the original", {{}, 0, 'a', 1, {}, 1, 1}},
            {"same as the newest entry", {{2, 3}, 0, 'a', 3, {2, 3}, 1, 1}},
            {"same as an older entry", {{2, 3}, 0, 'a', 2, {2, 3, 2}, 1, 1}},
            {"the 51st drops the oldest", {fifty, 0, 'a', 99, fifty.mid(1) << 99, 1, 1}},
            {"a new executable", {{2}, 0, 'z', 9, {2}, 2, 9}},
            {"the 17th executable drops the second", {{2}, 15, 'z', 9, {2}, 16, 9}},
        });
    }
    void noteBeforeSave() {
        QFETCH(Noting, row);
        OriginalRecord record;
        record.executables.push_back({identity(100, 'a'), snapshot("2026-01-01T00:00:00Z", 1), {}});
        for (int b : row.history)
            record.executables[0].history.push_back(snapshot("2026-01-02T00:00:00Z", std::uint8_t(b)));
        for (int i = 0; i < row.extraExecutables; ++i)
            record.executables.push_back({identity(100, char('b' + i)), snapshot("2026-01-03T00:00:00Z", 0x70), {}});
        const ExecutableIdentity second = row.extraExecutables ? record.executables[1].identity : ExecutableIdentity{};
        ::noteBeforeSave(record, identity(100, row.seen), snapshot("2026-02-01T00:00:00Z", std::uint8_t(row.before)));
        QList<int> history;
        for (const BlockSnapshot& entry : record.executables[0].history)
            history << entry.bytes[0];
        QCOMPARE(history, row.after);
        QCOMPARE(int(record.executables.size()), row.executables);
        QCOMPARE(int(record.executables.back().original.bytes[0]), row.newestOriginal);
        QCOMPARE(record.executables[0].original.bytes[0], std::uint8_t(1));
        if (row.extraExecutables == 15) {
            QVERIFY(!record.find(second));  // the second one met made way
        }
    }
};

QTEST_GUILESS_MAIN(RecordTest)
#include "RecordTest.moc"
