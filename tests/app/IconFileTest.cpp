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

}  // namespace

class IconFileTest : public QObject {
    Q_OBJECT

private slots:
    // Six bytes of header (0, 1, count), then sixteen per image (width and
    // height with 256 as 0, no palette, reserved 0, one plane, 32 bits, the
    // PNG's length, where it starts), then the PNG images one after another,
    // which the toolkit's own icon reader gives back whole.
    void writesTheDirectory() {
        QList<QImage> images;
        for (const QSize size : {QSize(255, 3), QSize(7, 256)}) {
            QImage image(size, QImage::Format_ARGB32);  // every pixel differs from its neighbours
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    image.setPixel(x, y, qRgba(x * 7 & 0xFF, y * 13 & 0xFF, (x + y) & 0xFF, (x + y) % 2 ? 0x80 : 0xFF));
            images << image;
        }
        const QByteArray bytes = iconFileBytes(images);
        QCOMPARE(bytes.left(6), QByteArray("\0\0\1\0\2\0", 6));
        QCOMPARE(bytes.mid(6, 12), QByteArray("\xFF\x03\0\0\1\0\x20\0", 8) + bytes.mid(14, 4));
        QCOMPARE(bytes.mid(22, 12), QByteArray("\x07\0\0\0\1\0\x20\0", 8) + bytes.mid(30, 4));
        // Read byte by byte: the compiler cannot see the buffer's length.
        const auto at = [&bytes](int offset) {
            quint32 value = 0;
            for (int i = 3; i >= 0; --i)
                value = value << 8 | static_cast<unsigned char>(bytes.at(offset + i));
            return value;
        };
        const quint32 first = at(18), length = at(14);
        QCOMPARE(first, quint32(6 + 2 * 16));
        QCOMPARE(at(34), first + length);
        QCOMPARE(quint32(bytes.size()), first + length + at(30));
        QCOMPARE(readIcons(bytes), images);
        // What the format cannot hold gives no file.
        QVERIFY(iconFileBytes({}).isEmpty());
        QVERIFY(iconFileBytes({images[0], QImage()}).isEmpty());
        QVERIFY(iconFileBytes({QImage(257, 16, QImage::Format_ARGB32)}).isEmpty());
        QVERIFY(iconFileBytes({QImage(16, 257, QImage::Format_ARGB32)}).isEmpty());
    }

    // The icon file the build made for the Windows programs holds the
    // window's own icon: at 16, 32 and 48 pixels the very pixmaps the window
    // shows in its title bar, and the same picture at 256.
    void programsCarryTheWindowsIcon() {
        QFile file(QStringLiteral(KELVORY_ICON_FILE));
        QVERIFY2(file.open(QIODevice::ReadOnly), KELVORY_ICON_FILE);
        const QList<QImage> read = readIcons(file.readAll());
        QCOMPARE(read.size(), 4);
        for (int i = 0; i < 3; ++i) {
            const int side = 16 * (i + 1);
            QCOMPARE(read[i], drawAppIcon().pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32));
        }
        QCOMPARE(read[3], drawAppIconImage(256).convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(qAlpha(read[3].pixel(0, 0)), 0);                    // a disc: the corners are clear
        QCOMPARE(read[3].pixelColor(128, 10), QColor(46, 139, 58));  // the green rim
    }
};

QTEST_MAIN(IconFileTest)
#include "IconFileTest.moc"
