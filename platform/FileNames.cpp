#include "platform/FileNames.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace platform {

std::filesystem::path fileNameFromBytes(std::string_view bytes) {
#ifdef _WIN32
    return std::filesystem::u8path(codepage::decode(bytes));
#else
    return std::filesystem::path(std::string(bytes));
#endif
}

std::optional<std::string> fileNameToBytes(const std::filesystem::path& name) {
#ifdef _WIN32
    bool lossy = false;
    std::string bytes = codepage::encode(name.u8string(), &lossy);
    if (lossy) {
        return std::nullopt;
    }
    return bytes;
#else
    return name.string();
#endif
}

bool canNameFile(std::string_view bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0) {
            return false;
        }
#ifdef _WIN32
        if (b < 32 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
            return false;
        }
#endif
    }
    return true;
}

std::string fileNameToShow(std::string_view bytes) {
#ifdef _WIN32
    return codepage::decode(bytes);
#else
    return codepage::isValidUtf8(bytes) ? std::string(bytes) : codepage::decode(bytes);
#endif
}

std::string pathToShow(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.u8string();
#else
    const std::string& bytes = path.native();
    std::string shown;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const std::size_t end = std::min(bytes.find('/', start), bytes.size());
        shown += fileNameToShow(std::string_view(bytes).substr(start, end - start));
        if (end < bytes.size()) {
            shown += '/';
        }
        start = end + 1;
    }
    return shown;
#endif
}

}  // namespace platform
