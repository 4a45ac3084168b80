#pragma once

// The fixture every window test program shares: the real main window started
// on a program folder of its own (tests/common/ProgramFolder.h), with the
// current folder set to a decoy beside it, and the platform's services
// replaced by recording fakes (tests/common/RecordingServices.h).
//
// A test class derives from it; its init() and cleanup() run around every
// test function and check, after each, that the decoy folder is untouched.

#include <QObject>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>

#include "../common/ProgramFolder.h"
#include "../common/RecordingServices.h"
#include "ui/main_window/frmMain.h"

class QComboBox;
class QLineEdit;

class WindowFixture : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<ProgramFolder> folder_;
    std::unique_ptr<frmMain> window_;
    RecordingServices services_;

    // Creates the window and runs its start-up, including the work after
    // the first paint. False when start-up stopped.
    bool start();
    // Lets `edit` change the game file's block, then starts with it loaded.
    void startLoaded(const std::function<void(Baza&)>& edit = {});
    // As startLoaded, and shows the window.
    void startShown(const std::function<void(Baza&)>& edit = {});

    QLineEdit* txt(int member) const { return window_->txt(member); }
    QComboBox* combo(int number) const { return window_->combo(number); }
    QString label(int number) const;
    QStringList listItems() const;
    void setLauncher(const QString& path) const;

    // The "file:" address of a folder whose path holds only letters, digits,
    // "-._~" and separators, as the test folders' roots do.
    static QString fileUrl(const QString& path);

    // Clears the box, then types `text` key by key.
    static void type(QLineEdit* edit, const QString& text);
    // Chooses `item` from the picker's list as a click on it would.
    void choose(int picker, const QString& item);

private slots:
    void init();
    void cleanup();

private:
    QString previousCurrent_;
};
