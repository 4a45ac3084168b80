#include "session/Messages.h"

#include "platform/BinaryFile.h"
#include "platform/FileNames.h"

std::string sentence(std::string reason) {
    if (!reason.empty() && reason[0] >= 'a' && reason[0] <= 'z') {
        reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
    }
    return reason;
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
    using Kind = SafeSaveError::Kind;
    using Cause = SafeSaveError::Cause;
    const std::string file = platform::pathToShow(error.file());
    const std::string reason = sentence(error.reason());
    switch (error.kind()) {
        case Kind::RecordUnwritable:
            if (error.file().empty()) {
                return "Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite, "
                       "so the game executable was not changed.\n\n" +
                       reason +
#ifdef _WIN32
                       ": LOCALAPPDATA names no folder."
#else
                       ": neither XDG_DATA_HOME nor HOME names an absolute folder."
#endif
                       "\n\nYour changes are still here.";
            }
            return "Nothing was saved: Kelvory could not keep a record of the values it was about to overwrite, so "
                   "the game executable was not changed.\n\nThe record goes to:\n" +
                   file + "\n" + reason +
                   ".\n\nMake sure that folder can be written, then save again; your changes are still here.";
        case Kind::RecordUnreadable:
            return "Nothing was saved: the record of the original values cannot be read, and Kelvory does not "
                   "replace it.\n\n" +
                   file + "\n" + reason +
                   ".\n\nMake sure it can be read, or move it elsewhere to keep it, then save again; your changes "
                   "are still here.";
        case Kind::Busy:
            return "Nothing was saved: another Kelvory is saving into this game executable right now.\n\n" + file +
                   "\n\nSave again in a moment; your changes are still here.";
        case Kind::Swapped:
            return "The game executable could not be saved: another file took its place during the save, and "
                   "Kelvory wrote nothing into that file.\n\n" +
                   file + "\n" + reason + ".\n\nYour changes are still here.";
        case Kind::PutBack:
        case Kind::PartlyWritten:
            break;
    }
    std::string what;
    switch (error.cause()) {
        case Cause::Write:
            what = "The game executable could not be saved.";
            break;
        case Cause::ReadBackFailed:
            what = "The save could not be checked: the game executable could not be read back after writing.";
            break;
        case Cause::ReadBackDiffers:
            what =
                "The save failed: the game executable does not hold what was written. The file system may "
                "redirect or drop writes to this file.";
            break;
    }
    what += "\n\n" + file + "\n" + reason + ".\n\n";
    if (error.kind() == Kind::PutBack) {
        return what +
               "The bytes already written were put back and read back: the file is as it was before the save. Your "
               "changes are still here.";
    }
    std::string ranges;
    for (const auto& [offset, length] : error.mayHaveChanged()) {
        ranges += "\n  bytes " + std::to_string(offset) + " to " +
                  std::to_string(offset + static_cast<std::int64_t>(length) - 1);
    }
    return what +
           "The bytes already written could not be put back. These bytes (counted from 0) may hold neither the old "
           "nor the new values:" +
           ranges +
           "\n\nMenu > Restore Original Values (or kelvory-cli restore-original) puts back the values Kelvory "
           "recorded. Your changes are still here.";
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
        case FileError::Kind::InUse:
            return "Nothing was saved: another program holds the game executable open and lets nobody write it; "
                   "the game may be running.\n\n" +
                   path + "\n\nClose the game, then save again; your changes are still here.";
        case FileError::Kind::NotAFile:
            return "Nothing was saved: the game executable is not a regular file.\n\n" + path + "\n\n" + reason + ".";
        default:
            return "The game executable could not be saved.\n\n" + path + "\n" + reason +
                   "\n\nYour changes are still here. Close the game if it is running, make sure the file can be "
                   "written, and save again.";
    }
}

std::string loadFailureMessage(const std::filesystem::path& game, const std::string& why) {
    std::string reason = why.empty() ? "It could not be read." : sentence(why) + ".";
    try {
        // Only opened, to learn why: loading has already failed.
        BinaryFile file(game, BinaryFile::Mode::Read);
    } catch (const FileError& error) {
        reason = sentence(error.reason()) + ".";
    }
    return "No game executable was loaded.\n\nKelvory looked for it at:\n" + platform::pathToShow(game) + "\n\n" +
           reason;
}
