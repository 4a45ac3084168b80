#include <memory>

#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "setup/LeagueSetup.h"

Setup readSetupFile(const std::filesystem::path& path) {
    const std::string name = platform::pathToShow(path);
    std::string content;
    try {
        // Refuses a folder, a pipe or a device without waiting on it.
        const std::unique_ptr<platform::OpenFile> file = platform::fileSystem().open(path, BinaryFile::Mode::Read);
        // One byte more than allowed tells a file that is too long (or has
        // grown since it was opened) without reading the rest of it.
        content.resize(SetupMaxBytes + 1);
        content.resize(file->size() > static_cast<std::int64_t>(SetupMaxBytes)
                           ? content.size()
                           : file->readAt(0, content.data(), content.size()));
        file->close();
    } catch (const FileError& error) {
        throw SetupError(name, 0, error.reason() + ".");
    }
    return parseSetup(content, name);
}

namespace {

// Why the file at `path` must not be replaced by an export, or empty when it
// may: only a league setup (its first line says so) or an empty file is
// replaced, never the game executable or anything else a slip of the hand
// may name.
std::string whyNotReplaced(const std::filesystem::path& path) {
    switch (platform::fileSystem().entryKind(path)) {
        case platform::EntryKind::None:
            return {};
        case platform::EntryKind::Link:
            return "it is a symbolic link, and Kelvory replaces only a league setup file or an empty file.";
        case platform::EntryKind::Other:
            return "it is not a regular file but a folder, a pipe or a device.";
        case platform::EntryKind::RegularFile:
            break;
    }
    std::string head(4096, '\0');
    try {
        std::unique_ptr<platform::OpenFile> file = platform::fileSystem().open(path, BinaryFile::Mode::Read);
        head.resize(file->readAt(0, head.data(), head.size()));
        file->close();
    } catch (const FileError& error) {
        return error.kind() == FileError::Kind::Missing ? std::string() : "it cannot be read (" + error.reason() + ").";
    }
    if (head.empty() || startsLikeSetup(head)) {
        return {};
    }
    return "the file is not a league setup, and Kelvory replaces only a league setup or an empty file. Choose "
           "another name.";
}

}  // namespace

void writeSetupFile(const std::filesystem::path& path, const Setup& setup) {
    const std::string name = platform::pathToShow(path);
    const std::string text = writeSetup(setup);
    if (const std::string why = whyNotReplaced(path); !why.empty()) {
        throw SetupError(name, 0, "nothing was written: " + why);
    }
    try {
        // Written beside the target first, so a failed export never leaves
        // half a file where a whole one was.
        platform::writeFileReplacing(path, text, false);
    } catch (const FileError& error) {
        throw SetupError(name, 0, "the file could not be written (" + error.reason() + ").");
    }
}
