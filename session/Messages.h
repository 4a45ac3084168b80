#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/Words.h"
#include "platform/BinaryFile.h"
#include "store/SafeSave.h"

struct Field;
class NameIndices;

// Every sentence the editing session says to the user, once, for the window
// and the console program alike: about loading, the values, saving and the
// record. Each is Words (core/Words.h): English with numbered places, which
// the window translates and the console program shows as they are. Paths are
// shown as the user reads them (platform::pathToShow).

// What the values cannot be now.
enum class Doing { Saving, Exporting, Importing };

// Which face a sentence is for: the window's, with room for paragraphs and for
// what to do next; or the console program's, one short line where it can be,
// whose options say what to do next. Where a function takes no wording, its
// sentence is the same for both.
enum class Wording { Window, Console };

namespace messages {

// A reason as the file layer words it ("the file does not exist"), as a
// sentence of its own ("The file does not exist").
std::string sentence(std::string reason);

// --- loading ---

// Why the game executable at `game` did not load: where Kelvory looked, and
// `reason`, or when it is empty the system's reason.
Words loadFailure(const std::filesystem::path& game, const std::string& reason = {}, Wording wording = Wording::Window);

// The loaded bytes do not look like a league block: the file, and each problem.
Words notABlock(const std::filesystem::path& game, const std::vector<std::string>& problems,
                Wording wording = Wording::Window);

// --- the values ---

// 'Club Name, row 1: "32768" (allowed: whole numbers from -32768 to 32767)'.
Words unstorableLine(const Field& field, const std::string& text);

// "Maps Load u_1426.bin ->dt06.img, row 1, Europe: 11 (the game takes 0 to 10)".
Words outsideGameLine(const Field& field, const std::string& value, const NameIndices* names);

// A change a setup makes, "Club Name, row 3: 12 → 300", with the game's range
// when the new value lies outside it.
Words changeOutsideGame(const std::string& change, const Field& field, const NameIndices* names);

// Why nothing was `doing`: nothing loaded from `game`, or boxes that cannot be
// stored (`unstorable`, one line each; empty: none).
Words notLoaded(Doing doing, const std::filesystem::path& game);
Words unstorable(Doing doing, const std::vector<Words>& lines);

// --- saving ---

Words saved();  // "Save Successfully"

// The questions before a save.
Words outsideGameQuestion(const std::vector<Words>& lines);
Words notABlockQuestion(const Words& notABlock);
Words gameRunningQuestion(int pid, Wording wording = Wording::Window);  // the console: the fact alone

// What another program did to the game executable, in one sentence (the
// console program, which loads right before it saves, says since when it
// cannot tell); and the window's question about it (that sentence, then what
// each answer does).
Words outsideChange(OutsideChange change, Wording wording = Wording::Window);
Words outsideChangeQuestion(OutsideChange change);

// Why a save failed, and what it left.
Words saveFailure(const SaveError& error, Wording wording = Wording::Window);
Words saveFailure(const SafeSaveError& error, Wording wording = Wording::Window);
Words saveFailureUnexpected(const std::filesystem::path& game, const std::string& what,
                            Wording wording = Wording::Window);

// --- the record ---

Words recordUnreadable(const std::filesystem::path& recordFile, const std::string& reason,
                       Wording wording = Wording::Window);
Words noRecord(const std::filesystem::path& game, const std::filesystem::path& recordFile,
               Wording wording = Wording::Window);
// The executable now is not the one the record's values were taken of.
Words otherExecutable(const std::string& recordedDate, std::int64_t sizeThen, std::optional<std::int64_t> sizeNow);

}  // namespace messages
