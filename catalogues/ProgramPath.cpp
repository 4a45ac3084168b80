#include "catalogues/ProgramPath.h"

#include <algorithm>
#include <string>

namespace {

using Path = std::filesystem::path;

bool isSeparator(Path::value_type c) {
    return c == Path::preferred_separator || c == static_cast<Path::value_type>('/');
}

}  // namespace

std::filesystem::path programPathOf(const std::filesystem::path& folder, const std::filesystem::path& relative) {
    Path::string_type name = relative.native();
    if constexpr (Path::preferred_separator != '\\') {
        // Names written on Windows use backslashes; here they separate folders too.
        std::replace(name.begin(), name.end(), static_cast<Path::value_type>('\\'), Path::preferred_separator);
    }
    // Joined as text rather than with operator/, which would let a name that
    // starts with a separator replace the folder instead of following it.
    Path::string_type joined = folder.native();
    if (!joined.empty() && !isSeparator(joined.back())) {
        joined += Path::preferred_separator;
    }
    joined += name;
    return Path(joined);
}

std::filesystem::path programPath(const std::filesystem::path& folder, std::string_view relativeUtf8) {
    return programPathOf(folder, std::filesystem::u8path(relativeUtf8.begin(), relativeUtf8.end()));
}
