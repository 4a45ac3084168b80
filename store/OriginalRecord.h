#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/BazaRegions.h"

// The record Kelvory keeps of a game executable's league block before it
// first writes into it: one small text file per executable in the per-user
// data folder, holding the executable's identity, the 199 bytes as they were
// before the first save (the original, never replaced) and before each later
// save (the history, newest 50), and the bytes the last save wrote.
//
// Example (hex cut short here; every block is 398 hex digits):
//
//   kelvory-original-block 1
//   path /home/ann/Game/Game.exe
//   size 15613092
//   sha256-of-first-65536-bytes 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08
//   regions 15612412+52 15612464+52 15612516+47 15613072+20 15612712+28
//   original 2026-12-06T23:15:39Z 0100000002000000...
//   before-save 2026-12-07T10:02:11Z 0700000002000000...
//   last-written 2026-12-07T10:02:11Z 0700000009000000...
//   end
//
// The bytes of each block are the five regions one after the other, in the
// order the regions line names them (offset+length). The path is the
// executable's absolute path; a backslash is written "\\" and any byte below
// 32 or equal to 127 as "\xHH".

struct BlockSnapshot {
    std::string date;  // UTC, "2026-12-06T23:15:39Z"
    baza_regions::BlockBytes bytes{};

    bool operator==(const BlockSnapshot& other) const { return date == other.date && bytes == other.bytes; }
};

struct OriginalRecord {
    std::string path;                          // the executable's absolute path, as its bytes
    std::int64_t size = 0;                     // its length when the record was taken
    std::string headSha256;                    // SHA-256 of its first 65536 bytes (fewer for a shorter file)
    BlockSnapshot original;                    // before the first save: never replaced
    std::vector<BlockSnapshot> history;        // before each later save, oldest first
    std::optional<BlockSnapshot> lastWritten;  // what the newest save wrote

    bool operator==(const OriginalRecord& other) const {
        return path == other.path && size == other.size && headSha256 == other.headSha256 &&
               original == other.original && history == other.history && lastWritten == other.lastWritten;
    }
};

// Limits of a record: how many history entries it keeps, how many bytes of
// the executable identify it, how long a record file may be.
constexpr std::size_t kHistoryLimit = 50;
constexpr std::size_t kIdentityBytes = 65536;
constexpr std::size_t kRecordFileLimit = 128 * 1024;
constexpr int kRecordFormat = 1;

// A record file that cannot be read or is not a record.
class RecordError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The record as the text of its file.
std::string recordText(const OriginalRecord& record);
// Reads a record's text. Strict: every line in its place, every value within
// its limits; anything else throws RecordError saying which line is wrong.
OriginalRecord parseRecord(const std::string& text);

// Adds the block as it was before a save; the oldest entries go once there
// are more than kHistoryLimit.
void addToHistory(OriginalRecord& record, const BlockSnapshot& before);

// The executable's path as a record names it: absolute, without "." and "..",
// as its bytes (UTF-8 on Windows).
std::string recordPathText(const std::filesystem::path& game);
// Where the record of `game` lies in `folder`: a name made from the path.
std::filesystem::path recordFileFor(const std::filesystem::path& folder, const std::filesystem::path& game);

// The record file at `file`: none when there is no such file; throws
// RecordError when it cannot be read or is not a valid record.
std::optional<OriginalRecord> readRecordFile(const std::filesystem::path& file);
// Writes the record completely (temporary name, flush, rename). Throws
// RecordError saying why and where.
void writeRecordFile(const std::filesystem::path& file, const OriginalRecord& record);

// The current time as a record writes it.
std::string recordDateNow();
