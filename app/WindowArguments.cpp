#include "app/WindowArguments.h"

namespace {

constexpr const char* kUsage =
    "Usage: kelvory [--game PATH] [--language CODE]\n"
    "\n"
    "Opens the Kelvory window on the league block of the game executable.\n"
    "\n"
    "Options:\n"
    "  --game PATH           the game executable; without it, line 2 of Leagues.ini in\n"
    "                        Kelvory's own folder names it\n"
    "  --language CODE       the window's language for this run: en, pl, ...;\n"
    "                        without it, the one chosen in About > Language, or\n"
    "                        the system's\n"
    "  --help                show this help\n"
    "  --version             show the version\n"
    "\n"
    "Exit status: 0 done, 1 Kelvory could not start, 2 usage error.\n";

// The options that take a value, as "--name VALUE" or "--name=VALUE".
struct Valued {
    const char* name;
    const char* needs;  // what the value is, for "--name needs ..."
    std::optional<std::string> WindowArguments::*value;
};

const Valued kValued[] = {
    {"--game", "the path of the game executable", &WindowArguments::game},
    {"--language", "a language code such as pl", &WindowArguments::language},
};

const Valued* valuedOption(const std::string& argument) {
    for (const Valued& option : kValued) {
        const std::string name = option.name;
        if (argument == name || argument.rfind(name + "=", 0) == 0) {
            return &option;
        }
    }
    return nullptr;
}

WindowArguments usage(std::string problem) {
    WindowArguments arguments;
    arguments.action = WindowArguments::Action::Usage;
    arguments.problem = std::move(problem);
    return arguments;
}

}  // namespace

WindowArguments parseWindowArguments(const std::vector<std::string>& arguments) {
    WindowArguments parsed;
    bool help = false;
    bool version = false;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
            return usage("unexpected argument \"" + argument + "\".");
        }
        if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (const Valued* option = valuedOption(argument)) {
            std::optional<std::string>& value = parsed.*(option->value);
            if (value) {
                return usage(std::string(option->name) + " is given twice.");
            }
            if (argument == option->name) {
                if (++i == arguments.size()) {
                    return usage(std::string(option->name) + " needs " + option->needs + ".");
                }
                value = arguments[i];
            } else {
                value = argument.substr(std::string(option->name).size() + 1);
            }
        } else {
            return usage("unknown option \"" + argument + "\".");
        }
    }
    if (help || version) {
        if (parsed.game || parsed.language || (help && version)) {
            return usage(std::string(help ? "--help" : "--version") + " stands alone.");
        }
        parsed.action = help ? WindowArguments::Action::Help : WindowArguments::Action::Version;
    }
    return parsed;
}

std::optional<int> answerArguments(const WindowArguments& arguments, const std::string& version, std::ostream& out,
                                   std::ostream& err) {
    switch (arguments.action) {
        case WindowArguments::Action::Open:
            return std::nullopt;
        case WindowArguments::Action::Help:
            out << kUsage;
            break;
        case WindowArguments::Action::Version:
            out << "kelvory " << version << "\n";
            break;
        case WindowArguments::Action::Usage:
            err << "kelvory: " << arguments.problem << "\nTry \"kelvory --help\".\n";
            return 2;
    }
    if (!out.flush()) {
        err << "kelvory: the output could not be written.\n";
        return 1;
    }
    return 0;
}
