// The record of the original values: its text, read strictly and written one
// way, and what a save notes in it. Expected texts are written out by hand.

#include <QtTest>
#include <numeric>

#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "platform/FileSystem.h"
#include "store/OriginalRecord.h"
#include "store/Sha256.h"

namespace {

const char* const kDate = "2026-12-06T23:15:39Z";
const QByteArray kRegions = "regions 15612412+52 15612464+52 15612516+47 15613072+20 15612712+28\n";

// A block of 199 bytes, all `hexByte`, as the record writes it, with its date.
QByteArray block(const char* hexByte) {
    return QByteArray(kDate) + " " + QByteArray(hexByte).repeated(199);
}

BlockSnapshot snapshot(std::uint8_t b) {
    BlockSnapshot s{kDate, {}};
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
    QString executables;   // the identity digits of the executables afterwards
    int newestOriginal;    // the fill byte of the newest executable's original afterwards
};

}  // namespace

Q_DECLARE_METATYPE(Noting)

class RecordTest : public QObject {
    Q_OBJECT

private slots:
    // The FIPS 180-4 example whose padding takes a second block (longer
    // inputs: SafeSaveTest compares an executable's identity).
    void sha256() {
        QCOMPARE(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
                 std::string("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"));
    }

    // A record with two executables, one carried over from another path,
    // history, the last write and an unfinished one, and paths with every
    // kind of byte the writer escapes.
    void text() {
        const OriginalRecord record{"/g/My \\Game\n\x1f\x7f.exe",
                                    {{identity(15613092, 'a'), snapshot(0x01), {snapshot(0x00)}},
                                     {identity(15613100, 'b'), snapshot(0xfe), {}, CarriedFrom{kDate, "/old\\\t.exe"}}},
                                    snapshot(0x07),
                                    snapshot(0x08)};
        const QByteArray expected =
            "kelvory-original-block 3\n"
            "path /g/My \\\\Game\\x0a\\x1f\\x7f.exe\n" +
            kRegions + "executable 15613092 " + QByteArray(64, 'a') + "\n" + "original " + block("01") +
            "\nbefore-save " + block("00") + "\nexecutable 15613100 " + QByteArray(64, 'b') + "\ncarried-from " +
            kDate + " /old\\\\\\x09.exe\noriginal " + block("fe") + "\nlast-written " + block("07") + "\nwriting " +
            block("08") + "\nend\n";
        QCOMPARE(QByteArray::fromStdString(recordText(record)), expected);
        QVERIFY(parseRecord(expected.toStdString()) == record);
    }

