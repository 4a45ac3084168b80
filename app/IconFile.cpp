#include "app/IconFile.h"

#include <QBuffer>
#include <QtEndian>
#include <limits>

namespace {

constexpr int kLargestSide = 256;
constexpr int kHeaderSize = 6;  // reserved, type, count: three 16-bit words
constexpr int kEntrySize = 16;  // one directory entry per image

void appendWord(QByteArray& bytes, quint16 value) {
    const quint16 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void appendDoubleWord(QByteArray& bytes, quint32 value) {
    const quint32 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// A side as a directory entry gives it: one byte, 0 for 256.
char sideByte(int side) {
    return static_cast<char>(side == kLargestSide ? 0 : side);
}

}  // namespace

QByteArray iconFileBytes(const QList<QImage>& images) {
    if (images.isEmpty() || images.size() > std::numeric_limits<quint16>::max()) {
        return {};
    }
    QList<QByteArray> encoded;
    for (const QImage& image : images) {
        if (image.isNull() || image.width() > kLargestSide || image.height() > kLargestSide) {
            return {};
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            return {};
        }
        encoded << png;
    }

    QByteArray bytes;
    appendWord(bytes, 0);  // reserved
    appendWord(bytes, 1);  // an icon (2 would be a cursor)
    appendWord(bytes, static_cast<quint16>(images.size()));
    // The images follow the directory, one after the other.
    qint64 offset = kHeaderSize + qint64(kEntrySize) * images.size();
    for (int i = 0; i < images.size(); ++i) {
        bytes.append(sideByte(images[i].width()));
        bytes.append(sideByte(images[i].height()));
        bytes.append('\0');     // no palette
        bytes.append('\0');     // reserved
        appendWord(bytes, 1);   // colour planes
        appendWord(bytes, 32);  // bits per pixel: PNG images keep their alpha
        appendDoubleWord(bytes, static_cast<quint32>(encoded[i].size()));
        appendDoubleWord(bytes, static_cast<quint32>(offset));
        offset += encoded[i].size();
    }
    for (const QByteArray& png : encoded) {
        bytes += png;
    }
    return bytes;
}
