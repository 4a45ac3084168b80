#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/TestFiles.h"
#include "../setup/BlockBytes.h"

using namespace testfiles;
using blockbytes::ShownValues;

namespace {

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Values as a user might set them, all of them ones the game takes: slots
// 88..100, name indexes 200.., map codes 0..10, 0, 1, logo indexes 0, 3 .. 18.
ShownValues gameValues() {
    ShownValues v = blockbytes::plainValues();
    for (int i = 0; i < 13; ++i) {
        v.liga[i] = 88 + i;
        v.str[i] = static_cast<qint16>(200 + i);
    }
    v.cat = {"category_00", "category_05", "category_18", "category_03"};
    return v;
}

// What `show` prints for gameValues(), worked out from the window's layout:
// frames top to bottom, rows top to bottom (National Name shows Str1, Str3,
// Str4, Str2).
QByteArray expectedShow() {
    const ShownValues v = gameValues();
    QByteArray text =
        "kelvory-league = 1\n"
        "# Kelvory league setup: each line sets one box, named as the window names it.\n"
        "# A box left out keeps its value. In texts: \\\" quote, \\\\ backslash, \\xHH code-page byte.\n";
    const auto group = [&](const char* frame, const QList<QByteArray>& values) {
        text += "\n";
        for (int row = 0; row < values.size(); ++row)
            text += QByteArray(frame) + ", row " + QByteArray::number(row + 1) + " = " + values[row] + "\n";
    };
    const auto numbers = [](auto first, auto last) {
        QList<QByteArray> list;
        for (auto it = first; it != last; ++it)
            list << QByteArray::number(qlonglong(*it));
        return list;
    };
    group("National Slot", numbers(v.liga.begin(), v.liga.begin() + 4));
    group("Club Slot", numbers(v.liga.begin() + 4, v.liga.end()));
    group("National Name", {QByteArray::number(v.str[0]), QByteArray::number(v.str[2]), QByteArray::number(v.str[3]),
                            QByteArray::number(v.str[1])});
    group("Club Name", numbers(v.str.begin() + 4, v.str.end()));
    group("National Category Logo League u_1426.bin ->dt06.img",
          {"\"category_00\"", "\"category_05\"", "\"category_18\"", "\"category_03\""});
    group("Club Category Logo(dt04.img)", numbers(v.catL.begin(), v.catL.end()));
    group("Maps Load u_1426.bin ->dt06.img", numbers(v.map.begin(), v.map.end()));
    return text;
}

const QByteArray kChanges =
    "kelvory-league = 1\n"
    "Europe = 7\n"
    "Str7 = 300\n"
    "Cat2 = \"category_07\"\n"
    "Liga1 = 88\n";
const QByteArray kChangeList =
    "Club Name, row 3: 206 \xe2\x86\x92 300\n"
    "National Category Logo League u_1426.bin ->dt06.img, row 2: \"category_05\" \xe2\x86\x92 \"category_07\"\n"
    "Maps Load u_1426.bin ->dt06.img, row 1: 0 \xe2\x86\x92 7\n";

// The bytes kChanges changes in `file`, by the layout.
void putChanges(QByteArray& file) {
    file[blockbytes::kMap] = '\x07';
    file.replace(blockbytes::kStr + 24, 2, QByteArray("\x2c\x01", 2));
    file.replace(blockbytes::kCat + 12, 11, "category_07");
}

}  // namespace

