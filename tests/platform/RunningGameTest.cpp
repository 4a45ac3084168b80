#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../common/Rows.h"
#include "platform/RunningGame.h"

namespace fs = std::filesystem;

namespace {

// The game as Leagues.ini gives it, and one process of a made-up table,
// beside one that is never the game. "@" stands for the test's own folder;
// in a path that holds a backslash, with backslashes.
struct Case {
    const char* game;
    const char* executable;
    const char* firstArgument;
    const char* runsIn;  // the folder the process runs in
    bool found;
};

struct FakeTable : platform::ProcessTable {
    std::vector<platform::RunningProcess> list;
    fs::path folder;  // every process runs in it
    std::vector<platform::RunningProcess> processes() const override { return list; }
    fs::path workingFolder(int) const override { return folder; }
};

std::string inFolder(std::string path, const std::string& folder) {
    if (const std::size_t at = path.find('@'); at != std::string::npos)
        path.replace(at, 1, folder);
    if (path.find('\\') != std::string::npos)
        std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

Q_DECLARE_METATYPE(Case)

class RunningGameTest : public QObject {
    Q_OBJECT

private slots:
    // The game lies in @/drive_c/games/League/Game.exe; @/Other holds a
    // program of the same name, @/linked is a link to the League folder.
    void findsTheGame_data() {
        const char* game = "@/drive_c/games/League/../League/Game.exe";
        rows<Case>({
            {"native program", {game, "@/drive_c/games/League/Game.exe", "", "", true}},
            {"native program, game through a link",
             {"@/linked/Game.exe", "@/drive_c/games/League/Game.exe", "", "", true}},
            {"native program, not ours to read", {game, "", "", "", false}},
            {"Wine, Z: in other case", {game, "", "Z:@\\DRIVE_C\\GAMES\\LEAGUE\\GAME.EXE", "", true}},
            {"Wine, C: with dots", {game, "", "c:\\Program Files\\..\\LEAGUE\\.\\GAME.EXE", "", true}},
            {"Wine, the same name in another folder", {game, "", "C:\\games\\Other\\Game.exe", "", false}},
            {"Wine, typed relative to its folder", {game, "", "League/Game.exe", "@/drive_c/games", true}},
            {"Wine, the same name typed in another folder", {game, "", "Game.exe", "@/Other", false}},
            {"Unix path", {game, "", "@/drive_c/games/League/Game.exe", "", true}},
            {"Unix path through a link", {game, "", "@/linked/Game.exe", "", true}},
            {"Unix path in other case", {game, "", "@/drive_c/games/league/Game.exe", "", false}},
            {"native, the same name in another folder", {game, "@/Other/Game.exe", "@/Other/Game.exe", "", false}},
        });
    }
    void findsTheGame() {
#ifdef _WIN32
        QSKIP("Wine's and Linux's paths");
#endif
        QFETCH(Case, row);
        QTemporaryDir temporary;
        const std::string folder = fs::canonical(temporary.path().toStdString()).string();
        for (const char* program : {"/drive_c/games/League/Game.exe", "/Other/Game.exe"}) {
            fs::create_directories(fs::path(folder + program).parent_path());
            std::ofstream(folder + program) << "MZ";
        }
        fs::create_directory_symlink(folder + "/drive_c/games/League", folder + "/linked");
        FakeTable table;
        table.list = {{7, "/usr/bin/bash", "bash", false},
                      {42, inFolder(row.executable, folder), inFolder(row.firstArgument, folder), false}};
        table.folder = inFolder(row.runsIn, folder);
        QCOMPARE(platform::findRunningGame(inFolder(row.game, folder), table),
                 row.found ? std::optional<int>(42) : std::nullopt);
    }

    // The system's table holds this very process, by its executable and (but
    // on Windows) its first argument.
    void systemTableHoldsThisProcess() {
#ifdef _WIN32
        const fs::path own = QCoreApplication::applicationFilePath().toStdWString();
#else
        const fs::path own = "/proc/self/exe";
#endif
        QStringList self;  // its executable, and its first argument as it was started
        for (const platform::RunningProcess& process : platform::systemProcessTable().processes())
            if (process.self)
                self << QString::number(fs::equivalent(process.executable, own)) + " " +
                            QString::fromStdString(process.firstArgument);
#ifdef _WIN32
        QCOMPARE(self, QStringList{"1 "});
#else
        QCOMPARE(self, QStringList{"1 " + QCoreApplication::arguments().value(0)});
#endif
#ifndef _WIN32
        QCOMPARE(platform::systemProcessTable().workingFolder(int(QCoreApplication::applicationPid())),
                 fs::current_path());
#endif
        // ... and Kelvory never counts as the game.
        QCOMPARE(platform::findRunningGame(own, platform::systemProcessTable()), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(RunningGameTest)
#include "RunningGameTest.moc"
