#include "ui/main_window/Launcher.h"

#include <QCoreApplication>

#include <QLineEdit>
#include <optional>

#include "core/Baza.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/Telling.h"
#include "ui/widgets/Scn_Common_Dialog.h"

namespace {

// Where the launcher path is remembered in the user's settings.
const QString kSettingsApplication = QStringLiteral("vozi");
const QString kSettingsSection = QStringLiteral("Options");
const QString kSettingsKey = QStringLiteral("vozi");
// The placeholder the box shows while no launcher is chosen: remembered in
// English, shown in the window's language.
const QString kNoLauncher = QStringLiteral("Change...");

QString noLauncherShown() {
    return QCoreApplication::translate("Launcher", "Change...");
}

// In the window's language, so asked for once it is chosen.
QString dialogTitle() {
    return QCoreApplication::translate("Launcher", "Open vozi.exe");
}
// In the window's language, so asked for once it is chosen.
QString dialogFilter() {
    return QCoreApplication::translate("Launcher", "vozi.exe (*.exe)|*.exe| All Files (*.*)|*.*");
}

}  // namespace

QString rememberedLauncher() {
    const QString remembered =
        platform::services().readSetting(kSettingsApplication, kSettingsSection, kSettingsKey, kNoLauncher);
    return remembered == kNoLauncher ? noLauncherShown() : remembered;
}

void chooseLauncher(QWidget* owner, QLineEdit* box) {
    Scn_Common_Dialog dialog;
    const std::optional<QString> chosen = dialog.OpenFileName(owner, dialogTitle(), QString(), dialogFilter());
    if (chosen && Baza::File_Exists(platform::textToPath(*chosen))) {
        box->setText(*chosen);
    }
    const QString launcher = box->text() == noLauncherShown() ? kNoLauncher : box->text();
    if (!platform::services().saveSetting(kSettingsApplication, kSettingsSection, kSettingsKey, launcher)) {
        tellUser(
            owner, platform::MessageIcon::Warning,
            QCoreApplication::translate("Launcher", "Kelvory could not remember the launcher for the next start."));
    }
}

void startLauncher(QWidget* owner, const QString& commandLine) {
    if (commandLine.trimmed().isEmpty() || commandLine == kNoLauncher || commandLine == noLauncherShown()) {
        // The placeholder is no program: say what to do instead of naming it.
        tellUser(
            owner, platform::MessageIcon::Information,
            QCoreApplication::translate("Launcher",
                                        "The game was not started: no launcher is chosen yet.\n\n"
                                        "Choose the launcher program with the \"...\" button beside its box; Save and "
                                        "Start Game starts it after saving from then on."));
        return;
    }
    const platform::StartResult started = platform::services().startProgram(commandLine);
    if (started.started) {
        return;
    }
    QString reason = started.error;
    if (!reason.contains(commandLine)) {
        reason = commandLine + QLatin1Char('\n') + reason;
    }
    tellUser(owner, platform::MessageIcon::Warning,
             QCoreApplication::translate("Launcher",
                                         "The launcher could not be started.\n\n%1\n\n"
                                         "Choose the launcher with the \"...\" button beside its box.")
                 .arg(reason));
}
