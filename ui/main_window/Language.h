#pragma once

#include <QList>
#include <QString>
#include <optional>

class QMenuBar;

// The window's language: English, the language its texts are written in, or
// one of the translations in the `translations` folder beside the program
// (kelvory_XX.qm, with the toolkit's own qtbase_XX.qm for its dialogs). The
// system's language by default; a choice made in About > Language is
// remembered per user and applies from the next start; `kelvory --language XX`
// overrides both for one run.

struct Language {
    QString code;  // "en", "pl": the XX of kelvory_XX.qm
    QString name;  // in the language itself: "English", "Polski"
};

// English, then every translation found in `folder`, by code.
QList<Language> availableLanguages(const QString& folder);

// The language to show: `override` when given, else the remembered choice,
// else the first of the system's languages that is available, else English.
// A code that is not available counts as not given.
QString chosenLanguage(const std::optional<QString>& override, const QList<Language>& available,
                       const QStringList& systemLanguages);

// The remembered choice ("" for none); remembering returns false when the
// settings could not be written.
QString rememberedLanguage();
bool rememberLanguage(const QString& code);

// The folder the translations are read from: `translations` beside the program.
QString translationsFolder();

// Loads the translations of `code` from `folder` into the application (the
// toolkit's from there, or from its own folder); nothing for English.
// Returns false when Kelvory's own translation could not be loaded.
bool installLanguage(const QString& code, const QString& folder);

// Chooses and installs the language at start-up, as above.
void startInLanguage(const std::optional<QString>& override);

// Adds About > Language: one checkable entry per available language; a
// choice is remembered for the next start, and the window says so.
void addLanguageMenu(QMenuBar* bar);
