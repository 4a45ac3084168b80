#include "ui/main_window/Polancz.h"

#include <QCoreApplication>

#include <QDir>
#include <system_error>

#include "CopyrightNotice.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/Telling.h"

#ifndef KELVORY_HOME_URL
#define KELVORY_HOME_URL ""
#endif
#ifndef KELVORY_ISSUES_URL
#define KELVORY_ISSUES_URL ""
#endif
#ifndef KELVORY_VERSION
#define KELVORY_VERSION "unknown"
#endif

Polancz::Addresses Polancz::builtInAddresses(const std::filesystem::path& programFolder) {
    Addresses addresses;
    addresses.guideFile = programFolder / "UserGuide.html";
    const QString guide = platform::pathToFileUrl(addresses.guideFile);
    addresses.userGuide = guide;
    addresses.homePage = QStringLiteral(KELVORY_HOME_URL);
    if (addresses.homePage.isEmpty()) {
        addresses.homePage = guide + QStringLiteral("#about");
    }
    addresses.issueTracker = QStringLiteral(KELVORY_ISSUES_URL);
    if (addresses.issueTracker.isEmpty()) {
        addresses.issueTracker = guide + QStringLiteral("#reporting-a-problem");
    }
    return addresses;
}

QString Polancz::copyrightNotice() {
    return QString::fromUtf8(KELVORY_COPYRIGHT);
}

QString Polancz::versionLine() {
    return QStringLiteral("Kelvory " KELVORY_VERSION);
}

void Polancz::CommunitySiteA_Click(QWidget* owner) {
    open(owner, addresses_.userGuide);
}

void Polancz::CommunitySiteB_Click(QWidget* owner) {
    open(owner, addresses_.homePage);
}

void Polancz::AuthorPage_Click(QWidget* owner) {
    open(owner, addresses_.issueTracker);
}

void Polancz::Copyright_Click(QWidget* owner) {
    tellUser(owner, platform::MessageIcon::Information, versionLine() + QLatin1Char('\n') + copyrightNotice());
}

void Polancz::open(QWidget* owner, const QString& address) {
    // The guide, or a section of it: its file must be there to be shown.
    const bool guide = !addresses_.userGuide.isEmpty() && address.startsWith(addresses_.userGuide);
    const QString file = QDir::toNativeSeparators(platform::pathToText(addresses_.guideFile));
    std::error_code error;
    if (guide && !std::filesystem::is_regular_file(addresses_.guideFile, error)) {
        tellUser(
            owner, platform::MessageIcon::Warning,
            QCoreApplication::translate("Polancz", "The user guide was not found. It belongs beside Kelvory:\n\n%1")
                .arg(file));
        return;
    }
    if (platform::services().openAddress(address)) {
        return;
    }
    tellUser(
        owner, platform::MessageIcon::Warning,
        guide ? QCoreApplication::translate("Polancz",
                                            "No program on this computer could show the user guide. Open the file "
                                            "yourself:\n\n%1")
                    .arg(file)
              : QCoreApplication::translate("Polancz",
                                            "No program on this computer could open the page %1.\n\nOpen it in a web "
                                            "browser yourself.")
                    .arg(address));
}
