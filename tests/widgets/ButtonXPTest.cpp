// The button as seen and clicked: its looks pixel by pixel, its outline, where
// it puts picture and caption, the hover, mouse clicks and what assistive
// technology learns of it.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTimer>
#include <QtTest>
#include <array>

#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Button_XP_Layout.h"

using buttonxp::directColor;
using Zones = std::array<QRgb, 7>;
Q_DECLARE_METATYPE(Zones)

namespace {

// The explicit palette every test draws with.
const QRgb Highlight = qRgb(10, 36, 106), Face = qRgb(200, 196, 188), Text = qRgb(0, 0, 128);
const QRgb Shadow = qRgb(128, 128, 128), Light = qRgb(255, 255, 255), Dark = qRgb(64, 64, 64);

// The 75 x 25 XP example: BackColor (100, 100, 96) gives base (148, 148, 120).
const QRgb BackRgb = qRgb(100, 100, 96);
constexpr int W = 75, H = 25;

// What the layout keeps from the last one where it places nothing new.
const QRect LastPicture(1, 2, 3, 4), LastText(5, 6, 7, 8);

// A button whose "is the cursor over me" answer the test decides.
class TestButton : public Button_XP {
public:
    explicit TestButton(QWidget* parent = nullptr) : Button_XP(parent) {
        QPalette p;
        p.setColor(QPalette::Highlight, Highlight);
        p.setColor(QPalette::Button, Face);
        p.setColor(QPalette::ButtonText, Text);
        p.setColor(QPalette::Dark, Shadow);
        p.setColor(QPalette::Light, Light);
        p.setColor(QPalette::Shadow, Dark);
        p.setColor(QPalette::Midlight, qRgb(224, 222, 216));
        setPalette(p);
        setCaption(QString());
    }
    TestButton(int style, QSize size) : TestButton() {
        resize(size);
        setButtonStyle(static_cast<Style>(style));
        setBackColor(directColor(100, 100, 96));
    }
    QTimer* timer() { return findChild<QTimer*>(QStringLiteral("OverTimer")); }
    bool over = false;

protected:
    bool cursorOverButton() const override { return over; }
};

void mouse(TestButton& b, QEvent::Type type, Qt::MouseButton button, QPointF at, Qt::MouseButtons held = {}) {
    if (type == QEvent::MouseMove)
        b.over = b.rect().contains(at.toPoint());
    QMouseEvent event(type, at, b.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&b, &event);
}

// Puts a button into the states named in a row: bevel, focused, hovered, pressed, disabled.
void apply(TestButton& b, const QString& state) {
    if (state.contains("bevel"))
        b.setBEVEL(2);
    if (state.contains("focused")) {
        QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(&b, &event);
    }
    if (state.contains("hovered"))
        mouse(b, QEvent::MouseMove, Qt::NoButton, {10, 10});
    if (state.contains("pressed"))
        mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
    b.setEnabled(!state.contains("disabled"));
}

QString describe(QRgb c) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}
#define COMPARE_RGB(actual, expected) QCOMPARE(describe(actual), describe(expected))

// Marks the zone between the edges that carries the face gradient.
constexpr QRgb GradientZone = 0x01000000u;

// Splits 0 .. n-1 into seven zones: 0, 1, 2, 3 .. n-4, n-3, n-2, n-1.
int zoneOf(int i, int n) {
    return i < 3 ? i : (i > n - 4 ? 6 - (n - 1 - i) : 3);
}

// The first pixel of a row (or column) that differs from its zone, with both
// colours; empty when every pixel matches.
QString mismatch(const QImage& image, bool row, int at, const Zones& zones, QRgb gradient = 0) {
    const int n = row ? image.width() : image.height();
    for (int i = 0; i < n; ++i) {
        const QRgb expected = zones[zoneOf(i, n)] == GradientZone ? gradient : zones[zoneOf(i, n)];
        const QRgb actual = row ? image.pixel(i, at) : image.pixel(at, i);
        if ((actual & 0xFFFFFFu) != (expected & 0xFFFFFFu))
            return QStringLiteral("%1 %2, pixel %3: %4, not %5")
                .arg(row ? "row" : "column")
                .arg(at)
                .arg(i)
                .arg(describe(actual), describe(expected));
    }
    return {};
}

