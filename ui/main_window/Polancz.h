#pragma once

#include <QString>
#include <filesystem>

class QWidget;

// The About menu's actions: three pages opened in the user's browser and the
// copyright notice with the version.
class Polancz {
public:
    struct Addresses {
        QString userGuide;                // the guide shipped beside the program
        QString homePage;                 // the project's home page
        QString issueTracker;             // where problems are reported
        std::filesystem::path guideFile;  // the guide's own file, which userGuide addresses
    };

    explicit Polancz(Addresses addresses) : addresses_(std::move(addresses)) {}

    // The addresses this copy of Kelvory was built with. Where none was set at
    // build time, the entry opens the matching part of the user guide.
    static Addresses builtInAddresses(const std::filesystem::path& programFolder);

    static QString copyrightNotice();
    // "Kelvory 1.0.0": the program and the version it was built as.
    static QString versionLine();

    // Open the pages. When the guide is missing, or no program on the system
    // can show a page, the user is told, with the guide's file or the page's
    // address to open themselves.
    void CommunitySiteA_Click(QWidget* owner);  // user guide
    void CommunitySiteB_Click(QWidget* owner);  // home page
    void AuthorPage_Click(QWidget* owner);      // issue tracker
    // Shows the version and the copyright notice.
    void Copyright_Click(QWidget* owner);

    const Addresses& addresses() const { return addresses_; }

private:
    void open(QWidget* owner, const QString& address);

    Addresses addresses_;
};
