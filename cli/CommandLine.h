#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Cli.h"

// kelvory-cli's command line, described once: the options, the exit statuses
// and (given by the program) the table of commands. The usage text, the help
// of each command, the argument check and the shell completion script are all
// made from these tables, and the program dispatches through the table.

// The options, each a bit of a set.
enum Option : unsigned {
    kGame = 1u << 0,
    kDryRun = 1u << 1,
    kForce = 1u << 2,
    kWhileRunning = 1u << 3,
    kStrict = 1u << 4,
    kJson = 1u << 5,
    kExitCode = 1u << 6,
    kHelp = 1u << 7,
    kVersion = 1u << 8,
};

// What the word after a command names.
enum class Operand {
    None,
    File,     // a league setup file; "-" is standard input or output
    Entry,    // a history entry: "original" or its number
    Shell,    // a shell for the completion script: "bash"
    Command,  // a command, for its help (optional)
};

class Runner;

struct CommandSpec {
    // One word, or two for a command of a group ("record set-aside").
    const char* name;
    Operand operand;
    const char* operandName;  // as the usage shows it: "FILE"
    // A synonym's operand, fixed: restore-original is "restore original".
    const char* fixedOperand;
    unsigned options;  // the options it takes besides --help
    // It saves into the game executable, unless --dry-run: --json then needs
    // --dry-run.
    bool writes;
    std::vector<CliExit> exits;  // the statuses it can end with
    const char* summary;         // one line of the usage text
    std::string details;         // its help, paragraphs separated by "\n\n"
    CliExit (*run)(Runner& runner);
};

// The command line as read.
struct CommandLine {
    const CommandSpec* command = nullptr;  // none: --help or --version alone
    unsigned options = 0;
    std::string game;     // --game's value
    std::string operand;  // the command's operand (a fixed one included); empty when none
};

struct UsageError {
    std::string what;
    const CommandSpec* command = nullptr;  // the command it concerns, for the hint to its help
};

// Reads `arguments` against `commands`. Options may come before or after the
// command and its operand; "--" ends them; "-" alone is an operand; short
// options may be bundled ("-nf"). Throws UsageError.
CommandLine readCommandLine(const std::vector<std::string>& arguments, const std::vector<CommandSpec>& commands);

// The command `name` names ("restore", "record set-aside"), or nullptr.
const CommandSpec* findCommand(const std::vector<CommandSpec>& commands, const std::string& name);

// The usage text of the program, and the help of one command.
std::string usageText(const std::vector<CommandSpec>& commands);
std::string commandHelp(const CommandSpec& command);

// A bash completion script: the commands, their options, the setup files for
// FILE, the words an operand takes.
std::string bashCompletion(const std::vector<CommandSpec>& commands);
