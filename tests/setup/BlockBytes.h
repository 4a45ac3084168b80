#pragma once

// Test helper: the league block's shown values written straight into the
// bytes of a game file, by the file layout alone, so that expected files are
// worked out without Kelvory's own code.

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <filesystem>
#include <fstream>

namespace blockbytes {

constexpr qint64 kLiga = 15612412;  // 13 x 4 bytes
constexpr qint64 kStr = 15612464;   // 13 x 4 bytes, the value in the first 2
constexpr qint64 kCat = 15612516;   // 4 x 11 bytes, one reserved byte between
constexpr qint64 kCatL = 15612712;  // 7 x 4 bytes
constexpr qint64 kMap = 15613072;   // 20 x 1 byte, the window shows the first 13
constexpr qint64 kEnd = 15613092;   // one past the block

// Every value the window shows.
struct ShownValues {
    std::array<qint32, 13> liga{};
    std::array<qint16, 13> str{};
    std::array<QByteArray, 4> cat;  // 11 bytes each
    std::array<quint8, 13> map{};
    std::array<qint32, 7> catL{};
};

// Values as a user might set them, nothing at an edge: slots 100.., name
// indexes -200.., map codes 0..10, 0, 1, logo indexes 0, 3 .. 18, and the
// texts "category_00", "category_05", "Gr\xe9 Club" and an empty one.
inline ShownValues plainValues() {
    ShownValues v;
    for (int i = 0; i < 13; ++i) {
        v.liga[i] = 100 + i;
        v.str[i] = static_cast<qint16>(-200 - i);
        v.map[i] = static_cast<quint8>(i % 11);
    }
    v.cat = {"category_00", "category_05", "Gr\xe9 Club", ""};
    for (int i = 0; i < 7; ++i)
        v.catL[i] = 3 * i;
    return v;
}

inline void putLittleEndian(QByteArray& file, qint64 at, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Writes the shown values into `file` (a whole game file); reserved bytes and
// the hidden map slots keep what they held.
inline void putShown(QByteArray& file, const ShownValues& values) {
    for (int i = 0; i < 13; ++i) {
        putLittleEndian(file, kLiga + 4 * i, static_cast<quint32>(values.liga[i]), 4);
        putLittleEndian(file, kStr + 4 * i, static_cast<quint16>(values.str[i]), 2);
        file[kMap + i] = static_cast<char>(values.map[i]);
    }
    for (int i = 0; i < 4; ++i)
        file.replace(kCat + 12 * i, 11, values.cat[i].leftJustified(11, ' ', true));
    for (int i = 0; i < 7; ++i)
        putLittleEndian(file, kCatL + 4 * i, static_cast<quint32>(values.catL[i]), 4);
}

// Copies the bytes of every shown value from `from` into `into`.
inline void copyShown(const QByteArray& from, QByteArray& into) {
    for (int i = 0; i < 13; ++i) {
        into.replace(kLiga + 4 * i, 4, from.mid(kLiga + 4 * i, 4));
        into.replace(kStr + 4 * i, 2, from.mid(kStr + 4 * i, 2));
        into[kMap + i] = from[kMap + i];
    }
    for (int i = 0; i < 4; ++i)
        into.replace(kCat + 12 * i, 11, from.mid(kCat + 12 * i, 11));
    into.replace(kCatL, 28, from.mid(kCatL, 28));
}

// Writes the block's area of `file` (bytes kLiga to kEnd) into the file at
// `path`, in place: enough to give a sparse stand-in game file these bytes.
inline bool writeBlockArea(const std::filesystem::path& path, const QByteArray& file) {
    std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(kLiga);
    out.write(file.constData() + kLiga, kEnd - kLiga);
    return static_cast<bool>(out.flush());
}

// Writes `bytes` at `offset` of the file at `path`, in place, as another
// program would.
inline bool writeAt(const std::filesystem::path& path, qint64 offset, const QByteArray& bytes) {
    std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(offset);
    out.write(bytes.constData(), bytes.size());
    return static_cast<bool>(out.flush());
}

}  // namespace blockbytes