Zones all(QRgb c) {
    return {c, c, c, c, c, c, c};
}

struct MouseStep {
    QEvent::Type type;
    Qt::MouseButton button;
    QPointF at;
};

}  // namespace

class ButtonXPTest : public QObject {
    Q_OBJECT

private slots:
    // Every colour below is worked out by hand from the shading rule: red and
    // green move by k, blue by B * k / 192 truncated toward zero, each clamped
    // to 0 .. 255. Base is (148, 148, 120).
    void xpFace_data() {
        // Zones of rows 0, 1, 2, 3 .. H-4, H-3, H-2 and H-1.
        QTest::addColumn<QString>("state");
        QTest::addColumn<QList<Zones>>("rows");
        const QRgb D = Dark, G = GradientZone;
        // Rows 0 and H-1 are dark; rows 1 and H-2 are dark at both ends.
        auto xp = [&](QRgb top, const Zones& r2, const Zones& face, const Zones& r3, QRgb bottom) {
            return QList<Zones>{all(D), {D, D, top, top, top, D, D},          r2,    face,
                                r3,     {D, D, bottom, bottom, bottom, D, D}, all(D)};
        };
        const QRgb b16 = qRgb(164, 164, 130), b10 = qRgb(158, 158, 126), b5 = qRgb(143, 143, 117);
        const QRgb b_10 = qRgb(138, 138, 114), b_24 = qRgb(124, 124, 105), b_32 = qRgb(116, 116, 100);
        const QRgb b_36 = qRgb(112, 112, 98), b_48 = qRgb(100, 100, 90);
        QTest::newRow("idle") << ""
                              << xp(b16, {D, b5, b10, b10, b10, b_36, D}, {D, b5, b_10, G, b_24, b_36, D},
                                    {D, b5, b_32, b_32, b_32, b_36, D}, b_48);
        // ring: the frame colour, then its shades for the top line, the line
        // below it, the sides and the bottom line.
        auto ring = [&](QRgb r, QRgb top, QRgb second, QRgb sides, QRgb bottom) {
            return xp(top, {D, second, second, second, second, second, D}, {D, r, sides, G, sides, r, D},
                      {D, r, r, r, r, r, D}, bottom);
        };
        // Hover (225, 153, 71) shaded by 90, 35, 20 and -40: red clamps at 255.
        QTest::newRow("focused and hovered: hover ring wins")
            << "focused hovered"
            << ring(qRgb(225, 153, 71), qRgb(255, 243, 104), qRgb(255, 188, 83), qRgb(245, 173, 78),
                    qRgb(185, 113, 57));
        // Pressed: p = base shaded by -32 = (116, 116, 100), then by -32, -22,
        // -24, 5, 0, 10 and 16.
        const QRgb p_32 = qRgb(84, 84, 84), p_22 = qRgb(94, 94, 89), p_24 = qRgb(92, 92, 88);
        const QRgb p5 = qRgb(121, 121, 102), p0 = qRgb(116, 116, 100), p10 = qRgb(126, 126, 105);
        QTest::newRow("pressed, focused, hovered: inverted, no rings")
            << "pressed focused hovered"
            << xp(p_32, {D, p_32, p_22, p_24, p_24, p5, D}, {D, p_32, p_22, G, p0, p5, D},
                  {D, p_32, p_22, p10, p10, p5, D}, qRgb(132, 132, 108));
        // Disabled: base shaded by -24 (face), -84 (frame), -72 (corners).
        const QRgb f = b_24, e = qRgb(64, 64, 68), c = qRgb(76, 76, 75);
        const Zones corners = {e, c, f, f, f, c, e}, inner = {e, f, f, f, f, f, e};
        QTest::newRow("disabled") << "disabled" << QList<Zones>{all(e), corners, inner, inner, inner, corners, all(e)};
    }