    // A file that cannot be put in place (a folder holds its name) is an
    // error, and its temporary file goes.
    void replacingWhereAFolderStands() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("taken/inside"));
        QVERIFY_THROWS_EXCEPTION(FileError,
                                 platform::writeFileReplacing(testfiles::fsPath(dir.filePath("taken")), "x", false));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"taken"});
    }

    // Records of the earlier formats are still read: the first (one
    // executable), the second (no carried-from lines).
    void earlierFormats() {
        const OriginalRecord expected{
            "/g.exe", {{identity(15613092, 'c'), snapshot(0x01), {snapshot(0x02)}}}, snapshot(0x03), std::nullopt};
        const QByteArray rest =
            "original " + block("01") + "\nbefore-save " + block("02") + "\nlast-written " + block("03") + "\nend\n";
        const QByteArray first = "kelvory-original-block 1\npath /g.exe\nsize 15613092\nsha256-of-first-65536-bytes " +
                                 QByteArray(64, 'c') + "\n" + kRegions + rest;
        const QByteArray second = "kelvory-original-block 2\npath /g.exe\n" + kRegions + "executable 15613092 " +
                                  QByteArray(64, 'c') + "\n" + rest;
        QVERIFY(parseRecord(first.toStdString()) == expected);
        QVERIFY(parseRecord(second.toStdString()) == expected);
    }

    // Record files are read strictly: anything out of place is an error
    // naming the line, and each record has one way of being written.
    void damaged_data() {
        const QByteArray snap = block("ff");
        const QByteArray head =
            "kelvory-original-block 3\npath /g.exe\n" + kRegions + "executable 15613092 " + QByteArray(64, 'b') + "\n";
        const QByteArray good = head + "original " + snap + "\nend\n";
        const auto with = [&](const QByteArray& from, const QByteArray& to) {
            return QByteArray(good).replace(from, to);
        };
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");  // how the error starts
        const auto add = [](const char* name, const QByteArray& text, const char* error) {
            QTest::newRow(name) << text << QString(error);
        };
        const char* const hex = "line 5: hex digits 0-9 and a-f expected";
        const char* const sizeAndHash = "line 4: a size in bytes and 64 hex digits expected";
        const char* const backslash = "line 2: \"\\\\\" or \"\\xHH\" expected after a backslash in the path";
        add("empty", QByteArray(), "line 1: the record ends too early");
        add("format 4", with("block 3", "block 4"), "line 1: format 1, 2 or 3 expected");
        add("no end", good.chopped(4), "line 6: the record ends too early");
        add("after the end", good + "x\n", "line 7: nothing may follow \"end\"");
        add("last line unended", good.chopped(1), "line 6: the line has no end");
        add("no executable", with("executable", "executables"), "line 4: \"executable\" expected");
        add("upper-case hex", with("ffff", "FFFF"), hex);
        add("one bad digit, high", with(" ffff", " gfff"), hex);
        add("one bad digit, low", with(" ffff", " fgff"), hex);
        add("short block", with("ff\nend", "f\nend"), "line 5: a date and 398 hex digits expected");
        add("bad date", with("23:15:39Z", "23:15:3xZ"), "line 5: a date and 398 hex digits expected");
        add("NUL in path", with("/g.exe", QByteArray("/g\0.exe", 7)), "line 2: a control character in the path");
        add("unit separator in path", with("/g.exe", "/g\x1f.exe"), "line 2: a control character in the path");
        add("empty path", with("path /g.exe", "path "), "line 2: the path is empty");
        add("lone backslash", with("/g.exe", "/g\\.exe"), backslash);
        add("escaped blank", with("/g.exe", "/g\\x20.exe"), "line 2: \"\\xHH\" stands only for a control character");
        add("escape, one digit", with("/g.exe", "/g\\x1.exe"), backslash);
        add("size 0-led", with("executable 1", "executable 01"), sizeAndHash);
        add("size too long", with("15613092", "1234567890123456"), sizeAndHash);
        add("short hash", with(QByteArray(64, 'b'), QByteArray(63, 'b')), sizeAndHash);
        add("other regions", with("+20", "+21"), "line 3: the regions must be 15612412+52 15612464+52");
        QByteArray many = head + "original " + snap + "\n";
        for (int i = 0; i < 51; ++i)
            many += "before-save " + snap + "\n";
        add("51 history entries", many + "end\n", "line 56: more than 50 history entries");
        QByteArray executables = "kelvory-original-block 3\npath /g.exe\n" + kRegions;
        for (int i = 0; i < 17; ++i)
            executables += "executable 1 " + QByteArray(64, 'b') + "\noriginal " + snap + "\n";
        add("17 executables", executables + "end\n", "line 36: more than 16 executables");
        add("writing before last-written", with("end\n", "writing " + snap + "\nlast-written " + snap + "\nend\n"),
            "line 7: \"end\" expected");
        const QByteArray carried = "\ncarried-from " + QByteArray(kDate) + " /old.exe\noriginal";
        add("carried-from after the original", with("\nend", carried.chopped(9) + "\nend"), "line 6: \"end\" expected");
        add("carried-from in format 2", with("block 3", "block 2").replace("\noriginal", carried),
            "line 5: \"original\" expected");
        add("carried-from without a path", with("\noriginal", carried).replace(" /old.exe", " "),
            "line 5: a date and a path expected");
        add("carried-from with a bad date", with("\noriginal", carried).replace("39Z /old", "39 /old"),
            "line 5: a date and a path expected");
        add("carried-from with a control character", with("\noriginal", carried).replace("/old", "/o\tld"),
            "line 5: a control character in the path");
        add("first format: size 05", "kelvory-original-block 1\npath /g.exe\nsize 05\n",
            "line 3: a size in bytes expected");
        add("first format: no writing",
            "kelvory-original-block 1\npath /g.exe\nsize 5\nsha256-of-first-65536-bytes " + QByteArray(64, 'b') + "\n" +
                kRegions + "original " + snap + "\nwriting " + snap + "\nend\n",
            "line 7: \"end\" expected");
        add("too long", good + QByteArray(128 * 1024, '#'), "the record is longer than 131072 bytes");
    }
    void damaged() {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        try {
            parseRecord(text.toStdString());
            QFAIL("accepted");
        } catch (const RecordError& e) {
            QVERIFY2(QString::fromStdString(e.what()).startsWith(error), e.what());
        }
    }

    // What a save notes before it writes: a history entry for a known
    // executable (not twice the same bytes in a row; the newest 50 in all), a
    // first original for one it meets for the first time (16 executables at
    // most, the very first always kept).
    void noteBeforeSave_data() {
        QList<int> fifty(50);
        std::iota(fifty.begin(), fifty.end(), 1);
        rows<Noting>({
            {"first entry", {{}, 0, 'a', 2, {2}, "a", 1}},
            {"same as the original", {{}, 0, 'a', 1, {}, "a", 1}},
            {"same as the newest entry", {{2, 3}, 0, 'a', 3, {2, 3}, "a", 1}},
            {"same as an older entry", {{2, 3}, 0, 'a', 2, {2, 3, 2}, "a", 1}},
            {"the 51st drops the oldest", {fifty, 0, 'a', 99, fifty.mid(1) << 99, "a", 1}},
            {"a new executable", {{2}, 0, 'z', 9, {2}, "az", 9}},
            {"the 17th executable drops the second", {{2}, 15, 'z', 9, {2}, "acdefghijklmnopz", 9}},
        });
    }
    void noteBeforeSave() {
        QFETCH(Noting, row);
        OriginalRecord record;
        record.executables.push_back({identity(100, 'a'), snapshot(1), {}});
        for (int b : row.history)
            record.executables[0].history.push_back(snapshot(std::uint8_t(b)));
        for (int i = 0; i < row.extraExecutables; ++i)
            record.executables.push_back({identity(100, char('b' + i)), snapshot(0x70), {}});
        ::noteBeforeSave(record, identity(100, row.seen), snapshot(std::uint8_t(row.before)));
        QList<int> history;
        for (const BlockSnapshot& entry : record.executables[0].history)
            history << entry.bytes[0];
        QCOMPARE(history, row.after);
        QString met;
        for (const RecordedExecutable& executable : record.executables)
            met += QChar(executable.identity.headSha256[0]);
        QCOMPARE(met, row.executables);
        QCOMPARE(int(record.executables.back().original.bytes[0]), row.newestOriginal);
        QCOMPARE(record.executables[0].original.bytes[0], std::uint8_t(1));
    }
};

QTEST_GUILESS_MAIN(RecordTest)
#include "RecordTest.moc"
