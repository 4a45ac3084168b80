#pragma once

// Test fakes: platform services that record what the program asks of them
// (messages, program starts, opened addresses, the file dialog's title) and
// answer as the test says, instead of reaching the system. Settings are
// never read or written. Lives as long as the test case; install() once.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
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
    QStringList texts() const {  // of the messages
        QStringList list;
        for (const Message& message : messages)
            list << message.text;
        return list;
    }
    QString dialogTitle;
    QString dialogStart;          // the folder or path the last file dialog opened at
    qsizetype dialogFilters = 0;  // how many kinds of file it offered
    QStringList savedSettings;    // "application/section/key=value", in order
    int questions = 0;
    struct Review {
        QString caption, text;
        QStringList lines;
        QString acceptCaption;
    };
    QList<Review> reviews;             // the lists shown, in order
    QStringList choiceTexts;           // the texts of the choices asked (askChoice)
    QStringList choiceDefaults;        // the button each of them offers first
    QList<QStringList> choiceButtons;  // the buttons each of them offers
    QList<QStringList> listChoices;    // the lines of each list offered to choose from, in order

    // Answers.
    std::filesystem::path programFolder;
    QString dialogAnswer;  // empty: the dialog is cancelled
    platform::StartResult startAnswer{true, {}};
    platform::SaveChangesAnswer closeAnswer = platform::SaveChangesAnswer::Cancel;
    QString saveDialogAnswer;   // empty: the save dialog is cancelled
    int choiceAnswer = -1;      // -1: the last button (the way out)
    QList<int> choiceAnswers;   // answers to the next questions, in turn, before choiceAnswer
    bool reviewAnswer = false;  // whether a list that asks is accepted
    int listAnswer = -1;        // the line chosen from a list; -1: Cancel
    // Kelvory's data folder (records of the original values): a folder of the
    // test's own unless the test names another.
    QTemporaryDir dataDir;
    std::filesystem::path dataFolder;
    // Values the settings store holds, by "application/section/key"; any
    // other setting reads as its default. Saving never changes them.
    QMap<QString, QString> settingValues;

    void install() {
        platform::Services& s = platform::services();
        s.programFolder = [this] { return programFolder; };
        s.showMessage = [this](QWidget*, platform::MessageIcon icon, const QString& caption, const QString& text) {
            messages.append({icon, caption, text});
            events.append("message: " + text);
        };
        s.startProgram = [this](const QString& commandLine) {
            events.append("start: " + commandLine);
            return startAnswer;
        };
        s.readSetting = [this](const QString& application, const QString& section, const QString& key,
                               const QString& fallback) {
            return settingValues.value(application + '/' + section + '/' + key, fallback);
        };
        s.saveSetting = [this](const QString& application, const QString& section, const QString& key,
                               const QString& value) {
            savedSettings.append(application + '/' + section + '/' + key + '=' + value);
            return true;
        };
        s.openFileDialog = [this](QWidget*, const QString& title, const QString& start,
                                  const QList<platform::FileFilter>& filters, int) {
            dialogFilters = filters.size();
            dialogTitle = title;
            dialogStart = start;
            return dialogAnswer;
        };
        s.askSaveChanges = [this](QWidget*, const QString&, const QString&) {
            ++questions;
            return closeAnswer;
        };
        s.saveFileDialog = [this](QWidget*, const QString& title, const QString& start,
                                  const QList<platform::FileFilter>& filters) {
            dialogFilters = filters.size();
            dialogTitle = title;
            dialogStart = start;
            return saveDialogAnswer;
        };
        s.askChoice = [this](QWidget*, platform::MessageIcon, const QString&, const QString& text,
                             const QStringList& buttons, int preselected) {
            ++questions;
            choiceTexts.append(text);
            choiceDefaults.append(buttons.value(preselected));
            choiceButtons.append(buttons);
            const int answer = choiceAnswers.isEmpty() ? choiceAnswer : choiceAnswers.takeFirst();
            return answer < 0 ? int(buttons.size()) - 1 : answer;
        };
        s.reviewList = [this](QWidget*, const QString& caption, const QString& text, const QStringList& lines,
                              const QString& acceptCaption) {
            reviews.append({caption, text, lines, acceptCaption});
            return !acceptCaption.isEmpty() && reviewAnswer;
        };
        s.dataFolder = [this] {
            return dataFolder.empty() ? std::filesystem::u8path(dataDir.path().toStdString()) : dataFolder;
        };
        s.chooseFromList = [this](QWidget*, const QString&, const QString&, const QStringList& lines, int,
                                  const QString&) {
            listChoices.append(lines);
            return listAnswer;
        };
        s.openAddress = [this](const QString& address) {
            events.append("open: " + address);
            return true;
        };
    }
};
