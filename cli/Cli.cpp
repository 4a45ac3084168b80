#include "cli/Cli.h"

#include <optional>

#include "catalogues/Ini.h"
#include "core/GameRanges.h"
#include "platform/ConsoleProgram.h"
#include "session/LeagueSession.h"
#include "setup/LeagueSetup.h"

#ifdef _WIN32
#define KELVORY_RECORD_FOLDER_TEXT "%LOCALAPPDATA%\\Kelvory"
#else
#define KELVORY_RECORD_FOLDER_TEXT "~/.local/share/Kelvory"
#endif

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
    "  restore-original      put back the league block as it was before Kelvory's first\n"
    "                        save into this game executable, and save it\n"
    "  restore-original --dry-run  list what restoring would change, without saving\n"
    "  --help                show this help\n"
    "  --version             show the version\n"
    "\n"
    "Options:\n"
    "  --game PATH           the game executable; without it, line 2 of Leagues.ini in\n"
    "                        kelvory-cli's own folder names it, as for the window\n"
    "  --force               save even when another program changed the league block\n"
    "                        since Kelvory last saved it, or when the bytes in the file\n"
    "                        or the values to write do not look like a league block\n"
    "                        (apply, restore-original); restore a record taken of a\n"
    "                        different executable. Each check it overrides is named\n"
    "                        on standard error\n"
    "  --while-running       save even while the game is running (apply,\n"
    "                        restore-original); where the system keeps the running\n"
    "                        game's file locked (Windows, Wine), nothing can\n"
    "                        help: close the game\n"
    "  --strict              refuse values the game is not known to take (apply, diff);\n"
    "                        without it they are warned about on standard error\n"
    "\n"
    "Before its first save into a game executable, Kelvory records the league block's\n"
    "original bytes in its per-user data folder (" KELVORY_RECORD_FOLDER_TEXT
    "),\n"
    "and before every later save the bytes it overwrites (the newest 50).\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  unexpected error\n"
    "  2  usage error: unknown command or option, missing or extra argument\n"
    "  3  Leagues.ini or the game executable could not be read; nothing was written\n"
    "  4  the setup file could not be read, is not a valid setup, or could not be written\n"
    "  5  the game executable could not be saved\n"
    "  6  refused, nothing was written: another program changed the league block since\n"
    "     Kelvory last saved it, the record was taken of a different executable, or the\n"
    "     bytes in the file or the values to write do not look like a league block\n"
    "     (--force saves anyway); or --strict and values the game is not known to take\n"
    "  7  restore-original: there is no readable record of this game executable\n"
    "  8  the game is running; nothing was written (--while-running saves anyway, where\n"
    "     the system lets it)\n";

struct Options {
    bool help = false;
    bool version = false;
    bool dryRun = false;
    bool force = false;
    bool whileRunning = false;
    bool strict = false;
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
        } else if (argument == "--force") {
            options.force = true;
        } else if (argument == "--while-running") {
            options.whileRunning = true;
        } else if (argument == "--strict") {
            options.strict = true;
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
        if (!options.words.empty() || options.dryRun || options.force || options.whileRunning || options.game ||
            (options.help && options.version)) {
            throw UsageError{std::string(options.help ? "--help" : "--version") + " stands alone."};
        }
        return options;
    }
    if (options.words.empty()) {
        throw UsageError{"no command given."};
    }
    const std::string& command = options.words.front();
    const std::size_t files = command == "show" || command == "restore-original" ? 0 : 1;
    if (command != "show" && command != "export" && command != "diff" && command != "apply" &&
        command != "restore-original") {
        throw UsageError{"unknown command \"" + command + "\"."};
    }
    if (options.words.size() < 1 + files) {
        throw UsageError{command + " needs the setup file."};
    }
    if (options.words.size() > 1 + files) {
        throw UsageError{"unexpected argument \"" + options.words[1 + files] + "\"."};
    }
    if (options.dryRun && command != "apply" && command != "restore-original") {
        throw UsageError{"--dry-run goes with apply and restore-original only."};
    }
    if (options.force && command != "apply" && command != "restore-original") {
        throw UsageError{"--force goes with apply and restore-original only."};
    }
    if (options.whileRunning && command != "apply" && command != "restore-original") {
        throw UsageError{"--while-running goes with apply and restore-original only."};
    }
    if (options.strict && command != "apply" && command != "diff") {
        throw UsageError{"--strict goes with apply and diff only."};
    }
    return options;
}

