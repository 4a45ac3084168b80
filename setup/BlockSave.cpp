#include "setup/BlockSave.h"

#include "platform/BinaryFile.h"
#include "platform/FileNames.h"

namespace {

// A reason as the file layer words it ("the file does not exist"), as a
// sentence of its own.
std::string sentence(std::string reason) {
    if (!reason.empty() && reason[0] >= 'a' && reason[0] <= 'z') {
        reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
    }
    return reason;
}

}  // namespace

bool saveLeagueBlock(Baza& baza, const Baza::Block& /*onDisk*/, const std::filesystem::path& game) {
    return baza.Zapisz(game);
}

std::string saveFailureMessage(const SaveError& error) {
    const std::string path = platform::pathToShow(error.path());
    const std::string reason = sentence(error.reason());
    switch (error.kind()) {
        case FileError::Kind::Missing:
            return "Nothing was saved: the game executable no longer exists.\n\n" + path +
                   "\n\nKelvory does not create it. Put the game executable back in place, then save again; your "
                   "changes are still here.";
        case FileError::Kind::TooShort:
            return "Nothing was saved: this file is too short to be the game executable.\n\n" + path + "\n\n" + reason +
                   ".\n\nKelvory only writes into bytes that already exist. Check that line 2 of Leagues.ini names "
                   "the game executable.";
        case FileError::Kind::NotAFile:
            return "Nothing was saved: the game executable is not a regular file.\n\n" + path + "\n\n" + reason + ".";
        default:
            return "The game executable could not be saved.\n\n" + path + "\n" + reason +
                   "\n\nYour changes are still here. Close the game if it is running, make sure the file can be "
                   "written, and save again.";
    }
}

std::string loadFailureMessage(const std::filesystem::path& game) {
    std::string reason = "It could not be read.";
    try {
        // Only opened, to learn why: loading has already failed.
        BinaryFile file(game, BinaryFile::Mode::Read);
    } catch (const FileError& error) {
        reason = sentence(error.reason()) + ".";
    }
    return "No game executable was loaded.\n\nKelvory looked for it at:\n" + platform::pathToShow(game) + "\n\n" +
           reason;
}
