#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Baza.h"
#include "core/BlockLook.h"
#include "core/Fields.h"
#include "core/GameRanges.h"
#include "core/Words.h"
#include "platform/RunningGame.h"
#include "session/Messages.h"
#include "setup/LeagueSetup.h"
#include "store/SafeSave.h"

// One editing session of the league block, the same for the window and the
// console program: the game executable and the block loaded from it, what the
// file holds as far as Kelvory knows (the block and the file's size and time
// as last loaded or saved), the values the user has put in, the boxes whose
// text cannot be stored, saving through the safe save, the record's blocks to
// restore, and every refusal and failure in the user's words. The front ends
// show what it says and ask what it asks; the rules live here. Standard library
// only.

// How a message to the user weighs.
enum class Tone { Information, Warning, Error };

struct Told {
    Tone tone = Tone::Information;
    Words words;  // empty: nothing to tell
};

// A block kept in the record, offered to put back.
struct RecordedBlock {
    enum class Kind {
        Original,         // the executable's values before Kelvory's first save into it
        BeforeSave,       // before a later save
        EarlierOriginal,  // the original of another executable met at the same path (one since replaced)
    };
    Kind kind = Kind::Original;
    std::string date;       // UTC, as the record keeps it
    std::int64_t size = 0;  // the length of the executable it was taken of
    Baza::Block block;
    // The executable's path where it was recorded, when it was carried over
    // from another record (a moved, copied or patched game; messages::
    // recordedAt says so); empty: recorded for this executable here.
    std::string recordedAt = {};
};

// What the record offers for the executable now loaded.
struct RestoreChoice {
    Told problem;  // no data folder, no record, or one that cannot be read: nothing to offer
    std::filesystem::path recordFile;
    // The executable now is not the one these values were taken of: what to
    // say before offering them (empty when it is the same).
    Words otherExecutable;
    // The executable's original first, then its history newest first, then
    // the originals of executables met at the same path before.
    std::vector<RecordedBlock> blocks;
    // More than one record could be carried over: that the newest was taken
    // (empty otherwise).
    Words newestTaken;
};

// The answers to "the game is running".
enum class RunningAnswer { Retry, SaveAnyway, Cancel };

// What a save asks the front end before it writes. A question left empty
// answers no (Cancel).
struct SaveQuestions {
    // The file holds something else than the session expects (the words:
    // outsideChangeQuestion).
    OutsideChangeQuestion outsideChange;
    // Boxes hold values the game is not known to take: save them anyway?
    std::function<bool(const Words& question)> outsideGame;
    // The bytes at the block do not look like one: save into this file anyway?
    // Asked at every save.
    std::function<bool(const Words& question)> notABlock;
    // The game is running: retry the check, save anyway, or cancel.
    std::function<RunningAnswer(const Words& question)> gameRunning;
    // The record exists but cannot be read (the words: the save's failure):
    // set it aside (kept beside itself) and save again with a new record?
    std::function<bool(const Words& question)> damagedRecord;
};

// What setting a damaged record aside did.
enum class SetAsideStatus {
    SetAside,  // renamed beside itself, kept: the next save starts a new record
    Nothing,   // no record, or one that can be read: nothing was renamed or created
    Failed,    // it could not be renamed, or another Kelvory holds its lock
};
struct SetAsideResult {
    SetAsideStatus status = SetAsideStatus::Nothing;
    Told told;  // where it went, or why not
};

// What applying a setup to the values would do, worked out before anything
// changes: the window shows it for review, the console program lists it.
struct SetupPreview {
    Setup setup;                       // the setup as read
    std::vector<SetupChange> changes;  // the boxes it changes, in the window's order
    // One line per change, "Club Name, row 3: 12 → 300", with the game's range
    // after a value the game is not known to take.
    std::vector<Words> lines;
    // The values afterwards that the game is not known to take, one line each
    // (the boxes the setup leaves alone included).
    std::vector<Words> outsideGame;
};

