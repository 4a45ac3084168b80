#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "catalogues/IniHost.h"

// Stands in for the window: records appended items in call order, keeps texts and captions by name.
class FakeIniHost : public IniHost {
public:
    void appendItem(const std::string& control, const std::string& item) override {
        appended.emplace_back(control, item);
    }
    void setText(const std::string& control, const std::string& text) override { texts[control] = text; }
    std::string memberText(int index) const override { return members.count(index) ? members.at(index) : ""; }
    void setCaption(const std::string& label, const std::string& caption) override { captions[label] = caption; }

    std::vector<std::pair<std::string, std::string>> appended;
    std::map<std::string, std::string> texts;
    std::map<int, std::string> members;
    std::map<std::string, std::string> captions;
};
