#pragma once

#include <map>
#include <string>
#include <vector>

#include "catalogues/IniHost.h"

// Stands in for the window: records what the catalogue reader puts into it,
// and gives each club category logo box the text a test sets.
class FakeIniHost : public IniHost {
public:
    using Items = std::vector<std::string>;

    void appendCategory(const std::string& identifier) override { categories.push_back(identifier); }
    void appendName(const std::string& item) override { names.push_back(item); }
    void appendStructure(const std::string& item) override { structure.push_back(item); }
    void setExecutableName(const std::string& name) override { executableName = name; }
    std::string logoBoxText(int row) const override {
        const auto found = logoBoxes.find(row);
        return found == logoBoxes.end() ? std::string() : found->second;
    }
    void setLogoIndicator(int row, const std::string& fileName) override { indicators[row] = fileName; }
    void catalogueSkipped(const std::string& message) override { skipped.push_back(message); }

    Items categories, names, structure;
    Items skipped;  // the messages about catalogues passed over
    std::string executableName;
    std::map<int, std::string> logoBoxes;   // by row, set by the test
    std::map<int, std::string> indicators;  // by row, as set by the reader
};
