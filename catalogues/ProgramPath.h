#pragma once

#include <filesystem>
#include <string_view>

// Joins the program folder and a relative name as written in Kelvory's files
// ("Setting\Structure.ini", line 2 of Leagues.ini): the folder, one separator,
// then the name exactly as it stands (blanks included, nothing trimmed). On
// systems whose separator is '/', every backslash in the name acts as one, so
// a folder copied from Windows works unchanged.
std::filesystem::path programPathOf(const std::filesystem::path& folder, const std::filesystem::path& relative);

// The same, for a name given as UTF-8 text.
std::filesystem::path programPath(const std::filesystem::path& folder, std::string_view relativeUtf8);
