#include "catalogues/Ini.h"

#include <algorithm>
#include <new>
#include <sstream>

#include "catalogues/CatalogueReader.h"
#include "catalogues/ProgramPath.h"
#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

constexpr char kNamesCatalogue[] = "Setting\\ID_Name_League.ini";

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

// Reads the first `limit` bytes of a text file (fewer when it is shorter);
// only a regular file is read, and a pipe or a device in its place never
// holds the reading up. `whole` tells whether that was the whole file.
// Throws FileError.
std::string readTextStart(const std::filesystem::path& path, std::size_t limit, bool& whole) {
    const std::unique_ptr<platform::OpenFile> file = platform::fileSystem().open(path, BinaryFile::Mode::Read);
    const std::size_t size = file->size() > 0 ? static_cast<std::size_t>(file->size()) : 0;
    std::string bytes(std::min(size, limit), '\0');
    bytes.resize(file->readAt(0, bytes.data(), bytes.size()));
    whole = size <= limit;
    file->close();
    return bytes;
}

// Reads every item of a catalogue as UTF-8 text; a catalogue that cannot be
// opened has none, and one over the limits has none and `skipped` says why.
std::vector<std::string> catalogueItems(const std::filesystem::path& path, std::string& skipped) {
    const std::string name = platform::pathToShow(path);
    try {
        bool whole = false;
        const std::string bytes = readTextStart(path, kCatalogueSizeLimit, whole);
        if (!whole) {
            skipped = "The catalogue " + name + " is larger than " +
                      std::to_string(kCatalogueSizeLimit / (1024 * 1024)) + " MiB; Kelvory does not offer its entries.";
            return {};
        }
        const codepage::TextForm form = codepage::detectTextForm(bytes);
        std::istringstream in(bytes.substr(form.markLength));
        // Every delimiter is ASCII, which never occurs inside a UTF-8 multi-byte
        // sequence, so the items can be split first and decoded afterwards.
        CatalogueContents contents = readCatalogue(in);
        if (contents.tooMany) {
            skipped = "The catalogue " + name + " holds more than " + std::to_string(kCatalogueItemLimit) +
                      " entries; Kelvory does not offer them.";
            return {};
        }
        for (std::string& item : contents.items) {
            item = codepage::toUtf8(item, form.encoding);
        }
        return std::move(contents.items);
    } catch (const FileError&) {
        return {};
    } catch (const std::bad_alloc&) {
        skipped = "The catalogue " + name + " could not be read: there was not enough memory.";
        return {};
    }
}

// The same, telling the host when the catalogue is passed over.
std::vector<std::string> catalogueItems(const std::filesystem::path& path, IniHost& host) {
    std::string skipped;
    std::vector<std::string> items = catalogueItems(path, skipped);
    if (!skipped.empty()) {
        host.catalogueSkipped(skipped);
    }
    return items;
}

}  // namespace

Words ConfigResult::words() const {
    const Words name = Words::value(platform::pathToShow(file));
    const auto say = [&name](const char* source) { return Words("Ini", source, {name}); };
    switch (status) {
        case Status::Ok:
            return {};
        case Status::NoProgramFolder:
            return say(QT_TRANSLATE_NOOP(
                "Ini", "Kelvory could not find the folder that holds its own program, where Leagues.ini must be."));
        case Status::Missing:
            return say(QT_TRANSLATE_NOOP("Ini", "The configuration file %1 was not found."));
        case Status::NotAFile:
            return say(QT_TRANSLATE_NOOP(
                "Ini", "The configuration file %1 is not a regular file but a folder, a pipe or a device."));
        case Status::Unreadable:
            return say(QT_TRANSLATE_NOOP("Ini", "The configuration file %1 could not be read."));
        case Status::TooShort:
            return say(QT_TRANSLATE_NOOP(
                "Ini", "The configuration file %1 ends before its second line, which names the game executable."));
        case Status::BadName:
            return say(QT_TRANSLATE_NOOP("Ini",
                                         "The configuration file %1 cannot be used: its second line, which names "
                                         "the game executable, holds a character that a file name cannot hold."));
        case Status::TooLong:
            return Words("Ini",
                         QT_TRANSLATE_NOOP("Ini",
                                           "The configuration file %1 cannot be used: its first two lines are "
                                           "longer than %2 bytes."),
                         {name, Words::number(static_cast<long long>(ConfigResult::kLeaguesIniReadLimit))});
    }
    return {};
}

std::string ConfigResult::message() const {
    return words().english();
}

Ini::Ini(IniHost& host, std::filesystem::path programFolder) : host_(host), folder_(std::move(programFolder)) {}

