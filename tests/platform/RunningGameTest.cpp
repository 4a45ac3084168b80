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
    const char* environment = "";  // one "NAME=value" of the process's environment
};

struct FakeTable : platform::ProcessTable {
    std::vector<platform::RunningProcess> list;
    fs::path folder;  // every process runs in it
    std::string variable;
    std::vector<platform::RunningProcess> processes() const override { return list; }
    fs::path workingFolder(int) const override { return folder; }
    std::optional<std::string> environment(int, const std::string& name) const override {
        if (variable.rfind(name + "=", 0) != 0)
            return std::nullopt;
        return variable.substr(name.size() + 1);
    }
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
    // program of the same name, @/linked is a link to the League folder,
    // @/drive_c/games/Linked/Play.exe a hard link to the game. Wine prefixes:
    // @/prefix (d: the Linked folder, z: @/drive_c), @/home/.wine (c:
    // ../../../drive_c), @/prefix2 (c: @/copy_c, which holds another
    // games/League/Game.exe).
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
            {"native, a hard link by another name", {game, "@/drive_c/games/Linked/Play.exe", "", "", true}},
            {"Unix path, a hard link by another name", {game, "", "@/drive_c/games/Linked/Play.exe", "", true}},
            {"typed relative, a hard link by another name", {game, "", "Linked/Play.exe", "@/drive_c/games", true}},
            {"Wine, a drive of its prefix", {game, "", "D:\\PLAY.EXE", "", true, "WINEPREFIX=@/prefix"}},
            {"Wine, Z: of its prefix elsewhere",
             {game, "", "z:\\games\\linked\\play.exe", "", true, "WINEPREFIX=@/prefix"}},
            {"Wine, C: of the default prefix", {game, "", "C:\\GAMES\\LINKED\\PLAY.EXE", "", true, "HOME=@/home"}},
            {"Wine, the game's names in another prefix",
             {game, "", "C:\\games\\League\\Game.exe", "", false, "WINEPREFIX=@/prefix2"}},
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
        fs::create_directories(folder + "/drive_c/games/Linked");
        fs::create_hard_link(folder + "/drive_c/games/League/Game.exe", folder + "/drive_c/games/Linked/Play.exe");
        for (const char* drives : {"/prefix/dosdevices", "/home/.wine/dosdevices", "/prefix2/dosdevices"})
            fs::create_directories(folder + drives);
        fs::create_directory_symlink(folder + "/drive_c/games/Linked", folder + "/prefix/dosdevices/d:");
        fs::create_directory_symlink(folder + "/drive_c", folder + "/prefix/dosdevices/z:");
        fs::create_directory_symlink("../../../drive_c", folder + "/home/.wine/dosdevices/c:");
        fs::create_directories(folder + "/copy_c/games/League");
        std::ofstream(folder + "/copy_c/games/League/Game.exe") << "MZ";
        fs::create_directory_symlink(folder + "/copy_c", folder + "/prefix2/dosdevices/c:");
        FakeTable table;
        table.variable = inFolder(row.environment, folder);
        table.list = {{7, "/usr/bin/bash", "bash", false},
                      {42, inFolder(row.executable, folder), inFolder(row.firstArgument, folder), false}};
        table.folder = inFolder(row.runsIn, folder);
        QCOMPARE(platform::findRunningGame(inFolder(row.game, folder), table),
                 row.found ? std::optional<int>(42) : std::nullopt);
    }

    // The system's table holds this very process, by its executable and (but
    // on Windows) its first argument, folder and environment.
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
        const int pid = int(QCoreApplication::applicationPid());
        QCOMPARE(platform::systemProcessTable().workingFolder(pid), fs::current_path());
        // ... and its environment as it was started.
        QCOMPARE(platform::systemProcessTable().environment(pid, "PATH"), std::optional<std::string>(getenv("PATH")));
        QCOMPARE(platform::systemProcessTable().environment(pid, "KELVORY_NOT_SET"), std::nullopt);
#endif
        // ... and Kelvory never counts as the game.
        QCOMPARE(platform::findRunningGame(own, platform::systemProcessTable()), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(RunningGameTest)
#include "RunningGameTest.moc"
