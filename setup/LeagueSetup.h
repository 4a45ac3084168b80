#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Fields.h"

class Baza;

// League setups: the values of the boxes the window edits, kept in a small
// text file that a user can read, edit by hand and pass on. Standard library
// only, so the window, the console program and the fuzz targets share it.
//
// The file (UTF-8, lines ending in LF or CR LF):
//
//     kelvory-league = 1
//     # a comment; ";" starts one too
//     Club Name, row 3 = 17
//     Str7 = 17                       (the same box, by its field name)
//     National Category Logo League u_1426.bin ->dt06.img, row 1 = "category_07"
//
// - The first line gives the format version. Then one line per box, the box
//   named as the window names it ("Club Name, row 3") or by its field name
//   ("Str7"); letter case does not matter. A box left out keeps its value.
// - Numbers are whole decimal numbers, with a minus sign when negative, within
//   the range of the field.
// - Category texts stand in double quotes and hold at most 11 characters of
//   code page 1252; a shorter text is filled up with blanks, as in the window.
//   Inside the quotes \" is a double quote, \\ a backslash and \xHH the
//   character of code-page byte HH (\x00 is a NUL character).
// - The seven map slots the window does not show, and the reserved bytes of
//   the block, cannot be named: a setup never changes them.
//
// Reading is all or nothing: the first thing wrong ends it with a SetupError
// that names the file, the line and what is wrong.

// The suffix setup files are saved with.
inline constexpr const char* SetupSuffix = ".kelvory-league";
// The format this Kelvory writes and reads, given on a file's first line.
inline constexpr int SetupVersion = 1;
// A larger file is refused unread.
inline constexpr std::size_t SetupMaxBytes = 64 * 1024;

// The value of one box.
struct SetupValue {
    const Field* field = nullptr;  // an element of fields()
    long long number = 0;          // for every kind but FieldKind::Cat
    std::string text;              // for FieldKind::Cat: exactly 11 bytes in code page 1252
    int line = 0;                  // the line of the file that set it; 0 when not read from a file

    // Same field, same value (the line does not count).
    bool sameValue(const SetupValue& other) const;
};

// The boxes a setup names, each at most once, in the order of its file.
using Setup = std::vector<SetupValue>;

// One box whose value a setup would change.
struct SetupChange {
    const Field* field = nullptr;
    SetupValue before;  // the block's value now
    SetupValue after;   // the setup's value
};

// Why a setup could not be read or written.
class SetupError : public std::runtime_error {
public:
    // `file` is the file as text to show (UTF-8); `line` is 0 when the
    // problem concerns the file as a whole.
    SetupError(std::string file, int line, std::string what);

    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& problem() const { return what_; }  // what is wrong, without the file and line

private:
    std::string file_;
    int line_;
    std::string what_;
};

// --- the text ---

// Reads the text of a setup file. `file` names it in messages. Throws
// SetupError.
Setup parseSetup(std::string_view content, const std::string& file);

// The text of a setup file holding `setup`, boxes in the window's order
// (frame by frame, top row first). Every value must be one a field can hold.
// Where `note` gives a text for a value, a comment line with it follows the
// value's line.
std::string writeSetup(const Setup& setup, const std::function<std::string(const SetupValue&)>& note = {});

// A value as the file writes it: 17, or "category_07" in its quotes.
std::string setupValueText(const SetupValue& value);

// The window's boxes, frame by frame, top row first: the order of an export.
const std::vector<const Field*>& setupOrder();

// How a setup file names a box: "Club Name, row 3".
std::string setupName(const Field& field);

// --- the block ---

// Every box's value in `baza`: what an export writes.
Setup setupOf(const Baza& baza);

// The boxes whose value `setup` would change, in the window's order.
std::vector<SetupChange> setupChanges(const Baza& baza, const Setup& setup);

// The characters a text for the user may hold: any (UTF-8), or for a console
// whose locale is not UTF-8, ASCII in Kelvory's own words ("->" for "→"); the
// values themselves stay as written.
enum class Charset { Utf8, Ascii };

// "Club Name, row 3: 12 → 17" ("12 -> 17" in ASCII).
std::string describeChange(const SetupChange& change, Charset charset = Charset::Utf8);

// Stores every value of `setup` into `baza` through the field accessors;
// nothing else in the block changes.
void applySetup(Baza& baza, const Setup& setup);

// --- files ---

// Whether a file's first bytes start as a league setup's do: the format line
// first (after a UTF-8 byte-order mark), whatever the version it names.
bool startsLikeSetup(std::string_view head);

// Reads and checks a setup file. Only a regular file is read, and only when
// it is at most SetupMaxBytes long. Throws SetupError.
Setup readSetupFile(const std::filesystem::path& path);

// Writes writeSetup(setup) to `path`, replacing a file there only once the
// whole text has been written beside it, and only a league setup or an empty
// file: anything else at `path` is refused untouched. Throws SetupError.
void writeSetupFile(const std::filesystem::path& path, const Setup& setup);
