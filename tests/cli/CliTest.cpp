// kelvory-cli run as a process from a program folder of its own: its
// arguments, each command's outcome and exit status, and what only the
// console program does. The rules behind the commands are the session's, the
// store's and the setup library's (tests/session, tests/store, tests/setup).

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "../setup/BlockBytes.h"

using namespace testfiles;

namespace {

struct Run {
    int code = -1;
    QByteArray out, err;
};

struct Outcome {
    QString scenario;       // what is set up first
    QStringList arguments;  // PROGRAM, SETUP, GAME, FIRST and OUT stand for those paths
    int code = 0;
    QString err = {};      // a phrase of stderr, paths as in `arguments`; empty: nothing there
    QByteArray out = {};   // a phrase of stdout; empty: nothing there
    bool written = false;  // the game file holds the setup's values, or restore-original's
};

// The stand-in game's block holds values the game takes (TestFiles.h),
// among them Liga3 12, Str7 26 and Europe 0.
const QByteArray kChanges = "kelvory-league = 1\nEurope = 7\nStr7 = 300\n";
// The boxes of three saves in a row.
const QList<QByteArray> kThreeSaves = {"Liga3 = 6\n", "Liga3 = 7\nStr7 = 300\n", "Liga3 = 8\n"};
const QByteArray kSaved = "kelvory-cli: Save Successfully\n";
// The local time the program runs in: 5 hours 45 minutes ahead of UTC.
const char kZone[] = "XST-5:45";
constexpr int kZoneOffset = (5 * 60 + 45) * 60;

}  // namespace

