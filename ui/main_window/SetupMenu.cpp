#include "ui/main_window/SetupMenu.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "session/LeagueSession.h"
#include "setup/LeagueSetup.h"
#include "ui/main_window/Telling.h"

namespace {

// In the window's language, so asked for once it is chosen.
QString importCaption() {
    return QCoreApplication::translate("SetupMenu", "Import League Setup");
}
// In the window's language, so asked for once it is chosen.
QString exportCaption() {
    return QCoreApplication::translate("SetupMenu", "Export League Setup");
}
const QString kSuggestedName = QStringLiteral("league") + QLatin1String(SetupSuffix);

// The folder of the last setup file chosen, kept in the user's settings.
const QString kSettingsApplication = QStringLiteral("Kelvory");
const QString kSettingsSection = QStringLiteral("LeagueSetups");
const QString kSettingsKey = QStringLiteral("Folder");

// Whether a dialog offers every file besides league setups.
enum class OtherFiles { Hidden, Offered };

QList<platform::FileFilter> setupFilters(OtherFiles others) {
    QList<platform::FileFilter> filters{
        {QCoreApplication::translate("SetupMenu", "Kelvory league setup"), QStringLiteral("*") + SetupSuffix}};
    if (others == OtherFiles::Offered) {
        // A setup passed on by hand may have lost its suffix.
        filters.append({QCoreApplication::translate("SetupMenu", "All Files"), QStringLiteral("*.*")});
    }
    return filters;
}

// Where the dialogs open: the folder of the last setup file chosen while it
// still exists, otherwise the game executable's folder.
QString startFolder(const LeagueSession& session) {
    const QString remembered =
        platform::services().readSetting(kSettingsApplication, kSettingsSection, kSettingsKey, QString());
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) {
        return remembered;
    }
    return platform::pathToText(session.game().parent_path());
}

void rememberFolder(const QString& chosenFile) {
    // Only a convenience: a store that cannot be written is not worth a message.
    platform::services().saveSetting(kSettingsApplication, kSettingsSection, kSettingsKey,
                                     QDir::toNativeSeparators(QFileInfo(chosenFile).absolutePath()));
}

// Whether the values can be exported or imported now; tells the user why not.
bool readyFor(QWidget* owner, const LeagueSession& session, Doing doing) {
    const Told refused = session.refusal(doing);
    tell(owner, refused);
    return refused.words.empty();
}

}  // namespace

void exportLeagueSetup(QWidget* owner, const LeagueSession& session) {
    if (!readyFor(owner, session, Doing::Exporting)) {
        return;
    }
    const QString suggested = QDir::toNativeSeparators(QDir(startFolder(session)).filePath(kSuggestedName));
    const QString chosen =
        platform::services().saveFileDialog(owner, exportCaption(), suggested, setupFilters(OtherFiles::Hidden));
    if (chosen.isEmpty()) {
        return;
    }
    rememberFolder(chosen);
    try {
        writeSetupFile(platform::textToPath(chosen), setupOf(session.baza()));
    } catch (const SetupError& error) {
        tellUser(owner, platform::MessageIcon::Critical,
                 QCoreApplication::translate("SetupMenu", "The league setup was not exported.\n\n%1")
                     .arg(platform::fromUtf8(error.what())));
        return;
    }
    // The window confirms every file it writes, as Save does; the path shows
    // where the file went, whatever the dialog made of the typed name.
    tellUser(owner, platform::MessageIcon::Information,
             QCoreApplication::translate("SetupMenu", "The league setup was exported to:\n\n%1").arg(chosen));
}

std::optional<SetupPreview> importLeagueSetup(QWidget* owner, const LeagueSession& session) {
    if (!readyFor(owner, session, Doing::Importing)) {
        return std::nullopt;
    }
    const QString chosen = platform::services().openFileDialog(owner, importCaption(), startFolder(session),
                                                               setupFilters(OtherFiles::Offered), 0);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    rememberFolder(chosen);
    Setup setup;
    try {
        setup = readSetupFile(platform::textToPath(chosen));
    } catch (const SetupError& error) {
        tellUser(owner, platform::MessageIcon::Warning,
                 QCoreApplication::translate("SetupMenu", "Nothing was imported; the boxes are as they were.\n\n%1")
                     .arg(platform::fromUtf8(error.what())));
        return std::nullopt;
    }

    const SetupPreview preview = session.previewSetup(setup);
    if (preview.changes.empty()) {
        platform::services().reviewList(
            owner, importCaption(),
            QCoreApplication::translate("SetupMenu", "%1\n\nThe boxes already hold every value of this file.")
                .arg(chosen),
            {QCoreApplication::translate("SetupMenu", "No changes")}, QString());
        return std::nullopt;
    }
    QStringList lines;
    for (const Words& line : preview.lines) {
        lines << shown(line);  // a value the game is not known to take says so on its line
    }
    const QString text =
        QCoreApplication::translate("SetupMenu",
                                    "%1\n\n"
                                    "Importing this file changes %2 %3, from the value now to the file's value. "
                                    "Apply puts the new values into the boxes; nothing is written to the game "
                                    "executable until you save.")
            // One call: a path holding "%2" must stay as it is.
            .arg(chosen, QString::number(preview.changes.size()),
                 preview.changes.size() == 1 ? QCoreApplication::translate("SetupMenu", "box")
                                             : QCoreApplication::translate("SetupMenu", "boxes"));
    if (!platform::services().reviewList(owner, importCaption(), text, lines,
                                         QCoreApplication::translate("SetupMenu", "&Apply"))) {
        return std::nullopt;
    }
    return preview;
}
