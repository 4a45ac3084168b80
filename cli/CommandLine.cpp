#include "cli/CommandLine.h"

#include <algorithm>

#ifdef _WIN32
#define KELVORY_RECORD_FOLDER_TEXT "%LOCALAPPDATA%\\Kelvory"
#else
#define KELVORY_RECORD_FOLDER_TEXT "~/.local/share/Kelvory"
#endif

namespace {

struct OptionSpec {
    Option bit;
    const char* name;   // "--dry-run"
    char letter;        // 'n'; 0: none
    const char* value;  // "PATH" for an option that takes one; nullptr for a switch
    const char* help;
};

const OptionSpec kOptions[] = {
    {kGame, "--game", 0, "PATH",
     "the game executable; without it, line 2 of Leagues.ini in kelvory-cli's own folder names it, as for the "
     "window"},
    {kDryRun, "--dry-run", 'n', nullptr, "list what would change, and save nothing"},
    {kForce, "--force", 'f', nullptr,
     "save even when another program changed the league block since Kelvory last saved it, when the bytes in the "
     "file or the values to write do not look like a league block, or when the values to restore were recorded of a "
     "different executable; each check it overrides is named on standard error"},
    {kWhileRunning, "--while-running", 0, nullptr,
     "save even while the game is running; where the system keeps the running game's file locked (Windows, Wine), "
     "nothing can help: close the game"},
    {kStrict, "--strict", 0, nullptr,
     "refuse values the game is not known to take (status 6); without it they are warned about on standard error"},
    {kJson, "--json", 0, nullptr, "print the result as one JSON document, which the command's help describes"},
    {kExitCode, "--exit-code", 0, nullptr,
     "end with status 9 when applying FILE would change something, 0 when it would not"},
    {kHelp, "--help", 'h', nullptr, "show this help"},
    {kVersion, "--version", 0, nullptr, "show the version"},
};

struct ExitSpec {
    CliExit code;
    const char* meaning;
};

const ExitSpec kExits[] = {
    {CliExit::Done, "done"},
    {CliExit::Unexpected, "unexpected error, or the output could not be written"},
    {CliExit::Usage, "usage error: unknown command or option, missing or extra argument"},
    {CliExit::GameUnreadable, "Leagues.ini or the game executable could not be read; nothing was written"},
    {CliExit::SetupInvalid, "the setup file could not be read, is not a valid setup, or (export) could not be written"},
    {CliExit::SaveFailed, "the game executable could not be saved, or the record could not be set aside"},
    {CliExit::Refused,
     "refused, nothing was written: another program changed the league block since Kelvory last saved it, the "
     "values to restore were recorded of a different executable, or the bytes in the file or the values to write "
     "do not look like a league block (--force saves anyway); or --strict and values the game is not known to take"},
    {CliExit::NoRecord, "no readable record of this game executable, or no such entry in it"},
    {CliExit::GameRunning,
     "the game is running; nothing was written (--while-running saves anyway, where the system lets it)"},
    {CliExit::Changes, "diff --exit-code: applying the setup would change something"},
};

constexpr std::size_t kWidth = 80;

const OptionSpec* findOption(const std::string& name) {
    for (const OptionSpec& option : kOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

const OptionSpec* findLetter(char letter) {
    for (const OptionSpec& option : kOptions) {
        if (option.letter != 0 && option.letter == letter) {
            return &option;
        }
    }
    return nullptr;
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text + " ") {
        if (c == ' ') {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

// `text` broken into lines of at most kWidth columns, each but the first
// indented by `indent` blanks; the first goes on from column `column`.
std::string wrap(const std::string& text, std::size_t indent, std::size_t column) {
    std::string out;
    for (const std::string& word : wordsOf(text)) {
        if (column > indent && column + 1 + word.size() > kWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (column > indent) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
    }
    return out;
}

// Paragraphs separated by "\n\n", each wrapped.
std::string paragraphs(const std::string& text) {
    std::string out;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find("\n\n", from);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string paragraph = text.substr(from, end - from);
        // A paragraph that starts with blanks is kept as written (an example).
        out += (paragraph.rfind("  ", 0) == 0 ? paragraph : wrap(paragraph, 0, 0)) + "\n\n";
        from = end + 2;
    }
    return out;
}

// Two columns: the names, and their descriptions wrapped beside them.
std::string table(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::size_t width = 0;
    for (const auto& [name, text] : rows) {
        width = std::max(width, name.size());
    }
    const std::size_t indent = 2 + width + 2;
    std::string out;
    for (const auto& [name, text] : rows) {
        out += "  " + name + std::string(width - name.size() + 2, ' ') + wrap(text, indent, indent) + "\n";
    }
    return out;
}

std::string optionName(const OptionSpec& option) {
    std::string name = option.letter ? std::string("-") + option.letter + ", " : std::string("    ");
    return name + option.name + (option.value ? std::string(" ") + option.value : std::string());
}

std::string optionRows(unsigned options) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const OptionSpec& option : kOptions) {
        if (options & option.bit) {
            rows.emplace_back(optionName(option), option.help);
        }
    }
    return table(rows);
}

std::string exitRows(const std::vector<CliExit>& codes) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const ExitSpec& exit : kExits) {
        if (std::find(codes.begin(), codes.end(), exit.code) != codes.end()) {
            rows.emplace_back(std::to_string(static_cast<int>(exit.code)), exit.meaning);
        }
    }
    return table(rows);
}

std::string commandWithOperand(const CommandSpec& command) {
    std::string text = command.name;
    if (command.operandName) {
        text += std::string(" ") + command.operandName;
    }
    return text;
}

// The commands that take `option`, for the message that another does not.
std::string takers(const std::vector<CommandSpec>& commands, Option option) {
    std::vector<std::string> names;
    for (const CommandSpec& command : commands) {
        if (command.options & option) {
            names.push_back(command.name);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

bool isWholeNumber(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
           text.find_first_not_of('0') != std::string::npos;
}

void checkOperand(const std::vector<CommandSpec>& commands, const CommandSpec& command, std::string& operand,
                  const std::vector<std::string>& words) {
    const auto fail = [&command](const std::string& what) { throw UsageError{what, &command}; };
    switch (command.operand) {
        case Operand::None:
            if (!words.empty()) {
                fail("unexpected argument \"" + words.front() + "\".");
            }
            return;
        case Operand::Command:
            // help: every word names the command.
            if (!words.empty() && !findCommand(commands, operand)) {
                throw UsageError{"unknown command \"" + operand + "\"."};
            }
            return;
        case Operand::File:
        case Operand::Entry:
        case Operand::Shell:
            break;
    }
    if (words.empty()) {
        fail(std::string(command.name) + " needs " + command.operandName + ".");
    }
    if (words.size() > 1) {
        fail("unexpected argument \"" + words[1] + "\".");
    }
    if (command.operand == Operand::Entry && operand != "original" && !isWholeNumber(operand)) {
        fail("ENTRY is \"original\" or the number of an entry that \"kelvory-cli history\" lists, not \"" + operand +
             "\".");
    }
    if (command.operand == Operand::Shell && operand != "bash") {
        fail("there is a completion script for bash only, not for \"" + operand + "\".");
    }
}

}  // namespace

const CommandSpec* findCommand(const std::vector<CommandSpec>& commands, const std::string& name) {
    for (const CommandSpec& command : commands) {
        if (wordsOf(command.name) == wordsOf(name)) {
            return &command;
        }
    }
    return nullptr;
}

namespace {

// Takes the options out of `arguments` into `line` (--game's path too) and
// returns the other words in order.
std::vector<std::string> readOptions(const std::vector<std::string>& arguments, CommandLine& line) {
    std::vector<std::string> words;
    bool gameGiven = false;
    const auto take = [&](const OptionSpec& option, const std::optional<std::string>& value, std::size_t& i) {
        if (option.value) {
            if (gameGiven) {
                throw UsageError{std::string(option.name) + " is given twice."};
            }
            if (value) {
                line.game = *value;
            } else if (++i < arguments.size()) {
                line.game = arguments[i];
            } else {
                throw UsageError{std::string(option.name) + " needs the path of the game executable."};
            }
            gameGiven = true;
        } else if (value) {
            throw UsageError{std::string(option.name) + " takes no value."};
        }
        line.options |= option.bit;
    };
    bool optionsEnd = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
            words.push_back(argument);
        } else if (argument == "--") {
            optionsEnd = true;
        } else if (argument[1] == '-') {
            const std::size_t equals = argument.find('=');
            const OptionSpec* option = findOption(argument.substr(0, equals));
            if (!option) {
                throw UsageError{"unknown option \"" + argument.substr(0, equals) + "\"."};
            }
            take(*option, equals == std::string::npos ? std::nullopt : std::optional(argument.substr(equals + 1)), i);
        } else {
            for (std::size_t k = 1; k < argument.size(); ++k) {
                const OptionSpec* option = findLetter(argument[k]);
                if (!option) {
                    throw UsageError{"unknown option \"-" + argument.substr(k, 1) + "\"."};
                }
                take(*option, std::nullopt, i);
            }
        }
    }
    return words;
}

// The longest command the first words name (one word, or two of a group),
// taken off the words.
const CommandSpec& takeCommand(std::vector<std::string>& words, const std::vector<CommandSpec>& commands) {
    for (std::size_t count = std::min<std::size_t>(2, words.size()); count > 0; --count) {
        if (const CommandSpec* command = findCommand(commands, count == 2 ? words[0] + " " + words[1] : words[0])) {
            words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(count));
            return *command;
        }
    }
    throw UsageError{"unknown command \"" + words.front() + "\"."};
}

// Refuses an option the command does not take.
void checkOptions(const std::vector<CommandSpec>& commands, const CommandSpec& command, unsigned options) {
    for (const OptionSpec& option : kOptions) {
        if ((options & option.bit) && !(command.options & option.bit)) {
            const std::string others = takers(commands, option.bit);
            throw UsageError{std::string(option.name) +
                                 (others.empty() ? " goes with no command." : " goes with " + others + " only."),
                             &command};
        }
    }
    if (command.writes && (options & kJson) && !(options & kDryRun)) {
        throw UsageError{std::string("--json goes with ") + command.name + " only together with --dry-run.", &command};
    }
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments, const std::vector<CommandSpec>& commands) {
    CommandLine line;
    std::vector<std::string> words = readOptions(arguments, line);
    if (line.options & kVersion) {
        if (line.options != kVersion || !words.empty()) {
            throw UsageError{"--version stands alone."};
        }
        return line;
    }
    if (words.empty()) {
        if (line.options & kHelp) {
            return line;
        }
        throw UsageError{"no command given."};
    }
    line.command = &takeCommand(words, commands);
    const CommandSpec& command = *line.command;
    for (std::size_t i = 0; i < words.size(); ++i) {
        line.operand += (i == 0 ? "" : " ") + words[i];
    }
    if (line.options & kHelp) {
        return line;  // the command's help, whatever else is given
    }
    checkOperand(commands, command, line.operand, words);
    if (command.fixedOperand) {
        line.operand = command.fixedOperand;
    }
    checkOptions(commands, command, line.options);
    return line;
}

std::string usageText(const std::vector<CommandSpec>& commands) {
    std::vector<std::pair<std::string, std::string>> rows;
    unsigned options = kHelp | kVersion;
    std::vector<CliExit> exits;
    for (const CommandSpec& command : commands) {
        rows.emplace_back(commandWithOperand(command), command.summary);
        options |= command.options;
        exits.insert(exits.end(), command.exits.begin(), command.exits.end());
    }
    return "Usage: kelvory-cli [--game PATH] COMMAND [OPTION...]\n\n" +
           paragraphs(
               "Shows and changes the league block of the game executable through league setup files "
               "(.kelvory-league), with the same rules as the Kelvory window.") +
           "Commands:\n" + table(rows) + "\nOptions:\n" + optionRows(options) + "\n" +
           paragraphs(
               "Before its first save into a game executable, Kelvory records the league block's original "
               "bytes in its per-user data folder (" KELVORY_RECORD_FOLDER_TEXT
               "), and before every later save the bytes it overwrites (the newest 50): \"kelvory-cli "
               "history\" lists them, \"kelvory-cli restore ENTRY\" puts one back.\n\nResults go to standard "
               "output; every other line goes to standard error, starting with \"kelvory-cli: \". "
               "\"kelvory-cli help COMMAND\" tells what a command does, its options and its --json "
               "output. kelvory-cli speaks English only, whatever the system's language, so that scripts "
               "can read it; the Kelvory window speaks the user's language.") +
           "Exit status:\n" + exitRows(exits);
}

std::string commandHelp(const CommandSpec& command) {
    std::string usage = "Usage: kelvory-cli";
    if (command.options & kGame) {
        usage += " [--game PATH]";
    }
    usage += " " + commandWithOperand(command);
    for (const OptionSpec& option : kOptions) {
        if ((command.options & option.bit) && option.bit != kGame) {
            usage += std::string(" [") + (option.letter ? std::string("-") + option.letter : option.name) + "]";
        }
    }
    return wrap(usage, 4, 0) + "\n\n" + paragraphs(command.details) + "Options:\n" +
           optionRows(command.options | kHelp) + "\nExit status:\n" + exitRows(command.exits);
}

std::string bashCompletion(const std::vector<CommandSpec>& commands) {
    const auto longOptions = [](unsigned options) {
        std::string list;
        for (const OptionSpec& option : kOptions) {
            if (options & option.bit) {
                list += (list.empty() ? "" : " ") + std::string(option.name);
            }
        }
        return list;
    };
    std::vector<std::string> firstWords;
    std::vector<std::string> groups;  // first words of two-word commands
    for (const CommandSpec& command : commands) {
        const std::vector<std::string> words = wordsOf(command.name);
        if (std::find(firstWords.begin(), firstWords.end(), words.front()) == firstWords.end()) {
            firstWords.push_back(words.front());
        }
        if (words.size() > 1 && std::find(groups.begin(), groups.end(), words.front()) == groups.end()) {
            groups.push_back(words.front());
        }
    }
    std::string first;
    for (const std::string& word : firstWords) {
        first += (first.empty() ? "" : " ") + word;
    }
    std::string script =
        "# bash completion for kelvory-cli, written by \"kelvory-cli completion bash\".\n"
        "_kelvory_cli() {\n"
        "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
        "    local i word command= operands=0 options= words=\n"
        "    COMPREPLY=()\n"
        "    if [[ $prev == --game ]]; then\n"
        "        compopt -o filenames 2>/dev/null\n"
        "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        "        return\n"
        "    fi\n"
        "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
        "        word=${COMP_WORDS[i]}\n"
        "        case $word in\n"
        "            --game) ((i++)) ;;\n"
        "            -?*) ;;\n"
        "            *)\n"
        "                if [[ -z $command ]]; then\n"
        "                    command=$word\n"
        "                else\n"
        "                    case $command in\n";
    for (const std::string& group : groups) {
        script += "                        '" + group + "') command=\"$command $word\" ;;\n";
    }
    script +=
        "                        *) operands=$((operands + 1)) ;;\n"
        "                    esac\n"
        "                fi\n"
        "                ;;\n"
        "        esac\n"
        "    done\n"
        "    case $command in\n"
        "        '')\n"
        "            options='" +
        longOptions(kGame | kHelp | kVersion) + "'\n            words='" + first + "'\n            ;;\n";
    for (const std::string& group : groups) {
        std::string seconds;
        for (const CommandSpec& command : commands) {
            const std::vector<std::string> words = wordsOf(command.name);
            if (words.size() > 1 && words.front() == group) {
                seconds += (seconds.empty() ? "" : " ") + words[1];
            }
        }
        script += "        '" + group + "')\n            words='" + seconds + "'\n            ;;\n";
    }
    for (const CommandSpec& command : commands) {
        std::string operandWords;
        switch (command.operand) {
            case Operand::None:
                break;
            case Operand::File:
                operandWords = "@setup";
                break;
            case Operand::Entry:
                operandWords = "original";
                break;
            case Operand::Shell:
                operandWords = "bash";
                break;
            case Operand::Command:
                operandWords = first;
                break;
        }
        script += "        '" + std::string(command.name) + "')\n            options='" +
                  longOptions(command.options | kHelp) + "'\n";
        if (!operandWords.empty()) {
            script += "            ((operands == 0)) && words='" + operandWords + "'\n";
        }
        script += "            ;;\n";
    }
    script +=
        "    esac\n"
        "    if [[ $cur == -* ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        "    elif [[ $words == @setup ]]; then\n"
        "        compopt -o filenames 2>/dev/null\n"
        "        COMPREPLY=($(compgen -f -X '!*.kelvory-league' -- \"$cur\") $(compgen -d -- \"$cur\"))\n"
        "    else\n"
        "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
        "    fi\n"
        "}\n"
        "complete -F _kelvory_cli kelvory-cli\n";
    return script;
}
