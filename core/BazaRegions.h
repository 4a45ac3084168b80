#pragma once

// Where the five tables of the league block lie in the game executable, and
// how their bytes map onto LeagueTables::Block. Loading and saving both walk this one
// table, so a region's place and its byte layout are written down once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Block.h"

namespace baza_regions {

using Bytes = std::vector<std::uint8_t>;

// Little-endian integers at byte `at` of `b`, as the game stores them.
std::int32_t readInt32(const Bytes& b, std::size_t at);
std::int16_t readInt16(const Bytes& b, std::size_t at);
void writeInt32(Bytes& b, std::size_t at, std::int32_t value);
void writeInt16(Bytes& b, std::size_t at, std::int16_t value);

// One region: its place in the file, and its bytes (exactly `size` of them)
// to and from the block.
struct Region {
    std::int64_t offset;
    std::size_t size;
    void (*decode)(const Bytes& bytes, LeagueTables::Block& block);
    void (*encode)(const LeagueTables::Block& block, Bytes& bytes);
};

// The five regions in the order they are read and written: LigaTable,
// StrTable, CatRecord, MapTable, CatLTable.
extern const std::array<Region, 5> kRegions;

// The 199 bytes of the five regions one after the other, in the order of
// kRegions: what the file holds at those offsets.
constexpr std::size_t kBlockBytes = LeagueTables::LigaSize + LeagueTables::StrSize + LeagueTables::CatSize +
                                    LeagueTables::MapSize + LeagueTables::CatLSize;
using BlockBytes = std::array<std::uint8_t, kBlockBytes>;

BlockBytes bytesOf(const LeagueTables::Block& block);
LeagueTables::Block blockOf(const BlockBytes& bytes);

}  // namespace baza_regions
