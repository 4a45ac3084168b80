#include "ui/main_window/Language.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QTranslator>

#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/Telling.h"

namespace {

const QString kSource = QStringLiteral("en");
const QString kPrefix = QStringLiteral("kelvory_");
const QString kSuffix = QStringLiteral(".qm");

const QString kSettingsApplication = QStringLiteral("Kelvory");
const QString kSettingsSection = QStringLiteral("Window");
const QString kSettingsKey = QStringLiteral("Language");

// The language this run shows.
QString& shownLanguage() {
    static QString code = QStringLiteral("en");
    return code;
}

// The language part of a locale name or tag: "pl" of "pl_PL", "pl-PL".
QString languageOf(const QString& name) {
    return name.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('-'), 0, 0).toLower();
}

QString ownName(const QString& code) {
    if (code == kSource) {
        return QStringLiteral("English");
    }
    const QString name = QLocale(code).nativeLanguageName();
    return name.isEmpty() ? code : name.left(1).toUpper() + name.mid(1);
}

bool available(const QString& code, const QList<Language>& languages) {
    for (const Language& language : languages) {
        if (language.code == code) {
            return true;
        }
    }
    return false;
}

}  // namespace

QList<Language> availableLanguages(const QString& folder) {
    QList<Language> languages{{kSource, ownName(kSource)}};
    const QStringList files = QDir(folder).entryList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QString code = file.mid(kPrefix.size(), file.size() - kPrefix.size() - kSuffix.size());
        if (!code.isEmpty() && code != kSource) {
            languages.append({code, ownName(code)});
        }
    }
    return languages;
}

QString chosenLanguage(const std::optional<QString>& override, const QList<Language>& languages,
                       const QStringList& systemLanguages) {
    if (override && available(languageOf(*override), languages)) {
        return languageOf(*override);
    }
    const QString remembered = languageOf(rememberedLanguage());
    if (available(remembered, languages)) {
        return remembered;
    }
    for (const QString& system : systemLanguages) {
        if (available(languageOf(system), languages)) {
            return languageOf(system);
        }
    }
    return kSource;
}

QString rememberedLanguage() {
    return platform::services().readSetting(kSettingsApplication, kSettingsSection, kSettingsKey, QString());
}

bool rememberLanguage(const QString& code) {
    return platform::services().saveSetting(kSettingsApplication, kSettingsSection, kSettingsKey, code);
}

QString translationsFolder() {
    return platform::pathToText(platform::services().programFolder() / "translations");
}

bool installLanguage(const QString& code, const QString& folder) {
    if (code == kSource) {
        shownLanguage() = kSource;
        return true;
    }
    // Owned by the application, which keeps them for its whole life.
    auto* toolkit = new QTranslator(QCoreApplication::instance());
    if (toolkit->load(QStringLiteral("qtbase_") + code, folder) ||
        toolkit->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(toolkit);
    }
    auto* own = new QTranslator(QCoreApplication::instance());
    if (!own->load(kPrefix + code, folder)) {
        return false;
    }
    QCoreApplication::installTranslator(own);
    shownLanguage() = code;
    return true;
}

void startInLanguage(const std::optional<QString>& override) {
    const QString folder = translationsFolder();
    installLanguage(chosenLanguage(override, availableLanguages(folder), QLocale::system().uiLanguages()), folder);
}

void addLanguageMenu(QMenuBar* bar) {
    auto* about = bar->findChild<QMenu*>(QStringLiteral("mnuAbout"));
    if (!about) {
        return;
    }
    QMenu* menu = about->addMenu(QCoreApplication::translate("Menus", "&Language"));
    menu->setObjectName(QStringLiteral("mnuLanguage"));
    menu->setFont(bar->font());
    auto* group = new QActionGroup(menu);
    for (const Language& language : availableLanguages(translationsFolder())) {
        // Each name with its first letter as its access key.
        QAction* action = menu->addAction(QLatin1Char('&') + language.name);
        action->setObjectName(QStringLiteral("mnuLanguage_") + language.code);
        action->setCheckable(true);
        action->setChecked(language.code == shownLanguage());
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, bar, [bar, language] {
            const bool saved = rememberLanguage(language.code);
            tellUser(bar->window(), saved ? platform::MessageIcon::Information : platform::MessageIcon::Warning,
                     saved ? QCoreApplication::translate("Language", "Kelvory will be in %1 from its next start.")
                                 .arg(language.name)
                           : QCoreApplication::translate(
                                 "Language", "Kelvory could not remember the language for the next start."));
        });
    }
}
