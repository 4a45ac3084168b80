#include <QApplication>
#include <filesystem>
#include <iostream>

#include "app/WindowArguments.h"
#include "platform/ConsoleProgram.h"
#include "ui/main_window/Language.h"
#include "ui/main_window/WindowStyle.h"
#include "ui/main_window/frmMain.h"

int main(int argc, char* argv[]) {
    // --help, --version and a bad command line are answered without a
    // window, before the toolkit is started.
    const WindowArguments arguments = parseWindowArguments(platform::programArguments(argc, argv));
    if (arguments.action != WindowArguments::Action::Open) {
        platform::useParentConsole();
        return *answerArguments(arguments, KELVORY_VERSION, std::cout, std::cerr);
    }

    // The command line has been read: the toolkit takes none of it.
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    QApplication::setStyle(new WindowStyle);
    QApplication::setApplicationName(QStringLiteral("Kelvory"));
    // No display name: the toolkit would append it to every window title.
    // Message boxes name the program in their own captions.
    QApplication::setApplicationVersion(QStringLiteral(KELVORY_VERSION));
    startInLanguage(arguments.language ? std::optional<QString>(QString::fromStdString(*arguments.language))
                                       : std::nullopt);

    frmMain window;
    if (arguments.game) {
        // A relative path is taken from where kelvory was started.
        std::error_code error;
        const std::filesystem::path game = platform::argumentPath(*arguments.game);
        const std::filesystem::path absolute = std::filesystem::absolute(game, error);
        window.setGame(error ? game : absolute);
    }
    if (!window.Form_Load()) {
        return 1;  // the window has already told the user why
    }
    window.show();
    return app.exec();
}
