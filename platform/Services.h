#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>

class QWidget;

// Everything Kelvory asks of the system beyond files: one replaceable set of
// functions. The program uses services(); tests swap single members for fakes
// (and put them back with resetServices()).
namespace platform {

struct FileFilter {
    QString description;
    QString pattern;  // one or more patterns separated by ';', e.g. "*.exe"
};

enum class MessageIcon { Information, Warning, Critical };

// The answers to "save your changes before closing?".
enum class SaveChangesAnswer { Save, Discard, Cancel };

struct StartResult {
    bool started = false;
    QString error;  // the reason, when not started
};

struct Services {
    // Folder of the program's own executable (never the current folder), as
    // an exact path; empty when it cannot be found.
    std::function<std::filesystem::path()> programFolder;

    // The user's own data folder for Kelvory (the records of the game's
    // original values), as an exact path; empty when the system names none.
    std::function<std::filesystem::path()> dataFolder;

    // Per-user settings store: application / section / key.
    std::function<QString(const QString& application, const QString& section, const QString& key,
                          const QString& defaultValue)>
        readSetting;
    // Returns false only when the value could not be written.
    std::function<bool(const QString& application, const QString& section, const QString& key, const QString& value)>
        saveSetting;

    // Starts a program without waiting for it, in its own folder (the folder
    // that holds the program, not Kelvory's current one). `commandLine` is
    // either the path of a program (spaces and all) or a command line.
    std::function<StartResult(const QString& commandLine)> startProgram;

    // Opens a web or mail address, or a local document, with the system's
    // default handler. Returns whether the system accepted the request.
    std::function<bool(const QString& address)> openAddress;

    // Plays a sound file asynchronously; a missing or unplayable file is silent.
    std::function<void(const QString& file)> playSound;

    // Modal open-file dialog. Returns the chosen path, or an empty string when
    // the user cancelled. `selectedFilter` is a 0-based index into `filters`.
    std::function<QString(QWidget* owner, const QString& title, const QString& initialFolder,
                          const QList<FileFilter>& filters, int selectedFilter)>
        openFileDialog;

    // Modal save-file dialog: asks before replacing an existing file. Returns
    // the chosen path, or an empty string when the user cancelled.
    std::function<QString(QWidget* owner, const QString& title, const QString& initialPath,
                          const QList<FileFilter>& filters)>
        saveFileDialog;

    // Modal message box with one OK button; returns when the user closes it.
    std::function<void(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text)> showMessage;

    // Modal question with the system's own Save, Discard and Cancel buttons
    // (Save preselected); closing the box without a choice answers Cancel.
    std::function<SaveChangesAnswer(QWidget* owner, const QString& caption, const QString& text)> askSaveChanges;

    // Modal question with one button per entry of `buttons` (captions with
    // access keys, e.g. "&Overwrite"), `preselected` the default one. Returns
    // the index of the button chosen. The last button is the way out: Escape
    // and the close box choose it.
    std::function<int(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text,
                      const QStringList& buttons, int preselected)>
        askChoice;

    // The two list dialogs below are the window's own (ui/widgets/ListDialogs.h),
    // which the window puts here where no test's fake stands; the system's
    // services leave them empty.

    // Modal box that shows `text` above a list of `lines` the user can select
    // and copy. With an `acceptCaption` it asks: returns true when that button
    // was chosen, false for Cancel or closing. Without one it only shows the
    // list (a Close button) and returns false.
    std::function<bool(QWidget* owner, const QString& caption, const QString& text, const QStringList& lines,
                       const QString& acceptCaption)>
        reviewList;

    // Modal box that shows `text` above a list of `lines` and lets the user
    // pick one (`preselected` first) with `acceptCaption`, or Cancel.
    // Returns the index picked, or -1 for Cancel or closing.
    std::function<int(QWidget* owner, const QString& caption, const QString& text, const QStringList& lines,
                      int preselected, const QString& acceptCaption)>
        chooseFromList;
};

Services& services();
void resetServices();

// The filter entries the open-file dialog shows for `filters`.
QStringList dialogFilterTexts(const QList<FileFilter>& filters);

// The real implementations, for callers that wrap one of them.
Services systemServices();

}  // namespace platform