Q_DECLARE_METATYPE(Outcome)

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { original_ = gameBytes(kGameLength, 3); }

    void init() {
        dir_.reset(new QTemporaryDir);
        QVERIFY(dir_->isValid());
        QVERIFY(QDir(dir_->path()).mkpath("program"));
        QVERIFY(QDir(dir_->path()).mkpath("elsewhere"));
        program_ = dir_->filePath("program/") + QFileInfo(KELVORY_CLI).fileName();
        QVERIFY(QFile::copy(KELVORY_CLI, program_));
        QVERIFY(writeFile(inProgram("Leagues.ini"), "Kelvory settings\r\nGame.exe\r\n"));
        QVERIFY(writeGameFile(fsPath(game()), kGameLength, 3));
        // A decoy in the folder the program is started from: never read.
        QVERIFY(writeFile(dir_->filePath("elsewhere/Leagues.ini"), "x\r\nDecoy.exe\r\n"));
        QVERIFY(writeFile(dir_->filePath("elsewhere/Decoy.exe"), "decoy"));
    }

    // Each command on a game file set up as the row says: its exit status,
    // what it says, whether the game file changed (then by exactly the
    // setup's bytes, or back to the recorded original), and never a file
    // beside the decoy in the current folder (no record is kept there).
    // SETUP sets Liga3 = 6 (Europe = 11 in "outside"); "applied" rows first
    // apply other changes, which takes the record.
    void outcomes_data() {
        const QString outside =
            "kelvory-cli: warning: outside what the game takes: Maps Load u_1426.bin ->dt06.img, row 1, "
            "Europe: 11 (the game takes 0 to 10)\n";
        const QString block = "The bytes where Kelvory expects the league block in GAME do not look like one: ";
        const QByteArray marked = "row 1 = \"cat\\x01gory_00\"\n# outside what the game takes: category texts";
        const QByteArray liga3 = "National Slot, row 3: 12 \xe2\x86\x92 6\n";
        const QByteArray restored = "Club Name, row 3: 300 \xe2\x86\x92 26\n";
        const QString saved = kSaved;
        const QString other = "The game executable changed since the record of its original values was taken";
        const QString unread = "The record of the original values cannot be read: ";
        const QString noFolder = "he system names no folder for Kelvory's data";
        const QStringList apply{"apply", "SETUP"}, force{"apply", "--force", "SETUP"}, restore{"restore-original"};
        const auto usage = [](const QString& what) { return "kelvory-cli: " + what; };
        const QByteArray shown = "\nClub Name, row 3 = 26\n";
        const QByteArray applyHelp = "Usage: kelvory-cli [--game PATH] apply FILE [-n] [-f]";
        rows<Outcome>({
            {"help", {"", {"--help"}, 0, "", "Usage: kelvory-cli [--game PATH] COMMAND [OPTION...]\n"}},
            // Columns as wide as their widest entry; lines of up to 80 characters.
            {"help, options",
             {"",
              {"help"},
              0,
              "",
              "\nOptions:\n      --game PATH      the game executable; without it, line 2 of Leagues.ini in\n"}},
            {"help, exit statuses",
             {"", {"-h"}, 0, "", "\n  9  diff --exit-code: applying the setup would change something\n"}},
            {"help apply", {"", {"help", "apply"}, 0, "", applyHelp}},
            {"help, an unknown option", {"", {"apply", "-h", "--bogus=x"}, 2, usage("unknown option \"--bogus\".")}},
            {"apply -h", {"", {"apply", "-h", "--game", "x"}, 0, "", applyHelp}},
            {"version", {"", {"--version"}, 0, "", "kelvory-cli " KELVORY_VERSION "\n"}},
            {"completion", {"", {"completion", "bash"}, 0, "", "\ncomplete -F _kelvory_cli kelvory-cli\n"}},
            {"no command", {"", {}, 2, usage("no command given. Try \"kelvory-cli help\".\n")}},
            {"unknown command",
             {"", {"frobnicate"}, 2, usage("unknown command \"frobnicate\". Try \"kelvory-cli help")}},
            {"help for no command",
             {"", {"help", "frob"}, 2, usage("unknown command \"frob\". Try \"kelvory-cli help\"")}},
            {"show with a file",
             {"", {"show", "extra"}, 2, usage("unexpected argument \"extra\". Try \"kelvory-cli help show\"")}},
            {"apply without a file", {"", {"apply"}, 2, usage("apply needs FILE.")}},
            {"diff with two files", {"", {"diff", "a", "b"}, 2, usage("unexpected argument \"b\".")}},
            {"restore a word",
             {"", {"restore", "latest"}, 2, usage("ENTRY is \"original\" or the number of an entry")}},
            {"restore entry 0", {"", {"restore", "0"}, 2, usage("ENTRY is \"original\" or the number of an entry")}},
            {"restore-original with an entry", {"", {"restore-original", "2"}, 2, usage("unexpected argument \"2\".")}},
            {"completion for zsh", {"", {"completion", "zsh"}, 2, usage("there is a completion script for bash only")}},
            {"dry run with diff",
             {"",
              {"diff", "a", "--dry-run"},
              2,
              usage("--dry-run goes with apply, restore and restore-original only.")}},
            {"force with show",
             {"", {"show", "-f"}, 2, usage("--force goes with apply, restore and restore-original only.")}},
            {"strict with export",
             {"", {"export", "a", "--strict"}, 2, usage("--strict goes with diff and apply only.")}},
            {"exit code with apply", {"", {"apply", "a", "--exit-code"}, 2, usage("--exit-code goes with diff only.")}},
            {"json with a save",
             {"", {"apply", "a", "--json"}, 2, usage("--json goes with apply only together with --dry-run.")}},
            {"a switch with a value", {"", {"show", "--json=yes"}, 2, usage("--json takes no value.")}},
            {"game without a path", {"", {"show", "--game"}, 2, usage("--game needs the path of the game")}},
            {"game twice", {"", {"--game", "a", "--game=b", "show"}, 2, usage("--game is given twice.")}},
            {"unknown option", {"", {"--forse", "show"}, 2, usage("unknown option \"--forse\".")}},
            {"unknown short option", {"", {"apply", "-nx", "a"}, 2, usage("unknown option \"-x\".")}},
            {"version with a word", {"", {"--version", "bogus"}, 2, usage("--version stands alone.")}},
            {"version with an option", {"", {"--version", "-n"}, 2, usage("--version stands alone.")}},
            {"show --game PATH", {"no Leagues.ini", {"--game", "GAME", "show"}, 0, "", shown}},
            {"show --game=PATH", {"no Leagues.ini", {"show", "--game=GAME"}, 0, "", shown}},
            {"show --json", {"", {"show", "--json"}, 0, "", "\"id\": \"liga_1\""}},
            {"export -", {"", {"export", "-"}, 0, "", shown}},
            {"diff", {"", {"diff", "SETUP"}, 0, "", liga3}},
            {"diff --json", {"", {"diff", "--json", "SETUP"}, 0, "", "\"id\": \"liga_3\""}},
            {"diff -", {"stdin", {"diff", "-"}, 0, "", liga3}},
            {"diff --exit-code, changes", {"", {"diff", "SETUP", "--exit-code"}, 9, "", liga3}},
            {"diff --exit-code, none", {"applied", {"diff", "FIRST", "--exit-code"}, 0, "kelvory-cli: No changes.\n"}},
            {"diff in the C locale", {"C locale", {"diff", "SETUP"}, 0, "", "National Slot, row 3: 12 -> 6\n"}},
            {"apply --dry-run", {"", {"apply", "--dry-run", "SETUP"}, 0, "", liga3}},
            {"apply -nf", {"", {"apply", "-nf", "SETUP"}, 0, "", liga3}},
            {"apply -n --json",
             {"",
              {"apply", "-n", "--json", "SETUP"},
              0,
              "",
              "\n  \"changes\": [\n    {\"key\": \"National Slot, row 3\", "}},
            {"apply", {"", apply, 0, saved, liga3, true}},
            {"apply -", {"stdin", {"apply", "-"}, 0, saved, liga3, true}},
            {"apply, nothing to change", {"applied", {"apply", "FIRST"}, 0, "kelvory-cli: No changes.\n"}},
            {"invalid setup",
             {"invalid", apply, 4, "kelvory-cli: SETUP, line 2: Club Name, row 3: \"x\" is not a whole"}},
            {"missing setup", {"", {"diff", "PROGRAM/none"}, 4, "PROGRAM/none: the file does not exist."}},
            {"empty standard input", {"", {"diff", "-"}, 4, "kelvory-cli: standard input, line 1: the first line"}},
            {"standard input too large",
             {"large stdin", {"apply", "-"}, 4, "standard input: the file is larger than 64 KiB"}},
            {"invalid setup and no game", {"invalid, no game", apply, 4, "SETUP, line 2: "}},
            {"no Leagues.ini",
             {"no Leagues.ini", {"show"}, 3, "Leagues.ini was not found. Give the game executable's path with --game"}},
            {"game missing",
             {"no game", {"show"}, 3, "Gone.exe could not be read: the file does not exist. Line 2 of Leagues.ini"}},
            {"--game names a folder",
             {"", {"--game", "PROGRAM", "show"}, 3, "PROGRAM could not be read: it is not a regular file"}},
            {"game too short",
             {"short game", {"show"}, 3, "could not be read: the file is 1,000 bytes long and ends before"}},
            {"export over a setup", {"setup there", {"export", "OUT"}, 0}},
            {"export over an empty file", {"empty there", {"export", "OUT"}, 0}},
            {"export over the game",
             {"", {"export", "GAME"}, 4, "GAME: nothing was written: the file is not a league"}},
            {"export over a folder", {"folder there", {"export", "OUT"}, 4, "OUT: nothing was written: it is not a"}},
#ifndef Q_OS_WIN
            {"export over a pipe", {"pipe there", {"export", "OUT"}, 4, "OUT: nothing was written: it is not a"}},
            {"export over a link", {"link there", {"export", "OUT"}, 4, "OUT: nothing was written: it is a symbolic"}},
#endif
            {"export into a missing folder", {"", {"export", "PROGRAM/none/x"}, 4, "PROGRAM/none/x: the file could"}},
            {"no record", {"", restore, 7, "There is no record of the original values of GAME"}},
            {"no record, history", {"", {"history"}, 7, "There is no record of the original values of GAME"}},
            {"no data folder, apply", {"no data folder", apply, 5, noFolder}},
            {"no data folder, restore", {"no data folder", restore, 7, unread + "t" + noFolder}},
            {"outside the game's values", {"outside", apply, 0, outside, "row 1: 0 \xe2\x86\x92 11\n", true}},
            {"outside, --strict",
             {"outside", {"apply", "--strict", "SETUP"}, 6, outside + "kelvory-cli: not saved: Maps"}},
            {"outside, diff --strict",
             {"outside", {"diff", "--strict", "SETUP"}, 6, outside, "row 1: 0 \xe2\x86\x92 11\n"}},
            {"not a block, show",
             {"block", {"show"}, 0, "kelvory-cli: warning: " + block + "category text 1 holds", marked}},
            {"not a block, show --json", {"block", {"show", "--json"}, 0, block, "\"value\": \"cat\\u0001gory_00\""}},
            {"not a block, apply", {"block", apply, 6, block}},
            {"not a block, apply --force", {"block", force, 0, block, liga3, true}},
#ifdef Q_OS_LINUX
            {"running, apply",
             {"running", apply, 8,
              "not saved: National Slot, row 3: 12 \xe2\x86\x92 6\nkelvory-cli: The game is running (process "}},
            {"running, apply --force", {"running", force, 8, "or give --while-running to save anyway"}},
            {"running, apply --while-running",
             {"running",
              {"apply", "--while-running", "SETUP"},
              0,
              "warning: --while-running: saving while",
              liga3,
              true}},
#endif
            // Seven map codes of 200: the block would no longer look like one.
            {"values not a block", {"sevens", apply, 6, "Nothing was written: with these values the league block"}},
            {"values not a block, forced",
             {"sevens", force, 0, "kelvory-cli: warning: --force: writing values that do not look", "row 7: 6 ", true}},
            {"after Kelvory's own odd write, apply",
             {"forced sevens", apply, 0, "warning: outside what the game takes: Maps Load", liga3, true}},
            {"after Kelvory's own odd write, restore",
             {"forced sevens", restore, 0, "kelvory-cli: Entry 1: original, recorded ", "row 1: 200 \xe2\x86\x92 0\n",
              true}},
            {"restores the original",
             {"applied", restore, 0, "kelvory-cli: Entry 1: original, recorded 20", restored, true}},
            {"restore original", {"applied", {"restore", "original"}, 0, saved, restored, true}},
            {"nothing to restore",
             {"applied, put back by hand, header", restore, 0, "kelvory-cli: Nothing to restore: "}},
            // An update of the game: its first bytes and a value of the block changed.
            {"restore into another executable", {"applied, update", restore, 6, other}},
            {"restore into another executable, dry run",
             {"applied, update", {"restore-original", "--dry-run"}, 0, other, restored}},
            {"restore into another executable, dry run --json",
             {"applied, update", {"restore-original", "-n", "--json"}, 0, other, "\"other_executable\": true,\n"}},
            {"restore into another executable, forced",
             {"applied, update", {"restore-original", "--force"}, 0, other, restored, true}},
            {"damaged record", {"applied, damaged", restore, 7, unread}},
            {"damaged record, apply", {"applied, damaged", apply, 5, "\"kelvory-cli record set-aside\" renames it"}},
            {"damaged record, set aside",
             {"applied, damaged", {"record", "set-aside"}, 0, "which cannot be read, was set aside as "}},
            {"set aside without a game", {"no game", {"record", "set-aside"}, 3, "Gone.exe could not be read"}},
            // The game folder moved after the first apply: its record is found.
            {"moved, history",
             {"applied, moved", {"history"}, 0, "", " fields differ; recorded for the same game at "}},
            {"moved, dry run",
             {"applied, moved",
              {"restore-original", "--dry-run"},
              0,
              "kelvory-cli: Entry 1: original, recorded for the same game at OLD on 20",
              restored}},
            {"moved, restore",
             {"applied, moved", restore, 0,
              "kelvory-cli: The original values and history of this game executable were carried over from the "
              "record of the same game at OLD, into which",
              restored, true}},
            // A save that wrote and was not seen through: its bytes are Kelvory's own.
            {"a pending write, restore", {"applied, writing", restore, 0, saved, restored, true}},
            {"changed since the last save",
             {"applied, changed", apply, 6,
              "kelvory-cli: not saved: National Slot, row 3: 42 \xe2\x86\x92 6\nkelvory-cli: The league block in the "
              "game "
              "executable was changed by another program since Kelvory last saved it, or while"}},
            {"changed since the last save, forced",
             {"applied, changed", force, 0, "kelvory-cli: warning: --force: saving over a league block another",
              "row 3: 42 ", true}},
            // Three saves: Liga3 6; Liga3 7 and Str7 300; Liga3 8.
            {"history", {"three saves", {"history"}, 0, "", "+05:45  2 fields differ\n 2  before-save       20"}},
            {"history --json", {"three saves", {"history", "--json"}, 0, "", "\"kind\": \"before-save\""}},
            {"restore 2",
             {"three saves",
              {"restore", "2"},
              0,
              "kelvory-cli: Entry 2: before-save, recorded 20",
              "National Slot, row 3: 8 \xe2\x86\x92 7\n",
              true}},
            {"restore 3 -n --json",
             {"three saves", {"restore", "3", "-n", "--json"}, 0, "kelvory-cli: Entry 3: ", "\"number\": 3,"}},
            {"restore 4",
             {"three saves", {"restore", "4"}, 7, "The record holds no entry 4: \"kelvory-cli history\" lists 3."}},
        });
    }
    void outcomes() {
        QFETCH(Outcome, row);
        const QString& scenario = row.scenario;
        const QString setup = dir_->filePath("setup.kelvory-league");
        const QByteArray sevens =
            "kelvory-league = 1\nEurope = 200\nAfrica = 200\nAmerica = 200\nAsia = 200\n"
            "PrimerLeague = 200\nLigue1 = 200\nSerieA = 200\n";
        QVERIFY(writeFile(setup, scenario.startsWith("invalid") ? "kelvory-league = 1\nStr7 = x\n"
                                 : scenario == "outside"        ? "kelvory-league = 1\nEurope = 11\n"
                                 : scenario == "sevens"         ? sevens
                                                                : "kelvory-league = 1\nLiga3 = 6\n"));
        if (scenario == "no Leagues.ini")
            QVERIFY(QFile::remove(inProgram("Leagues.ini")));
        if (scenario.endsWith("no game"))
            QVERIFY(writeFile(inProgram("Leagues.ini"), "Kelvory settings\r\nGone.exe\r\n"));
        if (scenario == "short game")
            QVERIFY(writeFile(game(), patternBytes(1000)));
        if (scenario == "block")  // a control byte in a category text
            QVERIFY(blockbytes::writeAt(fsPath(game()), blockbytes::kCat + 3, "\x01"));
        const QString first = dir_->filePath("first.kelvory-league");
        const QString out = dir_->filePath("out.kelvory-league");
        const QByteArray kept = "kelvory-league = 1\nLiga1 = 5\n";
        if (scenario == "setup there" || scenario == "empty there")
            QVERIFY(writeFile(out, scenario == "setup there" ? kept : QByteArray()));
        if (scenario == "folder there")
            QVERIFY(QDir().mkdir(out));
        if (scenario == "pipe there")
            QCOMPARE(QProcess::execute("mkfifo", {out}), 0);
        if (scenario == "link there")
            QVERIFY(writeFile(first, kept) && QFile::link(first, out));
        const QByteArray outBefore = QFileInfo(out).isFile() ? readFile(out) : QByteArray();
        // A moved game: applied at its old path, then moved where Leagues.ini names it.
        const QString old = dir_->filePath("old/Game.exe");
        const QStringList at = scenario.endsWith("moved") ? QStringList{"--game", old} : QStringList{};
        if (!at.isEmpty())
            QVERIFY(QDir(dir_->path()).mkpath("old") && QFile::rename(game(), old));
        if (scenario.startsWith("applied")) {
            QVERIFY(writeFile(first, kChanges));
            QCOMPARE(cli(at + QStringList{"apply", first}).code, 0);
        }
        if (scenario == "forced sevens") {
            QVERIFY(writeFile(first, sevens));
            QCOMPARE(cli({"apply", "--force", first}).code, 0);
        }
        if (!at.isEmpty())
            QVERIFY(QFile::rename(old, game()));
        // What each of three saves leaves: kept to work out what a restore of
        // each history entry writes.
        QList<QByteArray> afterSave{readFile(game())};
        if (scenario == "three saves") {
            for (const QByteArray& values : kThreeSaves) {
                QVERIFY(writeFile(first, "kelvory-league = 1\n" + values));
                QCOMPARE(cli({"apply", first}).code, 0);
                afterSave << readFile(game());
            }
        }
        if (scenario.contains("by hand"))
            QVERIFY(blockbytes::writeBlockArea(fsPath(game()), original_));
        if (scenario.endsWith("header") || scenario.endsWith("update"))  // another build of the game
            QVERIFY(blockbytes::writeAt(fsPath(game()), 100, "\x5a"));
        if (scenario.endsWith("update"))
            QVERIFY(blockbytes::writeAt(fsPath(game()), blockbytes::kLiga + 4, "\x2b"));
        if (scenario.endsWith("changed"))  // by another program
            QVERIFY(blockbytes::writeAt(fsPath(game()), blockbytes::kLiga + 8, QByteArray("\x2a\0\0\0", 4)));
        const QFileInfoList records = QDir(dir_->filePath("data/Kelvory")).entryInfoList({"*.txt"}, QDir::Files);
        if (scenario.contains("damaged")) {
            QCOMPARE(records.size(), 1);
            QVERIFY(writeFile(records[0].filePath(), readFile(records[0].filePath()).chopped(4)));  // "end\n" gone
        }
        if (scenario.endsWith("writing"))  // the save's last step did not happen
            QVERIFY(writeFile(records.value(0).filePath(),
                              readFile(records.value(0).filePath()).replace("\nlast-written ", "\nwriting ")));
        QProcessEnvironment environment = this->environment();
        if (scenario == "no data folder") {
            environment.remove("XDG_DATA_HOME");
            environment.remove("LOCALAPPDATA");
            environment.insert("HOME", "relative/home");
        }
        if (scenario == "C locale")
            environment.insert("LC_ALL", "C");
        const QByteArray input = scenario == "stdin"         ? readFile(setup)
                                 : scenario == "large stdin" ? "kelvory-league = 1\n" + QByteArray(64 * 1024, '#')
                                                             : QByteArray();
        // What the file holds now, and what the command's save would make of it.
        const QByteArray before = readFile(game());
        QByteArray target = before;
        const QString command = row.arguments.value(0);
        if (before.size() <= blockbytes::kMap) {
            // a game too short to hold the block: nothing is written into it
        } else if (command.startsWith("restore"))
            target = restoredEntry(row.arguments, before, afterSave);
        else if (scenario == "sevens")
            target.replace(blockbytes::kMap, 7, QByteArray(7, char(200)));
        else if (scenario == "outside")
            target[blockbytes::kMap] = 11;
        else if (scenario != "three saves")
            target[blockbytes::kLiga + 8] = 6;
        QProcess running;
        if (scenario == "running")
            QVERIFY(startRunningGame(running, game()));
        const QString program = QDir::toNativeSeparators(dir_->filePath("program"));
        const auto paths = [&](QString text) {
            return QDir::toNativeSeparators(text.replace("PROGRAM", program)
                                                .replace("SETUP", setup)
                                                .replace("GAME", game())
                                                .replace("FIRST", first)
                                                .replace("OUT", out)
                                                .replace("OLD", old));
        };
        // Paths go in as the system writes them; the program repeats a path as given.
        const Run run = cli(paths(row.arguments.join('\n')).split('\n', Qt::SkipEmptyParts), environment, input);
        running.kill();
        running.waitForFinished();
        QCOMPARE(run.code, row.code);
        QVERIFY2(row.err.isEmpty() ? run.err.isEmpty() : QString::fromUtf8(run.err).contains(paths(row.err)),
                 run.err.constData());
        QVERIFY2(row.out.isEmpty() ? run.out.isEmpty() : run.out.contains(row.out), run.out.constData());
        // Results on standard output; every other line says whose it is.
        for (const QByteArray& line : run.err.split('\n'))
            QVERIFY2(line.isEmpty() || line.startsWith("kelvory-cli: "), line.constData());
        QCOMPARE(run.err.endsWith(kSaved), row.written);
        if (scenario == "C locale")
            for (const QByteArray& said : {run.out, run.err})
                QVERIFY(std::all_of(said.begin(), said.end(), [](char c) { return uchar(c) < 128; }));
        if (row.arguments.contains("--json") && !row.out.isEmpty())
            QVERIFY2(jsonMatches(command, run.out, before, target), run.out.constData());
        QVERIFY(readFile(game()) == (row.written ? target : before));
        if (row.arguments.value(1) == "OUT") {  // export replaces only a league setup or an empty file
            QCOMPARE(QFileInfo(out).isSymLink(), scenario == "link there");
            QVERIFY(row.code == 0 ? readFile(out) == cli({"show"}).out
                                  : !QFileInfo(out).isFile() || readFile(out) == outBefore);
            QCOMPARE(readFile(first), scenario == "link there" ? kept : QByteArray());
        }
        QCOMPARE(QDir(dir_->filePath("elsewhere")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"Decoy.exe", "Leagues.ini"}));
    }

