#include "session/LeagueSession.h"

#include "core/GameRanges.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "session/Messages.h"
#include "store/RecordFile.h"

namespace {

// The lines of the values in `baza` that the game is not known to take.
std::vector<Words> outsideGameLinesOf(const Baza& baza, const NameIndices* names) {
    std::vector<Words> lines;
    const Setup values = setupOf(baza);
    for (const Field* field : fieldsOutsideGameRange(baza.block(), names)) {
        for (const SetupValue& value : values) {
            if (value.field == field) {
                lines.push_back(messages::outsideGameLine(*field, setupValueText(value), names));
            }
        }
    }
    return lines;
}

// Whether every byte of `found` is one Kelvory wrote itself: the record's
// last write's, or that of a write it began and did not see through.
bool writtenByKelvory(const baza_regions::BlockBytes& found, const std::optional<OriginalRecord>& record) {
    if (!record || (!record->lastWritten && !record->writing)) {
        return false;
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        const bool last = record->lastWritten && record->lastWritten->bytes[i] == found[i];
        const bool writing = record->writing && record->writing->bytes[i] == found[i];
        if (!last && !writing) {
            return false;
        }
    }
    return true;
}

}  // namespace

LeagueSession::LeagueSession(std::filesystem::path recordFolder, Wording wording)
    : recordFolder_(std::move(recordFolder)), wording_(wording) {}

bool LeagueSession::load(const std::filesystem::path& game, BlockNeed need) {
    game_ = game;
    loadFailure_ = {};
    Baza loading;
    std::optional<LoadError> failed;
    std::string why;
    if (!loading.Wczytaj(game, failed)) {
        why = failed ? failed->reason() : std::string();
    } else if (need == BlockNeed::Whole) {
        // A file that ends before the block has no block to show: its missing
        // bytes would read as zeros.
        try {
            const std::int64_t size = platform::fileSystem().open(game, BinaryFile::Mode::Read)->size();
            if (size < Baza::BlockEnd) {
                why = Baza::tooShortError(game, size).reason();
            }
        } catch (const FileError& error) {
            why = error.reason();
        }
    }
    if (!loading.loaded() || !why.empty()) {
        loadFailure_ = messages::loadFailure(game, why, wording_);
        return false;
    }
    baza_ = loading;
    saved_ = baza_.block();
    savedStamp_ = platform::stampOf(game);
    unstorable_.clear();
    look_ = lookAtBlock(baza_.block());
    ownBlock_ = false;
    if (!look_.looksLikeBlock) {
        // Bytes Kelvory wrote itself never count against the file: its record
        // says so, or the record of the game before it was moved or copied,
        // when they can be read (reading writes nothing).
        try {
            const RecordView view = viewRecord(recordFolder_, game_);
            ownBlock_ = view.wroteThisBlock || writtenByKelvory(baza_regions::bytesOf(saved_), view.record);
        } catch (const std::exception&) {
        }
    }
    return true;
}

std::vector<SetupChange> LeagueSession::changes() const {
    if (!loaded()) {
        return {};
    }
    Baza savedBaza = baza_;
    savedBaza.replaceBlock(saved_);
    return setupChanges(savedBaza, setupOf(baza_));
}

std::vector<std::string> LeagueSession::changeLines() const {
    std::vector<std::string> lines;
    for (const SetupChange& change : changes()) {
        lines.push_back(describeChange(change));
    }
    return lines;
}

std::vector<Words> LeagueSession::unstorableLines() const {
    std::vector<Words> lines;
    for (const Field& field : fields()) {
        if (const auto found = unstorable_.find(&field); found != unstorable_.end()) {
            lines.push_back(messages::unstorableLine(field, found->second));
        }
    }
    return lines;
}

std::vector<Words> LeagueSession::outsideGameLines() const {
    return loaded() ? outsideGameLinesOf(baza_, names_) : std::vector<Words>();
}

std::optional<Words> LeagueSession::outsideGame(const Field& field) const {
    return loaded() ? outsideGameRangeText(baza_.block(), field, names_) : std::nullopt;
}

Words LeagueSession::notABlockWarning() const {
    if (look_.looksLikeBlock || ownBlock_ || !loaded()) {
        return {};
    }
    return messages::notABlock(game_, look_.problems, wording_);
}

Words LeagueSession::valuesNotABlock() const {
    if (!lookAtBlock(saved_).looksLikeBlock) {
        return {};  // nothing that looks right is lost
    }
    const BlockLook look = lookAtBlock(baza_.block());
    return look.looksLikeBlock ? Words() : messages::notABlock(game_, look.problems, wording_);
}

