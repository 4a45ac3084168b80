// kelvory-cli run as a process from a program folder of its own: its
// arguments, each command's outcome and exit status, and what only the
// console program does. The rules behind the commands are the session's, the
// store's and the setup library's (tests/session, tests/store, tests/setup).

#include <QDir>
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
            "warning: outside what the game takes: Maps Load u_1426.bin ->dt06.img, row 1, "
            "Europe: 11 (the game takes 0 to 10)\n";
        const QString block = "The bytes where Kelvory expects the league block do not look like one.";
        const QByteArray marked = "row 1 = \"cat\\x01gory_00\"\n# outside what the game takes: category texts";
        const QByteArray liga3 = "National Slot, row 3: 12 \xe2\x86\x92 6\n";
        const QByteArray restored = "Club Name, row 3: 300 \xe2\x86\x92 26\n";
        const QString other = "The game executable changed since the record of its original values was taken";
        const QString unread = "The record of the original values cannot be read.";
        const QString noFolder = "he system names no folder for Kelvory's data";
        const QStringList apply{"apply", "SETUP"}, force{"apply", "--force", "SETUP"}, restore{"restore-original"};
        const auto usage = [](const QString& what) { return "kelvory-cli: " + what; };
        const QByteArray shown = "\nClub Name, row 3 = 26\n";
        rows<Outcome>({
            {"help", {"", {"--help"}, 0, "", "Usage: kelvory-cli [--game PATH] COMMAND\n"}},
            {"version", {"", {"--version"}, 0, "", "kelvory-cli " KELVORY_VERSION "\n"}},
            {"no command", {"", {}, 2, usage("no command given.\nTry \"kelvory-cli --help\".\n")}},
            {"unknown command", {"", {"frobnicate"}, 2, usage("unknown command \"frobnicate\".")}},
            {"show with a file", {"", {"show", "extra"}, 2, usage("unexpected argument \"extra\".")}},
            {"apply without a file", {"", {"apply"}, 2, usage("apply needs the setup file.")}},
            {"diff with two files", {"", {"diff", "a", "b"}, 2, usage("unexpected argument \"b\".")}},
            {"dry run with diff", {"", {"diff", "a", "--dry-run"}, 2, usage("--dry-run goes with apply and restore-")}},
            {"force with show", {"", {"show", "--force"}, 2, usage("--force goes with apply and restore-")}},
            {"strict with export", {"", {"export", "a", "--strict"}, 2, usage("--strict goes with apply and diff")}},
            {"game without a path", {"", {"show", "--game"}, 2, usage("--game needs the path of the game")}},
            {"game twice", {"", {"--game", "a", "--game=b", "show"}, 2, usage("--game is given twice.")}},
            {"unknown option", {"", {"--forse", "show"}, 2, usage("unknown option \"--forse\".")}},
            {"help with a command", {"", {"show", "-h"}, 2, usage("--help stands alone.")}},
            {"version with a word", {"", {"--version", "bogus"}, 2, usage("--version stands alone.")}},
            {"version with an option", {"", {"--version", "--dry-run"}, 2, usage("--version stands alone.")}},
            {"show --game PATH", {"no Leagues.ini", {"--game", "GAME", "show"}, 0, "", shown}},
            {"show --game=PATH", {"no Leagues.ini", {"show", "--game=GAME"}, 0, "", shown}},
            {"diff", {"", {"diff", "SETUP"}, 0, "", liga3}},
            {"apply --dry-run", {"", {"apply", "--dry-run", "SETUP"}, 0, "", liga3}},
            {"apply", {"", apply, 0, "", liga3, true}},
            {"apply, nothing to change", {"applied", {"apply", "FIRST"}, 0, "", "no changes\n"}},
            {"invalid setup", {"invalid", apply, 4, "SETUP, line 2: Club Name, row 3: \"x\" is not a whole"}},
            {"missing setup", {"", {"diff", "PROGRAM/none"}, 4, "PROGRAM/none: the file does not exist."}},
            {"a setup named -", {"", {"diff", "-"}, 4, "-: the file does not exist.\n"}},
            {"invalid setup and no game", {"invalid, no game", apply, 4, "SETUP, line 2: "}},
            {"no Leagues.ini", {"no Leagues.ini", {"show"}, 3, "Leagues.ini was not found.\n\nGive the game"}},
            {"game missing", {"no game", {"show"}, 3, "Gone.exe\n\nThe file does not exist.\n\nMake sure"}},
            {"--game names a folder", {"", {"--game", "PROGRAM", "show"}, 3, "device.\n\nCheck the path given"}},
            {"game too short", {"short game", {"show"}, 3, "The file is 1,000 bytes long and ends before"}},
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
            {"no record", {"", restore, 7, "There is no record of the original values"}},
            {"no data folder, apply", {"no data folder", apply, 5, noFolder, liga3}},
            {"no data folder, restore", {"no data folder", restore, 7, unread + "\n\nt" + noFolder}},
            {"outside the game's values", {"outside", apply, 0, outside, "row 1: 0 \xe2\x86\x92 11\n", true}},
            {"outside, --strict", {"outside", {"apply", "--strict", "SETUP"}, 6, outside}},
            {"not a block, show", {"block", {"show"}, 0, block, marked}},
            {"not a block, apply", {"block", apply, 6, block}},
            {"not a block, apply --force", {"block", force, 0, block, liga3, true}},
#ifdef Q_OS_LINUX
            {"running, apply", {"running", apply, 8, "The game is running (process ", liga3}},
            {"running, apply --force", {"running", force, 8, "or give --while-running to save anyway", liga3}},
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
             {"forced sevens", restore, 0, "", "original values recorded", true}},
            {"restores the original", {"applied", restore, 0, "", "original values recorded 20", true}},
            {"nothing to restore", {"applied, put back by hand, header", restore, 0, "", "\nnothing to restore\n"}},
            {"restore into another executable", {"applied, header", restore, 6, other, restored}},
            {"restore into another executable, dry run",
             {"applied, header", {"restore-original", "--dry-run"}, 0, other, restored}},
            {"restore into another executable, forced",
             {"applied, header", {"restore-original", "--force"}, 0, other, restored, true}},
            {"damaged record", {"applied, damaged", restore, 7, unread + "\n\n"}},
            {"changed since the last save",
             {"applied, changed", apply, 6, "since Kelvory last saved it, or while", liga3}},
            {"changed since the last save, forced",
             {"applied, changed", force, 0, "kelvory-cli: warning: --force: saving over a league block another", liga3,
              true}},
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
        if (scenario.startsWith("applied")) {
            QVERIFY(writeFile(first, kChanges));
            QCOMPARE(cli({"apply", first}).code, 0);
        }
        if (scenario == "forced sevens") {
            QVERIFY(writeFile(first, sevens));
            QCOMPARE(cli({"apply", "--force", first}).code, 0);
        }
        if (scenario.contains("by hand"))
            QVERIFY(blockbytes::writeBlockArea(fsPath(game()), original_));
        if (scenario.endsWith("header"))  // another build of the game
            QVERIFY(blockbytes::writeAt(fsPath(game()), 100, "\x5a"));
        if (scenario.endsWith("changed"))  // by another program
            QVERIFY(blockbytes::writeAt(fsPath(game()), blockbytes::kLiga, QByteArray("\x2a\0\0\0", 4)));
        if (scenario.endsWith("damaged")) {
            const QFileInfoList records = QDir(dir_->filePath("data/Kelvory")).entryInfoList({"*.txt"}, QDir::Files);
            QCOMPARE(records.size(), 1);
            QVERIFY(writeFile(records[0].filePath(), readFile(records[0].filePath()).chopped(4)));  // "end\n" gone
        }
        QProcessEnvironment environment = this->environment();
        if (scenario == "no data folder") {
            environment.remove("XDG_DATA_HOME");
            environment.remove("LOCALAPPDATA");
            environment.insert("HOME", "relative/home");
        }
        QByteArray expected = readFile(game());
        if (row.written && row.arguments.front() == "restore-original")
            blockbytes::copyShown(original_, expected);
        else if (row.written && scenario == "sevens")
            expected.replace(blockbytes::kMap, 7, QByteArray(7, char(200)));
        else if (row.written)
            expected[scenario == "outside" ? blockbytes::kMap : blockbytes::kLiga + 8] = scenario == "outside" ? 11 : 6;
        QProcess running;
        if (scenario == "running")
            QVERIFY(startRunningGame(running, game()));
        const QString program = QDir::toNativeSeparators(dir_->filePath("program"));
        const auto paths = [&](QString text) {
            return QDir::toNativeSeparators(text.replace("PROGRAM", program)
                                                .replace("SETUP", setup)
                                                .replace("GAME", game())
                                                .replace("FIRST", first)
                                                .replace("OUT", out));
        };
        // Paths go in as the system writes them; the program repeats a path as given.
        const Run run = cli(paths(row.arguments.join('\n')).split('\n', Qt::SkipEmptyParts), environment);
        running.kill();
        running.waitForFinished();
        QCOMPARE(run.code, row.code);
        QVERIFY2(row.err.isEmpty() ? run.err.isEmpty() : QString::fromUtf8(run.err).contains(paths(row.err)),
                 run.err.constData());
        QVERIFY2(row.out.isEmpty() ? run.out.isEmpty() : run.out.contains(row.out), run.out.constData());
        QCOMPARE(run.out.endsWith("Save Successfully\n"), row.written);
        QVERIFY(readFile(game()) == expected);
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
                               << QByteArray(
                                      "kelvory-cli: the output could not be written; the game executable was "
                                      "saved.\n");
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
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return run;
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