// kelvory-cli run as a process from a program folder of its own: what it
// prints, its exit status, and the game file compared whole after each run.
class CliTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        original_ = gameBytes(kGameLength, 3);
        blockbytes::putShown(original_, gameValues());
    }

    void init() {
        dir_.reset(new QTemporaryDir);
        QVERIFY(dir_->isValid());
        QVERIFY(QDir(dir_->path()).mkpath("program"));
        QVERIFY(QDir(dir_->path()).mkpath("elsewhere"));
        program_ = dir_->filePath("program/") + QFileInfo(KELVORY_CLI).fileName();
        QVERIFY(QFile::copy(KELVORY_CLI, program_));
        QVERIFY(writeFile(inProgram("Leagues.ini"), "Kelvory settings\r\nGame.exe\r\n"));
        QVERIFY(writeGameFile(fsPath(game()), kGameLength, 3));
        QVERIFY(blockbytes::writeBlockArea(fsPath(game()), original_));
        // A decoy in the folder the program is started from: never read.
        QVERIFY(writeFile(dir_->filePath("elsewhere/Leagues.ini"), "x\r\nDecoy.exe\r\n"));
        QVERIFY(writeFile(dir_->filePath("elsewhere/Decoy.exe"), "decoy"));
    }

    void helpAndVersion_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("help") << QStringList{"--help"} << QByteArray("Usage: kelvory-cli [--game PATH] COMMAND\n");
        QTest::newRow("version") << QStringList{"--version"} << QByteArray("kelvory-cli " KELVORY_VERSION "\n");
    }
    void helpAndVersion() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, start);
        const Run run = cli(arguments);
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.startsWith(start), run.out.constData());
        QCOMPARE(run.err, QByteArray());
        if (arguments.front() != "--version") {
            QVERIFY(
                run.out.contains("  4  the setup file could not be read, is not a valid setup, or could not be "
                                 "written\n  5  the game executable could not be saved\n"));
            QVERIFY(run.out.contains("  7  restore-original: there is no readable record of this game executable\n"));
        }
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("what");
        QTest::newRow("nothing") << QStringList{} << QByteArray("no command given.");
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << QByteArray("unknown command \"frobnicate\".");
        QTest::newRow("show with a file")
            << QStringList{"show", "extra"} << QByteArray("unexpected argument \"extra\".");
        QTest::newRow("apply without a file") << QStringList{"apply"} << QByteArray("apply needs the setup file.");
        QTest::newRow("diff with two files")
            << QStringList{"diff", "a", "b"} << QByteArray("unexpected argument \"b\".");
        QTest::newRow("dry run without apply") << QStringList{"diff", "a", "--dry-run"}
                                               << QByteArray("--dry-run goes with apply and restore-original only.");
        QTest::newRow("force with show") << QStringList{"show", "--force"}
                                         << QByteArray("--force goes with apply and restore-original only.");
        QTest::newRow("game without a path")
            << QStringList{"show", "--game"} << QByteArray("--game needs the path of the game executable.");
        QTest::newRow("game twice") << QStringList{"--game", "a", "--game=b", "show"}
                                    << QByteArray("--game is given twice.");
        QTest::newRow("unknown option") << QStringList{"--forse", "show"} << QByteArray("unknown option \"--forse\".");
        QTest::newRow("help with a command") << QStringList{"show", "-h"} << QByteArray("--help stands alone.");
        QTest::newRow("version with a word")
            << QStringList{"--version", "bogus"} << QByteArray("--version stands alone.");
    }
    void usageErrors() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, what);
        const Run run = cli(arguments);
        QCOMPARE(run.code, 2);
        QCOMPARE(run.err, "kelvory-cli: " + what + "\nTry \"kelvory-cli --help\".\n");
        QCOMPARE(run.out, QByteArray());
        QVERIFY(gameUntouched());
    }

    // show and export print the same text; the game is found through the
    // program's own Leagues.ini, or named with --game.
    void showAndExport_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("withLeaguesIni");
        QTest::newRow("Leagues.ini in the program folder") << QStringList{} << true;
        QTest::newRow("--game PATH, no Leagues.ini") << QStringList{"--game", "GAME"} << false;
        QTest::newRow("--game=PATH after the command") << QStringList{"--game=GAME"} << false;
    }
    void showAndExport() {
        QFETCH(QStringList, options);
        QFETCH(bool, withLeaguesIni);
        if (!withLeaguesIni)
            QVERIFY(QFile::remove(inProgram("Leagues.ini")));
        options.replaceInStrings("GAME", game());
        const Run shown = cli(QStringList{"show"} + options);
        QCOMPARE(shown.err, QByteArray());
        QCOMPARE(shown.code, 0);
        QCOMPARE(shown.out, expectedShow());

        const QString file = dir_->filePath("out.kelvory-league");
        const Run exported = cli(QStringList{"export", file} + options);
        QCOMPARE(exported.code, 0);
        QCOMPARE(exported.out, QByteArray());
        QCOMPARE(exported.err, QByteArray());
        QCOMPARE(readFile(file), expectedShow());
        QVERIFY(gameUntouched());
    }

    // diff and a dry run list the changes and write nothing; apply lists them,
    // writes exactly their bytes, and then nothing is left to change.
    void diffDryRunAndApply() {
        const QString file = dir_->filePath("changes.kelvory-league");
        QVERIFY(writeFile(file, kChanges));
        for (const QStringList& arguments : {QStringList{"diff", file}, QStringList{"apply", "--dry-run", file}}) {
            const Run run = cli(arguments);
            QCOMPARE(run.code, 0);
            QCOMPARE(run.out, kChangeList);
            QCOMPARE(run.err, QByteArray());
            QVERIFY(gameUntouched());
        }

        const Run applied = cli({"apply", file});
        QCOMPARE(applied.code, 0);
        QCOMPARE(applied.out, kChangeList + "Save Successfully\n");
        QCOMPARE(applied.err, QByteArray());
        QByteArray expected = original_;
        putChanges(expected);
        QVERIFY(readFile(game()) == expected);

        const Run again = cli({"apply", file});
        QCOMPARE(again.code, 0);
        QCOMPARE(again.out, QByteArray("no changes\n"));
        QVERIFY(readFile(game()) == expected);
    }

    // Every refusal: its exit status, the message on stderr, nothing on
    // stdout but the changes a failed save had listed, and the game file
    // exactly as it was.
    void refusals_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");  // PROGRAM, SETUP and GAME stand for those paths
        QTest::addColumn<QByteArray>("out");
        const QString noLoad = "No game executable was loaded.\n\nKelvory looked for it at:\n";
        const QString checkIni =
            "\n\nMake sure line 2 of Leagues.ini names the game executable in Kelvory's folder, or give its path "
            "with --game.\n";
        QTest::newRow("invalid setup") << "invalid" << QStringList{"apply", "SETUP"} << 4
                                       << "SETUP, line 2: Club Name, row 3: \"x\" is not a whole number.\n"
                                       << QByteArray();
        QTest::newRow("missing setup") << "" << QStringList{"diff", "SETUP"} << 4 << "SETUP: the file does not exist.\n"
                                       << QByteArray();
        QTest::newRow("a setup named -") << "" << QStringList{"diff", "-"} << 4 << "-: the file does not exist.\n"
                                         << QByteArray();
        QTest::newRow("invalid setup and no game") << "invalid, no game" << QStringList{"apply", "SETUP"} << 4
                                                   << "SETUP, line 2: Club Name, row 3: \"x\" is not a whole number.\n"
                                                   << QByteArray();
        QTest::newRow("no Leagues.ini") << "no Leagues.ini" << QStringList{"show"} << 3
                                        << "The configuration file PROGRAM/Leagues.ini was not found.\n\n"
                                           "Give the game executable's path with --game PATH.\n"
                                        << QByteArray();
        QTest::newRow("Leagues.ini of one line")
            << "one line" << QStringList{"show"} << 3
            << "The configuration file PROGRAM/Leagues.ini ends before its second line, which names the game "
               "executable.\n\nGive the game executable's path with --game PATH.\n"
            << QByteArray();
        QTest::newRow("game missing") << "no game" << QStringList{"show"} << 3
                                      << noLoad + "PROGRAM/Gone.exe\n\nThe file does not exist." + checkIni
                                      << QByteArray();
        QTest::newRow("--game names a folder")
            << "" << QStringList{"--game", "PROGRAM", "show"} << 3
            << noLoad +
                   "PROGRAM\n\nIt is not a regular file but a folder, a pipe or a device.\n\nCheck the path "
                   "given with --game.\n"
            << QByteArray();
        QTest::newRow("export into a missing folder")
            << "" << QStringList{"export", "PROGRAM/none/x.kelvory-league"} << 4
            << "PROGRAM/none/x.kelvory-league: the file could not be written (No such file or directory).\n"
            << QByteArray();
        QTest::newRow("game too short to hold the block")
            << "short game" << QStringList{"show"} << 3
            << noLoad +
                   "PROGRAM/Game.exe\n\nThe file is 1,000 bytes long and ends before the league block, which lies "
                   "at bytes 15,612,412 to 15,613,091 (counted from 0)." +
                   checkIni
            << QByteArray();
    }
    void refusals() {
        QFETCH(QString, scenario);
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, err);
        QFETCH(QByteArray, out);
        const QString setup = dir_->filePath("refused.kelvory-league");
        if (scenario.startsWith("invalid"))
            QVERIFY(writeFile(setup, "kelvory-league = 1\nStr7 = x\n"));
        if (scenario == "short game")
            QVERIFY(writeFile(setup, "kelvory-league = 1\nStr7 = -5\n"));
        if (scenario == "no Leagues.ini")
            QVERIFY(QFile::remove(inProgram("Leagues.ini")));
        if (scenario == "one line")
            QVERIFY(writeFile(inProgram("Leagues.ini"), "Kelvory settings"));
        if (scenario.endsWith("no game"))
            QVERIFY(writeFile(inProgram("Leagues.ini"), "Kelvory settings\r\nGone.exe\r\n"));
        QByteArray before = readFile(game());
        if (scenario == "short game") {
            before = patternBytes(1000);
            QVERIFY(writeFile(game(), before));
        }
        const QString program = QDir::toNativeSeparators(dir_->filePath("program"));
        const auto paths = [&](QString text) {
            return text.replace("PROGRAM", program).replace("SETUP", QDir::toNativeSeparators(setup));
        };
        // Paths go in as the system writes them; the program repeats a path as given.
        const Run run = cli(QDir::toNativeSeparators(paths(arguments.join('\n'))).split('\n', Qt::SkipEmptyParts));
        QCOMPARE(QString::fromUtf8(run.err), QDir::toNativeSeparators(paths(err)));
        QCOMPARE(run.out, out);
        QCOMPARE(run.code, code);
        QVERIFY(readFile(game()) == before);
    }