class Command {
public:
    Command(const Options& options, std::filesystem::path programFolder, std::filesystem::path recordFolder,
            std::ostream& out, std::ostream& err)
        : options_(options),
          folder_(std::move(programFolder)),
          session_(std::move(recordFolder)),
          out_(out),
          err_(err) {}

    // Whether the command saved into the game executable.
    bool savedGame() const { return saved_; }

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
        if (!loadGame()) {
            return CliExit::GameUnreadable;
        }
        const bool writes = (command == "apply" || command == "restore-original") && !options_.dryRun;
        if (const Words warning = session_.notABlockWarning(); !warning.empty()) {
            err_ << warning.english() << "\n";
            if (writes && !forced("saving into bytes that do not look like a league block")) {
                err_ << "\nNothing was written. Give --force to save into this file anyway.\n";
                return CliExit::Refused;
            }
        }
        if (command == "restore-original") {
            return restoreOriginal();
        }
        if (command == "show") {
            const Baza::Block& block = session_.values();
            out_ << writeSetup(setupOf(session_.baza()), [&block](const SetupValue& value) {
                return outsideGameRange(block, *value.field)
                           ? std::string("outside what the game takes: ") + gameRange(value.field->kind).words
                           : std::string();
            });
            return CliExit::Done;
        }
        if (command == "export") {
            try {
                writeSetupFile(platform::argumentPath(options_.words[1]), setupOf(session_.baza()));
            } catch (const SetupError& error) {
                err_ << error.what() << "\n";
                return CliExit::SetupInvalid;
            }
            return CliExit::Done;
        }
        const SetupPreview preview = session_.previewSetup(*setup);
        // Values the game is not known to take are stored as given; they are
        // only warned about, or with --strict refused.
        for (const Words& line : preview.outsideGame) {
            err_ << "warning: outside what the game takes: " << line.english() << "\n";
        }
        if (options_.strict && !preview.outsideGame.empty()) {
            err_ << "\nNothing was written: --strict refuses values the game is not known to take.\n";
            return CliExit::Refused;
        }
        session_.applySetup(preview);
        if (writes && session_.hasUnsavedChanges()) {
            // Kelvory writes nothing it would itself refuse to save into later.
            if (const Words problems = session_.valuesNotABlock();
                !problems.empty() && !forced("writing values that do not look like a league block")) {
                err_ << problems.english()
                     << "\n\nNothing was written: with these values the league block would not look like one. Give "
                        "--force to save them anyway.\n";
                return CliExit::Refused;
            }
        }
        return listAndSave(!writes);
    }