#ifdef Q_OS_LINUX
    // A result that cannot be written out is an error, not a success; but a
    // save that went through stays one, and says so.
    void lostOutput_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("show") << "show" << 1 << QByteArray("kelvory-cli: the output could not be written.\n");
        QTest::newRow("apply") << "apply" << 0
                               << kSaved +
                                      "kelvory-cli: the output could not be written; the game executable was "
                                      "saved.\n";
    }
    void lostOutput() {
        QFETCH(QString, command);
        QFETCH(int, code);
        QFETCH(QByteArray, err);
        const QString setup = dir_->filePath("setup.kelvory-league");
        QVERIFY(writeFile(setup, "kelvory-league = 1\nLiga3 = 6\n"));
        QProcess process;
        process.setProcessEnvironment(environment());
        process.setStandardOutputFile("/dev/full");
        process.start(program_, command == "show" ? QStringList{"show"} : QStringList{"apply", setup});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), code);
        QCOMPARE(process.readAllStandardError(), err);
        QCOMPARE(readFile(game())[blockbytes::kLiga + 8] == 6, command == "apply");
    }

    // The bash completion script completes the commands, each command's
    // options and what its operand takes: setup files and folders for FILE.
    void completion_data() {
        QTest::addColumn<QStringList>("words");  // the command line, the word being completed last
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("a command") << QStringList{"re"} << QStringList{"record", "restore", "restore-original"};
        QTest::newRow("an option") << QStringList{"apply", "--d"} << QStringList{"--dry-run"};
        QTest::newRow("options before the command")
            << QStringList{"--"} << QStringList{"--game", "--help", "--version"};
        QTest::newRow("a setup file") << QStringList{"--game", "x", "diff", ""}
                                      << QStringList{"a.kelvory-league", "sub/"};
        QTest::newRow("no second file") << QStringList{"diff", "a.kelvory-league", ""} << QStringList{};
        QTest::newRow("the game") << QStringList{"--game", ""} << QStringList{"a.kelvory-league", "b.txt", "sub/"};
        QTest::newRow("an entry") << QStringList{"restore", "o"} << QStringList{"original"};
        QTest::newRow("a shell") << QStringList{"completion", ""} << QStringList{"bash"};
        QTest::newRow("a command's help") << QStringList{"help", "h"} << QStringList{"help", "history"};
        QTest::newRow("nothing to show") << QStringList{"show", ""} << QStringList{};
    }
    void completion() {
        QFETCH(QStringList, words);
        QFETCH(QStringList, offered);
        if (QStandardPaths::findExecutable("bash").isEmpty())
            QSKIP("bash is not installed");
        const QString script = dir_->filePath("completion.bash");
        QVERIFY(writeFile(script, cli({"completion", "bash"}).out));
        QDir folder(dir_->path());
        QVERIFY(folder.mkpath("completing/sub") && folder.cd("completing"));
        QVERIFY(writeFile(folder.filePath("a.kelvory-league"), "") && writeFile(folder.filePath("b.txt"), ""));
        QProcess bash;
        bash.setWorkingDirectory(folder.path());
        bash.start("bash",
                   QStringList{"-c",
                               "source \"$1\"; shift; COMP_WORDS=(kelvory-cli \"$@\"); COMP_CWORD=$#; "
                               "_kelvory_cli; for w in \"${COMPREPLY[@]}\"; do [[ -d $w ]] && w+=/; echo \"$w\"; "
                               "done",
                               "bash", script} +
                       words);
        QVERIFY(bash.waitForFinished(10000));
        QStringList replies = QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        replies.sort();
        QCOMPARE(replies, offered);
    }

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
        // The leak checker of the sanitizer build cannot run under strace; the
        // other runs check for leaks.
        QProcessEnvironment heldEnvironment = environment();
        const QString asan = heldEnvironment.value("ASAN_OPTIONS");
        heldEnvironment.insert("ASAN_OPTIONS", asan + (asan.isEmpty() ? "" : ":") + "detect_leaks=0");
        held.setProcessEnvironment(heldEnvironment);
        held.start("strace", {"-f", "-o", "/dev/null", "-e", "trace=rename", "-e", "inject=rename:delay_enter=1000000",
                              program_, "apply", first});
        const QDir records(dir_->filePath("data/Kelvory"));
        QElapsedTimer timer;
        timer.start();
        while (records.entryList({"*.new"}, QDir::Files).isEmpty() && timer.elapsed() < 20000 &&
               !held.waitForFinished(5)) {
        }
        // Status 1 without a word from the program is strace's own: it could
        // not hold the program here.
        QByteArray heldSaid;
        const auto straceFailed = [&] {
            heldSaid += held.readAllStandardError();
            return held.state() == QProcess::NotRunning && held.exitStatus() == QProcess::NormalExit &&
                   held.exitCode() == 1 && !heldSaid.contains("kelvory-cli:");
        };
        if (straceFailed())
            QSKIP(("strace cannot hold a program here: " + heldSaid).constData());
        QVERIFY(!records.entryList({"*.new"}, QDir::Files).isEmpty());
        QProcess other;
        other.setProcessEnvironment(environment());
        other.start(program_, {"apply", second});
        int reads = 0;
        while (other.state() != QProcess::NotRunning || held.state() != QProcess::NotRunning) {
            for (const QFileInfo& record : records.entryInfoList({"*.txt"}, QDir::Files)) {
                const QByteArray text = readFile(record.filePath());
                QVERIFY2(text.startsWith("kelvory-original-block 3\n") && text.endsWith("\nend\n"), text.constData());
                ++reads;
            }
            other.waitForFinished(10);
            held.waitForFinished(10);
        }
        if (straceFailed())
            QSKIP(("strace cannot hold a program here: " + heldSaid).constData());
        const QByteArray otherSaid = other.readAllStandardError();
        QVERIFY(reads > 10);
        QVERIFY2(held.exitStatus() == QProcess::NormalExit && held.exitCode() == 0,
                 (QByteArray::number(held.exitStatus()) + " " + QByteArray::number(held.exitCode()) + " " + heldSaid)
                     .constData());
        QVERIFY2(other.exitCode() == 6 && otherSaid.contains("or while this command ran"), otherSaid.constData());
        QByteArray expected = original_;
        expected[blockbytes::kLiga + 4] = 10;
        QVERIFY(readFile(game()) == expected);
        const QByteArray text = readFile(records.entryInfoList({"*.txt"}, QDir::Files).value(0).filePath());
        QCOMPARE(text.count("\nbefore-save "), 1);  // the first apply's block, before the held one wrote
    }
