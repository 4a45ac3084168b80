#pragma once

#include <string>

// What the catalogue reader needs from the window it fills. All texts are
// UTF-8. Rows of the club category logo boxes count from 1 at the top; the
// file-name indicator of a box stands on the same row.
class IniHost {
public:
    virtual ~IniHost() = default;

    // Appends a category identifier to the list of every category picker.
    virtual void appendCategory(const std::string& identifier) = 0;
    // Appends an item to the list that the name pickers offer.
    virtual void appendName(const std::string& item) = 0;
    // Appends an item to the "Structure League" list.
    virtual void appendStructure(const std::string& item) = 0;
    // Replaces the text of the game executable's name box.
    virtual void setExecutableName(const std::string& name) = 0;
    // The current text of the club category logo box on `row`.
    virtual std::string logoBoxText(int row) const = 0;
    // Replaces the text of the file-name indicator on `row`.
    virtual void setLogoIndicator(int row, const std::string& fileName) = 0;
    // A catalogue was passed over as a whole (too large, too many items):
    // `message` says which and why, once per catalogue. Kelvory goes on
    // without its entries.
    virtual void catalogueSkipped(const std::string& message) { (void)message; }
};