Told LeagueSession::refusal(Doing doing) const {
    if (!loaded()) {
        return {Tone::Warning, messages::notLoaded(doing, game_)};
    }
    if (unstorable_.empty()) {
        return {};
    }
    return {Tone::Warning, messages::unstorable(doing, unstorableLines())};
}

void LeagueSession::storeBox(const Field& field, const std::string& text, std::optional<long long> number) {
    const std::optional<FieldRange> range = fieldRange(field.kind);
    if (range && number && *number >= range->minimum && *number <= range->maximum) {
        setFieldNumber(baza_, field, *number);
        unstorable_.erase(&field);
    } else if (loaded()) {
        unstorable_[&field] = text;
    } else {
        unstorable_.erase(&field);  // nothing can be saved before a load
    }
}

void LeagueSession::storeCategory(const Field& field, const std::string& text) {
    if (field.kind == FieldKind::Cat) {
        baza_.setCat(field.index, text);
    }
}

void LeagueSession::revertField(const Field& field) {
    if (field.kind == FieldKind::Cat) {
        baza_.setCat(field.index, fieldCategory(saved_, field));
    } else {
        setFieldNumber(baza_, field, fieldNumber(saved_, field));
    }
    unstorable_.erase(&field);
}

void LeagueSession::revertAll() {
    setValues(saved_);
}

void LeagueSession::returnTo(const Baza::Block& values) {
    setValues(values);
}

void LeagueSession::setValues(const Baza::Block& values) {
    if (!baza_.replaceBlock(values)) {
        copyFields(baza_, values);  // nothing loaded: the fields alone, as typing would
    }
    unstorable_.clear();
}

SetupPreview LeagueSession::previewSetup(const Setup& setup) const {
    SetupPreview preview;
    preview.setup = setup;
    preview.changes = setupChanges(baza_, setup);
    Baza after = baza_;
    ::applySetup(after, setup);
    for (const SetupChange& change : preview.changes) {
        preview.lines.push_back(outsideGameRange(after.block(), *change.field, names_)
                                    ? messages::changeOutsideGame(describeChange(change), *change.field, names_)
                                    : Words::value(describeChange(change)));
    }
    preview.outsideGame = outsideGameLinesOf(after, names_);
    return preview;
}

void LeagueSession::applySetup(const SetupPreview& preview) {
    ::applySetup(baza_, preview.setup);
    for (const SetupValue& value : preview.setup) {
        unstorable_.erase(value.field);
    }
}

void LeagueSession::restore(const RecordedBlock& recorded) {
    setValues(recorded.block);
}

void LeagueSession::takeFromDisk(const DiskState& disk) {
    baza_.replaceBlock(disk.block);
    saved_ = disk.block;
    savedStamp_ = disk.stamp;
    unstorable_.clear();
    look_ = lookAtBlock(disk.block);
    ownBlock_ = false;  // another program's bytes
}