#ifdef Q_OS_LINUX
    // A result that cannot be written out is an error, not a success.
    void lostOutputIsAnError() {
        QProcess process;
        process.setStandardOutputFile("/dev/full");
        process.start(program_, {"show"});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardError(), QByteArray("kelvory-cli: the output could not be written.\n"));
    }
#endif

    // restore-original puts back the block recorded before the first save,
    // byte for byte; it refuses without a record, and when the executable
    // changed since the record was taken unless told --force.
    void restoreOriginal_data() {
        QTest::addColumn<bool>("applyFirst");
        QTest::addColumn<bool>("headerChanged");  // byte 100 of the file changed after the apply
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("errStart");
        QTest::addColumn<QString>("fileAfter");  // "original", "applied", "applied+header", "original+header"
        QTest::addColumn<bool>("damaged");       // the record file cut short after the apply
        QTest::newRow("no record") << false << false << QStringList{} << 7
                                   << QByteArray("There is no record of the original values of this game executable.")
                                   << "original" << false;
        QTest::newRow("restores") << true << false << QStringList{} << 0 << QByteArray() << "original" << false;
        QTest::newRow("dry run") << true << false << QStringList{"--dry-run"} << 0 << QByteArray() << "applied"
                                 << false;
        QTest::newRow("damaged record") << true << false << QStringList{} << 7
                                        << QByteArray("The record of the original values cannot be read.\n\n")
                                        << "applied" << true;
        QTest::newRow("other executable")
            << true << true << QStringList{} << 6
            << QByteArray("The game executable changed since the record of its original values was taken")
            << "applied+header" << false;
        QTest::newRow("other executable, forced")
            << true << true << QStringList{"--force"} << 0
            << QByteArray("The game executable changed since the record of its original values was taken")
            << "original+header" << false;
    }
    void restoreOriginal() {
        QFETCH(bool, applyFirst);
        QFETCH(bool, headerChanged);
        QFETCH(QStringList, options);
        QFETCH(int, code);
        QFETCH(QByteArray, errStart);
        QFETCH(QString, fileAfter);
        QFETCH(bool, damaged);
        QByteArray applied = original_;
        if (applyFirst) {
            const QString file = dir_->filePath("changes.kelvory-league");
            QVERIFY(writeFile(file, kChanges));
            QCOMPARE(cli({"apply", file}).code, 0);
            putChanges(applied);
            QVERIFY(readFile(game()) == applied);
        }
        if (damaged) {
            const QFileInfoList records = QDir(dir_->filePath("data/Kelvory")).entryInfoList({"*.txt"}, QDir::Files);
            QCOMPARE(records.size(), 1);
            const QByteArray text = readFile(records[0].filePath());
            QVERIFY(writeFile(records[0].filePath(), text.left(text.size() - 4)));  // "end\n" gone
        }
        if (headerChanged) {
            QVERIFY(blockbytes::writeAt(fsPath(game()), 100, "\x5a"));
            applied[100] = '\x5a';
        }
        QByteArray expected = fileAfter.startsWith("original") ? original_ : applied;
        if (fileAfter.endsWith("+header"))
            expected[100] = '\x5a';
        const Run run = cli(QStringList{"restore-original"} + options);
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.startsWith(errStart), run.err.constData());
        if (code == 0) {
            QVERIFY2(run.out.startsWith("original values recorded 20"), run.out.constData());
            QVERIFY2(run.out.contains("Club Name, row 3: 300 \xe2\x86\x92 206\n"), run.out.constData());
            QCOMPARE(run.out.endsWith("Save Successfully\n"), !options.contains("--dry-run"));
        }
        QVERIFY(readFile(game()) == expected);
    }

    // A restore that would change nothing succeeds, whatever became of the
    // executable since the record was taken.
    void nothingToRestore() {
        const QString file = dir_->filePath("changes.kelvory-league");
        QVERIFY(writeFile(file, kChanges));
        QCOMPARE(cli({"apply", file}).code, 0);
        QVERIFY(blockbytes::writeBlockArea(fsPath(game()), original_));  // the original values, put back by hand
        QVERIFY(blockbytes::writeAt(fsPath(game()), 100, "\x5a"));       // and another build of the game
        const Run run = cli({"restore-original"});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.endsWith("\nnothing to restore\n"), run.out.constData());
        QCOMPARE(run.err, QByteArray());
    }

    // apply does not overwrite a league block that another program changed
    // since Kelvory last saved it, unless told --force.
    void outsideChangeRefused_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("code");
        QTest::newRow("refused") << QStringList{} << 6;
        QTest::newRow("forced") << QStringList{"--force"} << 0;
    }
    void outsideChangeRefused() {
        QFETCH(QStringList, options);
        QFETCH(int, code);
        const QString file = dir_->filePath("changes.kelvory-league");
        QVERIFY(writeFile(file, "kelvory-league = 1\nLiga2 = 5\n"));
        QCOMPARE(cli({"apply", file}).code, 0);
        // Another program writes Liga1 = 42.
        QVERIFY(blockbytes::writeAt(fsPath(game()), blockbytes::kLiga, QByteArray("\x2a\0\0\0", 4)));
        QByteArray changed = original_;
        changed.replace(blockbytes::kLiga, 8, QByteArray("\x2a\0\0\0\x05\0\0\0", 8));
        QVERIFY(readFile(game()) == changed);
        QVERIFY(writeFile(file, "kelvory-league = 1\nLiga3 = 6\n"));
        const Run run = cli(QStringList{"apply", file} + options);
        QCOMPARE(run.code, code);
        if (code == 6) {
            QCOMPARE(run.err, QByteArray("The league block in the game executable was changed by another program "
                                         "since Kelvory last saved it, or while this command ran.\n\nNothing was "
                                         "written. Give --force to save over it.\n"));
        } else {
            changed.replace(blockbytes::kLiga + 8, 4, QByteArray("\x06\0\0\0", 4));
        }
        QVERIFY(readFile(game()) == changed);
    }

    // export replaces only a league setup or an empty file; anything else at
    // the name is refused (status 4) and left exactly as it was.
    void exportReplacesOnlySetups_data() {
        QTest::addColumn<QString>("target");  // what stands at the file's name
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("why");  // the end of the message
        const QString notSetup =
            "the file is not a league setup, and Kelvory replaces only a league setup or an "
            "empty file. Choose another name.";
        QTest::newRow("a league setup") << "setup" << 0 << QString();
        QTest::newRow("an empty file") << "empty" << 0 << QString();
        QTest::newRow("the game executable") << "game" << 4 << notSetup;
        QTest::newRow("a text file") << "text" << 4 << notSetup;
        QTest::newRow("a folder") << "folder" << 4 << "it is not a regular file but a folder, a pipe or a device.";
#ifndef Q_OS_WIN
        QTest::newRow("a named pipe") << "fifo" << 4 << "it is not a regular file but a folder, a pipe or a device.";
        QTest::newRow("a link to a setup")
            << "link" << 4 << "it is a symbolic link, and Kelvory replaces only a league setup file or an empty file.";
#endif
    }
    void exportReplacesOnlySetups() {
        QFETCH(QString, target);
        QFETCH(int, code);
        QFETCH(QString, why);
        QString path = dir_->filePath("out.kelvory-league");
        const QByteArray setup = "kelvory-league = 1\nLiga1 = 5\n";
        if (target == "setup" || target == "link") {
            QVERIFY(writeFile(dir_->filePath("kept.kelvory-league"), setup));
        }
        if (target == "setup") {
            QVERIFY(writeFile(path, setup));
        } else if (target == "empty") {
            QVERIFY(writeFile(path, QByteArray()));
        } else if (target == "game") {
            path = game();
        } else if (target == "text") {
            QVERIFY(writeFile(path, "notes\n"));
        } else if (target == "folder") {
            QVERIFY(QDir(dir_->path()).mkdir("out.kelvory-league"));
        } else if (target == "fifo") {
            QCOMPARE(QProcess::execute("mkfifo", {path}), 0);
        } else {
            QVERIFY(QFile::link(dir_->filePath("kept.kelvory-league"), path));
        }
        const bool special = target == "folder" || target == "fifo";
        const QByteArray before = special ? QByteArray() : readFile(path);
        const Run run = cli({"export", QDir::toNativeSeparators(path)});
        QCOMPARE(run.code, code);
        if (code == 0) {
            QCOMPARE(readFile(path), expectedShow());
        } else {
            QCOMPARE(QString::fromUtf8(run.err),
                     QDir::toNativeSeparators(path) + ": nothing was written: " + why + "\n");
            QVERIFY(special ? !QFileInfo(path).isFile() : readFile(path) == before);
            QCOMPARE(QFileInfo(path).isSymLink(), target == "link");
        }
        QVERIFY(gameUntouched());
        QCOMPARE(readFile(dir_->filePath("kept.kelvory-league")),
                 target == "setup" || target == "link" ? setup : QByteArray());
    }

    // Without a data folder to keep records in, nothing is saved and no
    // record is looked for anywhere else (not in the current folder).
    void noDataFolder() {
        const QString file = dir_->filePath("changes.kelvory-league");
        QVERIFY(writeFile(file, kChanges));
        QVERIFY(writeFile(dir_->filePath("elsewhere/Decoy.exe"), "decoy"));
        const QProcessEnvironment none = [] {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove("XDG_DATA_HOME");
            environment.remove("LOCALAPPDATA");
            environment.insert("HOME", "relative/home");
            return environment;
        }();
        const Run applied = cli({"apply", file}, none);
        QCOMPARE(applied.code, 5);
        QVERIFY2(applied.err.contains("The system names no folder for Kelvory's data"), applied.err.constData());
        const Run restored = cli({"restore-original"}, none);
        QCOMPARE(restored.code, 7);
        QVERIFY(gameUntouched());
        QCOMPARE(QDir(dir_->filePath("elsewhere")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"Decoy.exe", "Leagues.ini"}));
    }

