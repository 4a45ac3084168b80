#include "ui/main_window/Launcher.h"

#include <QLineEdit>
#include <optional>

#include "core/Baza.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/Messages.h"
#include "ui/widgets/Scn_Common_Dialog.h"

namespace {

// Where the launcher path is remembered in the user's settings.
const QString kSettingsApplication = QStringLiteral("vozi");
const QString kSettingsSection = QStringLiteral("Options");
const QString kSettingsKey = QStringLiteral("vozi");
const QString kNoLauncher = QStringLiteral("Change...");

const QString kDialogTitle = QStringLiteral("Open vozi.exe");
const QString kFilter = QStringLiteral("vozi.exe (*.exe)|*.exe| All Files (*.*)|*.*");

}  // namespace

QString rememberedLauncher() {
    return platform::services().readSetting(kSettingsApplication, kSettingsSection, kSettingsKey, kNoLauncher);
}

void chooseLauncher(QWidget* owner, QLineEdit* box) {
    Scn_Common_Dialog dialog;
    const std::optional<QString> chosen = dialog.OpenFileName(owner, kDialogTitle, QString(), kFilter);
    if (chosen && Baza::File_Exists(platform::textToPath(*chosen))) {
        box->setText(*chosen);
    }
    if (!platform::services().saveSetting(kSettingsApplication, kSettingsSection, kSettingsKey, box->text())) {
        tellUser(owner, platform::MessageIcon::Warning,
                 QStringLiteral("Kelvory could not remember the launcher for the next start."));
    }
}

void startLauncher(QWidget* owner, const QString& commandLine) {
    if (commandLine.trimmed().isEmpty() || commandLine == kNoLauncher) {
        // The placeholder is no program: say what to do instead of naming it.
        tellUser(owner, platform::MessageIcon::Information,
                 QStringLiteral("The game was not started: no launcher is chosen yet.\n\n"
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
             QStringLiteral("The launcher could not be started.\n\n%1\n\n"
                            "Choose the launcher with the \"...\" button beside its box.")
                 .arg(reason));
}
