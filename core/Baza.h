#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/Block.h"
#include "platform/BinaryFile.h"

// The twenty one-byte map slots of the league block, in file order.
#define KELVORY_MAP_SLOTS(X)  \
    X(Europe, 0)              \
    X(Africa, 1)              \
    X(America, 2)             \
    X(Asia, 3)                \
    X(PrimerLeague, 4)        \
    X(Ligue1, 5)              \
    X(SerieA, 6)              \
    X(Eredvisie, 7)           \
    X(LigaBBVA, 8)            \
    X(GameLeague, 9)          \
    X(D2, 10)                 \
    X(OtherEuropean, 11)      \
    X(OtherLatinAmerican, 12) \
    X(Libertadores, 13)       \
    X(UserData, 14)           \
    X(unnamed, 15)            \
    X(unnamed1, 16)           \
    X(CL, 17)                 \
    X(Libertadores2, 18)      \
    X(unnamed3, 19)

#define KELVORY_NUMBERS_1_TO_4(X) X(1) X(2) X(3) X(4)
#define KELVORY_NUMBERS_1_TO_7(X) KELVORY_NUMBERS_1_TO_4(X) X(5) X(6) X(7)
#define KELVORY_NUMBERS_1_TO_13(X) KELVORY_NUMBERS_1_TO_7(X) X(8) X(9) X(10) X(11) X(12) X(13)

// Zapisz could not open or write the game executable, or refused to (see
// FileError::Kind). Distinct from the false result, which means that no block
// has been loaded.
using SaveError = FileError;

// Why Wczytaj did not load a block: no file name (FileError::Kind::NoName),
// nothing at the path (Missing), a folder, pipe or device there (NotAFile), or
// a file that could not be opened or read (Failed, with the system's reason).
using LoadError = FileError;

// The league block store: the in-memory copy of the five tables that the game
// keeps inside its executable, and their loading and saving in place.
//
// Texts (Cat1..Cat4) are held as the file's bytes, one byte per character in
// the game's single-byte code page; converting them for display is the
// caller's business.
class Baza : public LeagueTables {
public:
    Baza();

    // Loads the five tables from the file at `path`. All or nothing: on any
    // failure the block and the loaded flag stay as they were and the result
    // is false. Reads exactly the five regions; bytes beyond the end of a
    // short file read as zero.
    bool Wczytaj(const std::filesystem::path& path);
    // The same, and on failure `why` says what went wrong (emptied on success).
    bool Wczytaj(const std::filesystem::path& path, std::optional<LoadError>& why);

    // Writes the five tables into the file at `path` (or at Path() when `path`
    // is empty), in place, without the safe save: no record, no lock, no
    // read-back. The program saves only through store/SafeSave (the session
    // hands out a const Baza, so nothing in it can reach this); this is kept
    // for the block store's own tests and the tools that write demo files. Writes only bytes that already exist: the
    // file is never created, truncated or grown. Returns false, touching nothing, while no block is loaded. Returns
    // true only once the bytes have reached the disk. Throws SaveError when the file cannot be opened or written, and
    // refuses with SaveError, writing nothing, when the file is gone (Kind::Missing), is not a regular file
    // (Kind::NotAFile) or ends before BlockEnd (Kind::TooShort).
    bool Zapisz(const std::filesystem::path& path);

    // The refusal for a file of `size` bytes that ends before BlockEnd.
    static SaveError tooShortError(const std::filesystem::path& path, std::int64_t size);

    // True when `Str_Path` names an existing file or folder.
    static bool File_Exists(const std::filesystem::path& Str_Path);

    // Fallback target of Zapisz.
    std::filesystem::path Path() const { return path_; }
    void setPath(const std::filesystem::path& Str_Path) { path_ = Str_Path; }

    bool loaded() const { return loaded_; }