LeagueSession::SaveResult LeagueSession::save(const SaveQuestions& questions, SaveCheck check) {
    SaveResult result;
    if (const Told refused = refusal(Doing::Saving); !refused.words.empty()) {
        result.status = loaded() ? SaveStatus::Refused : SaveStatus::NotLoaded;
        result.told = refused;
        return result;
    }
    result.status = SaveStatus::Declined;
    if (const std::vector<Words> outside = outsideGameLines(); !outside.empty()) {
        if (!questions.outsideGame || !questions.outsideGame(messages::outsideGameQuestion(outside))) {
            return result;
        }
    }
    if (const Words warning = notABlockWarning();
        !warning.empty() && (!questions.notABlock || !questions.notABlock(messages::notABlockQuestion(warning)))) {
        return result;
    }
    while (const std::optional<int> pid = platform::findRunningGame(game_, *processes_)) {
        const RunningAnswer answer = questions.gameRunning
                                         ? questions.gameRunning(messages::gameRunningQuestion(*pid, wording_))
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
    result = write(ask, check);
    if (result.damagedRecord && questions.damagedRecord && questions.damagedRecord(result.told.words)) {
        const SetAsideResult aside = setAsideRecord();
        if (aside.status == SetAsideStatus::Failed) {
            result.told = aside.told;
            return result;
        }
        result = write(ask, check);
        if (aside.status == SetAsideStatus::SetAside) {
            result.told.words = Words::joined({aside.told.words, result.told.words}, "\n\n");
        }
    }
    return result;
}

LeagueSession::SaveResult LeagueSession::write(const OutsideChangeQuestion& ask, SaveCheck check) {
    SaveResult result;
    result.status = SaveStatus::Failed;
    result.told.tone = Tone::Error;
    try {
        const SafeSaveResult saved = saveSafely(
            baza_.block(), game_, Expected{saved_, savedStamp_, check == SaveCheck::LastWriteToo}, recordFolder_, ask);
        result.disk = saved.disk;
        switch (saved.status) {
            case SafeSaveResult::Status::Saved:
                saved_ = baza_.block();
                savedStamp_ = saved.stamp;
                ownBlock_ = true;  // what the file holds now is Kelvory's own
                result.status = SaveStatus::Saved;
                result.told = {Tone::Information, messages::saved()};
                if (saved.carriedFrom) {
                    result.carried = messages::carriedOver(*saved.carriedFrom, saved.carriedCandidates, wording_);
                }
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
            result.heldByGame = true;
        }
        result.told.words = messages::saveFailure(error, wording_);
    } catch (const SafeSaveError& error) {
        if (error.kind() == SafeSaveError::Kind::PutBack && error.stampAfter().size >= 0) {
            savedStamp_ = error.stampAfter();  // the put-back wrote the same bytes again
        }
        result.damagedRecord = error.kind() == SafeSaveError::Kind::RecordUnreadable;
        result.told.words = messages::saveFailure(error, wording_);
    } catch (const std::exception& error) {
        result.told.words = messages::saveFailureUnexpected(game_, error.what(), wording_);
    }
    return result;
}

bool LeagueSession::hasRecord() const {
    if (!loaded()) {
        return false;
    }
    try {
        return viewRecord(recordFolder_, game_).record.has_value();
    } catch (const RecordError&) {
        return true;  // one that cannot be read: the restore list says so
    } catch (const std::exception&) {
        return false;
    }
}

RestoreChoice LeagueSession::restoreChoice() const {
    RestoreChoice choice;
    RecordView view;
    try {
        // A record is only ever replaced whole, by a rename: reading it needs
        // no lock, so looking creates nothing. A moved, copied or patched
        // game shows the record its next save would carry over.
        choice.recordFile = RecordPlace(recordFolder_, game_).file();
        view = viewRecord(recordFolder_, game_);
    } catch (const std::exception& error) {
        choice.problem = {Tone::Warning, messages::recordUnreadable(choice.recordFile, error.what(), wording_)};
        return choice;
    }
    if (!view.record) {
        choice.problem = {Tone::Information, messages::noRecord(game_, choice.recordFile, wording_)};
        return choice;
    }
    const OriginalRecord& record = *view.record;
    // The executable now at the path, or else the newest one met there.
    const RecordedExecutable* matching = view.identity ? record.find(*view.identity) : nullptr;
    const RecordedExecutable& current = matching ? *matching : record.executables.back();
    if (!matching) {
        choice.otherExecutable =
            messages::otherExecutable(messages::date(current.original.date, wording_), current.identity.size,
                                      view.identity ? std::optional<std::int64_t>(view.identity->size) : std::nullopt);
    }
    const auto add = [&choice](RecordedBlock::Kind kind, const BlockSnapshot& snapshot,
                               const RecordedExecutable& executable) {
        // What was carried over was recorded before the write it was carried
        // for; what came later was recorded here.
        const std::optional<CarriedFrom>& from = executable.carriedFrom;
        choice.blocks.push_back({kind, snapshot.date, executable.identity.size, baza_regions::blockOf(snapshot.bytes),
                                 from && snapshot.date <= from->date ? from->path : std::string()});
    };
    add(RecordedBlock::Kind::Original, current.original, current);
    for (auto it = current.history.rbegin(); it != current.history.rend(); ++it) {
        add(RecordedBlock::Kind::BeforeSave, *it, current);
    }
    for (auto it = record.executables.rbegin(); it != record.executables.rend(); ++it) {
        if (&*it != &current) {
            add(RecordedBlock::Kind::EarlierOriginal, it->original, *it);
        }
    }
    if (view.candidates > 1) {
        choice.newestTaken = messages::newestTaken(view.candidates);
    }
    return choice;
}

SetAsideResult LeagueSession::setAsideRecord() const {
    std::filesystem::path file;
    try {
        file = RecordPlace(recordFolder_, game_).file();
        if (const std::optional<std::filesystem::path> aside = setAsideDamagedRecord(recordFolder_, game_)) {
            return {SetAsideStatus::SetAside, {Tone::Information, messages::recordSetAside(file, *aside, wording_)}};
        }
        return {SetAsideStatus::Nothing, {Tone::Information, messages::nothingToSetAside(file, wording_)}};
    } catch (const std::exception& error) {
        return {SetAsideStatus::Failed, {Tone::Error, messages::recordNotSetAside(file, error.what(), wording_)}};
    }
}
