#include "cli/Cli.h"

#include <optional>

#include "catalogues/Ini.h"
#include "core/Baza.h"
#include "platform/ConsoleProgram.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "setup/LeagueSetup.h"
#include "store/BlockSave.h"
#include "store/OriginalRecord.h"
#include "store/RecordFile.h"
#include "store/SafeSave.h"

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
    "                        since Kelvory last saved it (apply, restore-original),\n"
    "                        or restore a record taken of a different executable\n"
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
    "     Kelvory last saved it, or the record was taken of a different executable;\n"
    "     --force saves anyway\n"
    "  7  restore-original: there is no readable record of this game executable\n";

struct Options {
    bool help = false;
    bool version = false;
    bool dryRun = false;
    bool force = false;
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
        if (!options.words.empty() || options.dryRun || options.force || options.game ||
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
    Command(const Options& options, std::filesystem::path programFolder, std::filesystem::path recordFolder,
            std::ostream& out, std::ostream& err)
        : options_(options),
          folder_(std::move(programFolder)),
          recordFolder_(std::move(recordFolder)),
          out_(out),
          err_(err) {}

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
        if (command == "restore-original") {
            return restoreOriginal();
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
        std::string why;
        std::optional<LoadError> failed;
        if (!baza_.Wczytaj(game_, failed)) {
            why = failed ? failed->reason() : std::string();
        } else {
            // A file that ends before the block has no block to show: its
            // missing bytes would read as zeros.
            try {
                BinaryFile file(game_, BinaryFile::Mode::Read);
                const std::int64_t size = file.size();
                file.close();
                if (size >= Baza::BlockEnd) {
                    return true;
                }
                why = Baza::tooShortError(game_, size).reason();
            } catch (const FileError& error) {
                why = error.reason();
            }
        }
        err_ << loadFailureMessage(game_, why) << "\n\n"
             << (options_.game ? "Check the path given with --game."
                               : "Make sure line 2 of Leagues.ini names the game executable in Kelvory's folder, or "
                                 "give its path with --game.")
             << "\n";
        return false;
    }

    CliExit restoreOriginal() {
        std::filesystem::path file;
        std::optional<OriginalRecord> kept;
        try {
            const RecordPlace place(recordFolder_, game_);
            file = place.file();
            const auto lock = place.lock(kRecordLockWait);
            kept = place.read();
        } catch (const std::exception& error) {
            err_ << "The record of the original values cannot be read.\n\n"
                 << (file.empty() ? std::string() : platform::pathToShow(file) + "\n") << error.what() << "\n";
            return CliExit::NoRecord;
        }
        if (!kept) {
            err_ << "There is no record of the original values of this game executable.\n\n"
                 << platform::pathToShow(game_) << "\n\nKelvory records them at its first save into it; it looked for "
                 << "the record at:\n"
                 << platform::pathToShow(file) << "\n";
            return CliExit::NoRecord;
        }
        ExecutableIdentity identity;
        try {
            identity = identityOf(game_);
        } catch (const FileError& error) {
            err_ << saveFailureMessage(error) << "\n";
            return CliExit::SaveFailed;
        }
        // The executable now at the path, or else the newest one met there.
        const RecordedExecutable* matching = kept->find(identity);
        const RecordedExecutable& recorded = matching ? *matching : kept->executables.back();
        out_ << "original values recorded " << recorded.original.date << "\n";
        const Baza::Block loaded = baza_.block();
        Baza original = baza_;
        original.replaceBlock(baza_regions::blockOf(recorded.original.bytes));
        const std::vector<SetupChange> changes = setupChanges(baza_, setupOf(original));
        for (const SetupChange& change : changes) {
            out_ << describeChange(change) << "\n";
        }
        if (original.block() == loaded) {
            out_ << "nothing to restore\n";
            return CliExit::Done;
        }
        if (changes.empty()) {
            out_ << "no changes to the boxes; hidden map slots or reserved bytes differ\n";
        }
        if (!matching) {
            err_ << "The game executable changed since the record was taken (it was " << recorded.identity.size
                 << " bytes long then and is " << identity.size
                 << " now, or its first bytes differ): the game may have "
                 << "been updated or replaced, and the recorded values may not fit it.\n";
            if (!options_.force && !options_.dryRun) {
                err_ << "\nNothing was written. Give --force to restore them anyway.\n";
                return CliExit::Refused;
            }
        }
        if (options_.dryRun) {
            return CliExit::Done;
        }
        baza_.replaceBlock(original.block());
        return save(loaded);
    }

    CliExit save(const Baza::Block& loaded) {
        // The file must still hold what was loaded, and that must be what
        // Kelvory last wrote: another program's change since then, or one
        // made while this command ran, is not overwritten unasked.
        try {
            const BlockSaveResult saved = saveLeagueBlock(
                baza_, Expected{loaded, FileStamp{}, true}, game_, recordFolder_, [this](const DiskState&) {
                    return options_.force ? OutsideChangeAnswer::Overwrite : OutsideChangeAnswer::Cancel;
                });
            switch (saved.status) {
                case BlockSaveResult::Status::Saved:
                    out_ << "Save Successfully\n";
                    return CliExit::Done;
                case BlockSaveResult::Status::Reload:
                case BlockSaveResult::Status::Cancelled:
                    err_ << "The league block in the game executable was changed by another program since Kelvory "
                            "last saved it, or while this command ran.\n\nNothing was written. Give --force to save "
                            "over it.\n";
                    return CliExit::Refused;
                case BlockSaveResult::Status::NotLoaded:
                    break;
            }
        } catch (const SaveError& error) {
            err_ << saveFailureMessage(error) << "\n";
            return CliExit::SaveFailed;
        } catch (const SafeSaveError& error) {
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
    std::filesystem::path recordFolder_;
    std::ostream& out_;
    std::ostream& err_;
    std::filesystem::path game_;
    Baza baza_;
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
    if (options.help) {
        out << kUsage;
    } else if (options.version) {
        out << "kelvory-cli " KELVORY_VERSION "\n";
    } else {
        result = Command(options, programFolder, recordFolder, out, err).run();
    }
    if (!out.flush()) {
        err << "kelvory-cli: the output could not be written.\n";
        return CliExit::Unexpected;
    }
    return result;
}
