// The button as seen and clicked: its looks pixel by pixel, its outline, where
// it puts picture and caption, the hover, mouse clicks and what assistive
// technology learns of it.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTimer>
#include <QtTest>
#include <array>

#include "../common/Rows.h"
#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Button_XP_Canvas.h"

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

// The first pixel of row `y` that differs from its zone, with both colours;
// empty when every pixel matches.
QString mismatch(const QImage& image, int y, const Zones& zones, QRgb gradient) {
    for (int x = 0; x < image.width(); ++x) {
        const QRgb zone = zones[zoneOf(x, image.width())], expected = zone == GradientZone ? gradient : zone;
        if ((image.pixel(x, y) & 0xFFFFFFu) != (expected & 0xFFFFFFu))
            return QStringLiteral("row %1, pixel %2: %3, not %4")
                .arg(y)
                .arg(x)
                .arg(describe(image.pixel(x, y)), describe(expected));
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

struct Clicks {
    QList<MouseStep> steps;
    QStringList log;
};

}  // namespace

Q_DECLARE_METATYPE(Clicks)

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
        // Hover (225, 153, 71) shaded by 90, 35, 20 and -40 for the top line,
        // the line below it, the sides and the bottom line: red clamps at 255.
        const QRgb r = qRgb(225, 153, 71), sides = qRgb(245, 173, 78), second = qRgb(255, 188, 83);
        QTest::newRow("focused and hovered: hover ring wins")
            << "focused hovered"
            << xp(qRgb(255, 243, 104), {D, second, second, second, second, second, D}, {D, r, sides, G, sides, r, D},
                  {D, r, r, r, r, r, D}, qRgb(185, 113, 57));
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
            QCOMPARE(mismatch(img, y, rows[zoneOf(y, H)], y >= 3 && y <= H - 4 ? face(y) : 0), QString());
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
        const auto press = QEvent::MouseButtonPress, release = QEvent::MouseButtonRelease, move = QEvent::MouseMove;
        const MouseStep down = {press, Qt::LeftButton, {10, 10}}, up = {release, Qt::LeftButton, {10, 10}};
        rows<Clicks>({
            {"drag out and back in, release inside",
             {{down, {move, Qt::LeftButton, {-20, 10}}, {move, Qt::LeftButton, {10, 10}}, up},
              {"down 1", "Click", "up 1"}}},
            {"release outside", {{down, {release, Qt::LeftButton, {W, 10}}}, {"down 1", "up 1"}}},
            {"right button",
             {{{press, Qt::RightButton, {10, 10}}, {release, Qt::RightButton, {10, 10}}}, {"down 2", "up 2"}}},
        });
    }

    void mouseClicks() {
        QFETCH(Clicks, row);
        QStringList seen;
        TestButton b(3, {W, H});
        connect(&b, &Button_XP::Click, [&] { seen << "Click"; });
        connect(&b, &Button_XP::MouseDown,
                [&](short button, short, float, float) { seen << "down " + QString::number(button); });
        connect(&b, &Button_XP::MouseUp,
                [&](short button, short, float, float) { seen << "up " + QString::number(button); });
        for (const MouseStep& step : row.steps) {
            const bool move = step.type == QEvent::MouseMove;
            mouse(b, step.type, move ? Qt::NoButton : step.button, step.at, move ? step.button : Qt::NoButton);
            if (move && !b.over)
                QTRY_VERIFY(!b.timer()->isActive());  // the button has seen the cursor leave
        }
        QCOMPARE(seen, row.log);
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