ConfigResult Ini::Config() {
    const ConfigResult result = readLeaguesIni(folder_);
    if (result.ok()) {
        host_.setExecutableName(result.shownName);
    }
    return result;
}

ConfigResult readLeaguesIni(const std::filesystem::path& programFolder) {
    ConfigResult result;
    if (programFolder.empty()) {
        // Never the current folder in its place.
        result.status = ConfigResult::Status::NoProgramFolder;
        return result;
    }
    result.file = programPath(programFolder, "Leagues.ini");
    std::string bytes;
    bool whole = false;
    try {
        bytes = readTextStart(result.file, ConfigResult::kLeaguesIniReadLimit, whole);
    } catch (const FileError& error) {
        switch (error.kind()) {
            case FileError::Kind::Missing:
                result.status = ConfigResult::Status::Missing;
                break;
            case FileError::Kind::NotAFile:
                result.status = ConfigResult::Status::NotAFile;
                break;
            default:
                result.status = ConfigResult::Status::Unreadable;
                break;
        }
        return result;
    }
    std::istringstream in(bytes.substr(codepage::detectTextForm(bytes).markLength));
    std::string line;
    const bool haveLine1 = readLine(in, line);
    const bool haveLine2 = haveLine1 && readLine(in, line);
    if (!haveLine2) {
        result.status = whole ? ConfigResult::Status::TooShort : ConfigResult::Status::TooLong;
        return result;
    }
    // Line 2 must end inside what was read, unless the file ends with it.
    if (!whole && in.peek() == kEnd && !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') {
        result.status = ConfigResult::Status::TooLong;
        return result;
    }
    if (!platform::canNameFile(line)) {
        result.status = ConfigResult::Status::BadName;
        return result;
    }
    // The name's bytes are the file name as written; the box shows them as
    // readable text.
    result.shownName = platform::fileNameToShow(line);
    result.gamePath = programPathOf(programFolder, platform::fileNameFromBytes(line));
    return result;
}

std::string createLeaguesIni(const std::filesystem::path& programFolder, const std::filesystem::path& game) {
    const std::filesystem::path inFolder = programPathOf(programFolder, game.filename());
    const std::optional<FileIdentity> chosen = platform::identityAt(game);
    if (!game.has_filename() || !chosen || platform::identityAt(inFolder) != chosen) {
        return "The game executable must be in Kelvory's own folder, " + platform::pathToShow(programFolder) +
               ": Leagues.ini names it by its file name alone. Put Kelvory beside the game, then start it again.";
    }
    const std::optional<std::string> name = platform::fileNameToBytes(game.filename());
    if (!name || !platform::canNameFile(*name)) {
        return "Leagues.ini cannot name " + platform::pathToShow(game.filename()) +
               ": its name holds a character the file cannot hold.";
    }
    try {
        platform::writeFileNew(
            programPath(programFolder, "Leagues.ini"),
            "Kelvory reads line 2 of this file: the game executable in this folder.\r\n" + *name + "\r\n", false);
    } catch (const FileError& error) {
        return std::string("Leagues.ini could not be created: ") + error.what() + ".";
    }
    return {};
}

void Ini::Petla() {
    for (int i = 0; i < CategoryCount; ++i) {
        host_.appendCategory(categoryName(i));
    }
}

void Ini::Str_Petla() {
    if (folder_.empty()) {
        return;
    }
    for (const std::string& item : catalogueItems(namesCataloguePath(), host_)) {
        host_.appendName(item);
    }
}

void Ini::Liga_Petla() {
    if (folder_.empty()) {
        return;
    }
    for (const std::string& item : catalogueItems(structureCataloguePath(), host_)) {
        host_.appendStructure(item);
    }
}

void Ini::ClubUnnament(int row) {
    const std::string fileName = logoFileName(host_.logoBoxText(row));
    if (!fileName.empty()) {
        host_.setLogoIndicator(row, fileName);
    }
}

NameCatalogue readNameCatalogue(const std::filesystem::path& programFolder, std::string* skipped) {
    if (programFolder.empty()) {
        return NameCatalogue();
    }
    std::string said;
    NameCatalogue catalogue(catalogueItems(programPath(programFolder, kNamesCatalogue), said));
    if (skipped) {
        *skipped = said;
    }
    return catalogue;
}

std::string Ini::categoryName(int index) {
    const std::string digits = std::to_string(index);
    return "category_" + std::string(digits.size() < 2 ? 1 : 0, '0') + digits;
}

std::string logoFileName(const std::string& indexText) {
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
    return programPath(folder_, kNamesCatalogue);
}

std::filesystem::path Ini::structureCataloguePath() const {
    return programPath(folder_, "Setting\\Structure.ini");
}
