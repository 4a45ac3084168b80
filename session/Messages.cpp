#include "session/Messages.h"

#include "core/Fields.h"
#include "core/GameRanges.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"

namespace {

constexpr const char* kContext = "Messages";

Words say(const char* source, std::vector<Words> values = {}) {
    return Words(kContext, source, std::move(values));
}

Words path(const std::filesystem::path& file) {
    return Words::value(platform::pathToShow(file));
}

Words reasonOf(const std::string& reason) {
    return Words::value(messages::sentence(reason));
}

Words lines(const std::vector<Words>& each) {
    return Words::joined(each, "\n");
}

}  // namespace

namespace messages {

std::string sentence(std::string reason) {
    if (!reason.empty() && reason[0] >= 'a' && reason[0] <= 'z') {
        reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
    }
    return reason;
}

Words loadFailure(const std::filesystem::path& game, const std::string& why, Wording wording) {
    std::string reason = why;
    try {
        // Only opened, to learn why: loading has already failed.
        platform::fileSystem().open(game, BinaryFile::Mode::Read)->close();
    } catch (const FileError& error) {
        reason = error.reason();
    }
    if (wording == Wording::Console) {
        return reason.empty()
                   ? say(QT_TRANSLATE_NOOP("Messages", "The game executable %1 could not be read."), {path(game)})
                   : say(QT_TRANSLATE_NOOP("Messages", "The game executable %1 could not be read: %2."),
                         {path(game), Words::value(reason)});
    }
    return say(QT_TRANSLATE_NOOP("Messages", "No game executable was loaded.\n\nKelvory looked for it at:\n%1\n\n%2"),
               {path(game),
                reason.empty() ? say(QT_TRANSLATE_NOOP("Messages", "It could not be read.")) : reasonOf(reason + ".")});
}

Words notABlock(const std::filesystem::path& game, const std::vector<std::string>& problems, Wording wording) {
    if (wording == Wording::Console) {
        std::vector<Words> each;
        for (const std::string& problem : problems) {
            each.push_back(Words::value(problem));
        }
        return say(QT_TRANSLATE_NOOP(
                       "Messages", "The bytes where Kelvory expects the league block in %1 do not look like one: %2."),
                   {path(game), Words::joined(each, "; ")});
    }
    std::vector<Words> each;
    for (const std::string& problem : problems) {
        each.push_back(Words::value("- " + problem));
    }
    return say(
        QT_TRANSLATE_NOOP("Messages",
                          "The bytes where Kelvory expects the league block do not look like one. This may be another "
                          "version of the game. Kelvory shows them, but saving would overwrite 199 bytes of this "
                          "file.\n\n%1\n\nWhat does not look right:\n%2"),
        {path(game), lines(each)});
}

Words unstorableLine(const Field& field, const std::string& text) {
    return say(QT_TRANSLATE_NOOP("Messages", "%1: \"%2\" (allowed: %3)"),
               {fieldLabel(field), Words::value(text), fieldAllowed(field)});
}

Words outsideGameLine(const Field& field, const std::string& value, const NameIndices* names) {
    return say(QT_TRANSLATE_NOOP("Messages", "%1: %2 (%3)"),
               {fieldLabel(field).then(fieldSlot(field), ", "), Words::value(value), gameRangeNoteText(field, names)});
}

Words changeOutsideGame(const std::string& change, const Field& field, const NameIndices* names) {
    return say(QT_TRANSLATE_NOOP("Messages", "%1 (%2)"), {Words::value(change), gameRangeNoteText(field, names)});
}

Words notLoaded(Doing doing, const std::filesystem::path& game) {
    switch (doing) {
        case Doing::Saving:
            return say(
                QT_TRANSLATE_NOOP("Messages",
                                  "Nothing was saved: no game executable was loaded when Kelvory started.\n\nKelvory "
                                  "looked for it at:\n%1\n\nMake sure line 2 of Leagues.ini names the game executable "
                                  "in Kelvory's folder, then start Kelvory again."),
                {path(game)});
        case Doing::Exporting:
            return say(QT_TRANSLATE_NOOP("Messages",
                                         "Nothing was exported: no game executable was loaded when Kelvory started."));
        case Doing::Importing:
            return say(QT_TRANSLATE_NOOP("Messages",
                                         "Nothing was imported: no game executable was loaded when Kelvory started."));
    }
    return {};
}

Words unstorable(Doing doing, const std::vector<Words>& each) {
    const Words boxes =
        say(QT_TRANSLATE_NOOP("Messages", "These boxes hold values that cannot be stored:\n%1"), {lines(each)});
    switch (doing) {
        case Doing::Saving:
            return say(
                QT_TRANSLATE_NOOP("Messages",
                                  "Nothing was saved: the game executable was not changed.\n\n%1\n\nCorrect them, "
                                  "then save again."),
                {boxes});
        case Doing::Exporting:
            return say(QT_TRANSLATE_NOOP("Messages", "Nothing was exported.\n\n%1\n\nCorrect them, then try again."),
                       {boxes});
        case Doing::Importing:
            return say(QT_TRANSLATE_NOOP("Messages", "Nothing was imported.\n\n%1\n\nCorrect them, then try again."),
                       {boxes});
    }
    return {};
}

Words saved() {
    return say(QT_TRANSLATE_NOOP("Messages", "Save Successfully"));
}

Words outsideGameQuestion(const std::vector<Words>& each) {
    return say(QT_TRANSLATE_NOOP("Messages",
                                 "These boxes hold values the game is not known to take:\n%1\n\nSave them anyway?"),
               {lines(each)});
}

Words notABlockQuestion(const Words& notABlock) {
    return say(QT_TRANSLATE_NOOP("Messages", "%1\n\nSave into this file anyway?"), {notABlock});
}

Words gameRunningQuestion(int pid, Wording wording) {
    if (wording == Wording::Console) {
        return say(QT_TRANSLATE_NOOP("Messages", "The game is running (process %1)."), {Words::number(pid)});
    }
    return say(QT_TRANSLATE_NOOP("Messages",
                                 "The game is running (process %1). Close it before saving: the game may not take the "
                                 "change, or may stop."),
               {Words::number(pid)});
}

Words outsideChange(OutsideChange change, Wording wording) {
    if (wording == Wording::Console) {
        if (change == OutsideChange::Block) {
            return say(QT_TRANSLATE_NOOP(
                "Messages",
                "The league block in the game executable was changed by another program since Kelvory "
                "last saved it, or while this command ran."));
        }
        return say(
            QT_TRANSLATE_NOOP("Messages",
                              "The game executable was changed by another program while this command ran: its size or "
                              "modification time is different, although its league block still holds the values "
                              "Kelvory loaded."));
    }
    if (change == OutsideChange::Block) {
        return say(QT_TRANSLATE_NOOP(
            "Messages",
            "The league block in the game executable was changed by another program since Kelvory loaded it."));
    }
    return say(
        QT_TRANSLATE_NOOP("Messages",
                          "The game executable was changed by another program since Kelvory loaded it: its size or "
                          "modification time is different, although its league block still holds the values Kelvory "
                          "loaded."));
}

Words outsideChangeQuestion(OutsideChange change) {
    return say(
        QT_TRANSLATE_NOOP("Messages",
                          "%1\n\nOverwrite saves the values shown in the window over it.\nReload shows the values that "
                          "are in the file now; the changes made in the window are dropped.\nCancel saves nothing."),
        {outsideChange(change)});
}

Words saveFailure(const SafeSaveError& error, Wording wording) {
    using Kind = SafeSaveError::Kind;
    using Cause = SafeSaveError::Cause;
    const Words file = path(error.file());
    const Words reason = reasonOf(error.reason());
    const bool console = wording == Wording::Console;
    switch (error.kind()) {
        case Kind::RecordUnwritable:
            if (console) {
                return error.file().empty()
                           ? say(
#ifdef _WIN32
                                 QT_TRANSLATE_NOOP(
                                     "Messages",
                                     "Nothing was saved: Kelvory could not keep a record of the values it was "
                                     "about to overwrite (%1: LOCALAPPDATA names no folder)."),
#else
                                 QT_TRANSLATE_NOOP(
                                     "Messages",
                                     "Nothing was saved: Kelvory could not keep a record of the values it was "
                                     "about to overwrite (%1: neither XDG_DATA_HOME nor HOME names an absolute "
                                     "folder)."),
#endif
                                 {reason})
                           : say(QT_TRANSLATE_NOOP(
                                     "Messages",
                                     "Nothing was saved: Kelvory could not keep a record of the values it was "
                                     "about to overwrite in %1: %2."),
                                 {file, Words::value(error.reason())});
            }
            if (error.file().empty()) {
                return say(
#ifdef _WIN32
                    QT_TRANSLATE_NOOP(
                        "Messages",
                        "Nothing was saved: Kelvory could not keep a record of the values it was about to "
                        "overwrite, so the game executable was not changed.\n\n%1: LOCALAPPDATA names no "
                        "folder.\n\nYour changes are still here."),
#else
                    QT_TRANSLATE_NOOP(
                        "Messages",
                        "Nothing was saved: Kelvory could not keep a record of the values it was about to "
                        "overwrite, so the game executable was not changed.\n\n%1: neither XDG_DATA_HOME nor "
                        "HOME names an absolute folder.\n\nYour changes are still here."),
#endif
                    {reason});
            }
            return say(
                QT_TRANSLATE_NOOP("Messages",
                                  "Nothing was saved: Kelvory could not keep a record of the values it was about to "
                                  "overwrite, so the game executable was not changed.\n\nThe record goes to:\n%1\n%2."
                                  "\n\nMake sure that folder can be written, then save again; your changes are still "
                                  "here."),
                {file, reason});
        case Kind::RecordUnreadable:
            if (console) {
                return say(QT_TRANSLATE_NOOP(
                               "Messages",
                               "Nothing was saved: the record of the original values cannot be read, and Kelvory "
                               "does not replace it: %1: %2. \"kelvory-cli record set-aside\" renames it beside "
                               "itself, where it is kept, so that the next save starts a new record."),
                           {file, Words::value(error.reason())});
            }
            return say(QT_TRANSLATE_NOOP(
                           "Messages",
                           "Nothing was saved: the record of the original values cannot be read, and Kelvory "
                           "does not replace it.\n\n%1\n%2.\n\nSet Aside and Start a New Record renames it "
                           "beside itself, where it is kept, and saves with a new record, whose original values "
                           "are those the game executable holds now. Cancel saves nothing; your changes are still "
                           "here."),
                       {file, reason});
        case Kind::Busy:
            if (console) {
                return say(QT_TRANSLATE_NOOP(
                               "Messages",
                               "Nothing was saved: another Kelvory is saving into this game executable right now "
                               "(%1). Run the command again in a moment."),
                           {file});
            }
            return say(QT_TRANSLATE_NOOP("Messages",
                                         "Nothing was saved: another Kelvory is saving into this game executable right "
                                         "now.\n\n%1\n\nSave again in a moment; your changes are still here."),
                       {file});
        case Kind::Swapped:
            return say(QT_TRANSLATE_NOOP(
                           "Messages",
                           "The game executable could not be saved: another file took its place during the save, "
                           "and Kelvory wrote nothing into that file.\n\n%1\n%2.\n\nYour changes are still here."),
                       {file, reason});
        case Kind::PutBack:
        case Kind::PartlyWritten:
            break;
    }
    Words what;
    switch (error.cause()) {
        case Cause::Write:
            what = say(QT_TRANSLATE_NOOP("Messages", "The game executable could not be saved."));
            break;
        case Cause::ReadBackFailed:
            what =
                say(QT_TRANSLATE_NOOP("Messages",
                                      "The save could not be checked: the game executable could not be read back after "
                                      "writing."));
            break;
        case Cause::ReadBackDiffers:
            what =
                say(QT_TRANSLATE_NOOP("Messages",
                                      "The save failed: the game executable does not hold what was written. The file "
                                      "system may redirect or drop writes to this file."));
            break;
    }
    if (error.kind() == Kind::PutBack) {
        if (console) {
            return say(
                QT_TRANSLATE_NOOP("Messages",
                                  "%1 %2: %3. The bytes already written were put back and read back: the file is as it "
                                  "was before the save."),
                {what, file, reason});
        }
        return say(
            QT_TRANSLATE_NOOP("Messages",
                              "%1\n\n%2\n%3.\n\nThe bytes already written were put back and read back: the file is as "
                              "it was before the save. Your changes are still here."),
            {what, file, reason});
    }
    std::vector<Words> ranges;
    for (const auto& [offset, length] : error.mayHaveChanged()) {
        const std::vector<Words> ends = {Words::number(offset),
                                         Words::number(offset + static_cast<std::int64_t>(length) - 1)};
        ranges.push_back(console ? say(QT_TRANSLATE_NOOP("Messages", "%1 to %2"), ends)
                                 : say(QT_TRANSLATE_NOOP("Messages", "  bytes %1 to %2"), ends));
    }
    if (console) {
        return say(QT_TRANSLATE_NOOP(
                       "Messages",
                       "%1 %2: %3. The bytes already written could not be put back: bytes %4 (counted from 0) may "
                       "hold neither the old nor the new values. \"kelvory-cli restore original\" puts back the "
                       "values Kelvory recorded."),
                   {what, file, reason, Words::joined(ranges, ", ")});
    }
    return say(
        QT_TRANSLATE_NOOP("Messages",
                          "%1\n\n%2\n%3.\n\nThe bytes already written could not be put back. These bytes (counted from "
                          "0) may hold neither the old nor the new values:\n%4\n\nMenu > Restore Original Values (or "
                          "kelvory-cli restore-original) puts back the values Kelvory recorded. Your changes are still "
                          "here."),
        {what, file, reason, lines(ranges)});
}

Words saveFailure(const SaveError& error, Wording wording) {
    const Words file = path(error.path());
    const Words reason = reasonOf(error.reason());
    if (wording == Wording::Console) {
        const Words why = Words::value(error.reason());
        switch (error.kind()) {
            case FileError::Kind::Missing:
                return say(QT_TRANSLATE_NOOP(
                               "Messages",
                               "Nothing was saved: the game executable %1 no longer exists, and Kelvory does not "
                               "create it."),
                           {file});
            case FileError::Kind::TooShort:
                return say(
                    QT_TRANSLATE_NOOP("Messages", "Nothing was saved: %1 is too short to be the game executable: %2."),
                    {file, why});
            case FileError::Kind::InUse:
                return say(
                    QT_TRANSLATE_NOOP("Messages",
                                      "Nothing was saved: another program holds the game executable %1 open and lets "
                                      "nobody write it; the game may be running."),
                    {file});
            case FileError::Kind::NotAFile:
                return say(QT_TRANSLATE_NOOP("Messages",
                                             "Nothing was saved: the game executable %1 is not a regular file: %2."),
                           {file, why});
            default:
                return saveFailureUnexpected(error.path(), error.reason(), wording);
        }
    }
    switch (error.kind()) {
        case FileError::Kind::Missing:
            return say(
                QT_TRANSLATE_NOOP("Messages",
                                  "Nothing was saved: the game executable no longer exists.\n\n%1\n\nKelvory does not "
                                  "create it. Put the game executable back in place, then save again; your changes are "
                                  "still here."),
                {file});
        case FileError::Kind::TooShort:
            return say(QT_TRANSLATE_NOOP(
                           "Messages",
                           "Nothing was saved: this file is too short to be the game executable.\n\n%1\n\n%2.\n\n"
                           "Kelvory only writes into bytes that already exist. Check that line 2 of Leagues.ini "
                           "names the game executable."),
                       {file, reason});
        case FileError::Kind::InUse:
            return say(
                QT_TRANSLATE_NOOP("Messages",
                                  "Nothing was saved: another program holds the game executable open and lets nobody "
                                  "write it; the game may be running.\n\n%1\n\nClose the game, then save again; your "
                                  "changes are still here."),
                {file});
        case FileError::Kind::NotAFile:
            return say(QT_TRANSLATE_NOOP("Messages",
                                         "Nothing was saved: the game executable is not a regular file.\n\n%1\n\n%2."),
                       {file, reason});
        default:
            return say(
                QT_TRANSLATE_NOOP("Messages",
                                  "The game executable could not be saved.\n\n%1\n%2\n\nYour changes are still here. "
                                  "Close the game if it is running, make sure the file can be written, and save "
                                  "again."),
                {file, reason});
    }
}

Words saveFailureUnexpected(const std::filesystem::path& game, const std::string& what, Wording wording) {
    if (wording == Wording::Console) {
        return say(QT_TRANSLATE_NOOP("Messages", "The game executable %1 could not be saved: %2."),
                   {path(game), Words::value(what)});
    }
    return say(QT_TRANSLATE_NOOP("Messages", "The game executable could not be saved.\n\n%1\n%2"),
               {path(game), Words::value(what)});
}

std::string date(const std::string& utc, Wording wording) {
    return wording == Wording::Console ? localIsoDate(utc) : localDate(utc);
}

Words recordUnreadable(const std::filesystem::path& recordFile, const std::string& reason, Wording wording) {
    if (wording == Wording::Console) {
        return recordFile.empty()
                   ? say(QT_TRANSLATE_NOOP("Messages", "The record of the original values cannot be read: %1"),
                         {Words::value(reason)})
                   : say(QT_TRANSLATE_NOOP("Messages", "The record of the original values cannot be read: %1: %2"),
                         {path(recordFile), Words::value(reason)});
    }
    if (recordFile.empty()) {
        return say(QT_TRANSLATE_NOOP("Messages", "The record of the original values cannot be read.\n\n%1"),
                   {Words::value(reason)});
    }
    return say(QT_TRANSLATE_NOOP("Messages", "The record of the original values cannot be read.\n\n%1\n%2"),
               {path(recordFile), Words::value(reason)});
}

Words noRecord(const std::filesystem::path& game, const std::filesystem::path& recordFile, Wording wording) {
    if (wording == Wording::Console) {
        return say(
            QT_TRANSLATE_NOOP("Messages",
                              "There is no record of the original values of %1: Kelvory records them at its first save "
                              "into it, and looked for the record at %2."),
            {path(game), path(recordFile)});
    }
    return say(
        QT_TRANSLATE_NOOP("Messages",
                          "There is no record of the original values of this game executable.\n\n%1\n\nKelvory records "
                          "them at its first save into it; it looked for the record at:\n%2"),
        {path(game), path(recordFile)});
}

Words otherExecutable(const std::string& recordedDate, std::int64_t sizeThen, std::optional<std::int64_t> sizeNow) {
    const Words now = sizeNow ? say(QT_TRANSLATE_NOOP("Messages", "%1 bytes"), {Words::number(*sizeNow)})
                              : say(QT_TRANSLATE_NOOP("Messages", "unreadable"));
    return say(
        QT_TRANSLATE_NOOP("Messages",
                          "The game executable changed since the record of its original values was taken on %1: it was "
                          "%2 bytes long then and is %3 now, or its first bytes differ. The game may have been updated "
                          "or replaced, and the recorded values may not fit it."),
        {Words::value(recordedDate), Words::number(sizeThen), now});
}

Words recordedAt(const std::string& gamePath, const std::string& utc, Wording wording) {
    return say(QT_TRANSLATE_NOOP("Messages", "recorded for the same game at %1 on %2"),
               {path(std::filesystem::u8path(gamePath)), Words::value(date(utc, wording))});
}

Words newestTaken(std::size_t candidates) {
    return say(
        QT_TRANSLATE_NOOP(
            "Messages", "%1 records of other paths hold the values this game executable holds; the newest was taken."),
        {Words::number(static_cast<long long>(candidates))});
}

Words carriedOver(const CarriedFrom& from, std::size_t candidates, Wording wording) {
    const Words carried =
        say(QT_TRANSLATE_NOOP("Messages",
                              "The original values and history of this game executable were carried over "
                              "from the record of the same game at %1, into which Kelvory wrote the values "
                              "it holds on %2."),
            {path(std::filesystem::u8path(from.path)), Words::value(date(from.date, wording))});
    return candidates > 1 ? Words::joined({carried, newestTaken(candidates)}, " ") : carried;
}

Words recordSetAside(const std::filesystem::path& recordFile, const std::filesystem::path& aside, Wording wording) {
    if (wording == Wording::Console) {
        return say(QT_TRANSLATE_NOOP(
                       "Messages",
                       "The record %1, which cannot be read, was set aside as %2 and is kept there; the next save "
                       "starts a new record."),
                   {path(recordFile), path(aside)});
    }
    return say(QT_TRANSLATE_NOOP("Messages",
                                 "The record of the original values, which cannot be read, was set aside and is kept "
                                 "as:\n%1"),
               {path(aside)});
}

Words nothingToSetAside(const std::filesystem::path& recordFile, Wording wording) {
    if (wording == Wording::Console) {
        return say(QT_TRANSLATE_NOOP("Messages", "Nothing was set aside: the record %1 can be read, or there is none."),
                   {path(recordFile)});
    }
    return say(QT_TRANSLATE_NOOP("Messages",
                                 "Nothing was set aside: the record of the original values can be read, or there is "
                                 "none.\n\n%1"),
               {path(recordFile)});
}

Words recordNotSetAside(const std::filesystem::path& recordFile, const std::string& reason, Wording wording) {
    if (wording == Wording::Console) {
        return say(QT_TRANSLATE_NOOP("Messages", "The record %1 could not be set aside: %2."),
                   {path(recordFile), Words::value(reason)});
    }
    return say(
        QT_TRANSLATE_NOOP("Messages",
                          "The record of the original values could not be set aside, and nothing was saved.\n\n%1\n%2."
                          "\n\nYour changes are still here."),
        {path(recordFile), reasonOf(reason)});
}

}  // namespace messages
