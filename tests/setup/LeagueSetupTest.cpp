#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "../common/FifoWatchdog.h"
#include "../common/TestFiles.h"
#include "BlockBytes.h"
#include "core/Baza.h"
#include "session/Messages.h"
#include "setup/LeagueSetup.h"
#include "store/SafeSave.h"

using namespace testfiles;
using blockbytes::plainValues;
using blockbytes::ShownValues;

namespace {

const QByteArray kVersion = "kelvory-league = 1\n";
const char* const kFile = "shared.kelvory-league";

// "Str7 6 -5": field name, line, value; a category's value is "x" and the hex
// of its 11 bytes.
QString describe(const SetupValue& value) {
    const QString shown = value.field->kind == FieldKind::Cat
                              ? QStringLiteral("x") + QString::fromLatin1(QByteArray::fromStdString(value.text).toHex())
                              : QString::number(value.number);
    return QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(value.field->name)).arg(value.line).arg(shown);
}

QString hexCat(const QByteArray& bytes) {
    return QStringLiteral("x") + QString::fromLatin1(bytes.toHex());
}

// The widest values every shown field can hold, and texts that need every
// kind of escape, NUL characters and code-page characters.
ShownValues widestValues() {
    ShownValues v;
    for (int i = 0; i < 13; ++i) {
        v.liga[i] = i % 2 ? 2147483647 : -2147483647 - 1;
        v.str[i] = static_cast<qint16>(i % 2 ? 32767 : -32768);
        v.map[i] = static_cast<quint8>(i % 2 ? 255 : 0);
    }
    v.cat = {QByteArray(11, '\0'), QByteArray("a\"b\\c\x81\x8d\xa0\xad\xff\x7f"),
             QByteArray("\x80\x9f\xe9\x01\x1f      ", 11), QByteArray("category_18")};
    for (int i = 0; i < 7; ++i)
        v.catL[i] = i % 2 ? -2147483647 - 1 : 2147483647;
    return v;
}

}  // namespace

class LeagueSetupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // What a file sets, by name, line and value, in the file's order.
    void readsWhatTheFileSays_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the window's words")
            << kVersion +
                   "National Slot, row 1 = -2147483648\n"
                   "Club Slot, row 9 = 2147483647\n"
                   "National Name, row 4 = -32768\n"
                   "Club Name, row 3 = 17\n"
                   "National Category Logo League u_1426.bin ->dt06.img, row 3 = \"category_07\"\n"
                   "Club Category Logo(dt04.img), row 7 = 29\n"
                   "Maps Load u_1426.bin ->dt06.img, row 13 = 255\n"
            << QStringList{"Liga1 2 -2147483648",
                           "Liga13 3 2147483647",
                           "Str2 4 -32768",
                           "Str7 5 17",
                           "Cat3 6 " + hexCat("category_07"),
                           "CatL7 7 29",
                           "OtherLatinAmerican 8 255"};
        QTest::newRow("field names, any case, comments, blanks, CR LF")
            << QByteArray(
                   "kelvory-league = 1\r\n# comment\r\n\r\n   ; another\r\nSTR7\t=\t-5\r\nliga13=007\r\n"
                   "  CatL1 = -0  \r\neUROPE = 10\r\n")
            << QStringList{"Str7 5 -5", "Liga13 6 7", "CatL1 7 0", "Europe 8 10"};
        QTest::newRow("byte-order mark, no final line end")
            << QByteArray("\xEF\xBB\xBFkelvory-league = 1\nCat1 = \"abc\"")
            << QStringList{"Cat1 2 " + hexCat("abc        ")};
        QTest::newRow("CR alone ends lines")
            << QByteArray("kelvory-league = 1\rStr1 = 3\r\rStr2 = 4") << QStringList{"Str1 2 3", "Str2 4 4"};
        QTest::newRow("escapes and code-page characters")
            << kVersion +
                   "Cat1 = \"\\x00\\x0a\\\"\\\\\xc3\xa9\xe2\x82\xac\"\n"
                   "Cat2 = \"\"\n"
                   "Cat3 = \"a=b#c;  \"\n"
                   "Cat4 = \"\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\xFf\\xa0\"\n"
            << QStringList{"Cat1 2 " + hexCat(QByteArray("\x00\x0a\"\\\xe9\x80     ", 11)),
                           "Cat2 3 " + hexCat("           "), "Cat3 4 " + hexCat("a=b#c;     "),
                           "Cat4 5 " + hexCat(QByteArray(9, '\0') + "\xff\xa0")};
        QTest::newRow("only the version line") << kVersion << QStringList{};
    }
    void readsWhatTheFileSays() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, expected);
        QStringList read;
        for (const SetupValue& value : parseSetup(content.toStdString(), kFile))
            read << describe(value);
        QCOMPARE(read, expected);
    }

    // Every kind of wrong file: nothing is read, and the message names the
    // file, the line and what is wrong.
    void refusesWithFileAndLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("what");
        const QString firstLine = "the first line must be \"kelvory-league = 1\", which marks a Kelvory league setup.";
        const QString notUtf8 = "the file is not UTF-8 text: this line holds bytes that are not UTF-8.";
        const QString cat1 = "National Category Logo League u_1426.bin ->dt06.img, row 1: ";
        const QString str7 = "Club Name, row 3: ";
        const QString int32 = " is outside -2147483648 to 2147483647.";
        const auto row = [](const char* name, const QByteArray& content, int line, const QString& what) {
            QTest::newRow(name) << content << line << what;
        };
        // The version line.
        row("no version line", "Str1 = 3\n", 1, firstLine);
        row("version 2", "kelvory-league = 2\n", 1, "format version 2 is not supported: this Kelvory reads version 1.");
        // Not text.
        row("NUL byte", kVersion + QByteArray("# ok\nStr1 = 3\0\n", 15), 3,
            "the file is not text: it holds a NUL byte.");
        row("code page 1252, not UTF-8", kVersion + "Cat1 = \"caf\xe9\"\n", 2, notUtf8);
        // Names.
        row("unknown box", kVersion + "Club Nam, row 3 = 1\n", 2,
            "unknown box \"Club Nam, row 3\": name a box as the window does (\"Club Name, row 3\") or by its field "
            "name (\"Str7\").");
        row("row outside its frame", kVersion + "Club Name, row 10 = 1\n", 2,
            "unknown box \"Club Name, row 10\": the frame \"Club Name\" has rows 1 to 9.");
        row("hidden map slot, other case", kVersion + "UNNAMED3 = 0\n", 2,
            "unnamed3 is a map slot that the window does not show; a league setup never changes it.");
        row("section", kVersion + "[Club Name]\n", 2,
            "a league setup has no sections: name each box on a line of its own.");
        row("no equals sign", kVersion + "Str1 3\n", 2,
            "expected \"box = value\", a comment starting with # or ;, or a blank line, not \"Str1 3\".");
        row("same box by two names", kVersion + "Str7 = 1\n\nClub Name, row 3 = 2\n", 4,
            str7 + "already set on line 2.");
        // Numbers.
        row("no value", kVersion + "Str7 =\n", 2, str7 + "no value after \"=\".");
        row("map code -1", kVersion + "Europe = -1\n", 2,
            "Maps Load u_1426.bin ->dt06.img, row 1: \"-1\" is outside 0 to 255.");
        row("2 to the 64th and 5", kVersion + "Liga1 = 18446744073709551621\n", 2,
            "National Slot, row 1: \"18446744073709551621\"" + int32);
        row("sixty digits, quoted short", kVersion + "Liga1 = " + QByteArray(60, '9') + "\n", 2,
            "National Slot, row 1: \"" + QString(40, '9') + "…\"" + int32);
        // Category texts.
        row("backslash last", kVersion + "Cat1 = \"abc\\\n", 2, cat1 + "the closing double quote is missing.");
        row("more after the quote", kVersion + "Cat1 = \"abc\" x\n", 2,
            cat1 + "nothing but blanks may follow the closing double quote.");
        row("twelve characters", kVersion + "Cat1 = \"category_070\"\n", 2,
            cat1 + "the text has 12 characters; a category holds at most 11.");
        row("Cyrillic", kVersion + "Cat1 = \"\xd0\x96\"\n", 2,
            cat1 + "\"\u0416\" (U+0416) is not in code page 1252, the game's character set.");
        row("tab typed in", kVersion + "Cat1 = \"a\tb\"\n", 2,
            cat1 + "the control character U+0009 is written as an escape, \\x09.");
        const QString escapes =
            ": write \\\" for a double quote, \\\\ for a backslash, \\xHH for the character of code-page byte HH.";
        row("unknown escape", kVersion + "Cat1 = \"\\q\"\n", 2, cat1 + "unknown escape \"\\q\"" + escapes);
        const QString twoDigits = cat1 + "\\x is followed by two hexadecimal digits, the character's byte.";
        row("not hex", kVersion + "Cat1 = \"\\xg0\"\n", 2, twoDigits);
        // Line numbers count every kind of line end, and not the mark.
        row("line after mark and CR LF", "\xEF\xBB\xBFkelvory-league = 1\r\n\r\nStr1 = x\r\n", 3,
            "National Name, row 1: \"x\" is not a whole number.");
    }
    void refusesWithFileAndLine() {
        QFETCH(QByteArray, content);
        QFETCH(int, line);
        QFETCH(QString, what);
        try {
            parseSetup(content.toStdString(), kFile);
            QFAIL("the file was read");
        } catch (const SetupError& error) {
            QCOMPARE(QString::fromStdString(error.problem()), what);
            QCOMPARE(error.line(), line);
            const QString where = line ? QStringLiteral("%1, line %2").arg(kFile).arg(line) : QString(kFile);
            QCOMPARE(QString::fromStdString(error.what()), where + ": " + what);
        }
    }

    // Files: only a regular file of at most 64 KiB is read, and a pipe is
    // never waited on (a folder is refused as the block's file is: tests/core).
    void readsOnlySmallRegularFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");  // empty: nothing is written at `name`
        QTest::addColumn<QString>("what");        // empty: read
        const QByteArray full = kVersion + "Str1 = 5\n#";
        QTest::newRow("exactly 64 KiB") << "full" << full + QByteArray(64 * 1024 - full.size(), 'x') << "";
        QTest::newRow("one byte more") << "over" << full + QByteArray(64 * 1024 + 1 - full.size(), 'x')
                                       << "the file is larger than 64 KiB (65,536 bytes), too large to be a league "
                                          "setup.";
