#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/BazaRegions.h"

// The record Kelvory keeps of a game executable's league block before it
// writes into it: one small text file per executable path in the per-user
// data folder. For each executable met at that path (recognised by its size
// and the SHA-256 of its first 64 KiB) it holds the 199 bytes as they were
// before Kelvory's first save into it (its original, never replaced) and
// before each later save that wrote (the history, newest 50 in all); then the
// bytes the last save wrote, and the bytes of a save that began and was not
// seen through (their bytes may be on disk, in part).
//
// An executable met with Kelvory's own bytes in its block (a game folder
// moved or copied, a game patched outside the block) carries over the
// original and history of the record that says Kelvory wrote them; its
// "carried-from" line says when Kelvory wrote them, and at which path.
//
// Example (hex cut short here; every block is 398 hex digits):
//
//   kelvory-original-block 3
//   path /home/ann/Game/Game.exe
//   regions 15612412+52 15612464+52 15612516+47 15613072+20 15612712+28
//   executable 15613092 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08
//   original 2026-12-06T23:15:39Z 0100000002000000...
//   before-save 2026-12-07T10:02:11Z 0700000002000000...
//   executable 15613092 2c26b46b68ffc68ff99b453c1d30413413422d706483bfa0f98a5e886266e7ae
//   carried-from 2026-12-07T10:02:11Z /home/ann/Game/Game.exe
//   original 2026-12-06T23:15:39Z 0100000002000000...
//   before-save 2026-12-09T08:00:00Z 0700000002000000...
//   last-written 2026-12-09T08:00:00Z 0700000009000000...
//   writing 2026-12-09T08:10:00Z 0800000009000000...
//   end
//
// The bytes of each block are the five regions one after the other, in the
// order the regions line names them (offset+length). The path is the
// executable's own path (links and ".." resolved); a backslash is written
// "\\" and any byte below 32 or equal to 127 as "\xHH", in the path line and
// the carried-from line alike. Records of the earlier formats (1: one
// executable, named by "size" and "sha256-of-first-65536-bytes" lines, no
// "writing" line; 2: no "carried-from" line) are read too and written in
// this one.

struct BlockSnapshot {
    std::string date;  // UTC, "2026-12-06T23:15:39Z"
    baza_regions::BlockBytes bytes{};

    bool operator==(const BlockSnapshot& other) const { return date == other.date && bytes == other.bytes; }
};

// How an executable is told apart from another at the same path.
struct ExecutableIdentity {
    std::int64_t size = 0;   // its length
    std::string headSha256;  // SHA-256 of its first 65536 bytes (fewer for a shorter file), 64 hex digits

    bool operator==(const ExecutableIdentity& other) const {
        return size == other.size && headSha256 == other.headSha256;
    }
};

// Where an executable's original and history were carried over from: the
// record (at `path`, the executable's path there) whose last-written or
// writing block, of `date`, was what this executable held when Kelvory met it.
struct CarriedFrom {
    std::string date;  // UTC, as the record writes it
    std::string path;  // as its bytes; the record's own path for a game patched in place

    bool operator==(const CarriedFrom& other) const { return date == other.date && path == other.path; }
};

// One executable met at the record's path.
struct RecordedExecutable {
    ExecutableIdentity identity;
    BlockSnapshot original;                                 // before Kelvory's first save into it: never replaced
    std::vector<BlockSnapshot> history;                     // before each later save that wrote, oldest first
    std::optional<CarriedFrom> carriedFrom = std::nullopt;  // none: recorded here

    bool operator==(const RecordedExecutable& other) const {
        return identity == other.identity && original == other.original && history == other.history &&
               carriedFrom == other.carriedFrom;
    }
};

struct OriginalRecord {
    std::string path;                             // the executable's own path, as its bytes
    std::vector<RecordedExecutable> executables;  // in the order Kelvory met them; never empty
    std::optional<BlockSnapshot> lastWritten;     // what the newest save wrote and read back
    std::optional<BlockSnapshot> writing;         // what a save began to write and did not see through

