#include "core/BazaRegions.h"

#include <algorithm>
#include <string>

namespace baza_regions {

std::int32_t readInt32(const Bytes& b, std::size_t at) {
    const std::uint32_t v = static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
                            (static_cast<std::uint32_t>(b[at + 2]) << 16) |
                            (static_cast<std::uint32_t>(b[at + 3]) << 24);
    return static_cast<std::int32_t>(v);
}

std::int16_t readInt16(const Bytes& b, std::size_t at) {
    const auto v = static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
    return static_cast<std::int16_t>(v);
}

void writeInt32(Bytes& b, std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

void writeInt16(Bytes& b, std::size_t at, std::int16_t value) {
    const auto v = static_cast<std::uint16_t>(value);
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

namespace {

constexpr std::size_t kCatStride = LeagueTables::CatLength + 1;  // text plus its reserved byte

// LigaTable and CatLTable: 32-bit values one after the other.
template <std::size_t N, std::array<std::int32_t, N> LeagueTables::Block::*Table>
void decodeInt32s(const Bytes& b, LeagueTables::Block& k) {
    for (std::size_t i = 0; i < N; ++i)
        (k.*Table)[i] = readInt32(b, 4 * i);
}

template <std::size_t N, std::array<std::int32_t, N> LeagueTables::Block::*Table>
void encodeInt32s(const LeagueTables::Block& k, Bytes& b) {
    for (std::size_t i = 0; i < N; ++i)
        writeInt32(b, 4 * i, (k.*Table)[i]);
}

}  // namespace

const std::array<Region, 5> kRegions = {{
    {LeagueTables::LigaOffset, LeagueTables::LigaSize,
     decodeInt32s<LeagueTables::LigaCount, &LeagueTables::Block::liga>,
     encodeInt32s<LeagueTables::LigaCount, &LeagueTables::Block::liga>},
    {LeagueTables::StrOffset, LeagueTables::StrSize,
     [](const Bytes& b, LeagueTables::Block& k) {
         for (int i = 0; i < LeagueTables::StrCount; ++i) {
             k.str[i] = readInt16(b, 4 * i);
             k.strReserved[i] = {b[4 * i + 2], b[4 * i + 3]};
         }
     },
     [](const LeagueTables::Block& k, Bytes& b) {
         for (int i = 0; i < LeagueTables::StrCount; ++i) {
             writeInt16(b, 4 * i, k.str[i]);
             b[4 * i + 2] = k.strReserved[i][0];
             b[4 * i + 3] = k.strReserved[i][1];
         }
     }},
    {LeagueTables::CatOffset, LeagueTables::CatSize,
     [](const Bytes& b, LeagueTables::Block& k) {
         for (int i = 0; i < LeagueTables::CatCount; ++i) {
             const auto* first = reinterpret_cast<const char*>(b.data() + kCatStride * i);
             k.cat[i].assign(first, LeagueTables::CatLength);
             if (i < LeagueTables::CatCount - 1)
                 k.catReserved[i] = b[kCatStride * i + LeagueTables::CatLength];
         }
     },
     [](const LeagueTables::Block& k, Bytes& b) {
         for (int i = 0; i < LeagueTables::CatCount; ++i) {
             for (int c = 0; c < LeagueTables::CatLength; ++c) {
                 b[kCatStride * i + c] = static_cast<std::uint8_t>(k.cat[i][c]);
             }
             if (i < LeagueTables::CatCount - 1)
                 b[kCatStride * i + LeagueTables::CatLength] = k.catReserved[i];
         }
     }},
    {LeagueTables::MapOffset, LeagueTables::MapSize,
     [](const Bytes& b, LeagueTables::Block& k) {
         for (int i = 0; i < LeagueTables::MapCount; ++i)
             k.map[i] = b[i];
     },
     [](const LeagueTables::Block& k, Bytes& b) {
         for (int i = 0; i < LeagueTables::MapCount; ++i)
             b[i] = k.map[i];
     }},
    {LeagueTables::CatLOffset, LeagueTables::CatLSize,
     decodeInt32s<LeagueTables::CatLCount, &LeagueTables::Block::catL>,
     encodeInt32s<LeagueTables::CatLCount, &LeagueTables::Block::catL>},
}};

BlockBytes bytesOf(const LeagueTables::Block& block) {
    BlockBytes all{};
    std::size_t at = 0;
    for (const Region& region : kRegions) {
        Bytes bytes(region.size, 0);
        region.encode(block, bytes);
        std::copy(bytes.begin(), bytes.end(), all.begin() + static_cast<std::ptrdiff_t>(at));
        at += region.size;
    }
    return all;
}

LeagueTables::Block blockOf(const BlockBytes& all) {
    LeagueTables::Block block;
    block.cat.fill(std::string(LeagueTables::CatLength, '\0'));
    std::size_t at = 0;
    for (const Region& region : kRegions) {
        const Bytes bytes(all.begin() + static_cast<std::ptrdiff_t>(at),
                          all.begin() + static_cast<std::ptrdiff_t>(at + region.size));
        region.decode(bytes, block);
        at += region.size;
    }
    return block;
}

}  // namespace baza_regions
