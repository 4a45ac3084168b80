#include "catalogues/Ini.h"

#include <fstream>
#include <system_error>

#include "catalogues/CatalogueReader.h"
#include "catalogues/ProgramPath.h"
#include "platform/CodePage.h"

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

// Reads one line ending in CR LF, CR alone or LF alone; the line end is not
// part of it. Returns false when the file ends before a line begins.
bool readLine(std::istream& in, std::string& line) {
    line.clear();
    if (in.peek() == kEnd) {
        return false;
    }
    for (int c = in.get(); c != kEnd; c = in.get()) {
        if (c == '\n') {
            break;
        }
        if (c == '\r') {
            if (in.peek() == '\n') {
                in.get();
            }
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    return true;
}

bool isFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// Reads every item of a catalogue; a catalogue that cannot be opened has none.
std::vector<std::string> catalogueItems(const std::filesystem::path& path) {
    if (isFolder(path)) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::vector<std::string> items = readCatalogue(in).items;
    for (std::string& item : items) {
        item = codepage::decode(item);
    }
    return items;
}

}  // namespace

std::string ConfigResult::message() const {
    const std::string name = file.u8string();
    switch (status) {
        case Status::Ok:
            return {};
        case Status::Missing:
            return "The configuration file " + name + " was not found.";
        case Status::Unreadable:
            return "The configuration file " + name + " could not be read.";
        case Status::TooShort:
            return "The configuration file " + name + " ends before its second line, which names the game executable.";
    }
    return {};
}

Ini::Ini(IniHost& host, std::filesystem::path programFolder) : host_(host), folder_(std::move(programFolder)) {}

ConfigResult Ini::Config() {
    ConfigResult result;
    result.file = leaguesIniPath();
    std::error_code error;
    if (!std::filesystem::exists(result.file, error)) {
        result.status = error && error != std::errc::no_such_file_or_directory ? ConfigResult::Status::Unreadable
                                                                               : ConfigResult::Status::Missing;
        return result;
    }
    if (isFolder(result.file)) {
        result.status = ConfigResult::Status::Unreadable;
        return result;
    }
    std::ifstream in(result.file, std::ios::binary);
    if (!in) {
        result.status = ConfigResult::Status::Unreadable;
        return result;
    }
    std::string line;
    const bool haveLine1 = readLine(in, line);
    const bool haveLine2 = haveLine1 && readLine(in, line);
    if (in.bad()) {
        result.status = ConfigResult::Status::Unreadable;
        return result;
    }
    if (!haveLine2) {
        result.status = ConfigResult::Status::TooShort;
        return result;
    }
    host_.setText("Nazwa_Exe", codepage::decode(line));
    return result;
}

void Ini::Petla() {
    for (int combo = 1; combo <= 4; ++combo) {
        const std::string control = "Combo" + std::to_string(combo);
        for (int i = 0; i < CategoryCount; ++i) {
            host_.appendItem(control, categoryName(i));
        }
    }
}

void Ini::Str_Petla() {
    for (const std::string& item : catalogueItems(namesCataloguePath())) {
        for (int combo = 14; combo <= 26; ++combo) {
            host_.appendItem("Combo" + std::to_string(combo), item);
        }
    }
}

void Ini::Liga_Petla() {
    for (const std::string& item : catalogueItems(structureCataloguePath())) {
        host_.appendItem("List1", item);
    }
}

void Ini::ClubUnnament(int n) {
    const std::string fileName = logoFileName(host_.memberText(29 + n));
    if (!fileName.empty()) {
        host_.setCaption("Label" + std::to_string(n + 1), fileName);
    }
}

std::string Ini::categoryName(int index) {
    const std::string digits = std::to_string(index);
    return "category_" + std::string(digits.size() < 2 ? 1 : 0, '0') + digits;
}

std::string Ini::logoFileName(const std::string& indexText) {
    // Only the plain texts "0" .. "29" count: no sign, no leading zero, no blanks.
    for (int k = 0; k < 30; ++k) {
        if (indexText == std::to_string(k)) {
            return "unnamed_" + std::to_string(35 + k) + ".bin";
        }
    }
    return {};
}

std::filesystem::path Ini::leaguesIniPath() const {
    return programPath(folder_, "Leagues.ini");
}

std::filesystem::path Ini::namesCataloguePath() const {
    return programPath(folder_, "Setting\\ID_Name_League.ini");
}

std::filesystem::path Ini::structureCataloguePath() const {
    return programPath(folder_, "Setting\\Structure.ini");
}
