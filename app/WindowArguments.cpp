#include "app/WindowArguments.h"

namespace {

constexpr const char* kUsage =
    "Usage: kelvory [--game PATH]\n"
    "\n"
    "Opens the Kelvory window on the league block of the game executable.\n"
    "\n"
    "Options:\n"
    "  --game PATH           the game executable; without it, line 2 of Leagues.ini in\n"
    "                        Kelvory's own folder names it\n"
    "  --help                show this help\n"
    "  --version             show the version\n"
    "\n"
    "Exit status: 0 done, 1 Kelvory could not start, 2 usage error.\n";

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
        } else if (argument == "--game" || argument.rfind("--game=", 0) == 0) {
            if (parsed.game) {
                return usage("--game is given twice.");
            }
            if (argument == "--game") {
                if (++i == arguments.size()) {
                    return usage("--game needs the path of the game executable.");
                }
                parsed.game = arguments[i];
            } else {
                parsed.game = argument.substr(7);
            }
        } else {
            return usage("unknown option \"" + argument + "\".");
        }
    }
    if (help || version) {
        if (parsed.game || (help && version)) {
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
