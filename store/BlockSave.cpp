#include "store/BlockSave.h"

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

BlockSaveResult saveLeagueBlock(Baza& baza, const Baza::Block& expected, const FileStamp& expectedStamp,
                                const std::filesystem::path& game, const std::filesystem::path& recordFolder,
                                const std::function<OutsideChangeAnswer(const DiskState&)>& onOutsideChange) {
    BlockSaveResult result;
    if (!baza.loaded()) {
        return result;
    }
    if (game.empty()) {
        throw FileError::noName(game);
    }
    result.disk = inspectGame(game, expected, expectedStamp);
    if (result.disk.change != OutsideChange::None) {
        switch (onOutsideChange(result.disk)) {
            case OutsideChangeAnswer::Overwrite:
                break;
            case OutsideChangeAnswer::Reload:
                result.status = BlockSaveResult::Status::Reload;
                return result;
            case OutsideChangeAnswer::Cancel:
                result.status = BlockSaveResult::Status::Cancelled;
                return result;
        }
    }
    result.save = writeGameSafely(baza.block(), game, result.disk, recordFolder);
    result.status = BlockSaveResult::Status::Saved;
    return result;
}

std::string outsideChangeQuestion(OutsideChange change) {
    const std::string what =
        change == OutsideChange::Block
            ? "The league block in the game executable was changed by another program since Kelvory loaded it."
            : "The game executable was changed by another program since Kelvory loaded it: its size or "
              "modification time is different, although its league block still holds the values Kelvory loaded.";
    return what +
           "\n\nOverwrite saves the values shown in the window over it.\n"
           "Reload shows the values that are in the file now; the changes made in the window are dropped.\n"
           "Cancel saves nothing.";
}

std::string saveFailureMessage(const SafeSaveError& error) {
    const std::string file = platform::pathToShow(error.file());
    const std::string reason = sentence(error.reason());
    switch (error.kind()) {
        case SafeSaveError::Kind::RecordUnwritable:
            return "Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite, so "
                   "the game executable was not changed.\n\nThe record goes to:\n" +
                   file + "\n" + reason +
                   ".\n\nMake sure that folder can be written, then save again; your changes are still here.";
        case SafeSaveError::Kind::RecordUnreadable:
            return "Nothing was saved: the record of the original values cannot be read, and Kelvory does not "
                   "replace it.\n\n" +
                   file + "\n" + reason +
                   ".\n\nMove that file elsewhere to keep it, then save again; your changes are still here.";
        case SafeSaveError::Kind::NotAsWritten:
            return "The save failed: the game executable does not hold what was written.\n\n" + file + "\n" + reason +
                   ".\n\nThe file system may redirect or drop writes to this file. Your changes are still here.";
        case SafeSaveError::Kind::PutBack:
            return "The game executable could not be saved.\n\n" + file + "\n" + reason +
                   ".\n\nThe bytes already written were put back: the file is as it was before the save. Your "
                   "changes are still here.";
        case SafeSaveError::Kind::PartlyWritten: {
            std::string ranges;
            for (const auto& [offset, length] : error.mayHaveChanged()) {
                ranges += "\n  bytes " + std::to_string(offset) + " to " +
                          std::to_string(offset + static_cast<std::int64_t>(length) - 1);
            }
            return "The game executable could not be saved, and the bytes already written could not be put "
                   "back.\n\n" +
                   file + "\n" + reason + ".\n\nThese bytes (counted from 0) may have changed:" + ranges +
                   "\n\nMenu > Restore Original Values (or kelvory-cli restore-original) puts back the values "
                   "Kelvory recorded. Your changes are still here.";
        }
    }
    return reason;
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
