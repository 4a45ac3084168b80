#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The league block: the five tables the game keeps inside its executable,
// where they lie in the file, and their values exactly as the tables hold
// them (reserved bytes included). Baza loads and saves them; BazaRegions maps
// their bytes. Standard library only.
struct LeagueTables {
    static constexpr int LigaCount = 13;
    static constexpr int StrCount = 13;
    static constexpr int CatCount = 4;
    static constexpr int CatLength = 11;
    static constexpr int CatLCount = 7;
    static constexpr int MapCount = 20;

    // 0-based file offsets and lengths of the five regions.
    static constexpr std::int64_t LigaOffset = 15612412;
    static constexpr std::int64_t StrOffset = 15612464;
    static constexpr std::int64_t CatOffset = 15612516;
    static constexpr std::int64_t CatLOffset = 15612712;
    static constexpr std::int64_t MapOffset = 15613072;
    static constexpr std::size_t LigaSize = 52;
    static constexpr std::size_t StrSize = 52;
    static constexpr std::size_t CatSize = 47;
    static constexpr std::size_t CatLSize = 28;
    static constexpr std::size_t MapSize = 20;
    // One past the last byte of the block (the end of MapTable).
    static constexpr std::int64_t BlockEnd = MapOffset + MapSize;

    using Liga_Table = std::array<std::int32_t, LigaCount>;
    using Str_Table = std::array<std::int16_t, StrCount>;
    using Cat_Texts = std::array<std::string, CatCount>;
    using CatL_Table = std::array<std::int32_t, CatLCount>;
    using Map_Table = std::array<std::uint8_t, MapCount>;

    // The block exactly as the tables hold it, reserved bytes included.
    struct Block {
        Liga_Table liga{};
        Str_Table str{};
        std::array<std::array<std::uint8_t, 2>, StrCount> strReserved{};
        Cat_Texts cat;
        std::array<std::uint8_t, CatCount - 1> catReserved{};
        Map_Table map{};
        CatL_Table catL{};

        bool operator==(const Block& other) const {
            return liga == other.liga && str == other.str && strReserved == other.strReserved && cat == other.cat &&
                   catReserved == other.catReserved && map == other.map && catL == other.catL;
        }
        bool operator!=(const Block& other) const { return !(*this == other); }
    };
};
