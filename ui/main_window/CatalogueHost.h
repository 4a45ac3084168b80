#pragma once

#include <QStringList>

#include "catalogues/IniHost.h"

struct FormControls;
class QObject;

// How the catalogue reader (Ini) reaches the window's controls: the pickers
// and the indicators it fills are found through the field table, the
// structure list and the executable's name box by the window's layout.
class CatalogueHost : public IniHost {
public:
    explicit CatalogueHost(const FormControls& form) : form_(form) {}

    void appendCategory(const std::string& identifier) override;
    // Collects the item; shareNames hands the collection to the pickers.
    void appendName(const std::string& item) override;
    void appendStructure(const std::string& item) override;
    void setExecutableName(const std::string& name) override;
    std::string logoBoxText(int row) const override;
    void setLogoIndicator(int row, const std::string& fileName) override;
    // Tells the user in a message box.
    void catalogueSkipped(const std::string& message) override;

    // Gives every name picker one shared list (owned by `owner`), made of the
    // names appended so far, and starts a new collection.
    void shareNames(QObject* owner);

private:
    const FormControls& form_;
    QStringList names_;  // the name catalogue, while it is being read
};