    // The whole block as it stands in memory, reserved bytes included.
    const Block& block() const { return block_; }
    // Replaces the whole block, hidden map slots and reserved bytes included,
    // with one that the file holds (a reload or a restore). Only while a
    // block is loaded; returns false, changing nothing, otherwise.
    bool replaceBlock(const Block& block);

    // Indexed accessors, 0-based within each table. An index out of range
    // throws std::out_of_range.
    std::int32_t liga(int index) const;
    void setLiga(int index, std::int32_t value);
    std::int16_t str(int index) const;
    void setStr(int index, std::int16_t value);
    std::string cat(int index) const;                 // all 11 bytes, untrimmed
    void setCat(int index, const std::string& text);  // fitted to 11 bytes
    std::int32_t catL(int index) const;
    void setCatL(int index, std::int32_t value);
    std::uint8_t map(int index) const;
    void setMap(int index, std::uint8_t value);

    // Named accessor pairs: Liga1() / setLiga1(v), and so on.
#define KELVORY_LIGA_ACCESSORS(n)         \
    std::int32_t Liga##n() const {        \
        return liga(n - 1);               \
    }                                     \
    void setLiga##n(std::int32_t value) { \
        setLiga(n - 1, value);            \
    }
    KELVORY_NUMBERS_1_TO_13(KELVORY_LIGA_ACCESSORS)
#undef KELVORY_LIGA_ACCESSORS

#define KELVORY_STR_ACCESSORS(n)         \
    std::int16_t Str##n() const {        \
        return str(n - 1);               \
    }                                    \
    void setStr##n(std::int16_t value) { \
        setStr(n - 1, value);            \
    }
    KELVORY_NUMBERS_1_TO_13(KELVORY_STR_ACCESSORS)
#undef KELVORY_STR_ACCESSORS

#define KELVORY_CAT_ACCESSORS(n)              \
    std::string Cat##n() const {              \
        return cat(n - 1);                    \
    }                                         \
    void setCat##n(const std::string& text) { \
        setCat(n - 1, text);                  \
    }
    KELVORY_NUMBERS_1_TO_4(KELVORY_CAT_ACCESSORS)
#undef KELVORY_CAT_ACCESSORS

#define KELVORY_CATL_ACCESSORS(n)         \
    std::int32_t CatL##n() const {        \
        return catL(n - 1);               \
    }                                     \
    void setCatL##n(std::int32_t value) { \
        setCatL(n - 1, value);            \
    }
    KELVORY_NUMBERS_1_TO_7(KELVORY_CATL_ACCESSORS)
#undef KELVORY_CATL_ACCESSORS

#define KELVORY_MAP_ACCESSORS(name, index) \
    std::uint8_t name() const {            \
        return map(index);                 \
    }                                      \
    void set##name(std::uint8_t value) {   \
        setMap(index, value);              \
    }
    KELVORY_MAP_SLOTS(KELVORY_MAP_ACCESSORS)
#undef KELVORY_MAP_ACCESSORS

    // Grouped setters: replace a whole table, but only once a block has been
    // loaded; otherwise they change nothing and return false. Part of the
    // block store's described interface, as the per-value accessors above
    // are: the window and the console program change values only through
    // the session (session/LeagueSession.h), which uses the field table.
    bool Zmien_Dane(const Liga_Table& values);
    bool Zmien_DaneStr(const Str_Table& values);
    bool Zmien_DaneStruct_Category(const Cat_Texts& texts);
    bool Zmien_DaneMap(const Map_Table& codes);  // each code passes through Get_Stat
    bool Zmien_DaneStruct_CategoryL(const CatL_Table& values);

    // Clamps a map code to the highest defined code, 10.
    static std::uint8_t Get_Stat(std::uint8_t Wartosc);

    // Fits a text to exactly 11 bytes: cut, or padded with spaces.
    static std::string fitCategory(const std::string& text);

private:
    std::filesystem::path path_;
    bool loaded_ = false;
    Block block_;
};
