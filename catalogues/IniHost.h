#pragma once

#include <string>

// What the catalogue reader needs from the window it fills. Controls are named
// as in the window ("Combo14", "List1", "Nazwa_Exe", "Label2"); members of the
// text-box array by their index. All texts are UTF-8.
class IniHost {
public:
    virtual ~IniHost() = default;

    // Appends an item at the end of the list of a combo box or list box.
    virtual void appendItem(const std::string& control, const std::string& item) = 0;
    // Replaces the text of a text box.
    virtual void setText(const std::string& control, const std::string& text) = 0;
    // The current text of member `index` of the text-box array.
    virtual std::string memberText(int index) const = 0;
    // Replaces the caption of a label.
    virtual void setCaption(const std::string& label, const std::string& caption) = 0;
};
