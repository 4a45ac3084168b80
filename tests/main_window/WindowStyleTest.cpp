// The program's style draws the window's first paint without reading any
// image file, and its group-box frames look exactly as Fusion's own.

#include <QApplication>
#include <QGroupBox>
#include <QStyleFactory>
#include <QTest>
#include <memory>
#include <optional>

#include "../common/TestFiles.h"
#include "ui/main_window/WindowStyle.h"
#include "ui/main_window/frmMain.h"

namespace {

// Whether an image-format plug-in is mapped into this process; empty when the
// system does not list a process's libraries.
std::optional<bool> imagePluginLoaded() {
    return testfiles::libraryLoaded(QStringLiteral("/imageformats/"), true);
}

QImage paint(QStyle* style, const QString& title, const QSize& size) {
    QGroupBox box(title);
    box.setStyle(style);
    box.resize(size);
    return box.grab().toImage();
}

}  // namespace

class WindowStyleTest : public QObject {
    Q_OBJECT

private slots:
    // First, while nothing else has read an image file in this process.
    void theWindowPaintsWithoutImageFormatPlugins() {
        if (!imagePluginLoaded())
            QSKIP("this system does not list a process's libraries");
        QCOMPARE(imagePluginLoaded(), std::optional<bool>(false));
        QApplication::setStyle(new WindowStyle(QStyleFactory::create(QStringLiteral("fusion"))));
        {
            frmMain window;
            window.grab();  // the first paint, menu bar and frames included
        }
        QCOMPARE(imagePluginLoaded(), std::optional<bool>(false));
    }

    // A captioned frame, and one smaller than the patch it is drawn from.
    void groupBoxFramesMatchFusion() {
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        WindowStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
        for (const auto& [title, size] : {std::pair{"Club Slot", QSize(97, 233)}, {"X", QSize(10, 8)}}) {
            const QImage expected = paint(fusion.get(), title, size);
            const QImage actual = paint(&ours, title, size);
            QCOMPARE(actual.size(), expected.size());
            QVERIFY2(actual == expected, title);
        }
    }
};

QTEST_MAIN(WindowStyleTest)
#include "WindowStyleTest.moc"
