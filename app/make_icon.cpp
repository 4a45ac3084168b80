// Writes the icon file of the Windows programs: the window's own icon at the
// sizes Windows shows a program by (16 and 32 pixels in lists and title bars,
// 48 in folders, 256 for large icons).
//
// Usage: make_icon <file.ico>
//
// The build runs it (under Wine when it cross-builds for Windows), so it
// needs no display and no application object: the icon is drawn into images.

#include <QSaveFile>
#include <QString>
#include <cstdio>

#include "app/IconFile.h"
#include "ui/main_window/Artwork.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <file.ico>\n");
        return 2;
    }
    QList<QImage> images;
    for (int side : {16, 32, 48, 256}) {
        images << drawAppIconImage(side);
    }
    const QByteArray bytes = iconFileBytes(images);
    const QString path = QString::fromLocal8Bit(argv[1]);
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "make_icon: %s could not be written\n", argv[1]);
        return 1;
    }
    return 0;
}
