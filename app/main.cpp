#include <QApplication>

#include "ui/main_window/WindowStyle.h"
#include "ui/main_window/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(new WindowStyle);
    QApplication::setApplicationName(QStringLiteral("Kelvory"));
    // No display name: the toolkit would append it to every window title.
    // Message boxes name the program in their own captions.
    QApplication::setApplicationVersion(QStringLiteral(KELVORY_VERSION));

    frmMain window;
    if (!window.Form_Load()) {
        return 1;  // the window has already told the user why
    }
    window.show();
    return app.exec();
}