// How much of the game executable a load needs.
enum class BlockNeed {
    Any,    // a file that ends before the block loads too, its missing bytes as zeros (the window)
    Whole,  // the file must hold every byte of the block (the console program)
};

// What a save compares the file with besides what the session loaded or last
// saved.
enum class SaveCheck {
    AsLoaded,      // the window: what it loaded or last saved
    LastWriteToo,  // the console program, which loads right before it saves:
                   // also what the record says Kelvory last wrote there
};

class LeagueSession {
public:
    // Records of the original values live in `recordFolder` (empty: none can
    // be kept, so nothing is saved). What the session says is worded for the
    // face it serves (`wording`): its failures and the record's problems.
    explicit LeagueSession(std::filesystem::path recordFolder, Wording wording = Wording::Window);

    // --- Loading ---

    // Loads the block of the game executable at `game`. On failure nothing
    // changes but where Kelvory looked, and loadFailure() says why.
    bool load(const std::filesystem::path& game, BlockNeed need = BlockNeed::Any);
    const Words& loadFailure() const { return loadFailure_; }
    bool loaded() const { return baza_.loaded(); }
    // Where the game executable was looked for, and loaded from.
    const std::filesystem::path& game() const { return game_; }
    // What to tell the user when the loaded bytes do not look like a league
    // block at all (BlockLook.h); empty when they do, or when they are what
    // Kelvory itself last wrote into this executable.
    Words notABlockWarning() const;

    // --- The values: read ---

    // The values being edited, read only: every change goes through one of
    // the session's intents below.
    const Baza& baza() const { return baza_; }
    const Baza::Block& values() const { return baza_.block(); }
    // The block as the file holds it as far as Kelvory knows: as last loaded
    // or saved (or reloaded).
    const Baza::Block& saved() const { return saved_; }
    bool hasUnsavedChanges() const { return loaded() && baza_.block() != saved_; }
    // The fields that differ from the saved block, in the window's order, as a
    // setup names them; and each as a line: "Club Name, row 3: 12 → 300".
    std::vector<SetupChange> changes() const;
    std::vector<std::string> changeLines() const;

    // A box whose text cannot be stored in its field (the field keeps its
    // value), and each such box in words, in the window's order: 'Club Name,
    // row 1: "32768" (allowed: whole numbers from -32768 to 32767)'.
    bool unstorable(const Field& field) const { return unstorable_.count(&field) != 0; }
    std::vector<Words> unstorableLines() const;

    // The values the game is not known to take (GameRanges.h), one line each,
    // in the window's order: "Maps Load u_1426.bin ->dt06.img, row 1, Europe:
    // 11 (the game takes 0 to 10)".
    std::vector<Words> outsideGameLines() const;
    // None when the field's value is one the game takes; otherwise why not:
    // "Outside what the game takes: no name 57 in ID_Name_League.ini".
    std::optional<Words> outsideGame(const Field& field) const;

    // The name catalogue that pairs each name index with a name, against which
    // the name boxes are checked from now on (nullptr: none, the game's own
    // range). The face keeps it alive while the session uses it.
    void useNameIndices(const NameIndices* names) { names_ = names; }

    // Why the values cannot be saved, exported or imported now: nothing
    // loaded, or boxes whose text cannot be stored. Empty when they can.
    Told refusal(Doing doing) const;

    // What would no longer look right once the values are written into a
    // block that looks like one now (empty when they would look right, or
    // when the block already does not look like one).
    Words valuesNotABlock() const;

    // --- The values: intents ---

    // What a numeric box shows, as the face read it: `number` when its text
    // converts to a value of the field, stored then; otherwise the field keeps
    // its value and `text` is remembered as a box that cannot be stored
    // (while a block is loaded; before, nothing can be saved anyway).
    void storeBox(const Field& field, const std::string& text, std::optional<long long> number);
    // A category text, in the game's code page: fitted to 11 bytes and stored.
    void storeCategory(const Field& field, const std::string& text);

    // One field, or every value, back as last loaded or saved. Reverting
    // every value puts back the whole block, hidden map slots and reserved
    // bytes included.
    void revertField(const Field& field);
    void revertAll();

