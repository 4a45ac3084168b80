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

// The rows that hold ink in the last column that has any.
QList<int> lastInkColumn(const QImage& image) {
    for (int x = image.width() - 1; x >= 0; --x) {
        QList<int> rows;
        for (int y = 0; y < image.height(); ++y)
            if (qAlpha(image.pixel(x, y)) > 0)
                rows << y;
        if (!rows.isEmpty())
            return rows;
    }
    return {};
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

    // The menu bar's overflow icon, 16 pixels square: two chevrons whose
    // tips point the way the menus run on. Turned to point right, the last
    // column with ink is the tips', in the middle rows; pointing any other
    // way, it would be the chevrons' open end, which spans most of the height.
    void theOverflowIconPointsOn_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("mirrored");  // a right-to-left menu bar: points left
        QTest::addColumn<bool>("turned");    // a vertical bar: points down
        QTest::newRow("right") << int(QStyle::SP_ToolBarHorizontalExtensionButton) << false << false;
        QTest::newRow("down") << int(QStyle::SP_ToolBarVerticalExtensionButton) << false << true;
    }

    void theOverflowIconPointsOn() {
        QFETCH(int, icon);
        QFETCH(bool, mirrored);
        QFETCH(bool, turned);
        WindowStyle style(QStyleFactory::create(QStringLiteral("fusion")));
        QWidget rightToLeft;
        rightToLeft.setLayoutDirection(Qt::RightToLeft);
        QImage image = style.standardIcon(QStyle::StandardPixmap(icon), nullptr, mirrored ? &rightToLeft : nullptr)
                           .pixmap(16, 16)
                           .toImage()
                           .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(16, 16));
        if (turned)
            image = image.transformed(QTransform().rotate(-90));
        if (mirrored)
            image = image.mirrored(true, false);
        const QList<int> tips = lastInkColumn(image);
        QVERIFY(!tips.isEmpty());
        QVERIFY2(tips.first() >= 6 && tips.last() <= 9,
                 qPrintable(QStringLiteral("ink in rows %1 to %2").arg(tips.first()).arg(tips.last())));
    }

    void groupBoxFramesMatchFusion_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QSize>("size");
        QTest::newRow("captioned") << QStringLiteral("Club Slot") << QSize(97, 233);
        QTest::newRow("smaller than the patch") << QStringLiteral("X") << QSize(10, 8);
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
