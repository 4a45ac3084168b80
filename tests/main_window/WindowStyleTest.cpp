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

// The rows (top to bottom) that hold ink in column `x`.
QList<int> inkRowsOfColumn(const QImage& image, int x) {
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (qAlpha(image.pixel(x, y)) > 0)
            rows << y;
    return rows;
}

// The first and last columns that hold ink.
std::pair<int, int> inkColumns(const QImage& image) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        if (!inkRowsOfColumn(image, x).isEmpty()) {
            first = first < 0 ? x : first;
            last = x;
        }
    return {first, last};
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
    // tips point the way the menus run on. The tip is the last column with
    // ink, in the middle two rows; the open end of the chevrons spans most of
    // the height.
    void theOverflowIconPointsOn_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("mirrored");  // a right-to-left menu bar
        QTest::addColumn<bool>("turned");    // a vertical bar: the icon read with rows as columns
        QTest::newRow("right") << int(QStyle::SP_ToolBarHorizontalExtensionButton) << false << false;
        QTest::newRow("left, right to left") << int(QStyle::SP_ToolBarHorizontalExtensionButton) << true << false;
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
            image = image.transformed(QTransform().rotate(-90));  // down becomes right
        if (mirrored)
            image = image.mirrored(true, false);  // left becomes right
        const auto [first, last] = inkColumns(image);
        const QList<int> tip = inkRowsOfColumn(image, last);
        QVERIFY2(!tip.isEmpty() && tip.first() >= 6 && tip.last() <= 9,
                 qPrintable(QStringLiteral("tip in rows %1 to %2").arg(tip.value(0)).arg(tip.value(tip.size() - 1))));
        const QList<int> openEnd = inkRowsOfColumn(image, first);
        QVERIFY2(openEnd.last() - openEnd.first() >= 7,
                 qPrintable(QStringLiteral("open end spans %1 rows").arg(openEnd.last() - openEnd.first() + 1)));
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
