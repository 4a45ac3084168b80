#pragma once

#include <string>
#include <vector>

#include "catalogues/IniHost.h"
#include "catalogues/NameCatalogue.h"

struct FormControls;
class NameLists;
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
    // names appended so far, every item an entry, and starts a new collection.
    void shareNames(QObject* owner);

    // The names appended so far as one catalogue, paired or not; starts a new
    // collection. In place of shareNames, for the window that takes the
    // pairs: give the catalogue to shareNameLists, and its pairedIndices()
    // to whatever flags name indices.
    NameCatalogue takeNameCatalogue();

    // Gives every name picker its list from `catalogue` (NamePickers.h):
    // the lists, owned by `owner`, with each picker's part attached
    // (NameLists::attach) and showing no value yet.
    NameLists* shareNameLists(const NameCatalogue& catalogue, QObject* owner);

private:
    const FormControls& form_;
    std::vector<std::string> names_;  // the name catalogue, while it is being read
};
