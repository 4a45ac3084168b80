#pragma once

#include <QString>
#include <filesystem>

class QWidget;

// The About menu's actions: three pages opened in the user's browser and the
// copyright notice.
class Polancz {
public:
    struct Addresses {
        QString userGuide;     // the guide shipped beside the program
        QString homePage;      // the project's home page
        QString issueTracker;  // where problems are reported
    };

    explicit Polancz(Addresses addresses) : addresses_(std::move(addresses)) {}

    // The addresses this copy of Kelvory was built with. Where none was set at
    // build time, the entry opens the matching part of the user guide.
    static Addresses builtInAddresses(const std::filesystem::path& programFolder);

    static QString copyrightNotice();

    // Open the pages; a failure to open one is not reported.
    void CommunitySiteA_Click(QWidget* owner);  // user guide
    void CommunitySiteB_Click(QWidget* owner);  // home page
    void AuthorPage_Click(QWidget* owner);      // issue tracker
    void Copyright_Click(QWidget* owner);

    const Addresses& addresses() const { return addresses_; }

private:
    Addresses addresses_;
};
