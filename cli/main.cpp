#include <exception>
#include <iostream>

#include "cli/Cli.h"
#include "platform/ConsoleProgram.h"

int main(int argc, char** argv) {
    platform::setUpConsole();
    try {
        return static_cast<int>(runCli(platform::programArguments(argc, argv), platform::runningProgramFolder(),
                                       platform::userDataFolder(), std::cin, std::cout, std::cerr));
    } catch (const std::exception& error) {
        std::cerr << "kelvory-cli: unexpected error: " << error.what() << "\n";
    } catch (...) {
        std::cerr << "kelvory-cli: unexpected error.\n";
    }
    return static_cast<int>(CliExit::Unexpected);
}
