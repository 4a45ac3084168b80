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
#include "platform/RunningGame.h"
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
    std::string text;  // empty: nothing to tell
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
};

// What the record offers for the executable now loaded.
struct RestoreChoice {
    Told problem;  // no data folder, no record, or one that cannot be read: nothing to offer
    std::filesystem::path recordFile;
    // The executable now is not the one these values were taken of: what to
    // say before offering them (empty when it is the same).
    std::string otherExecutable;
    // The executable's original first, then its history newest first, then
    // the originals of executables met at the same path before.
    std::vector<RecordedBlock> blocks;
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
    std::function<bool(const std::string& question)> outsideGame;
    // The bytes at the block do not look like one: save into this file anyway?
    // Asked at every save.
    std::function<bool(const std::string& question)> notABlock;
    // The game is running: retry the check, save anyway, or cancel.
    std::function<RunningAnswer(const std::string& question)> gameRunning;
};

class LeagueSession {
public:
    // Records of the original values live in `recordFolder` (empty: none can
    // be kept, so nothing is saved).
    explicit LeagueSession(std::filesystem::path recordFolder);

    // --- Loading ---

    // Loads the block of the game executable at `game`. A file that ends
    // before the block loads too (its missing bytes as zeros), unless
    // `wholeBlock`. On failure nothing changes but where Kelvory looked, and
    // loadFailure() says why.
    bool load(const std::filesystem::path& game, bool wholeBlock = false);
    const std::string& loadFailure() const { return loadFailure_; }
    bool loaded() const { return baza_.loaded(); }
    // Where the game executable was looked for, and loaded from.
    const std::filesystem::path& game() const { return game_; }
    // What to tell the user when the loaded bytes do not look like a league
    // block at all (BlockLook.h); empty when they do.
    std::string notABlockWarning() const;

    // --- The values ---

    // The values being edited; the window stores each box's text into them.
    Baza& baza() { return baza_; }
    const Baza& baza() const { return baza_; }
    // The block as the file holds it as far as Kelvory knows: as last loaded
    // or saved (or reloaded).
    const Baza::Block& saved() const { return saved_; }
    bool hasUnsavedChanges() const { return loaded() && baza_.block() != saved_; }
    // One line per field that differs from the saved block, in the window's
    // order, as a setup names them: "Club Name, row 3: 12 → 300".
    std::vector<std::string> changeLines() const;

    // Every field's value in `values` goes into the edited block; the hidden
    // map slots and the reserved bytes stay as they are.
    void applyValues(const Baza::Block& values);
    // The block the file holds now (a reload): saved and edited alike, the
    // hidden map slots and reserved bytes included.
    void takeFromDisk(const DiskState& disk);

    // A box whose text cannot be stored in its field (the field keeps its
    // value); `text` is what the box shows. Stored again clears it.
    void setUnstorable(const Field& field, const std::string& text);
    void setStorable(const Field& field);
    bool unstorable(const Field& field) const { return unstorable_.count(&field) != 0; }
    // One line per such box, in the window's order: 'Club Name, row 1:
    // "32768" (allowed: whole numbers from -32768 to 32767)'.
    std::vector<std::string> unstorableLines() const;

    // The values the game is not known to take (GameRanges.h), one line each,
    // in the window's order: "Maps Load u_1426.bin ->dt06.img, row 1, Europe:
    // 11 (the game takes 0 to 10)".
    std::vector<std::string> outsideGameLines() const;

    // Why the values cannot be `done` ("saved", "exported", "imported") now:
    // nothing loaded, or boxes whose text cannot be stored. Empty when they can.
    Told refusal(const std::string& done) const;

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
    };
    // Saves the edited block through the safe save (SafeSave.h), after asking,
    // in this order: about values the game is not known to take (once), about
    // a block that does not look like one (every save), about a running game
    // (until it is closed, or the user saves anyway or cancels); then, when the
    // file does not hold what the session expects, about the outside change.
    // `sinceLastWrite`: the file must also hold what the record says Kelvory
    // last wrote (the console program, which loads right before it saves).
    SaveResult save(const SaveQuestions& questions, bool sinceLastWrite = false);

    // Where the running processes come from (the system's, unless a test gives
    // its own).
    void useProcessTable(const platform::ProcessTable& table) { processes_ = &table; }

    // --- Restoring ---

    // Whether a record of the loaded executable exists.
    bool hasRecord() const;
    RestoreChoice restoreChoice() const;

private:
    std::filesystem::path recordFolder_;
    std::filesystem::path game_;
    std::string loadFailure_;
    Baza baza_;
    Baza::Block saved_;
    FileStamp savedStamp_;
    std::map<const Field*, std::string> unstorable_;
    BlockLook look_;
    const platform::ProcessTable* processes_ = &platform::systemProcessTable();
};

// A record's UTC date ("2026-12-06T23:15:39Z") in the user's local time:
// "2026-12-07 00:15:39"; the date as it stands when it is not one.
std::string localDate(const std::string& utc);
