// Pictures of the real window for the README and the user guide, drawn by the
// program's own code on the offscreen platform, so they stay true as the
// window changes:
//
//   <output>/window.png        the window on a demo folder, just started
//   <output>/name-picker.png   "sil" typed into the first name picker: its
//                              list narrowed to the matching names
//   <output>/save-refused.png  Menu > Save refused: a map box holds 300, which
//                              no map code (one byte) can be; the message box
//                              drawn over the window where it opens
//
// Usage: screenshots <demo folder> <output folder>
// `./dev.sh screenshots` makes a fresh demo folder with make_demo and writes
// docs/images/. The settings store is neither read nor written, so the
// launcher box shows its first-run text whoever runs this.

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>

#include "platform/Services.h"
#include "ui/main_window/WindowStyle.h"
#include "ui/main_window/frmMain.h"

namespace {

constexpr int kMapBoxEurope = 39;     // the first map box
constexpr int kFirstNamePicker = 14;  // National Name, row 1
const QColor kOutline(112, 112, 112);

// The settings store and everything else that would reach beyond the demo
// folder stays out of the pictures.
void keepToTheDemoFolder(const std::filesystem::path& folder) {
    platform::Services& s = platform::services();
    s.programFolder = [folder] { return folder; };
    s.readSetting = [](const QString&, const QString&, const QString&, const QString& fallback) { return fallback; };
    s.saveSetting = [](const QString&, const QString&, const QString&, const QString&) { return true; };
    s.playSound = [](const QString&) {};
    s.openAddress = [](const QString&) { return false; };
    s.askSaveChanges = [](QWidget*, const QString&, const QString&) { return platform::SaveChangesAnswer::Discard; };
}

// A widget's pixels with a thin grey outline, as a window edge: the offscreen
// platform draws no window frames.
QImage outlined(QWidget* widget) {
    QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(kOutline);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));  // outlines w x h exactly
    return image;
}

// Types the letters or digits `text` into `box` key by key, replacing what it showed.
void typeKeys(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    for (const QChar c : text) {
        const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A + (c.toLower().unicode() - 'a');
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    }
}

// The window with every other visible top-level widget of the program (an
// open list, a message box) drawn over it where it is.
QImage withPopups(QWidget* window) {
    QImage image = outlined(window);
    QPainter painter(&image);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top != window && top->isVisible()) {
            painter.drawImage(top->geometry().topLeft() - window->geometry().topLeft(), outlined(top));
        }
    }
    return image;
}

bool save(const QImage& image, const QDir& output, const QString& name) {
    const QString path = output.filePath(name);
    QImageWriter writer(path, "png");
    writer.setCompression(100);  // the smallest file: they are kept in the repository
    if (!writer.write(image)) {
        std::fprintf(stderr, "screenshots: %s could not be written\n", qPrintable(path));
        return false;
    }
    std::printf("%s (%d x %d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshots <demo folder> <output folder>\n");
        return 2;
    }
    // The same pixels on every machine with the same faces, with or without a desktop.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(new WindowStyle);
    QApplication::setApplicationName(QStringLiteral("Kelvory"));
    // The text cursor of the box with the focus stays on, rather than showing
    // or not as its blinking happens to fall.
    QApplication::setCursorFlashTime(0);

    const QDir output(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(output.path())) {
        std::fprintf(stderr, "screenshots: no folder %s\n", argv[2]);
        return 1;
    }
    keepToTheDemoFolder(std::filesystem::absolute(std::filesystem::u8path(argv[1])));

    frmMain window;
    if (!window.Form_Load() || !window.baza().loaded()) {
        std::fprintf(stderr, "screenshots: %s is not a demo folder with a game file\n", argv[1]);
        return 1;
    }
    window.show();
    window.afterFirstPaint();
    window.activateWindow();
    QApplication::processEvents();
    if (!save(outlined(&window), output, QStringLiteral("window.png"))) {
        return 1;
    }

    // A name picker searching, then Escape: nothing changed.
    QLineEdit* picker = window.combo(kFirstNamePicker)->lineEdit();
    typeKeys(picker, QStringLiteral("sil"));
    QApplication::processEvents();
    const QImage searching = withPopups(&window);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &escape);
    if (!save(searching, output, QStringLiteral("name-picker.png"))) {
        return 1;
    }

    // The refusal: once the message box is up, draw it over the window where
    // it opens, then close it.
    QLineEdit* mapBox = window.txt(kMapBoxEurope);
    typeKeys(mapBox, QStringLiteral("300"));
    QImage refused;
    QTimer::singleShot(0, &window, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) {
            return;
        }
        refused = withPopups(&window);
        box->close();
    });
    window.action(QStringLiteral("Cmd_Zapisz"))->trigger();
    if (refused.isNull()) {
        std::fprintf(stderr, "screenshots: Save showed no message\n");
        return 1;
    }
    return save(refused, output, QStringLiteral("save-refused.png")) ? 0 : 1;
}
