#include "session/LeagueSession.h"

#include <cstdio>
#include <ctime>

#include "core/GameRanges.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "session/Messages.h"
#include "store/RecordFile.h"

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

}  // namespace

std::string localDate(const std::string& utc) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char zone = 0;
    if (utc.size() != 20 ||
        std::sscanf(utc.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second, &zone) !=
            7 ||
        zone != 'Z') {
        return utc;
    }
    const std::time_t at = static_cast<std::time_t>(
        ((daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 24 + hour) * 60 + minute) *
            60 +
        second);
    // Everything runs on one thread, so localtime's shared result is safe here.
    const std::tm* local = std::localtime(&at);
    char text[32];
    if (!local || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local) == 0) {
        return utc;
    }
    return text;
}

LeagueSession::LeagueSession(std::filesystem::path recordFolder) : recordFolder_(std::move(recordFolder)) {}

bool LeagueSession::load(const std::filesystem::path& game, bool wholeBlock) {
    game_ = game;
    loadFailure_.clear();
    Baza loading;
    std::optional<LoadError> failed;
    std::string why;
    if (!loading.Wczytaj(game, failed)) {
        why = failed ? failed->reason() : std::string();
    } else if (wholeBlock) {
        // A file that ends before the block has no block to show: its missing
        // bytes would read as zeros.
        try {
            BinaryFile file(game, BinaryFile::Mode::Read);
            const std::int64_t size = file.size();
            file.close();
            if (size < Baza::BlockEnd) {
                why = Baza::tooShortError(game, size).reason();
            }
        } catch (const FileError& error) {
            why = error.reason();
        }
    }
    if (!loading.loaded() || !why.empty()) {
        loadFailure_ = loadFailureMessage(game, why);
        return false;
    }
    baza_ = loading;
    look_ = lookAtBlock(baza_.block());
    saved_ = baza_.block();
    savedStamp_ = platform::stampOf(game);
    unstorable_.clear();
    return true;
}

std::vector<std::string> LeagueSession::changeLines() const {
    std::vector<std::string> lines;
    if (!loaded()) {
        return lines;
    }
    Baza savedBaza = baza_;
    savedBaza.replaceBlock(saved_);
    for (const SetupChange& change : setupChanges(savedBaza, setupOf(baza_))) {
        lines.push_back(describeChange(change));
    }
    return lines;
}

void LeagueSession::applyValues(const Baza::Block& values) {
    copyFields(baza_, values);
}

void LeagueSession::takeFromDisk(const DiskState& disk) {
    baza_.replaceBlock(disk.block);
    saved_ = disk.block;
    savedStamp_ = disk.stamp;
}

void LeagueSession::setUnstorable(const Field& field, const std::string& text) {
    unstorable_[&field] = text;
}

void LeagueSession::setStorable(const Field& field) {
    unstorable_.erase(&field);
}

std::vector<std::string> LeagueSession::unstorableLines() const {
    std::vector<std::string> lines;
    for (const auto& [field, text] : unstorable_) {
        lines.push_back(fieldWords(*field) + ": \"" + text + "\" (allowed: " + fieldAllowedWords(*field) + ")");
    }
    return lines;
}

std::string LeagueSession::notABlockWarning() const {
    if (look_.looksLikeBlock) {
        return {};
    }
    std::string text =
        "The bytes where Kelvory expects the league block do not look like one. This may be another version of "
        "the game. Kelvory shows them, but saving would overwrite 199 bytes of this file.\n\n" +
        platform::pathToShow(game_) + "\n\nWhat does not look right:";
    for (const std::string& problem : look_.problems) {
        text += "\n- " + problem;
    }
    return text;
}

std::vector<std::string> LeagueSession::outsideGameLines() const {
    std::vector<std::string> lines;
    if (!loaded()) {
        return lines;
    }
    const Setup values = setupOf(baza_);
    for (const Field* field : fieldsOutsideGameRange(baza_.block())) {
        const std::string slot = fieldSlotWords(*field);
        for (const SetupValue& value : values) {
            if (value.field == field) {
                lines.push_back(fieldWords(*field) + (slot.empty() ? "" : ", " + slot) + ": " + setupValueText(value) +
                                " (" + gameRangeNote(*field) + ")");
            }
        }
    }
    return lines;
}

Told LeagueSession::refusal(const std::string& done) const {
    const bool saving = done == "saved";
    if (!loaded()) {
        if (saving) {
            return {Tone::Warning,
                    "Nothing was saved: no game executable was loaded when Kelvory started.\n\nKelvory looked for it "
                    "at:\n" +
                        platform::pathToShow(game_) +
                        "\n\nMake sure line 2 of Leagues.ini names the game executable in Kelvory's folder, then start "
                        "Kelvory again."};
        }
        return {Tone::Warning, "Nothing was " + done + ": no game executable was loaded when Kelvory started."};
    }
    if (unstorable_.empty()) {
        return {};
    }
    const std::string boxes = "These boxes hold values that cannot be stored:\n" + joined(unstorableLines());
    if (saving) {
        return {Tone::Warning, "Nothing was saved: the game executable was not changed.\n\n" + boxes +
                                   "\n\nCorrect them, then save again."};
    }
    return {Tone::Warning, "Nothing was " + done + ".\n\n" + boxes + "\n\nCorrect them, then try again."};
}

