// The program's style draws the window's first paint without reading any
// image file, and its group-box frames look exactly as Fusion's own.

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QMenuBar>
#include <QStyleFactory>
#include <QTest>
#include <memory>
#include <optional>

#include "ui/main_window/WindowStyle.h"
#include "ui/main_window/frmMain.h"

namespace {

// Whether an image-format plug-in is mapped into this process; empty when the
// system does not list a process's libraries.
std::optional<bool> imagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return std::nullopt;
    return maps.readAll().contains("/imageformats/");
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
            const QImage shot = window.grab().toImage();
            QVERIFY(!shot.isNull());
            QVERIFY(!window.menuBar()->actions().isEmpty());
        }
        QCOMPARE(imagePluginLoaded(), std::optional<bool>(false));
    }

    void theMenuBarOverflowIconIsDrawn() {
        WindowStyle style(QStyleFactory::create(QStringLiteral("fusion")));
        for (const auto icon :
             {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QImage image = style.standardIcon(icon).pixmap(16, 16).toImage();
            QCOMPARE(image.size(), QSize(16, 16));
            bool drawn = false;
            for (int y = 0; y < image.height() && !drawn; ++y)
                for (int x = 0; x < image.width() && !drawn; ++x)
                    drawn = qAlpha(image.pixel(x, y)) > 0;
            QVERIFY(drawn);
        }
    }

    void groupBoxFramesMatchFusion_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QSize>("size");
        QTest::newRow("captioned") << QStringLiteral("Club Slot") << QSize(97, 233);
        QTest::newRow("untitled") << QString() << QSize(60, 40);
        QTest::newRow("smaller than the patch") << QStringLiteral("X") << QSize(10, 8);
        QTest::newRow("wide") << QStringLiteral("Save And Start Game") << QSize(553, 81);
    }

    void groupBoxFramesMatchFusion() {
        QFETCH(QString, title);
        QFETCH(QSize, size);
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        WindowStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
        const QImage expected = paint(fusion.get(), title, size);
        const QImage actual = paint(&ours, title, size);
        QCOMPARE(actual.size(), expected.size());
        QVERIFY(actual == expected);
    }
};

QTEST_MAIN(WindowStyleTest)
#include "WindowStyleTest.moc"