#ifdef Q_OS_LINUX
    // Two saves at once: the first is held (by strace) at each rename, between
    // creating its temporary record and putting it in place, while the second
    // starts. The second waits for the first, finds the block changed since it
    // loaded it, and refuses; the record is whole every time it is read.
    void twoSavesAtOnce() {
        if (QStandardPaths::findExecutable("strace").isEmpty()) {
            QSKIP("strace is not installed");
        }
        const QString first = dir_->filePath("first.kelvory-league");
        const QString second = dir_->filePath("second.kelvory-league");
        QVERIFY(writeFile(first, "kelvory-league = 1\nLiga2 = 9\n"));
        QVERIFY(writeFile(second, "kelvory-league = 1\nLiga3 = 5\n"));
        QCOMPARE(cli({"apply", first}).code, 0);  // the record exists
        QVERIFY(writeFile(first, "kelvory-league = 1\nLiga2 = 10\n"));
        QProcess held;
        held.setProcessEnvironment(environment());
        held.start("strace", {"-f", "-o", "/dev/null", "-e", "trace=rename", "-e", "inject=rename:delay_enter=1000000",
                              program_, "apply", first});
        const QDir records(dir_->filePath("data/Kelvory"));
        QElapsedTimer timer;
        timer.start();
        while (records.entryList({"*.new"}, QDir::Files).isEmpty() && timer.elapsed() < 20000)
            QThread::msleep(5);
        QVERIFY(!records.entryList({"*.new"}, QDir::Files).isEmpty());
        QProcess other;
        other.setProcessEnvironment(environment());
        other.start(program_, {"apply", second});
        int reads = 0;
        while (other.state() != QProcess::NotRunning || held.state() != QProcess::NotRunning) {
            for (const QFileInfo& record : records.entryInfoList({"*.txt"}, QDir::Files)) {
                const QByteArray text = readFile(record.filePath());
                QVERIFY2(text.startsWith("kelvory-original-block 2\n") && text.endsWith("\nend\n"), text.constData());
                ++reads;
            }
            other.waitForFinished(10);
            held.waitForFinished(10);
        }
        QVERIFY(reads > 10);
        QCOMPARE(held.exitCode(), 0);
        QCOMPARE(other.exitCode(), 6);
        QVERIFY2(other.readAllStandardError().contains("or while this command ran"), "the second save was not refused");
        QByteArray expected = original_;
        expected[blockbytes::kLiga + 4] = 10;
        QVERIFY(readFile(game()) == expected);
        const QByteArray text = readFile(records.entryInfoList({"*.txt"}, QDir::Files).value(0).filePath());
        QCOMPARE(text.count("\nbefore-save "), 1);  // the first apply's block, before the held one wrote
    }
