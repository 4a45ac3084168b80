#pragma once

// Test helpers shared by every suite: writing and reading whole files, the
// stand-in game executable, and which libraries this process has loaded.

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace testfiles {

namespace fs = std::filesystem;

inline fs::path fsPath(const QString& path) {
    return fs::u8path(path.toStdString());
}

// Replaces the file's content; false when it could not be written whole.
inline bool writeFile(const fs::path& path, const QByteArray& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.constData(), bytes.size());
    return static_cast<bool>(out.flush());
}
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    return writeFile(fsPath(path), bytes);
}

// The whole file; empty when it cannot be read.
inline QByteArray readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff length = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    QByteArray bytes(static_cast<qsizetype>(length), Qt::Uninitialized);
    in.seekg(0);
    return in.read(bytes.data(), bytes.size()) ? bytes : QByteArray();
}
inline QByteArray readFile(const QString& path) {
    return readFile(fsPath(path));
}

// `length` pseudo-random bytes, the same for the same seed.
inline QByteArray patternBytes(qsizetype length, quint32 seed = 20261206) {
    QByteArray bytes((length + 3) / 4 * 4, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes.left(length);
}

// Where the stand-in game executable has content of its own. The league block
// lies at bytes 15,612,412 to 15,613,091; the first 64 KiB are the header a
// game build is told apart by. Everything else is a hole that reads as zeros,
// so writing a full-length file costs a few kilobytes, not 15.6 MB.
constexpr qint64 kGameLength = 15613092;              // ends with the league block
constexpr qint64 kHeaderLength = 64 * 1024;           // pseudo-random from byte 0
constexpr qint64 kAroundBlockStart = 15612412 - 512;  // pseudo-random from here to the block's end

// The stand-in game executable's bytes, `length` long (at most kGameLength).
// Its league block holds values the game takes, as the game's own would
// (slots 10.., name indices 20.., "category_00".., logo indices 0..6, map
// codes 0..10); the reserved bytes, the hidden map slots and every byte
// around the block are pseudo-random.
inline QByteArray gameBytes(qint64 length = kGameLength, quint32 seed = 20261206) {
    QByteArray bytes(length, '\0');
    const QByteArray header = patternBytes(std::min(length, kHeaderLength), seed);
    bytes.replace(0, header.size(), header);
    if (length > kAroundBlockStart) {
        const QByteArray around = patternBytes(std::min(length, kGameLength) - kAroundBlockStart, seed + 1);
        bytes.replace(kAroundBlockStart, around.size(), around);
    }
    const auto put = [&bytes](qint64 at, quint32 value, int size) {
        for (int i = 0; i < size && at + i < bytes.size(); ++i)
            bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    for (int i = 0; i < 13; ++i) {
        put(15612412 + 4 * i, quint32(10 + i), 4);  // LigaTable
        put(15612464 + 4 * i, quint32(20 + i), 2);  // StrTable, the value's two bytes
        put(15613072 + i, quint32(i % 11), 1);      // the shown map codes
    }
    for (int i = 0; i < 4; ++i) {
        const QByteArray text = "category_0" + QByteArray::number(i);
        for (int c = 0; c < 11 && 15612516 + 12 * i + c < bytes.size(); ++c)
            bytes[15612516 + 12 * i + c] = text[c];
    }
    for (int i = 0; i < 7; ++i)
        put(15612712 + 4 * i, quint32(i), 4);  // CatLTable
    return bytes;
}

// Writes gameBytes(length, seed) as a sparse file: only the parts with
// content are written, the rest is left to the file system as a hole.
inline bool writeGameFile(const fs::path& path, qint64 length = kGameLength, quint32 seed = 20261206) {
    const QByteArray bytes = gameBytes(length, seed);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.constData(), std::min<qint64>(length, kHeaderLength));
        if (length > kAroundBlockStart) {
            out.seekp(kAroundBlockStart);
            out.write(bytes.constData() + kAroundBlockStart, length - kAroundBlockStart);
        }
        if (!out.flush()) {
            return false;
        }
    }
    std::error_code error;
    fs::resize_file(path, static_cast<std::uintmax_t>(length), error);
    return !error;
}

// Whether a library whose file name starts with `name` (or, with `anywhere`,
// whose path contains `name`) is mapped into this process, read from the
// kernel's list. Empty where the system does not list a process's libraries.
inline std::optional<bool> libraryLoaded(const QString& name, bool anywhere = false) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const qsizetype slash = line.indexOf('/');
        if (slash < 0) {
            continue;
        }
        const QString path = QString::fromLocal8Bit(line.mid(slash));
        if (anywhere ? path.contains(name) : QFileInfo(path).fileName().startsWith(name)) {
            return true;
        }
    }
    return false;
}

}  // namespace testfiles
