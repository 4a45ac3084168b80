#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The window program's command line, read as kelvory-cli reads its own:
//
//   kelvory [--game PATH] [--language CODE]
//   kelvory --help | --version
//
// --game PATH (or --game=PATH) names the game executable in place of line 2
// of Leagues.ini; --language CODE (or --language=CODE) the window's language
// for this run ("pl"); "--" ends the options. --help and --version stand alone.
// The toolkit's own options (-style and the like) are not taken: its
// environment variables still are. Standard library only.
struct WindowArguments {
    enum class Action {
        Open,     // open the window
        Help,     // print the usage and end
        Version,  // print the version and end
        Usage,    // a bad command line: say what is wrong and end
    };
    Action action = Action::Open;
    std::optional<std::string> game;      // the argument as given (platform::argumentPath makes it a path)
    std::optional<std::string> language;  // as given
    std::string problem;                  // for Usage: "unknown option \"--x\"."
};

// `arguments`: the program's arguments after its own name, as
// platform::programArguments gives them.
WindowArguments parseWindowArguments(const std::vector<std::string>& arguments);

// For every action but Open: prints what it asks for (the usage or the
// version to `out`, a problem to `err`) and returns the exit status: 0; 2
// for a bad command line; 1 when the output could not be written. For Open,
// prints nothing and returns none.
std::optional<int> answerArguments(const WindowArguments& arguments, const std::string& version, std::ostream& out,
                                   std::ostream& err);
