#include "cli/Cli.h"

#include <optional>

#include "catalogues/Ini.h"
#include "core/Baza.h"
#include "platform/ConsoleProgram.h"
#include "platform/FileNames.h"
#include "setup/BlockSave.h"
#include "setup/LeagueSetup.h"

#ifndef KELVORY_VERSION
#define KELVORY_VERSION "unknown"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: kelvory-cli [--game PATH] COMMAND\n"
    "\n"
    "Shows and changes the league block of the game executable through league setup\n"
    "files (.kelvory-league), with the same rules as the Kelvory window.\n"
    "\n"
    "Commands:\n"
    "  show                  print the league block as a setup file\n"
    "  export FILE           write the league block to the setup file FILE\n"
    "  diff FILE             list what applying FILE would change\n"
    "  apply FILE            change the league block as FILE says and save it\n"
    "  apply FILE --dry-run  list the changes without saving\n"
    "  --help                show this help\n"
    "  --version             show the version\n"
    "\n"
    "Options:\n"
    "  --game PATH           the game executable; without it, line 2 of Leagues.ini in\n"
    "                        kelvory-cli's own folder names it, as for the window\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  unexpected error\n"
    "  2  usage error: unknown command or option, missing or extra argument\n"
    "  3  Leagues.ini or the game executable could not be read; nothing was written\n"
    "  4  the setup file could not be read, is not a valid setup, or could not be written\n"
    "  5  the game executable could not be saved\n";

struct Options {
    bool help = false;
    bool version = false;
    bool dryRun = false;
    std::optional<std::string> game;
    std::vector<std::string> words;  // the command and its file
};

struct UsageError {
    std::string what;
};

Options parseArguments(const std::vector<std::string>& arguments) {
    Options options;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
            options.words.push_back(argument);
        } else if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--dry-run") {
            options.dryRun = true;
        } else if (argument == "--game" || argument.rfind("--game=", 0) == 0) {
            if (options.game) {
                throw UsageError{"--game is given twice."};
            }
            if (argument == "--game") {
                if (++i == arguments.size()) {
                    throw UsageError{"--game needs the path of the game executable."};
                }
                options.game = arguments[i];
            } else {
                options.game = argument.substr(7);
            }
        } else {
            throw UsageError{"unknown option \"" + argument + "\"."};
        }
    }
    if (options.help || options.version) {
        return options;
    }
    if (options.words.empty()) {
        throw UsageError{"no command given."};
    }
    const std::string& command = options.words.front();
    const std::size_t files = command == "show" ? 0 : 1;
    if (command != "show" && command != "export" && command != "diff" && command != "apply") {
        throw UsageError{"unknown command \"" + command + "\"."};
    }
    if (options.words.size() < 1 + files) {
        throw UsageError{command + " needs the setup file."};
    }
    if (options.words.size() > 1 + files) {
        throw UsageError{"unexpected argument \"" + options.words[1 + files] + "\"."};
    }
    if (options.dryRun && command != "apply") {
        throw UsageError{"--dry-run goes with apply only."};
    }
    return options;
}

// Config fills the window's name box; here only its result counts.
class NoWindow : public IniHost {
public:
    void appendCategory(const std::string&) override {}
    void appendName(const std::string&) override {}
    void appendStructure(const std::string&) override {}
    void setExecutableName(const std::string&) override {}
    std::string logoBoxText(int) const override { return {}; }
    void setLogoIndicator(int, const std::string&) override {}
};

class Command {
public:
    Command(const Options& options, std::filesystem::path programFolder, std::ostream& out, std::ostream& err)
        : options_(options), folder_(std::move(programFolder)), out_(out), err_(err) {}

    CliExit run() {
        const std::string& command = options_.words.front();
        std::optional<Setup> setup;
        if (command == "diff" || command == "apply") {
            // The setup is checked before the game executable is even opened.
            try {
                setup = readSetupFile(platform::argumentPath(options_.words[1]));
            } catch (const SetupError& error) {
                err_ << error.what() << "\n";
                return CliExit::SetupInvalid;
            }
        }
        if (!findGame() || !loadGame()) {
            return CliExit::GameUnreadable;
        }
        if (command == "show") {
            out_ << writeSetup(setupOf(baza_));
            return CliExit::Done;
        }
        if (command == "export") {
            try {
                writeSetupFile(platform::argumentPath(options_.words[1]), setupOf(baza_));
            } catch (const SetupError& error) {
                err_ << error.what() << "\n";
                return CliExit::SetupInvalid;
            }
            return CliExit::Done;
        }
        const std::vector<SetupChange> changes = setupChanges(baza_, *setup);
        for (const SetupChange& change : changes) {
            out_ << describeChange(change) << "\n";
        }
        if (changes.empty()) {
            out_ << "no changes\n";
        }
        if (command == "diff" || options_.dryRun || changes.empty()) {
            return CliExit::Done;
        }
        const Baza::Block loaded = baza_.block();
        applySetup(baza_, *setup);
        return save(loaded);
    }

private:
    bool findGame() {
        if (options_.game) {
            game_ = platform::argumentPath(*options_.game);
            return true;
        }
        NoWindow window;
        const ConfigResult config = Ini(window, folder_).Config();
        if (!config.ok()) {
            err_ << config.message() << "\n\nGive the game executable's path with --game PATH.\n";
            return false;
        }
        game_ = config.gamePath;
        return true;
    }

    bool loadGame() {
        if (baza_.Wczytaj(game_)) {
            return true;
        }
        err_ << loadFailureMessage(game_) << "\n\n"
             << (options_.game ? "Check the path given with --game."
                               : "Make sure line 2 of Leagues.ini names the game executable in Kelvory's folder, or "
                                 "give its path with --game.")
             << "\n";
        return false;
    }

    CliExit save(const Baza::Block& onDisk) {
        try {
            if (saveLeagueBlock(baza_, onDisk, game_)) {
                out_ << "Save Successfully\n";
                return CliExit::Done;
            }
        } catch (const SaveError& error) {
            err_ << saveFailureMessage(error) << "\n";
            return CliExit::SaveFailed;
        } catch (const std::exception& error) {
            err_ << "The game executable could not be saved.\n\n"
                 << platform::pathToShow(game_) << "\n"
                 << error.what() << "\n";
            return CliExit::SaveFailed;
        }
        err_ << "Nothing was saved: no game executable was loaded.\n";
        return CliExit::SaveFailed;
    }

    const Options& options_;
    std::filesystem::path folder_;
    std::ostream& out_;
    std::ostream& err_;
    std::filesystem::path game_;
    Baza baza_;
};

}  // namespace

CliExit runCli(const std::vector<std::string>& arguments, const std::filesystem::path& programFolder, std::ostream& out,
               std::ostream& err) {
    Options options;
    try {
        options = parseArguments(arguments);
    } catch (const UsageError& error) {
        err << "kelvory-cli: " << error.what << "\nTry \"kelvory-cli --help\".\n";
        return CliExit::Usage;
    }
    CliExit result = CliExit::Done;
    if (options.help) {
        out << kUsage;
    } else if (options.version) {
        out << "kelvory-cli " KELVORY_VERSION "\n";
    } else {
        result = Command(options, programFolder, out, err).run();
    }
    if (!out.flush()) {
        err << "kelvory-cli: the output could not be written.\n";
        return CliExit::Unexpected;
    }
    return result;
}
