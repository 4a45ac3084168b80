// The Windows icon file: what iconFileBytes writes, read back field by field
// and by Qt's own icon reader, and the file the build drew for the programs.

#include <QBuffer>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QTest>

#include "app/IconFile.h"
#include "ui/main_window/Artwork.h"

namespace {

// An image whose every pixel differs from its neighbours, half of them
// partly transparent, so a lost row, column or alpha shows.
QImage patterned(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgba((x * 7) & 0xFF, (y * 13) & 0xFF, (x + y) & 0xFF, (x + y) % 2 ? 0x80 : 0xFF));
        }
    }
    return image;
}

// A little-endian number of `size` bytes at `at`; bytes past the end of a
// short file read as zero, so its checks fail instead of reading beyond it.
quint32 littleEndian(const QByteArray& bytes, int at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) {
        const int index = at + i;
        value = (value << 8) | (index >= 0 && index < bytes.size() ? quint8(bytes[index]) : 0U);
    }
    return value;
}

quint16 word(const QByteArray& bytes, int at) {
    return quint16(littleEndian(bytes, at, 2));
}

quint32 doubleWord(const QByteArray& bytes, int at) {
    return littleEndian(bytes, at, 4);
}

// The images of an icon file as Qt's icon reader gives them.
QList<QImage> readIcons(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QList<QImage> images;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        images << reader.read().convertToFormat(QImage::Format_ARGB32);
    }
    return images;
}

using Sizes = QList<QSize>;

}  // namespace

class IconFileTest : public QObject {
    Q_OBJECT

private slots:
    // The directory, worked out by hand: six bytes of header (0, 1, count),
    // then sixteen per image (width and height with 256 as 0, no palette,
    // reserved 0, one plane, 32 bits, the PNG's length, where it starts),
    // then the PNG images one after the other.
    void writesTheDirectory_data() {
        QTest::addColumn<Sizes>("sizes");
        QTest::addColumn<QByteArray>("sideBytes");  // width, height per entry
        QTest::addColumn<quint32>("firstOffset");
        QTest::newRow("the programs' sizes") << Sizes{{16, 16}, {32, 32}, {48, 48}, {256, 256}}
                                             << QByteArray("\x10\x10\x20\x20\x30\x30\x00\x00", 8) << 70u;
        QTest::newRow("one pixel") << Sizes{{1, 1}} << QByteArray("\x01\x01", 2) << 22u;
        QTest::newRow("not square") << Sizes{{255, 3}, {7, 256}} << QByteArray("\xFF\x03\x07\x00", 4) << 38u;
    }

    void writesTheDirectory() {
        QFETCH(Sizes, sizes);
        QFETCH(QByteArray, sideBytes);
        QFETCH(quint32, firstOffset);
        QList<QImage> images;
        for (const QSize& size : sizes) {
            images << patterned(size.width(), size.height());
        }
        const QByteArray bytes = iconFileBytes(images);
        QVERIFY(bytes.size() > int(firstOffset));
        QCOMPARE(word(bytes, 0), quint16(0));
        QCOMPARE(word(bytes, 2), quint16(1));
        QCOMPARE(word(bytes, 4), quint16(sizes.size()));
        quint32 expectedOffset = firstOffset;
        for (int i = 0; i < sizes.size(); ++i) {
            const int entry = 6 + 16 * i;
            QCOMPARE(bytes.mid(entry, 2), sideBytes.mid(2 * i, 2));
            QCOMPARE(bytes.mid(entry + 2, 2), QByteArray(2, '\0'));
            QCOMPARE(word(bytes, entry + 4), quint16(1));
            QCOMPARE(word(bytes, entry + 6), quint16(32));
            const quint32 length = doubleWord(bytes, entry + 8);
            QCOMPARE(doubleWord(bytes, entry + 12), expectedOffset);
            QCOMPARE(bytes.mid(expectedOffset, 8), QByteArray("\x89PNG\r\n\x1A\n"));
            expectedOffset += length;
        }
        QCOMPARE(quint32(bytes.size()), expectedOffset);  // nothing after the last image

        const QList<QImage> read = readIcons(bytes);
        QCOMPARE(read.size(), images.size());
        for (int i = 0; i < images.size(); ++i) {
            QCOMPARE(read[i], images[i]);
        }
    }

    void refusesWhatTheFormatCannotHold_data() {
        QTest::addColumn<QList<QImage>>("images");
        QTest::newRow("no image") << QList<QImage>{};
        QTest::newRow("a null image") << QList<QImage>{patterned(16, 16), QImage()};
        QTest::newRow("257 wide") << QList<QImage>{patterned(257, 16)};
        QTest::newRow("257 high") << QList<QImage>{patterned(16, 257)};
    }

    void refusesWhatTheFormatCannotHold() {
        QFETCH(QList<QImage>, images);
        QVERIFY(iconFileBytes(images).isEmpty());
    }

    // The icon file the build made for the Windows programs holds the
    // window's own icon: at 16, 32 and 48 pixels the very pixmaps the window
    // shows in its title bar, and the same picture at 256.
    void programsCarryTheWindowsIcon() {
        QFile file(QStringLiteral(KELVORY_ICON_FILE));
        QVERIFY2(file.open(QIODevice::ReadOnly), KELVORY_ICON_FILE);
        const QList<QImage> read = readIcons(file.readAll());
        QCOMPARE(read.size(), 4);
        const QIcon windowIcon = drawAppIcon();
        for (int i = 0; i < 3; ++i) {
            const int side = QList<int>{16, 32, 48}[i];
            QCOMPARE(read[i], windowIcon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32));
        }
        const QImage large = read[3];
        QCOMPARE(large.size(), QSize(256, 256));
        QCOMPARE(large, drawAppIconImage(256).convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(qAlpha(large.pixel(0, 0)), 0);       // a disc: the corners are clear
        QCOMPARE(qAlpha(large.pixel(128, 10)), 255);  // the green rim
        QCOMPARE(large.pixelColor(128, 10), QColor(46, 139, 58));
    }
};

QTEST_MAIN(IconFileTest)
#include "IconFileTest.moc"
