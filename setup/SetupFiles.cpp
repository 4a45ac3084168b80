#include <cerrno>
#include <fstream>
#include <system_error>

#include "platform/BinaryFile.h"
#include "platform/FileNames.h"
#include "setup/LeagueSetup.h"

Setup readSetupFile(const std::filesystem::path& path) {
    const std::string name = platform::pathToShow(path);
    std::string content;
    try {
        // Refuses a folder, a pipe or a device without waiting on it.
        BinaryFile file(path, BinaryFile::Mode::Read);
        // One byte more than allowed tells a file that is too long (or has
        // grown since it was opened) without reading the rest of it.
        content.resize(SetupMaxBytes + 1);
        content.resize(file.size() > static_cast<std::int64_t>(SetupMaxBytes)
                           ? content.size()
                           : file.readAt(0, content.data(), content.size()));
        file.close();
    } catch (const FileError& error) {
        throw SetupError(name, 0, error.reason() + ".");
    }
    return parseSetup(content, name);
}

void writeSetupFile(const std::filesystem::path& path, const Setup& setup) {
    const std::string name = platform::pathToShow(path);
    const std::string text = writeSetup(setup);
    // Written beside the target first, so a failed export never leaves half a
    // file where a whole one was.
    std::filesystem::path partial = path;
    partial += ".kelvory-part";
    const auto systemReason = [] {
        return errno != 0 ? std::generic_category().message(errno) : std::string("the system gave no reason");
    };
    const auto failed = [&](const std::string& reason) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw SetupError(name, 0, "the file could not be written (" + reason + ").");
    };
    {
        errno = 0;
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) {
            failed(systemReason());
        }
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            failed(systemReason());
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        failed(error.message());
    }
}
