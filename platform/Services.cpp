#include "platform/Services.h"

#include "platform/Sound.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include "platform/Fonts.h"
#include "platform/Paths.h"

namespace platform {
namespace {

// Settings live under the organisation "Kelvory" and the application name the
// caller gives, so they are the user's own and survive updates of the program:
// in the user's registry on Windows, in the user's configuration folder
// elsewhere. The default format stays replaceable, so tests can keep the store
// in a folder of their own.
QSettings openSettings(const QString& application) {
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Kelvory"), application);
}

QString readSetting(const QString& application, const QString& section, const QString& key,
                    const QString& defaultValue) {
    QSettings settings = openSettings(application);
    return settings.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

QByteArray fileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool saveSetting(const QString& application, const QString& section, const QString& key, const QString& value) {
    QSettings settings = openSettings(application);
    if (settings.status() == QSettings::NoError) {
        settings.setValue(section + QLatin1Char('/') + key, value);
        settings.sync();
        return settings.status() == QSettings::NoError;
    }
    // The store could not be read (a damaged file, say). QSettings keeps
    // reporting that reading error after the write, whether or not the write
    // worked, so judge the write by the file itself: a written store no longer
    // holds the contents that could not be read.
    const QString file = settings.fileName();
    const QByteArray before = fileContents(file);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
    return QFileInfo(file).isFile() && fileContents(file) != before;
}

#ifndef Q_OS_WIN
bool looksLikeWindowsProgram(const QString& program) {
    return program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
}
#endif

StartResult startProgram(const QString& commandLine) {
    StartResult result;
    QString program;
    QStringList arguments;
    const QFileInfo whole(commandLine);
    if (!commandLine.trimmed().isEmpty() && whole.isFile()) {
        // The whole text names a file: start exactly that, spaces and all.
        program = whole.absoluteFilePath();
    } else {
        arguments = QProcess::splitCommand(commandLine);
        if (arguments.isEmpty()) {
            result.error = QCoreApplication::translate("platform", "No program was given.");
            return result;
        }
        program = arguments.takeFirst();
        const QFileInfo named(program);
        const QString found = named.isFile() ? named.absoluteFilePath() : QStandardPaths::findExecutable(program);
        if (found.isEmpty()) {
            result.error = QCoreApplication::translate("platform", "There is no program “%1”.").arg(program);
            return result;
        }
        program = found;
    }
    // Games and their launchers find their files from their own folder.
    const QString folder = QFileInfo(program).absolutePath();
#ifndef Q_OS_WIN
    if (looksLikeWindowsProgram(program)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (!wine.isEmpty()) {
            arguments.prepend(program);
            program = wine;
        }
    }
#endif
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    if (process.startDetached()) {
        result.started = true;
    } else {
        result.error = process.errorString();
        if (result.error.isEmpty() || result.error == QLatin1String("Unknown error")) {
            result.error = QCoreApplication::translate("platform", "“%1” could not be started.").arg(program);
        }
    }
    return result;
}

bool openAddress(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}

QString openFileDialog(QWidget* owner, const QString& title, const QString& initialFolder,
                       const QList<FileFilter>& filters, int selectedFilter) {
    const QStringList filterTexts = dialogFilterTexts(filters);
    QString selected =
        selectedFilter >= 0 && selectedFilter < filterTexts.size() ? filterTexts[selectedFilter] : QString();
    return QFileDialog::getOpenFileName(owner, title, initialFolder, filterTexts.join(QStringLiteral(";;")), &selected);
}

QString saveFileDialog(QWidget* owner, const QString& title, const QString& initialPath,
                       const QList<FileFilter>& filters) {
    return QFileDialog::getSaveFileName(owner, title, initialPath,
                                        dialogFilterTexts(filters).join(QStringLiteral(";;")));
}

// Message boxes speak in the window's face, with its fall-back, at the size the
// system gives message boxes. Left alone they take the application's default
// face, which under Wine resolves to a serif one.
void giveWindowFace(QMessageBox& box) {
    box.setFont(windowFont(QApplication::font("QMessageBox").pointSizeF()));
}

// The box's icon: warnings and errors as such; anything else `otherwise`
// (information for a message, a question for a choice).
QMessageBox::Icon boxIcon(MessageIcon icon, QMessageBox::Icon otherwise) {
    switch (icon) {
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Information:
            break;
    }
    return otherwise;
}

void showMessage(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text) {
    QMessageBox box(boxIcon(icon, QMessageBox::Information), caption, text, QMessageBox::Ok, owner);
    giveWindowFace(box);
    box.exec();
}

SaveChangesAnswer askSaveChanges(QWidget* owner, const QString& caption, const QString& text) {
    // As QMessageBox::question builds it, with the window's face.
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Save);
    giveWindowFace(box);
    box.exec();
    const QMessageBox::StandardButton answer = box.standardButton(box.clickedButton());
    if (answer == QMessageBox::Save) {
        return SaveChangesAnswer::Save;
    }
    return answer == QMessageBox::Discard ? SaveChangesAnswer::Discard : SaveChangesAnswer::Cancel;
}

int askChoice(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text, const QStringList& buttons,
              int preselected) {
    QMessageBox box(boxIcon(icon, QMessageBox::Question), caption, text, QMessageBox::NoButton, owner);
    QList<QAbstractButton*> added;
    for (const QString& button : buttons) {
        // The last one takes the reject role: Escape and the close box
        // choose it, as they choose Cancel.
        const bool last = added.size() == buttons.size() - 1;
        added << box.addButton(button, last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (preselected >= 0 && preselected < added.size()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(added[preselected]));
    }
    giveWindowFace(box);
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return chosen < 0 ? static_cast<int>(buttons.size()) - 1 : static_cast<int>(chosen);
}

std::filesystem::path dataFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return folder.isEmpty() ? std::filesystem::path() : textToPath(folder);
}

}  // namespace

QStringList dialogFilterTexts(const QList<FileFilter>& filters) {
    QStringList texts;
    for (const FileFilter& filter : filters) {
        const QString original = filter.pattern;
        QString patterns = original;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
#ifndef Q_OS_WIN
        // "*.*" means every file on Windows; elsewhere it would miss files
        // without a dot in their name.
        if (patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(QLatin1String("*.*"))) {
            patterns = QStringLiteral("*");
        }
#endif
        // Qt reads the patterns from the last parentheses of the entry; a
        // description that already ends with them keeps its own wording.
        QString text = filter.description;
        const QString shown = QLatin1Char('(') + original + QLatin1Char(')');
        if (text.endsWith(shown)) {
            text.chop(shown.size());
            text += QLatin1Char('(') + patterns + QLatin1Char(')');
        } else {
            text += QStringLiteral(" (") + patterns + QLatin1Char(')');
        }
        texts << text;
    }
    return texts;
}

Services systemServices() {
    Services s;
    s.programFolder = executableFolder;
    s.readSetting = readSetting;
    s.saveSetting = saveSetting;
    s.startProgram = startProgram;
    s.openAddress = openAddress;
    s.playSound = playSoundFile;
    s.openFileDialog = openFileDialog;
    s.showMessage = showMessage;
    s.askSaveChanges = askSaveChanges;
    s.saveFileDialog = saveFileDialog;
    s.askChoice = askChoice;
    s.dataFolder = dataFolder;
    return s;
}

Services& services() {
    static Services live = systemServices();
    return live;
}

void resetServices() {
    services() = systemServices();
}

}  // namespace platform