    // The values as an earlier step of the editing left them (undo, redo):
    // the whole block. The boxes whose text cannot be stored are the face's
    // to say again.
    void returnTo(const Baza::Block& values);

    // What applying `setup` would change, and applying it: every value it
    // names goes into the edited block, nothing else.
    SetupPreview previewSetup(const Setup& setup) const;
    void applySetup(const SetupPreview& preview);

    // A block kept in the record, put back whole: all 199 bytes, the map slots
    // no box shows and the reserved bytes included.
    void restore(const RecordedBlock& recorded);

    // The block the file holds now (a reload): saved and edited alike, the
    // hidden map slots and reserved bytes included.
    void takeFromDisk(const DiskState& disk);

    // --- Saving ---

    enum class SaveStatus {
        Saved,        // written and read back; the block is what the file holds now
        NotLoaded,    // nothing was loaded: nothing was written
        Refused,      // a box holds text its field cannot take: nothing was written
        Reload,       // another program changed the file, answered Reload: nothing was written
        Cancelled,    // another program changed the file, answered Cancel: nothing was written
        Declined,     // a question before writing (values, block) answered no: nothing was written
        GameRunning,  // the game is running (the user cancelled, or it holds its file): nothing was written
        Failed,       // the file could not be written as it should; `told` says what it holds now
    };
    struct SaveResult {
        SaveStatus status = SaveStatus::NotLoaded;
        Told told;       // what to tell the user ("Save Successfully", or why not)
        DiskState disk;  // the file as the save found it, once it was read
        // The system itself refuses the write while the game runs (Windows
        // and Wine keep a running executable open): no answer can help.
        bool heldByGame = false;
        // Failed: the record exists but cannot be read (setAsideRecord is the
        // way on).
        bool damagedRecord = false;
        // Saved: the save carried the original and history over from the
        // record of a moved, copied or patched game, in words; empty otherwise.
        Words carried;
    };
    // Saves the edited block through the safe save (SafeSave.h), after asking,
    // in this order: about values the game is not known to take (once), about
    // a block that does not look like one (every save), about a running game
    // (until it is closed, or the user saves anyway or cancels); then, when the
    // file does not hold what the session expects (`check`), about the outside
    // change; and when the record cannot be read, whether to set it aside and
    // save once more (the told words then say where it went first).
    SaveResult save(const SaveQuestions& questions, SaveCheck check = SaveCheck::AsLoaded);

    // Where the running processes come from (the system's, unless a test gives
    // its own).
    void useProcessTable(const platform::ProcessTable& table) { processes_ = &table; }

    // --- Restoring ---

    // Whether there is a record of the loaded executable: its own, or one its
    // next save would carry over (a moved, copied or patched game); or one
    // that cannot be read.
    bool hasRecord() const;
    // What the record offers, as the next save would start from it (a record
    // carried over included). Reads only: creates no folder and takes no lock.
    RestoreChoice restoreChoice() const;
    // Sets the record of the game executable aside when it cannot be read
    // (renamed beside itself, never deleted), so that the next save starts a
    // new record. Writes nothing into the game executable.
    SetAsideResult setAsideRecord() const;

private:
    void setValues(const Baza::Block& values);
    // One attempt of save(), once its questions before writing are answered.
    SaveResult write(const OutsideChangeQuestion& ask, SaveCheck check);

    std::filesystem::path recordFolder_;
    Wording wording_;
    std::filesystem::path game_;
    const NameIndices* names_ = nullptr;  // the paired name catalogue, if any
    Words loadFailure_;
    Baza baza_;
    Baza::Block saved_;
    FileStamp savedStamp_;
    std::map<const Field*, std::string> unstorable_;
    BlockLook look_;
    // The blocks the record says Kelvory wrote into this executable itself,
    // when the loaded bytes are one of them: they look right whatever they hold.
    bool ownBlock_ = false;
    const platform::ProcessTable* processes_ = &platform::systemProcessTable();
};