    // The executable with this identity, or nullptr.
    const RecordedExecutable* find(const ExecutableIdentity& identity) const;
    // The executable Kelvory saved into last: the one whose newest entry
    // (original or history) is newest, the later met on a tie.
    const RecordedExecutable& lastSavedInto() const;
    // The date of the last-written or writing line that holds `block` (the
    // newer when both do); none when neither does.
    std::optional<std::string> wroteDate(const baza_regions::BlockBytes& block) const;

    bool operator==(const OriginalRecord& other) const {
        return path == other.path && executables == other.executables && lastWritten == other.lastWritten &&
               writing == other.writing;
    }
};

// Limits of a record: history entries in all, executables, how many bytes of
// an executable identify it, how long a record file may be.
constexpr std::size_t kHistoryLimit = 50;
constexpr std::size_t kExecutableLimit = 16;
constexpr std::size_t kIdentityBytes = 65536;
constexpr std::size_t kRecordFileLimit = 128 * 1024;
constexpr int kRecordFormat = 3;

// A record that cannot be found, read, written or locked.
class RecordError : public std::runtime_error {
public:
    enum class Kind {
        Unreadable,  // it exists but cannot be read, is not a record, or whether it exists cannot be told
        Unwritable,  // it cannot be written
        Busy,        // another program is updating it
        Appeared,    // a first record was to be created, and one is there now
    };
    explicit RecordError(const std::string& what, Kind kind = Kind::Unreadable)
        : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// The record as the text of its file.
std::string recordText(const OriginalRecord& record);
// Reads a record's text. Strict: every line in its place, every value within
// its limits; anything else throws RecordError saying which line is wrong.
OriginalRecord parseRecord(const std::string& text);

// Notes the block as it was before a save that writes into the executable
// with `identity`: a new executable gets it as its original (the oldest but
// the first go once there are more than kExecutableLimit); a known one gets it
// as a history entry, unless its newest entry holds the same bytes. The oldest
// history entries go once there are more than kHistoryLimit in all.
void noteBeforeSave(OriginalRecord& record, const ExecutableIdentity& identity, const BlockSnapshot& before);

// The record a save starts from when it meets the executable `identity`
// whose block holds `block`, so that Kelvory never takes a block it wrote
// itself for an original:
// - a record at its path that knows the executable: that record;
// - a record at its path that does not, whose last-written or writing block
//   is `block` (the game patched outside the block): a new entry for it,
//   carrying the original and history of the executable saved into last;
// - no record at its path: among the records `elsewhere` whose last-written
//   or writing block is `block` (the game folder moved or copied), the one
//   that knows this executable, else the newest by that line's date; a new
//   record of one entry carrying that executable's original and history
//   (the one with this identity, else the one saved into last);
// - otherwise the record at its path as it is (none, or one that will take
//   `block` as this executable's original).
// A carried entry gets this identity and says where it came from.
struct MetExecutable {
    std::optional<OriginalRecord> record;  // none: no record, the block becomes the first original
    std::size_t candidates = 0;            // records that could have been carried from; 0: nothing carried
};
MetExecutable meetExecutable(const std::optional<OriginalRecord>& atPath, const ExecutableIdentity& identity,
                             const baza_regions::BlockBytes& block, const std::vector<OriginalRecord>& elsewhere);

// The current time as a record writes it.
std::string recordDateNow();

// A record's UTC date ("2026-12-06T23:15:39Z") in the user's local time, as
// the window shows it: "2026-12-07 00:15:39"; and as the console program
// gives it, ISO 8601 with the local offset: "2026-12-07T00:15:39+01:00".
// Either gives the date as it stands when it is not one.
std::string localDate(const std::string& utc);
std::string localIsoDate(const std::string& utc);