#endif

private:
    QString inProgram(const QString& name) const {
        return dir_->filePath("program/" + name);
    }
    QString game() const {
        return inProgram("Game.exe");
    }

    // A process whose command line names the game as Wine keeps it: Z:\tmp\...\Game.exe.
    static bool startRunningGame(QProcess& running, const QString& game) {
        const QString windowsPath = "Z:" + QFileInfo(game).canonicalFilePath().replace('/', '\\');
        running.start("bash", {"-c", "exec -a \"$0\" sleep 60", windowsPath});
        if (!running.waitForStarted())
            return false;
        QFile cmdline(QString("/proc/%1/cmdline").arg(running.processId()));
        QElapsedTimer waited;
        waited.start();
        while (!(cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().startsWith(windowsPath.toUtf8())) &&
               waited.elapsed() < 5000) {
            cmdline.close();
            QThread::msleep(5);
        }
        return waited.elapsed() < 5000;
    }

    // The records of the original values go to a folder of the test's own; the
    // console takes UTF-8, and local time is kZone's.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", dir_->filePath("data"));
        environment.insert("LOCALAPPDATA", dir_->filePath("data"));
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("TZ", kZone);
        return environment;
    }

    Run cli(const QStringList& arguments, const QProcessEnvironment& environment = {},
            const QByteArray& input = {}) const {
        QProcess process;
        process.setWorkingDirectory(dir_->filePath("elsewhere"));
        process.setProcessEnvironment(environment.isEmpty() ? this->environment() : environment);
        process.start(program_, arguments);
        process.write(input);
        process.closeWriteChannel();
        Run run;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.code = process.exitCode();
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    // The game `file` once a restore of the entry the arguments name wrote
    // it: the original's values, or those a save of `afterSave` left (the
    // newest entry of the history, 2, holds the values before the newest save).
    QByteArray restoredEntry(const QStringList& arguments, QByteArray file, const QList<QByteArray>& afterSave) const {
        const QString entry = arguments.value(0) == "restore-original" ? "original" : arguments.value(1);
        const int number = entry == "original" ? 1 : entry.toInt();
        if (number == 1)
            blockbytes::copyShown(original_, file);
        else if (number > 1 && number < afterSave.size())
            blockbytes::copyShown(afterSave[afterSave.size() - number], file);
        return file;
    }

    // Whether the --json document of `command` says what the game file
    // holds (`before`) and what the command writes or would write (`target`),
    // read with the file layout alone.
    bool jsonMatches(const QString& command, const QByteArray& out, const QByteArray& before,
                     const QByteArray& target) const {
        QJsonParseError error;
        const QJsonObject document = QJsonDocument::fromJson(out, &error).object();
        if (error.error != QJsonParseError::NoError ||
            QDir::fromNativeSeparators(document.value("game").toString()) != game())
            return false;
        if (command == "show") {
            const QJsonArray list = document.value("fields").toArray();
            QStringList ids;
            for (const QJsonValue& field : list) {
                const QJsonObject object = field.toObject();
                ids << object.value("id").toString();
                if (object.value("value") != fieldValue(before, ids.back()) || !object.value("outside_game").isBool() ||
                    !object.value("key").isString() || !object.value("game_range").toObject().contains("max"))
                    return false;
            }
            return ids == fieldIds() && document.value("hidden").toObject() == hiddenBytes(before);
        }
        if (command == "history")
            return historyMatches(document.value("entries").toArray(), before);
        QJsonObject changes;
        for (const QJsonValue& change : document.value("changes").toArray())
            changes.insert(change.toObject().value("id").toString(), change);
        for (const QString& id : fieldIds()) {
            const QJsonValue from = fieldValue(before, id), to = fieldValue(target, id);
            const QJsonObject change = changes.take(id).toObject();
            if (from != to ? change.value("from") != from || change.value("to") != to : !change.isEmpty())
                return false;
        }
        return changes.isEmpty() && document.value("hidden").isNull();
    }

    // The history's entries against the record itself: the original first,
    // then the entries before each save, newest first; each with its date in
    // the program's local time, and how many fields differ from `now`.
    bool historyMatches(const QJsonArray& entries, const QByteArray& now) const {
        const QFileInfoList records = QDir(dir_->filePath("data/Kelvory")).entryInfoList({"*.txt"}, QDir::Files);
        const QList<QByteArray> lines = readFile(records.value(0).filePath()).split('\n');
        QList<QPair<QByteArray, QByteArray>> regions;  // offset+length
        QList<QList<QByteArray>> recorded;             // kind, date, hex
        for (const QByteArray& line : lines) {
            const QList<QByteArray> words = line.split(' ');
            if (words[0] == "regions")
                for (const QByteArray& region : words.mid(1))
                    regions << qMakePair(region.split('+')[0], region.split('+')[1]);
            if (words[0] == "original")
                recorded.prepend(words);
            if (words[0] == "before-save")
                recorded.insert(1, words);
        }
        if (entries.size() != recorded.size())
            return false;
        for (int i = 0; i < entries.size(); ++i) {
            const QJsonObject entry = entries[i].toObject();
            QByteArray file = now;
            QByteArray bytes = QByteArray::fromHex(recorded[i][2]);
            for (const auto& [offset, length] : regions) {
                file.replace(offset.toLongLong(), length.toInt(), bytes.left(length.toInt()));
                bytes.remove(0, length.toInt());
            }
            int differ = 0;
            for (const QString& id : fieldIds())
                differ += fieldValue(file, id) != fieldValue(now, id) ? 1 : 0;
            const QString date = QDateTime::fromString(QString::fromLatin1(recorded[i][1]), Qt::ISODate)
                                     .toOffsetFromUtc(kZoneOffset)
                                     .toString(Qt::ISODate);
            if (entry.value("number").toInt() != i + 1 || entry.value("kind").toString() != recorded[i][0] ||
                entry.value("date").toString() != date || entry.value("changed_fields").toInt() != differ)
                return false;
        }
        return true;
    }

    // Every field's short name, in the order of the window's boxes.
    static QStringList fieldIds() {
        QStringList ids;
        const auto add = [&ids](const QString& kind, int count) {
            for (int i = 1; i <= count; ++i)
                ids << kind + "_" + QString::number(i);
        };
        add("liga", 4);  // National Slot
        ids << "liga_5"
            << "liga_6"
            << "liga_7"
            << "liga_8"
            << "liga_9"
            << "liga_10"
            << "liga_11"
            << "liga_12"
            << "liga_13";
        ids << "str_1"
            << "str_3"
            << "str_4"
            << "str_2";  // National Name, top row first
        for (int i = 5; i <= 13; ++i)
            ids << "str_" + QString::number(i);
        add("cat", 4);
        add("catl", 7);
        add("map", 13);
        return ids;
    }

    // The value of a field in the game file, by the block's layout alone.
    static QJsonValue fieldValue(const QByteArray& file, const QString& id) {
        const QString kind = id.section('_', 0, 0);
        const int n = id.section('_', 1).toInt() - 1;
        const auto number = [&file](qint64 at, int bytes) {
            qint64 value = 0;
            for (int i = 0; i < bytes; ++i)
                value |= qint64(uchar(file[at + i])) << (8 * i);
            return bytes == 4 ? qint64(qint32(value)) : bytes == 2 ? qint64(qint16(value)) : value;
        };
        if (kind == "cat")
            return QString::fromLatin1(file.mid(blockbytes::kCat + 12 * n, 11));
        return kind == "liga"   ? number(blockbytes::kLiga + 4 * n, 4)
               : kind == "str"  ? number(blockbytes::kStr + 4 * n, 2)
               : kind == "catl" ? number(blockbytes::kCatL + 4 * n, 4)
                                : number(blockbytes::kMap + n, 1);
    }

    // The bytes no box shows, as hexadecimal text.
    static QJsonObject hiddenBytes(const QByteArray& file) {
        QByteArray str, cat;
        for (int i = 0; i < 13; ++i)
            str += file.mid(blockbytes::kStr + 4 * i + 2, 2);
        for (int i = 0; i < 3; ++i)
            cat += file.mid(blockbytes::kCat + 12 * i + 11, 1);
        return {{"map_slots", QString(file.mid(blockbytes::kMap + 13, 7).toHex())},
                {"str_reserved", QString(str.toHex())},
                {"cat_reserved", QString(cat.toHex())}};
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString program_;
    QByteArray original_;
};

QTEST_MAIN(CliTest)
#include "CliTest.moc"