    void xpFace() {
        QFETCH(QString, state);
        QFETCH(QList<Zones>, rows);
        TestButton b(3, {W, H});
        apply(b, state);
        const QImage& img = b.surface();
        // The face of rows 3 .. 21. Idle: 25 / H is exactly 1, so row y is base
        // shaded by -y. Pressed: row y is p shaded by round(-0.6 * (25 - y)).
        const bool pressed = state.contains("pressed");
        // Red and green of idle row y are 148 - y; its blue and the pressed rows are listed.
        const int idleBlue[] = {119, 118, 117, 117, 116, 115, 115, 114, 114, 113,
                                112, 112, 111, 110, 110, 109, 109, 108, 107};
        const int pressedRed[] = {103, 103, 104, 105, 105, 106, 106, 107, 108, 108,
                                  109, 109, 110, 111, 111, 112, 112, 113, 114};
        const int pressedBlue[] = {94, 94, 94, 95, 95, 95, 95, 96, 96, 96, 97, 97, 97, 98, 98, 98, 98, 99, 99};
        auto face = [&](int y) {
            return pressed ? qRgb(pressedRed[y - 3], pressedRed[y - 3], pressedBlue[y - 3])
                           : qRgb(148 - y, 148 - y, idleBlue[y - 3]);
        };
        for (int y = 0; y < H; ++y)
            QCOMPARE(mismatch(img, true, y, rows[zoneOf(y, H)], y >= 3 && y <= H - 4 ? face(y) : 0), QString());
    }

    // 25 / H with H = 10 is 2.5: row 5 falls on an exact half, which goes to
    // the even neighbour (-12; away from zero would give -13).
    void xpGradientHalvesGoToEven() {
        TestButton b(3, {40, 10});
        COMPARE_RGB(b.surface().pixel(5, 5), qRgb(136, 136, 113));  // base shaded by -12, not -13
        COMPARE_RGB(b.surface().pixel(5, 4), qRgb(138, 138, 114));  // -10
    }

    // With the focus, a classic button shows a dotted rectangle inside its
    // margin, every other pixel inverted ((100, 100, 96) to (155, 155, 159)),
    // also where it is only two pixels wide; pressed, its caption moves one
    // pixel right and down.
    void focusRectangleAndPressedCaption() {
        TestButton b(0, {10, 20});
        apply(b, "focused");
        COMPARE_RGB(b.surface().pixel(5, 5), qRgb(155, 155, 159));
        COMPARE_RGB(b.surface().pixel(5, 6), BackRgb);
        TestButton c(0, {60, 30});
        c.setCaption(QStringLiteral("Go"));
        const QImage up = c.surface().copy(8, 6, 40, 16);
        apply(c, "pressed");
        QCOMPARE(c.surface().copy(9, 7, 40, 16), up);
    }

    // The XP look cuts three pixels off each corner; a side below 10 grows to 10.
    void xpRegion() {
        QWidget host;
        auto* b = new TestButton(&host);
        b->setButtonStyle(Button_XP::Style::XP);
        host.show();
        b->setGeometry(5, 5, 5, 30);
        const int w = 10, h = 30;
        QCOMPARE(b->size(), QSize(w, h));
        const QRegion region = b->mask();
        const QPoint cut[] = {{0, 0},     {1, 0},     {0, 1},     {w - 2, 0},     {w - 1, 0},     {w - 1, 1},
                              {0, h - 1}, {1, h - 1}, {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}};
        for (const QPoint& p : cut)
            QVERIFY2(!region.contains(p), qPrintable(QStringLiteral("(%1, %2) kept").arg(p.x()).arg(p.y())));
        long area = 0;
        for (const QRect& r : region)
            area += static_cast<long>(r.width()) * r.height();
        QCOMPARE(area, static_cast<long>(w) * h - 12);  // only the twelve corner pixels go
    }

