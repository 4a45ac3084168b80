#include "ui/main_window/Polancz.h"

#include "CopyrightNotice.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/Messages.h"

#ifndef KELVORY_HOME_URL
#define KELVORY_HOME_URL ""
#endif
#ifndef KELVORY_ISSUES_URL
#define KELVORY_ISSUES_URL ""
#endif

Polancz::Addresses Polancz::builtInAddresses(const std::filesystem::path& programFolder) {
    const QString guide = platform::pathToFileUrl(programFolder / "UserGuide.html");
    Addresses addresses;
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

void Polancz::CommunitySiteA_Click(QWidget*) {
    platform::services().openAddress(addresses_.userGuide);
}

void Polancz::CommunitySiteB_Click(QWidget*) {
    platform::services().openAddress(addresses_.homePage);
}

void Polancz::AuthorPage_Click(QWidget*) {
    platform::services().openAddress(addresses_.issueTracker);
}

void Polancz::Copyright_Click(QWidget* owner) {
    tellUser(owner, platform::MessageIcon::Information, copyrightNotice());
}