#endif

    // What the program knows of the game: values it is not known to take are
    // warned about (with --strict refused), bytes that do not look like a
    // league block are shown with a warning but not written into without
    // --force, and a running game is not written into without --force.
    void knowsTheGame_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("errStart");
        QTest::addColumn<bool>("written");
        const QByteArray warning =
            "warning: outside what the game takes: Maps Load u_1426.bin ->dt06.img, row 1, "
            "Europe: 11 (the game takes 0 to 10)\n";
        const QByteArray block = "The bytes where Kelvory expects the league block do not look like one.";
        QTest::newRow("a value outside, apply") << "" << QStringList{"apply", "SETUP"} << 0 << warning << true;
        QTest::newRow("a value outside, diff") << "" << QStringList{"diff", "SETUP"} << 0 << warning << false;
        QTest::newRow("a value outside, apply --strict")
            << "" << QStringList{"apply", "--strict", "SETUP"} << 6 << warning << false;
        QTest::newRow("not a block, show") << "block" << QStringList{"show"} << 0 << block << false;
        QTest::newRow("not a block, apply") << "block" << QStringList{"apply", "SETUP"} << 6 << block << false;
        QTest::newRow("not a block, apply --force")
            << "block" << QStringList{"apply", "--force", "SETUP"} << 0 << block << true;