private:
    // Whether --force overrides the check `what`; says so on standard error
    // when it does.
    bool forced(const std::string& what) {
        if (options_.force) {
            err_ << "kelvory-cli: warning: --force: " << what << "\n";
        }
        return options_.force;
    }

    bool loadGame() {
        std::filesystem::path game;
        if (options_.game) {
            game = platform::argumentPath(*options_.game);
        } else {
            const ConfigResult config = readLeaguesIni(folder_);
            if (!config.ok()) {
                err_ << config.message() << "\n\nGive the game executable's path with --game PATH.\n";
                return false;
            }
            game = config.gamePath;
        }
        if (session_.load(game, BlockNeed::Whole)) {
            return true;
        }
        err_ << session_.loadFailure().english() << "\n\n"
             << (options_.game ? "Check the path given with --game."
                               : "Make sure line 2 of Leagues.ini names the game executable in Kelvory's folder, or "
                                 "give its path with --game.")
             << "\n";
        return false;
    }

    void listChanges() {
        const std::vector<std::string> changes = session_.changeLines();
        for (const std::string& change : changes) {
            out_ << change << "\n";
        }
        if (changes.empty()) {
            out_ << "no changes\n";
        }
    }

    // Lists what the values put in change; saves them unless told not to.
    CliExit listAndSave(bool listOnly) {
        listChanges();
        if (listOnly || !session_.hasUnsavedChanges()) {
            return CliExit::Done;
        }
        return save();
    }

    CliExit restoreOriginal() {
        const RestoreChoice choice = session_.restoreChoice();
        if (!choice.problem.words.empty()) {
            err_ << choice.problem.words.english() << "\n";
            return CliExit::NoRecord;
        }
        const RecordedBlock& original = choice.blocks.front();
        out_ << "original values recorded " << original.date << "\n";
        if (original.block == session_.values()) {
            out_ << "nothing to restore\n";
            return CliExit::Done;
        }
        session_.restore(original);
        const std::vector<std::string> changes = session_.changeLines();
        for (const std::string& change : changes) {
            out_ << change << "\n";
        }
        if (changes.empty()) {
            out_ << "no changes to the boxes; hidden map slots or reserved bytes differ\n";
        }
        if (!choice.otherExecutable.empty()) {
            err_ << choice.otherExecutable.english() << "\n";
            if (!options_.dryRun && !forced("restoring values recorded of a different executable")) {
                err_ << "\nNothing was written. Give --force to restore them anyway.\n";
                return CliExit::Refused;
            }
        }
        return options_.dryRun ? CliExit::Done : save();
    }

    CliExit save() {
        // The file must still hold what was loaded, and that must be what
        // Kelvory last wrote: another program's change since then, or one
        // made while this command ran, is not overwritten unasked.
        SaveQuestions questions;
        questions.outsideChange = [this](const DiskState&) {
            return forced("saving over a league block another program changed") ? OutsideChangeAnswer::Overwrite
                                                                                : OutsideChangeAnswer::Cancel;
        };
        // Warned about already, or refused before with --strict.
        questions.outsideGame = [](const Words&) { return true; };
        // Said and decided at the start: the session asks again at the save.
        questions.notABlock = [this](const Words&) { return options_.force; };
        Words running;
        questions.gameRunning = [this, &running](const Words& question) {
            running = question;
            if (options_.whileRunning) {
                err_ << "kelvory-cli: warning: --while-running: saving while the game is running\n";
            }
            return options_.whileRunning ? RunningAnswer::SaveAnyway : RunningAnswer::Cancel;
        };
        const LeagueSession::SaveResult saved = session_.save(questions, SaveCheck::LastWriteToo);
        switch (saved.status) {
            case LeagueSession::SaveStatus::Saved:
                saved_ = true;
                out_ << saved.told.words.english() << "\n";
                return CliExit::Done;
            case LeagueSession::SaveStatus::Reload:
            case LeagueSession::SaveStatus::Cancelled:
                err_ << "The league block in the game executable was changed by another program since Kelvory "
                        "last saved it, or while this command ran.\n\nNothing was written. Give --force to save "
                        "over it.\n";
                return CliExit::Refused;
            case LeagueSession::SaveStatus::GameRunning:
                if (saved.heldByGame) {
                    err_ << saved.told.words.english()
                         << "\n\nThe system keeps the running game's file from being written: no option can help. "
                            "Close the game, then run the command again.\n";
                } else {
                    err_ << running.english()
                         << "\n\nNothing was written. Close the game, or give --while-running to save anyway.\n";
                }
                return CliExit::GameRunning;
            case LeagueSession::SaveStatus::Declined:
                return CliExit::Refused;  // said before: the block does not look like one
            case LeagueSession::SaveStatus::NotLoaded:
            case LeagueSession::SaveStatus::Refused:
            case LeagueSession::SaveStatus::Failed:
                break;
        }
        err_ << saved.told.words.english() << "\n";
        return CliExit::SaveFailed;
    }

    const Options& options_;
    std::filesystem::path folder_;
    LeagueSession session_;
    std::ostream& out_;
    std::ostream& err_;
    bool saved_ = false;
};

}  // namespace

CliExit runCli(const std::vector<std::string>& arguments, const std::filesystem::path& programFolder,
               const std::filesystem::path& recordFolder, std::ostream& out, std::ostream& err) {
    Options options;
    try {
        options = parseArguments(arguments);
    } catch (const UsageError& error) {
        err << "kelvory-cli: " << error.what << "\nTry \"kelvory-cli --help\".\n";
        return CliExit::Usage;
    }
    CliExit result = CliExit::Done;
    bool savedGame = false;
    if (options.help) {
        out << kUsage;
    } else if (options.version) {
        out << "kelvory-cli " KELVORY_VERSION "\n";
    } else {
        Command command(options, programFolder, recordFolder, out, err);
        result = command.run();
        savedGame = command.savedGame();
    }
    if (!out.flush()) {
        // A save that went through stays a success: the script must not take
        // it for a failure and run it again, or restore what it did.
        err << "kelvory-cli: the output could not be written"
            << (savedGame ? "; the game executable was saved.\n" : ".\n");
        return savedGame ? result : CliExit::Unexpected;
    }
    return result;
}