LeagueSession::SaveResult LeagueSession::save(const SaveQuestions& questions, bool sinceLastWrite) {
    SaveResult result;
    if (const Told refused = refusal("saved"); !refused.text.empty()) {
        result.status = loaded() ? SaveStatus::Refused : SaveStatus::NotLoaded;
        result.told = refused;
        return result;
    }
    result.status = SaveStatus::Declined;
    if (const std::vector<std::string> outside = outsideGameLines(); !outside.empty()) {
        const std::string question =
            "These boxes hold values the game is not known to take:\n" + joined(outside) + "\n\nSave them anyway?";
        if (!questions.outsideGame || !questions.outsideGame(question)) {
            return result;
        }
    }
    if (!look_.looksLikeBlock &&
        (!questions.notABlock || !questions.notABlock(notABlockWarning() + "\n\nSave into this file anyway?"))) {
        return result;
    }
    while (const std::optional<int> pid = platform::findRunningGame(game_, *processes_)) {
        const RunningAnswer answer =
            questions.gameRunning
                ? questions.gameRunning("The game is running (process " + std::to_string(*pid) +
                                        "). Close it before saving: the game may not take the change, or may stop.")
                : RunningAnswer::Cancel;
        if (answer == RunningAnswer::SaveAnyway) {
            break;
        }
        if (answer == RunningAnswer::Cancel) {
            result.status = SaveStatus::GameRunning;
            return result;
        }
    }
    const OutsideChangeQuestion ask = [&questions](const DiskState& disk) {
        return questions.outsideChange ? questions.outsideChange(disk) : OutsideChangeAnswer::Cancel;
    };
    result.status = SaveStatus::Failed;
    result.told.tone = Tone::Error;
    try {
        const SafeSaveResult saved =
            saveSafely(baza_.block(), game_, Expected{saved_, savedStamp_, sinceLastWrite}, recordFolder_, ask);
        result.disk = saved.disk;
        switch (saved.status) {
            case SafeSaveResult::Status::Saved:
                saved_ = baza_.block();
                savedStamp_ = saved.stamp;
                result.status = SaveStatus::Saved;
                result.told = {Tone::Information, "Save Successfully"};
                break;
            case SafeSaveResult::Status::Reload:
                result.status = SaveStatus::Reload;
                result.told = {};
                break;
            case SafeSaveResult::Status::Cancelled:
                result.status = SaveStatus::Cancelled;
                result.told = {};
                break;
        }
    } catch (const SaveError& error) {
        if (error.kind() == FileError::Kind::InUse) {
            result.status = SaveStatus::GameRunning;  // the game holds its executable
        }
        result.told.text = saveFailureMessage(error);
    } catch (const SafeSaveError& error) {
        if (error.kind() == SafeSaveError::Kind::PutBack && error.stampAfter().size >= 0) {
            savedStamp_ = error.stampAfter();  // the put-back wrote the same bytes again
        }
        result.told.text = saveFailureMessage(error);
    } catch (const std::exception& error) {
        result.told.text =
            "The game executable could not be saved.\n\n" + platform::pathToShow(game_) + "\n" + error.what();
    }
    return result;
}

bool LeagueSession::hasRecord() const {
    if (!loaded()) {
        return false;
    }
    try {
        return RecordPlace(recordFolder_, game_).exists();
    } catch (const std::exception&) {
        return false;
    }
}

RestoreChoice LeagueSession::restoreChoice() const {
    RestoreChoice choice;
    std::optional<OriginalRecord> record;
    try {
        const RecordPlace place(recordFolder_, game_);
        choice.recordFile = place.file();
        const auto lock = place.lock(kRecordLockWait);
        record = place.read();
    } catch (const std::exception& error) {
        choice.problem = {
            Tone::Warning,
            "The record of the original values cannot be read.\n\n" +
                (choice.recordFile.empty() ? std::string() : platform::pathToShow(choice.recordFile) + "\n") +
                error.what()};
        return choice;
    }
    if (!record) {
        choice.problem = {Tone::Information,
                          "There is no record of the original values of this game executable.\n\n" +
                              platform::pathToShow(game_) +
                              "\n\nKelvory records them at its first save into it; it looked for the record at:\n" +
                              platform::pathToShow(choice.recordFile)};
        return choice;
    }
    // The executable now at the path, or else the newest one met there.
    std::optional<ExecutableIdentity> identity;
    try {
        identity = identityOf(game_);
    } catch (const FileError&) {
    }
    const RecordedExecutable* matching = identity ? record->find(*identity) : nullptr;
    const RecordedExecutable& current = matching ? *matching : record->executables.back();
    if (!matching) {
        choice.otherExecutable =
            "The game executable changed since the record of its original values was taken on " +
            localDate(current.original.date) + ": it was " + std::to_string(current.identity.size) +
            " bytes long then and is " + (identity ? std::to_string(identity->size) : std::string("unreadable")) +
            (identity ? " bytes" : "") +
            " now, or its first bytes differ. The game may have been updated or replaced, and the recorded values "
            "may not fit it.";
    }
    const auto add = [&choice](RecordedBlock::Kind kind, const BlockSnapshot& snapshot, std::int64_t size) {
        choice.blocks.push_back({kind, snapshot.date, size, baza_regions::blockOf(snapshot.bytes)});
    };
    add(RecordedBlock::Kind::Original, current.original, current.identity.size);
    for (auto it = current.history.rbegin(); it != current.history.rend(); ++it) {
        add(RecordedBlock::Kind::BeforeSave, *it, current.identity.size);
    }
    for (auto it = record->executables.rbegin(); it != record->executables.rend(); ++it) {
        if (&*it != &current) {
            add(RecordedBlock::Kind::EarlierOriginal, it->original, it->identity.size);
        }
    }
    return choice;
}
