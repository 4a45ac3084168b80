#pragma once

// Test fakes: platform services that record what the program asks of them
// (messages, program starts, opened addresses, the file dialog's title) and
// answer as the test says, instead of reaching the system. Settings are
// never read or written. Lives as long as the test case; install() once.

#include <QList>
#include <QString>
#include <QStringList>
#include <filesystem>

#include "platform/Services.h"

struct RecordingServices {
    struct Message {
        platform::MessageIcon icon;
        QString caption, text;
    };

    // What the program did, in order: "message: <text>", "start: <command
    // line>", "open: <address>".
    QStringList events;
    QList<Message> messages;
    QStringList started;
    QStringList captions;  // of the questions asked (messages keep their own)
    QString dialogTitle;
    int questions = 0;

    // Answers.
    std::filesystem::path programFolder;
    QString dialogAnswer;  // empty: the dialog is cancelled
    platform::StartResult startAnswer{true, {}};
    platform::SaveChangesAnswer closeAnswer = platform::SaveChangesAnswer::Cancel;

    void install() {
        platform::Services& s = platform::services();
        s.programFolder = [this] { return programFolder; };
        s.showMessage = [this](QWidget*, platform::MessageIcon icon, const QString& caption, const QString& text) {
            messages.append({icon, caption, text});
            events.append("message: " + text);
        };
        s.startProgram = [this](const QString& commandLine) {
            started.append(commandLine);
            events.append("start: " + commandLine);
            return startAnswer;
        };
        s.readSetting = [](const QString&, const QString&, const QString&, const QString& fallback) {
            return fallback;
        };
        s.saveSetting = [](const QString&, const QString&, const QString&, const QString&) { return true; };
        s.openFileDialog = [this](QWidget*, const QString& title, const QString&, const QList<platform::FileFilter>&,
                                  int) {
            dialogTitle = title;
            return dialogAnswer;
        };
        s.askSaveChanges = [this](QWidget*, const QString& caption, const QString&) {
            ++questions;
            captions.append(caption);
            return closeAnswer;
        };
        s.openAddress = [this](const QString& address) {
            events.append("open: " + address);
            return true;
        };
    }
};
