// The window program's command line, read as kelvory-cli reads its own.

#include <QTest>
#include <sstream>

#include "../common/Rows.h"
#include "app/WindowArguments.h"

namespace {

// Arguments, and what comes of them: the exit status before any window (-1:
// the window opens), the game named (in the language rows: the language),
// and the start of what is printed.
struct Line {
    QStringList arguments;
    int status;
    QString game;
    QString out, err;
    QString language = {};
};

}  // namespace

Q_DECLARE_METATYPE(Line)

class WindowArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheCommandLine_data() {
        const QString tryHelp = "\nTry \"kelvory --help\".\n";
        rows<Line>({
            {"nothing", {{}, -1, "", "", ""}},
            {"--game PATH", {{"--game", "/games/Game File.exe"}, -1, "/games/Game File.exe", "", ""}},
            {"--game=PATH", {{"--game=C:\\Games\\Game.exe"}, -1, "C:\\Games\\Game.exe", "", ""}},
            {"a path that starts with a dash, and --", {{"--game", "-odd", "--"}, -1, "-odd", "", ""}},
            {"--help", {{"--help"}, 0, "", "Usage: kelvory [--game PATH] [--language CODE]\n", ""}},
            {"-h", {{"-h"}, 0, "", "Usage: kelvory [--game PATH] [--language CODE]\n", ""}},
            {"--version", {{"--version"}, 0, "", "kelvory 9.8.7\n", ""}},
            {"unknown option", {{"--gmae", "x"}, 2, "", "", "kelvory: unknown option \"--gmae\"." + tryHelp}},
            {"a toolkit option", {{"-style", "fusion"}, 2, "", "", "kelvory: unknown option \"-style\"." + tryHelp}},
            {"a word", {{"Game.exe"}, 2, "", "", "kelvory: unexpected argument \"Game.exe\"." + tryHelp}},
            {"--game without a path",
             {{"--game"}, 2, "", "", "kelvory: --game needs the path of the game executable." + tryHelp}},
            {"--game twice", {{"--game", "a", "--game=b"}, 2, "", "", "kelvory: --game is given twice." + tryHelp}},
            {"--help with more", {{"--help", "--game", "a"}, 2, "", "", "kelvory: --help stands alone." + tryHelp}},
            {"--version with --help", {{"--version", "--help"}, 2, "", "", "kelvory: --help stands alone." + tryHelp}},
            // --language takes its value as --game does.
            {"--language CODE", {{"--language", "pl"}, -1, "", "", "", "pl"}},
            {"--language=CODE beside --game", {{"--game", "g", "--language=pl_PL"}, -1, "g", "", "", "pl_PL"}},
            {"--language without a code",
             {{"--language"}, 2, "", "", "kelvory: --language needs a language code such as pl." + tryHelp}},
            {"--language twice",
             {{"--language=pl", "--language", "en"}, 2, "", "", "kelvory: --language is given twice." + tryHelp}},
            {"--version with --language",
             {{"--version", "--language", "pl"}, 2, "", "", "kelvory: --version stands alone." + tryHelp}},
        });
    }
    void readsTheCommandLine() {
        QFETCH(Line, row);
        std::vector<std::string> arguments;
        for (const QString& argument : row.arguments)
            arguments.push_back(argument.toStdString());
        const WindowArguments parsed = parseWindowArguments(arguments);
        std::ostringstream out, err;
        const std::optional<int> status = answerArguments(parsed, "9.8.7", out, err);
        QCOMPARE(status.value_or(-1), row.status);
        QCOMPARE(QString::fromStdString(parsed.game.value_or("")), row.game);
        QCOMPARE(QString::fromStdString(parsed.language.value_or("")), row.language);
        QVERIFY2(QString::fromStdString(out.str()).startsWith(row.out), out.str().c_str());
        QCOMPARE(out.str().empty(), row.out.isEmpty());
        QCOMPARE(QString::fromStdString(err.str()), row.err);
    }

    // Output that cannot be written is an error, said on the other stream.
    void outputLost() {
        std::ostringstream out, err;
        out.setstate(std::ios::badbit);
        QCOMPARE(answerArguments(parseWindowArguments({"--version"}), "1", out, err), std::optional<int>(1));
        QCOMPARE(err.str(), std::string("kelvory: the output could not be written.\n"));
    }
};

QTEST_APPLESS_MAIN(WindowArgumentsTest)
#include "WindowArgumentsTest.moc"
