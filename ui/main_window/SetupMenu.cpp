#include "ui/main_window/SetupMenu.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "core/Baza.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "setup/LeagueSetup.h"
#include "ui/main_window/Messages.h"
#include "ui/main_window/SaveFlow.h"
#include "ui/main_window/frmMain.h"

namespace {

const QString kImportCaption = QStringLiteral("Import League Setup");
const QString kExportCaption = QStringLiteral("Export League Setup");
const QString kSuggestedName = QStringLiteral("league") + QLatin1String(SetupSuffix);

// The folder of the last setup file chosen, kept in the user's settings.
const QString kSettingsApplication = QStringLiteral("Kelvory");
const QString kSettingsSection = QStringLiteral("LeagueSetups");
const QString kSettingsKey = QStringLiteral("Folder");

QList<platform::FileFilter> setupFilters(bool withAllFiles) {
    QList<platform::FileFilter> filters{{QStringLiteral("Kelvory league setup"), QStringLiteral("*") + SetupSuffix}};
    if (withAllFiles) {
        // A setup passed on by hand may have lost its suffix.
        filters.append({QStringLiteral("All Files"), QStringLiteral("*.*")});
    }
    return filters;
}

// Where the dialogs open: the folder of the last setup file chosen while it
// still exists, otherwise the game executable's folder.
QString startFolder(const frmMain& window) {
    const QString remembered =
        platform::services().readSetting(kSettingsApplication, kSettingsSection, kSettingsKey, QString());
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) {
        return remembered;
    }
    return platform::pathToText(window.gamePath().parent_path());
}

void rememberFolder(const QString& chosenFile) {
    // Only a convenience: a store that cannot be written is not worth a message.
    platform::services().saveSetting(kSettingsApplication, kSettingsSection, kSettingsKey,
                                     QDir::toNativeSeparators(QFileInfo(chosenFile).absolutePath()));
}

// Whether `action` ("exported", "imported") can go on; tells the user why not.
bool readyFor(frmMain& window, const QString& action) {
    if (!window.baza().loaded()) {
        tellUser(&window, platform::MessageIcon::Warning,
                 QStringLiteral("Nothing was %1: no game executable was loaded when Kelvory started.").arg(action));
        return false;
    }
    const QStringList marked = markedBoxes(window.controls());
    if (!marked.isEmpty()) {
        tellUser(&window, platform::MessageIcon::Warning,
                 QStringLiteral("Nothing was %1.\n\n"
                                "These boxes hold values that cannot be stored:\n%2\n\n"
                                "Correct them, then try again.")
                     .arg(action, marked.join(QLatin1Char('\n'))));
        return false;
    }
    return true;
}

}  // namespace

void exportLeagueSetup(frmMain& window) {
    if (!readyFor(window, QStringLiteral("exported"))) {
        return;
    }
    const QString suggested = QDir::toNativeSeparators(QDir(startFolder(window)).filePath(kSuggestedName));
    const QString chosen = platform::services().saveFileDialog(&window, kExportCaption, suggested, setupFilters(false));
    if (chosen.isEmpty()) {
        return;
    }
    rememberFolder(chosen);
    try {
        writeSetupFile(platform::textToPath(chosen), setupOf(window.baza()));
    } catch (const SetupError& error) {
        tellUser(&window, platform::MessageIcon::Critical,
                 QStringLiteral("The league setup was not exported.\n\n%1").arg(platform::fromUtf8(error.what())));
        return;
    }
    // The window confirms every file it writes, as Save does; the path shows
    // where the file went, whatever the dialog made of the typed name.
    tellUser(&window, platform::MessageIcon::Information,
             QStringLiteral("The league setup was exported to:\n\n%1").arg(chosen));
}

void importLeagueSetup(frmMain& window) {
    if (!readyFor(window, QStringLiteral("imported"))) {
        return;
    }
    const QString chosen =
        platform::services().openFileDialog(&window, kImportCaption, startFolder(window), setupFilters(true), 0);
    if (chosen.isEmpty()) {
        return;
    }
    rememberFolder(chosen);
    Setup setup;
    try {
        setup = readSetupFile(platform::textToPath(chosen));
    } catch (const SetupError& error) {
        tellUser(&window, platform::MessageIcon::Warning,
                 QStringLiteral("Nothing was imported; the boxes are as they were.\n\n%1")
                     .arg(platform::fromUtf8(error.what())));
        return;
    }

    const std::vector<SetupChange> changes = setupChanges(window.baza(), setup);
    if (changes.empty()) {
        platform::services().reviewList(
            &window, kImportCaption,
            QStringLiteral("%1\n\nThe boxes already hold every value of this file.").arg(chosen),
            {QStringLiteral("No changes")}, QString());
        return;
    }
    QStringList lines;
    for (const SetupChange& change : changes) {
        lines << platform::fromUtf8(describeChange(change));
    }
    const QString text = QStringLiteral(
                             "%1\n\n"
                             "Importing this file changes %2 %3, from the value now to the file's value. "
                             "Apply puts the new values into the boxes; nothing is written to the game "
                             "executable until you save.")
                             // One call: a path holding "%2" must stay as it is.
                             .arg(chosen, QString::number(changes.size()),
                                  changes.size() == 1 ? QStringLiteral("box") : QStringLiteral("boxes"));
    if (!platform::services().reviewList(&window, kImportCaption, text, lines, QStringLiteral("&Apply"))) {
        return;
    }
    Baza imported(window.baza());
    applySetup(imported, setup);
    window.applyBlock(imported.block(), kImportCaption);
}