    void otherLooks_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QRgb>("middle");  // a pixel clear of border and caption
        QTest::addColumn<Zones>("firstRow");
        QTest::addColumn<Zones>("lastColumn");
        const QRgb fore = qRgb(200, 0, 0);
        // Bevel frames darken step by step: blue 96 -> 92 -> 89 -> 86 (one shade of -24 would give 84).
        const QRgb k3 = qRgb(76, 76, 86), l3 = qRgb(124, 124, 120);
        QTest::newRow("bevel 2") << 0 << "bevel" << BackRgb << Zones{l3, l3, l3, l3, l3, l3, k3} << all(k3);
        QTest::newRow("classic pressed: sunken")
            << 0 << "pressed" << BackRgb << all(Shadow) << Zones{Shadow, Light, Light, Light, Light, Light, Light};
        // Default toolbar colour: Highlight + (171, 154, 108) when hovered.
        QTest::newRow("toolbar hovered") << 2 << "hovered" << qRgb(181, 190, 214) << all(fore) << all(fore);
        QTest::newRow("borderless pressed") << 4 << "hovered pressed" << BackRgb << all(BackRgb) << all(BackRgb);
    }

    void otherLooks() {
        QFETCH(int, style);
        QFETCH(QString, state);
        QFETCH(QRgb, middle);
        QFETCH(Zones, firstRow);
        QFETCH(Zones, lastColumn);
        TestButton b(style, {40, 20});
        b.setForeColor(directColor(200, 0, 0));
        apply(b, state);
        const QImage& img = b.surface();
        COMPARE_RGB(img.pixel(20, 10), middle);
        QCOMPARE(mismatch(img, true, 0, firstRow), QString());
        QCOMPARE(mismatch(img, false, 39, lastColumn), QString());
    }

    // Inner rectangle (4, 4) 153 x 93, as in a 161 x 101 button; picture 20 x 10,
    // caption 30 x 14; gap 4. Every half below is of an odd number, so integer
    // division drops the half pixel: (153 - 54) / 2 = 49, (93 - 28) / 2 = 32.
    void layout_data() {
        QTest::addColumn<QSize>("text");     // invalid: no caption
        QTest::addColumn<QSize>("picture");  // invalid: no picture
        QTest::addColumn<int>("place");
        QTest::addColumn<QRect>("pictureRect");
        QTest::addColumn<QRect>("textRect");
        const QSize text(30, 14), picture(20, 10), none;
        // Group 20 + 4 + 30 = 54 wide from x 53, or 10 + 4 + 14 = 28 high from
        // y 36; alone, the picture is centred at (70, 45), the caption at (65, 43).
        QTest::newRow("0 picture above") << text << picture << 0 << QRect(70, 36, 20, 10) << QRect(65, 50, 30, 14);
        QTest::newRow("1 picture left") << text << picture << 1 << QRect(53, 45, 20, 10) << QRect(77, 43, 30, 14);
        QTest::newRow("2 picture right") << text << picture << 2 << QRect(87, 45, 20, 10) << QRect(53, 43, 30, 14);
        QTest::newRow("3 picture below") << text << picture << 3 << QRect(70, 54, 20, 10) << QRect(65, 36, 30, 14);
        QTest::newRow("other place keeps both") << text << picture << 9 << LastPicture << LastText;
        QTest::newRow("caption alone keeps the picture") << text << none << 1 << LastPicture << QRect(65, 43, 30, 14);
        QTest::newRow("picture alone") << none << picture << 1 << QRect(70, 45, 20, 10) << QRect(80, 50, 0, 0);
        // (153 - 162) / 2 is -4: the half goes toward zero.
        QTest::newRow("caption wider than the button")
            << QSize(162, 14) << none << 1 << LastPicture << QRect(0, 43, 162, 14);
    }

    void layout() {
        QFETCH(QSize, text);
        QFETCH(QSize, picture);
        QFETCH(int, place);
        QFETCH(QRect, pictureRect);
        QFETCH(QRect, textRect);
        auto given = [](QSize size) { return size.isValid() ? std::optional<QSize>(size) : std::nullopt; };
        const buttonxp::Layout laid =
            buttonxp::layOut(QRect(4, 4, 153, 93), given(text), given(picture),
                             static_cast<buttonxp::PicturePlace>(place), {LastPicture, LastText});
        QCOMPARE(laid.picture, pictureRect);
        QCOMPARE(laid.text, textRect);
    }

    // A picture on a 161 x 101 button, at its own size of 20 x 10, sits at
    // (70, 45) when there is no caption. Hovered, the hover picture stands
    // in; disabled, the picture's shape is drawn in shadow where its pixels
    // are at least half opaque.
    void pictures() {
        QImage picture(20, 10, QImage::Format_ARGB32);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                picture.setPixel(x, y, qRgba(255, 0, 0, x < 10 ? 128 : 127));
        QPixmap hover(20, 10);
        hover.fill(QColor(0, 0, 255));
        TestButton b(1, {161, 101});
        b.setPicture(QPixmap::fromImage(picture));
        b.setPictureHover(hover);
        b.setPictureSize(Button_XP::PictureSizing::Own);
        apply(b, "hovered");
        COMPARE_RGB(b.surface().pixel(75, 50), qRgb(0, 0, 255));
        b.over = false;
        QTRY_VERIFY(!b.timer()->isActive());
        apply(b, "disabled");
        COMPARE_RGB(b.surface().pixel(72, 47), Shadow);
        COMPARE_RGB(b.surface().pixel(85, 47), BackRgb);
    }

    // The hover lasts while the pointer is over the button, also through the
    // leave event the toolkit sends when a dialog opened by a click blocks the
    // window, and ends at the first tick after the pointer has left. Column 1
    // shows the hover ring (225, 153, 71), then the idle edge (143, 143, 117).
    void hoverInAndOut() {
        TestButton b(3, {W, H});
        QSignalSpy in(&b, &Button_XP::MouseIn), out(&b, &Button_XP::MouseOut);
        mouse(b, QEvent::MouseMove, Qt::NoButton, {10, 10});
        mouse(b, QEvent::MouseMove, Qt::NoButton, {11, 10});
        QCOMPARE(in.count(), 1);
        QVERIFY(b.timer()->isActive());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&b, &leave);
        QSignalSpy ticks(b.timer(), &QTimer::timeout);
        QTRY_VERIFY(ticks.count() >= 3);
        QCOMPARE(out.count(), 0);
        COMPARE_RGB(b.surface().pixel(1, 10), qRgb(225, 153, 71));
        b.over = false;
        QTRY_COMPARE(out.count(), 1);
        QVERIFY(!b.timer()->isActive());
        COMPARE_RGB(b.surface().pixel(1, 10), qRgb(143, 143, 117));
    }

    void mouseClicks_data() {
        QTest::addColumn<QList<MouseStep>>("steps");
        QTest::addColumn<QStringList>("log");
        const auto press = QEvent::MouseButtonPress, release = QEvent::MouseButtonRelease;
        const auto move = QEvent::MouseMove;
        const MouseStep down = {press, Qt::LeftButton, {10, 10}}, up = {release, Qt::LeftButton, {10, 10}};
        QTest::newRow("drag out and back in, release inside")
            << QList<MouseStep>{down, {move, Qt::LeftButton, {-20, 10}}, {move, Qt::LeftButton, {10, 10}}, up}
            << QStringList{"down 1", "Click", "up 1"};
        QTest::newRow("release outside") << QList<MouseStep>{down, {release, Qt::LeftButton, {W, 10}}}
                                         << QStringList{"down 1", "up 1"};
        QTest::newRow("right button") << QList<MouseStep>{{press, Qt::RightButton, {10, 10}},
                                                          {release, Qt::RightButton, {10, 10}}}
                                      << QStringList{"down 2", "up 2"};
    }

    void mouseClicks() {
        QFETCH(QList<MouseStep>, steps);
        QFETCH(QStringList, log);
        QStringList seen;
        TestButton b(3, {W, H});
        connect(&b, &Button_XP::Click, [&] { seen << "Click"; });
        connect(&b, &Button_XP::MouseDown,
                [&](short button, short, float, float) { seen << "down " + QString::number(button); });
        connect(&b, &Button_XP::MouseUp,
                [&](short button, short, float, float) { seen << "up " + QString::number(button); });
        for (const MouseStep& step : steps) {
            const bool move = step.type == QEvent::MouseMove;
            mouse(b, step.type, move ? Qt::NoButton : step.button, step.at, move ? step.button : Qt::NoButton);
            if (move && !b.over)
                QTRY_VERIFY(!b.timer()->isActive());  // the button has seen the cursor leave
        }
        QCOMPARE(seen, log);
    }

    // The caption, without its access marks, names the button; pressing it
    // is offered while it is enabled.
    void accessibleButton() {
        TestButton b;
        b.setCaption(QStringLiteral("&Save && Go"));
        int clicks = 0;
        connect(&b, &Button_XP::Click, this, [&clicks] { ++clicks; });
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&b);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Save & Go"));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(clicks, 1);
        b.setEnabled(false);
        QVERIFY(!iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
};

QTEST_MAIN(ButtonXPTest)
#include "ButtonXPTest.moc"