#ifndef _WIN32
        QTest::newRow("pipe") << "pipe" << QByteArray() << "it is not a regular file but a folder, a pipe or a device.";
#endif
    }
    void readsOnlySmallRegularFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, what);
        const QString path = dir_.filePath(name);
#ifndef _WIN32
        if (name == "pipe")
            QVERIFY(makeFifo(fsPath(path)));
#endif
        if (!content.isEmpty())
            QVERIFY(writeFile(path, content));
        QString message;
        Setup setup;
        const auto read = [&] {
            try {
                setup = readSetupFile(fsPath(path));
            } catch (const SetupError& error) {
                message = QString::fromStdString(error.what());
                QCOMPARE(error.line(), 0);
            }
        };
#ifdef _WIN32
        read();
#else
        QVERIFY(finishesWithin(std::chrono::seconds(5), fsPath(path), read));
#endif
        QCOMPARE(message, what.isEmpty() ? QString() : path + ": " + what);
        QCOMPARE(setup.size(), std::size_t(what.isEmpty() ? 1 : 0));
    }

    // Export, then import into another game file: every shown field, at the
    // widest values it holds and with texts that need every escape, arrives
    // byte for byte; reserved bytes, hidden map slots and everything else in
    // the receiving file stay as they were.
    void roundTrip() {
        const ShownValues values = widestValues();
        const auto source = fsPath(dir_.filePath("source.exe"));
        const auto target = fsPath(dir_.filePath("target.exe"));
        const auto file = fsPath(dir_.filePath("round.kelvory-league"));
        QByteArray sourceBytes = gameBytes(kGameLength, 14);
        blockbytes::putShown(sourceBytes, values);
        QVERIFY(writeGameFile(source, kGameLength, 14));
        QVERIFY(blockbytes::writeBlockArea(source, sourceBytes));
        QVERIFY(writeGameFile(target, kGameLength, 99));

        Baza exported;
        QVERIFY(exported.Wczytaj(source));
        writeSetupFile(file, setupOf(exported));
        // The file says what it is and how to read it before its first box.
        QVERIFY(readFile(dir_.filePath("round.kelvory-league"))
                    .startsWith("kelvory-league = 1\n# Kelvory league setup: each line sets one box, named as the "
                                "window names it.\n# A box left out keeps its value."));
        const Setup read = readSetupFile(file);
        QCOMPARE(read.size(), std::size_t(FieldCount));
        Baza imported;
        QVERIFY(imported.Wczytaj(target));
        const Baza::Block loaded = imported.block();
        applySetup(imported, read);
        QVERIFY(saveAs(imported, loaded, target));

        QByteArray expected = gameBytes(kGameLength, 99);
        blockbytes::copyShown(sourceBytes, expected);
        QVERIFY(readFile(target) == expected);
        // Exported again from the receiving file: the same text.
        QCOMPARE(writeSetup(setupOf(imported)), writeSetup(setupOf(exported)));
        QVERIFY(!QFile::exists(dir_.filePath("round.kelvory-league.kelvory-part")));
    }

    // An export writes a category text with escapes only where needed: a
    // quote, a backslash, control characters and code-page bytes without a
    // character of their own; the other bytes as their characters, and the
    // blanks that fill the field to 11.
    void writesEscapesOnlyWhereNeeded() {
        Baza baza;
        baza.setCat(1, "a\"b\\c\x81\xa0\xad\xe9\x80\x7f");
        baza.setCat(2, std::string("\0\x1f xy", 5));
        baza.setCat(3, "Z");
        const QString text = QString::fromStdString(writeSetup(setupOf(baza)));
        const QString cat = "\nNational Category Logo League u_1426.bin ->dt06.img, row ";
        for (const QString& line :
             {cat + QString::fromUtf8("2 = \"a\\\"b\\\\c\\x81\\xA0\\xAD\xc3\xa9\xe2\x82\xac\\x7F\"\n"),
              cat + "3 = \"\\x00\\x1F xy      \"\n", cat + "4 = \"Z          \"\n"})
            QVERIFY2(text.contains(line), qPrintable(line));
    }

    // A partial setup lists its changes in the window's order, a value it
    // does not change left out; applied, nothing is left to change, and the
    // boxes it does not name keep their values.
    void partialSetupChangesOnlyWhatItNames() {
        QByteArray original = gameBytes(kGameLength, 5);
        blockbytes::putShown(original, plainValues());
        const auto game = fsPath(dir_.filePath("partial.exe"));
        QVERIFY(writeGameFile(game, kGameLength, 5));
        QVERIFY(blockbytes::writeBlockArea(game, original));
        Baza baza;
        QVERIFY(baza.Wczytaj(game));
        const QByteArray content = "Europe = 250\nCat2 = \"\\x00\xc3\xa9\"\nLiga1 = 100\nCatL7 = -1\nStr7 = -5\n";
        const Setup setup = parseSetup((kVersion + content).toStdString(), kFile);
        QStringList listed;
        for (const SetupChange& change : setupChanges(baza, setup))
            listed << QString::fromStdString(describeChange(change));
        QCOMPARE(listed, (QStringList{"Club Name, row 3: -206 → -5",
                                      "National Category Logo League u_1426.bin ->dt06.img, row 2: \"category_05\" → "
                                      "\"\\x00é         \"",
                                      "Club Category Logo(dt04.img), row 7: 18 → -1",
                                      "Maps Load u_1426.bin ->dt06.img, row 1: 0 → 250"}));
        const Baza::Block loaded = baza.block();
        applySetup(baza, setup);
        QVERIFY(setupChanges(baza, setup).empty());
        QCOMPARE(changedFields(loaded, baza.block()).size(), std::size_t(4));
    }

private:
    // Saves as the console program does; no other program touches the file
    // meanwhile, so an outside change is a failure of the test.
    bool saveAs(Baza& baza, const Baza::Block& loaded, const std::filesystem::path& game) {
        bool asked = false;
        const SafeSaveResult result = saveSafely(baza.block(), game, Expected{loaded, FileStamp{}},
                                                 fsPath(dir_.filePath("records")), [&](const DiskState&) {
                                                     asked = true;
                                                     return OutsideChangeAnswer::Cancel;
                                                 });
        return !asked && result.status == SafeSaveResult::Status::Saved;
    }

    QTemporaryDir dir_;
};

QTEST_MAIN(LeagueSetupTest)
#include "LeagueSetupTest.moc"