#ifdef Q_OS_LINUX
        const QByteArray running = "The game is running (process ";
        QTest::newRow("running, apply") << "running" << QStringList{"apply", "SETUP"} << 8 << warning + running
                                        << false;
        QTest::newRow("running, apply --force")
            << "running" << QStringList{"apply", "--force", "SETUP"} << 0 << warning << true;
#endif
    }
    void knowsTheGame() {
        QFETCH(QString, scenario);
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QByteArray, errStart);
        QFETCH(bool, written);
        const QString setup = dir_->filePath("europe.kelvory-league");
        QVERIFY(writeFile(
            setup, scenario == "block" ? "kelvory-league = 1\nLiga2 = 9\n" : "kelvory-league = 1\nEurope = 11\n"));
        QByteArray before = original_;
        if (scenario == "block") {
            before.replace(blockbytes::kCat, 11,
                           QByteArray("cat\x01"
                                      "egory_0",
                                      11));  // a control byte
            QVERIFY(blockbytes::writeBlockArea(fsPath(game()), before));
        }
        QProcess running;
        if (scenario == "running") {
            // A process whose command line names the game as Wine keeps it: Z:\tmp\...\Game.exe.
            const QString windowsPath = "Z:" + QString(game_path()).replace('/', '\\');
            running.start("bash", {"-c", "exec -a \"$0\" sleep 60", windowsPath});
            QVERIFY(running.waitForStarted());
            QElapsedTimer waited;
            waited.start();
            const auto cmdline = [&running] {
                QFile file(QString("/proc/%1/cmdline").arg(running.processId()));
                return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            };
            while (!cmdline().startsWith(windowsPath.toUtf8()) && waited.elapsed() < 5000)
                QThread::msleep(5);
            QVERIFY(cmdline().startsWith(windowsPath.toUtf8()));
        }
        arguments.replaceInStrings("SETUP", setup);
        const Run run = cli(arguments);
        if (scenario == "running") {
            running.kill();
            running.waitForFinished();
        }
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.startsWith(errStart), run.err.constData());
        QCOMPARE(readFile(game()) != before, written);
        if (arguments.front() == "show") {
            QVERIFY2(
                run.out.contains("National Category Logo League u_1426.bin ->dt06.img, row 1 = \"cat\\x01egory_0\"\n"
                                 "# outside what the game takes: category texts category_00 to category_18\n"),
                run.out.constData());
        }
    }

private:
    QString inProgram(const QString& name) const {
        return dir_->filePath("program/" + name);
    }
    QString game() const {
        return inProgram("Game.exe");
    }
    QString game_path() const {
        return QFileInfo(game()).canonicalFilePath();
    }
    bool gameUntouched() const {
        return readFile(game()) == original_;
    }

    // The records of the original values go to a folder of the test's own.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", dir_->filePath("data"));
        environment.insert("LOCALAPPDATA", dir_->filePath("data"));
        return environment;
    }

    Run cli(const QStringList& arguments, const QProcessEnvironment& environment = {}) const {
        QProcess process;
        process.setWorkingDirectory(dir_->filePath("elsewhere"));
        process.setProcessEnvironment(environment.isEmpty() ? this->environment() : environment);
        process.start(program_, arguments);
        Run run;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
            return run;
        }
        run.code = process.exitCode();
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString program_;
    QByteArray original_;
};

QTEST_MAIN(CliTest)
#include "CliTest.moc"
