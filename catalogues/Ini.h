#pragma once

#include <filesystem>
#include <string>

#include "catalogues/IniHost.h"

// Why Config could not read the executable's name.
struct ConfigResult {
    enum class Status {
        Ok,
        Missing,     // Leagues.ini does not exist
        Unreadable,  // it exists but cannot be opened or read
        TooShort,    // it ends before line 2
    };

    Status status = Status::Ok;
    std::filesystem::path file;  // the Leagues.ini that was read

    bool ok() const { return status == Status::Ok; }
    // A one-sentence description of the failure for the user (UTF-8), empty when ok.
    std::string message() const;
};

// Fills the window from the configuration file, the built-in category list and
// the two text catalogues, and keeps the club category logo file-name
// indicators in step with their boxes. Holds no state of its own beyond the
// window it fills and the program folder it reads from.
class Ini {
public:
    Ini(IniHost& host, std::filesystem::path programFolder);

    // Puts line 2 of Leagues.ini into Nazwa_Exe. On failure Nazwa_Exe is left
    // unchanged and the result says why.
    ConfigResult Config();

    // Appends "category_00" .. "category_18" to Combo1 .. Combo4.
    void Petla();
    // Appends every item of Setting\ID_Name_League.ini to Combo14 .. Combo26.
    void Str_Petla();
    // Appends every item of Setting\Structure.ini to List1.
    void Liga_Petla();

    // ClubUnnament<n> sets the caption of Label<n+1> to the file that belongs
    // to the logo index typed in member 29+n, when that text is exactly one of
    // "0" .. "29"; otherwise the caption stays as it is.
    void ClubUnnament1() { ClubUnnament(1); }
    void ClubUnnament2() { ClubUnnament(2); }
    void ClubUnnament3() { ClubUnnament(3); }
    void ClubUnnament4() { ClubUnnament(4); }
    void ClubUnnament5() { ClubUnnament(5); }
    void ClubUnnament6() { ClubUnnament(6); }
    void ClubUnnament7() { ClubUnnament(7); }
    void ClubUnnament(int n);

    // The nineteen category identifiers, "category_00" .. "category_18".
    static std::string categoryName(int index);
    static constexpr int CategoryCount = 19;

    // "unnamed_35.bin" for logo index 0 up to "unnamed_64.bin" for 29; empty
    // for any text that is not exactly one of "0" .. "29".
    static std::string logoFileName(const std::string& indexText);

    std::filesystem::path leaguesIniPath() const;
    std::filesystem::path namesCataloguePath() const;
    std::filesystem::path structureCataloguePath() const;

private:
    IniHost& host_;
    std::filesystem::path folder_;
};
