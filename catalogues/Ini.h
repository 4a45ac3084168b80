#pragma once

#include <filesystem>
#include <string>

#include "catalogues/IniHost.h"
#include "catalogues/NameCatalogue.h"
#include "core/Words.h"

// Why Config could not read the executable's name.
struct ConfigResult {
    enum class Status {
        Ok,
        NoProgramFolder,  // the program's own folder is unknown
        Missing,          // Leagues.ini does not exist
        NotAFile,         // a folder, a pipe or a device stands in its place
        Unreadable,       // it exists but cannot be opened or read
        TooShort,         // it ends before line 2
        BadName,          // line 2 holds a character a file name cannot hold (a NUL, say)
        TooLong,          // lines 1 and 2 together are longer than kLeaguesIniReadLimit
    };

    // Only this much of Leagues.ini is ever read: its first two lines.
    static constexpr std::size_t kLeaguesIniReadLimit = 4096;

    Status status = Status::Ok;
    std::filesystem::path file;      // the Leagues.ini that was read
    std::filesystem::path gamePath;  // when ok: the program folder joined with line 2, exactly as written
    std::string shownName;           // when ok: line 2 as readable text, for the executable's name box

    bool ok() const { return status == Status::Ok; }
    // A one-sentence description of the failure for the user, empty when
    // ok: as words the window translates, and in English (UTF-8).
    Words words() const;
    std::string message() const;
};

// Reads line 2 of Leagues.ini in `programFolder`: the game executable's file
// name. Only the first two lines are read, and nothing without a program
// folder: every file of Kelvory's lies in that folder, never in the current
// one.
ConfigResult readLeaguesIni(const std::filesystem::path& programFolder);

// Writes a new Leagues.ini in `programFolder` that names `game`, a file in
// that folder: a first line that says what the file is for, and the game's
// file name on line 2, as readLeaguesIni reads it. Never replaces a file.
// Returns why it could not (a sentence for the user), empty when it did.
std::string createLeaguesIni(const std::filesystem::path& programFolder, const std::filesystem::path& game);

// Reads Setting\ID_Name_League.ini in `programFolder`, as Ini::Str_Petla
// does, into the description the name pickers and the name boxes' game range
// take (NameCatalogue.h). A catalogue that cannot be read gives an empty one;
// one passed over as a whole (too large, too many items) too, and `skipped`,
// when given, receives the sentence that says so (otherwise it is emptied).
NameCatalogue readNameCatalogue(const std::filesystem::path& programFolder, std::string* skipped = nullptr);

// "unnamed_35.bin" for logo index 0 up to "unnamed_64.bin" for 29; empty for
// any text that is not exactly one of "0" .. "29".
std::string logoFileName(const std::string& indexText);

// Fills the window from the configuration file, the built-in category list and
// the two text catalogues, and keeps the club category logo file-name
// indicators in step with their boxes. Holds no state of its own beyond the
// window it fills and the program folder it reads from.
class Ini {
public:
    Ini(IniHost& host, std::filesystem::path programFolder);

    // Puts line 2 of Leagues.ini into the executable's name box and gives the
    // game path built from it. On failure the box is left unchanged and the
    // result says why.
    // Without a program folder nothing is read: every file of Kelvory's lies
    // in that folder, never in the current one.
    ConfigResult Config();

    // Appends "category_00" .. "category_18" to the category pickers.
    void Petla();
    // Appends every item of Setting\ID_Name_League.ini to the name pickers.
    // Catalogues are read as UTF-8 when they start with its byte-order mark,
    // or when they are valid UTF-8 and use bytes above 127; otherwise in code
    // page 1252. Only a regular file is read; anything else gives no items.
    void Str_Petla();
    // Appends every item of Setting\Structure.ini to the structure list.
    // A catalogue larger than kCatalogueSizeLimit bytes or with more than
    // kCatalogueItemLimit items (CatalogueReader.h) gives no entries; the
    // host is told once.
    void Liga_Petla();

    // ClubUnnament<n> sets the file-name indicator on row n of the club
    // category logo boxes to the file that belongs to the logo index in the
    // box on that row, when its text is exactly one of "0" .. "29"; otherwise
    // the indicator stays as it is. The seven per-row operations are the
    // catalogue reader's described interface and stay for its callers; the
    // window itself calls ClubUnnament(row) from its field table.
    void ClubUnnament1() { ClubUnnament(1); }
    void ClubUnnament2() { ClubUnnament(2); }
    void ClubUnnament3() { ClubUnnament(3); }
    void ClubUnnament4() { ClubUnnament(4); }
    void ClubUnnament5() { ClubUnnament(5); }
    void ClubUnnament6() { ClubUnnament(6); }
    void ClubUnnament7() { ClubUnnament(7); }
    void ClubUnnament(int row);

    // The nineteen category identifiers, "category_00" .. "category_18".
    static std::string categoryName(int index);
    static constexpr int CategoryCount = 19;

    std::filesystem::path leaguesIniPath() const;
    std::filesystem::path namesCataloguePath() const;
    std::filesystem::path structureCataloguePath() const;

private:
    IniHost& host_;
    std::filesystem::path folder_;
};
