#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <array>

#include "platform/Services.h"
#include "ui/widgets/Button_XP.h"

using buttonxp::ColorValue;
using buttonxp::directColor;
using buttonxp::ShadeColor;
using buttonxp::systemColor;
using Zones = std::array<QRgb, 7>;
Q_DECLARE_METATYPE(Zones)

namespace {

// The explicit palette every test draws with.
const QRgb Highlight = qRgb(10, 36, 106), Face = qRgb(200, 196, 188), Text = qRgb(0, 0, 128);
const QRgb Shadow = qRgb(128, 128, 128), Light = qRgb(255, 255, 255), Dark = qRgb(64, 64, 64);
const QRgb Midlight = qRgb(224, 222, 216);

QPalette testPalette() {
    QPalette p;
    p.setColor(QPalette::Highlight, Highlight);
    p.setColor(QPalette::Button, Face);
    p.setColor(QPalette::ButtonText, Text);
    p.setColor(QPalette::Dark, Shadow);
    p.setColor(QPalette::Light, Light);
    p.setColor(QPalette::Shadow, Dark);
    p.setColor(QPalette::Midlight, Midlight);
    return p;
}

// The 75 x 25 XP example: BackColor (100, 100, 96) gives base (148, 148, 120).
const ColorValue Back = directColor(100, 100, 96);
const QRgb Base = qRgb(148, 148, 120);
const QRgb PressedTop = ShadeColor(ShadeColor(Base, -32), -32);
constexpr int W = 75;
constexpr int H = 25;

// A button whose "is the cursor over me" answer the test decides.
class TestButton : public Button_XP {
public:
    explicit TestButton(QWidget* parent = nullptr) : Button_XP(parent) {
        setPalette(testPalette());
        setCaption(QString());
    }
    TestButton(int style, QSize size, ColorValue back = Back) : TestButton() {
        resize(size);
        setButtonStyle(style);
        setBackColor(back);
    }
    QRgb top() { return surface().pixel(30, 1); }
    bool over = false;

protected:
    bool cursorOverButton() const override { return over; }
};

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPointF at, Qt::MouseButtons held = {}) {
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

void hover(TestButton& b, bool over, Qt::MouseButtons held = {}) {
    b.over = over;
    mouse(&b, QEvent::MouseMove, Qt::NoButton, over ? QPointF(10, 10) : QPointF(-20, 10), held);
}

void key(QWidget* w, QEvent::Type type, bool autoRepeat = false) {
    QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
    QCoreApplication::sendEvent(w, &event);
}

void focus(QWidget* w) {
    QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &event);
}

// Puts a button into the states named in a row: own, always, focused, hovered, pressed, disabled.
void apply(TestButton& b, const QString& state) {
    b.setXPShowBorderAlways(state.contains("always"));
    if (state.contains("own")) {
        b.setXPDefaultColors(false);
        b.setXPColor_Hover(directColor(20, 200, 40));
    }
    if (state.contains("focused")) {
        focus(&b);
    }
    if (state.contains("hovered")) {
        hover(b, true);
    }
    if (state.contains("pressed")) {
        mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
    }
    b.setEnabled(!state.contains("disabled"));
}

QString describe(QRgb c) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}
#define COMPARE_RGB(actual, expected) QCOMPARE(describe(actual), describe(expected))

// Marks the zone between the edges that carries the face gradient.
constexpr QRgb GradientZone = 0x01000000u;

// Checks every pixel of a row (or column) split into seven zones: 0, 1, 2,
// 3 .. n-4, n-3, n-2, n-1.
bool checkLine(const QImage& image, bool row, int at, const Zones& zones, QRgb gradient = 0) {
    const int n = row ? image.width() : image.height();
    for (int i = 0; i < n; ++i) {
        const int zone = i < 3 ? i : (i > n - 4 ? 6 - (n - 1 - i) : 3);
        const QRgb expected = zones[zone] == GradientZone ? gradient : zones[zone];
        const QRgb actual = row ? image.pixel(i, at) : image.pixel(at, i);
        if ((actual & 0xFFFFFFu) != (expected & 0xFFFFFFu)) {
            qWarning("%s %d, pixel %d: %s, expected %s", row ? "row" : "column", at, i, qPrintable(describe(actual)),
                     qPrintable(describe(expected)));
            return false;
        }
    }
    return true;
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

class TestButtonXP : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { platform::resetServices(); }

    void colours_data() {
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<int>("k");
        QTest::addColumn<QRgb>("expected");
        QTest::newRow("example base") << Back << 48 << Base;
        QTest::newRow("blue change truncates to 0") << directColor(Base) << -1 << qRgb(147, 147, 120);
        QTest::newRow("pixel (5, 12) of the example") << directColor(Base) << -12 << qRgb(136, 136, 113);
        QTest::newRow("clamped at 255") << directColor(250, 5, 250) << 20 << qRgb(255, 25, 255);
        QTest::newRow("clamped at 0, blue toward zero") << directColor(10, 40, 10) << -50 << qRgb(0, 0, 8);
        QTest::newRow("system 15: button face") << systemColor(15) << 0 << Face;
        QTest::newRow("system 18: button text") << systemColor(18) << 0 << Text;
    }

    void colours() {
        QFETCH(quint32, colour);
        QFETCH(int, k);
        QFETCH(QRgb, expected);
        COMPARE_RGB(ShadeColor(buttonxp::ResolveColor(colour, testPalette()), k), expected);
    }

    void xpFace_data() {
        // Rows 0, 1, 2, every row from 3 to H-4, H-3, H-2 and H-1, each in zones.
        QTest::addColumn<QString>("state");
        QTest::addColumn<QList<Zones>>("rows");
        const QRgb D = Dark, G = GradientZone;
        auto b = [](int k) { return ShadeColor(Base, k); };
        QTest::newRow("idle") << ""
                              << QList<Zones>{all(D),
                                              {D, D, b(16), b(16), b(16), D, D},
                                              {D, b(-5), b(10), b(10), b(10), b(-36), D},
                                              {D, b(-5), b(-10), G, b(-24), b(-36), D},
                                              {D, b(-5), b(-32), b(-32), b(-32), b(-36), D},
                                              {D, D, b(-48), b(-48), b(-48), D, D},
                                              all(D)};
        auto ring = [&](QRgb r, int top, int second, int sides, int bottom) {
            const QRgb t = ShadeColor(r, top), s = ShadeColor(r, second), v = ShadeColor(r, sides);
            const QRgb u = ShadeColor(r, bottom);
            return QList<Zones>{all(D),
                                {D, D, t, t, t, D, D},
                                {D, s, s, s, s, s, D},
                                {D, r, v, G, v, r, D},
                                {D, r, r, r, r, r, D},
                                {D, D, u, u, u, D, D},
                                all(D)};
        };
        auto hoverRing = [&](QRgb r) { return ring(r, 90, 35, 20, -40); };
        QTest::newRow("focused: focus ring") << "focused" << ring(qRgb(140, 170, 230), 65, 50, 31, -33);
        QTest::newRow("focused and hovered: hover ring") << "focused hovered" << hoverRing(qRgb(225, 153, 71));
        QTest::newRow("own hover colour") << "hovered own" << hoverRing(qRgb(20, 200, 40));
        auto p = [](int k) { return ShadeColor(ShadeColor(Base, -32), k); };
        QTest::newRow("pressed, focused, hovered: no rings")
            << "pressed focused hovered"
            << QList<Zones>{all(D),
                            {D, D, p(-32), p(-32), p(-32), D, D},
                            {D, p(-32), p(-22), p(-24), p(-24), p(5), D},
                            {D, p(-32), p(-22), G, p(0), p(5), D},
                            {D, p(-32), p(-22), p(10), p(10), p(5), D},
                            {D, D, p(16), p(16), p(16), D, D},
                            all(D)};
        const QRgb f = b(-24), e = b(-84), c = b(-72);
        const Zones corners = {e, c, f, f, f, c, e}, inner = {e, f, f, f, f, f, e};
        QTest::newRow("disabled") << "disabled" << QList<Zones>{all(e), corners, inner, inner, inner, corners, all(e)};
    }

    void xpFace() {
        QFETCH(QString, state);
        QFETCH(QList<Zones>, rows);
        TestButton b(3, {W, H});
        apply(b, state);
        const bool pressed = state.contains("pressed");
        const QImage& img = b.surface();
        QCOMPARE(img.size(), QSize(W, H));
        const int fixedRows[] = {0, 1, 2, -1, H - 3, H - 2, H - 1};
        for (int i = 0; i < 7; ++i) {
            if (fixedRows[i] >= 0) {
                QVERIFY(checkLine(img, true, fixedRows[i], rows[i]));
            }
        }
        // Down the face: 25 / H is exactly 1 here; pressed runs 15 / H upwards.
        for (int y = 3; y <= H - 4; ++y) {
            const QRgb face = pressed ? ShadeColor(ShadeColor(Base, -32), buttonxp::roundHalfEven(-0.6f * (H - y)))
                                      : ShadeColor(Base, -y);
            QVERIFY(checkLine(img, true, y, rows[3], face));
        }
        if (state.isEmpty()) {
            COMPARE_RGB(img.pixel(5, 12), qRgb(136, 136, 113));
        }
    }

    void xpGradientRoundsHalfToEven() {
        // At height 20 the step is 1.25: rows 6, 10 and 14 land on exact halves.
        TestButton b(3, {40, 20});
        const int expected[] = {-4, -5, -6, -8, -9, -10, -11, -12, -14, -15, -16, -18, -19, -20};
        for (int y = 3; y <= 16; ++y) {
            COMPARE_RGB(b.surface().pixel(20, y), ShadeColor(Base, expected[y - 3]));
        }
    }

    void xpRegion_data() {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("size");
        QTest::newRow("17 x 17") << QSize(17, 17) << QSize(17, 17);
        QTest::newRow("75 x 25") << QSize(75, 25) << QSize(75, 25);
        QTest::newRow("121 x 25") << QSize(121, 25) << QSize(121, 25);
        QTest::newRow("smallest") << QSize(10, 10) << QSize(10, 10);
        QTest::newRow("narrower than 10 widens") << QSize(5, 30) << QSize(10, 30);
        QTest::newRow("lower than 10 grows") << QSize(40, 3) << QSize(40, 10);
    }

    void xpRegion() {
        QFETCH(QSize, requested);
        QFETCH(QSize, size);
        QWidget host;
        auto* b = new TestButton(&host);
        b->setButtonStyle(3);
        host.show();
        b->setGeometry(QRect(QPoint(5, 5), requested));
        QCOMPARE(b->size(), size);
        const int w = size.width(), h = size.height();
        const QRegion region = b->mask();
        const QPoint cut[] = {{0, 0},     {1, 0},     {0, 1},     {w - 2, 0},     {w - 1, 0},     {w - 1, 1},
                              {0, h - 1}, {1, h - 1}, {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}};
        const QPoint kept[] = {{2, 0}, {1, 1}, {0, 2}, {w - 3, 0}, {w - 2, 1}, {w - 1, 2}, {0, h - 3}, {w - 2, h - 2}};
        for (const QPoint& p : cut) {
            QVERIFY2(!region.contains(p), qPrintable(QStringLiteral("(%1, %2) kept").arg(p.x()).arg(p.y())));
        }
        for (const QPoint& p : kept) {
            QVERIFY2(region.contains(p), qPrintable(QStringLiteral("(%1, %2) cut").arg(p.x()).arg(p.y())));
        }
        long area = 0;
        for (const QRect& r : region) {
            area += static_cast<long>(r.width()) * r.height();
        }
        QCOMPARE(area, static_cast<long>(w) * h - 12);
        b->setButtonStyle(0);
        QVERIFY(b->mask().isEmpty());
    }

    void otherLooks_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QRgb>("middle");  // a pixel clear of border and caption
        QTest::addColumn<Zones>("firstRow");
        QTest::addColumn<Zones>("lastColumn");
        const QRgb back = qRgb(90, 120, 150), fore = qRgb(200, 0, 0);
        const Zones raisedRight = {Light, Shadow, Shadow, Shadow, Shadow, Shadow, Shadow};
        const Zones sunkenRight = {Shadow, Light, Light, Light, Light, Light, Light};
        QTest::newRow("classic idle: raised") << 0 << "" << back << all(Light) << raisedRight;
        QTest::newRow("classic pressed: sunken") << 0 << "pressed" << back << all(Shadow) << sunkenRight;
        QTest::newRow("classic focused: default mark") << 0 << "focused" << back << all(Light) << raisedRight;
        QTest::newRow("flat idle: no border") << 1 << "" << back << all(back) << all(back);
        QTest::newRow("flat hovered: raised") << 1 << "hovered" << back << all(Light) << raisedRight;
        QTest::newRow("flat pressed: sunken") << 1 << "hovered pressed" << back << all(Shadow) << sunkenRight;
        QTest::newRow("toolbar idle") << 2 << "" << back << all(back) << all(back);
        QTest::newRow("toolbar idle, border always") << 2 << "always" << back << all(fore) << all(fore);
        // Default toolbar colours: Highlight + (171, 154, 108) hovered, + (156, 139, 108) pressed.
        QTest::newRow("toolbar hovered") << 2 << "hovered" << qRgb(181, 190, 214) << all(fore) << all(fore);
        QTest::newRow("toolbar pressed") << 2 << "hovered pressed" << qRgb(166, 175, 214) << all(fore) << all(fore);
        QTest::newRow("toolbar hovered, own colour")
            << 2 << "hovered own" << qRgb(20, 200, 40) << all(fore) << all(fore);
        QTest::newRow("borderless pressed") << 4 << "hovered pressed" << back << all(back) << all(back);
        QTest::newRow("unknown style: flat border") << 9 << "hovered" << back << all(Light) << raisedRight;
    }

    void otherLooks() {
        QFETCH(int, style);
        QFETCH(QString, state);
        QFETCH(QRgb, middle);
        QFETCH(Zones, firstRow);
        QFETCH(Zones, lastColumn);
        TestButton b(style, {40, 20}, directColor(90, 120, 150));
        b.setForeColor(directColor(200, 0, 0));
        apply(b, state);
        const QImage& img = b.surface();
        COMPARE_RGB(img.pixel(2, 10), middle);
        QVERIFY(checkLine(img, true, 0, firstRow));
        QVERIFY(checkLine(img, false, 39, lastColumn));
        if (state.contains("focused")) {
            // The mark's inner frame, and the dotted focus rectangle from (4, 4).
            QVERIFY(checkLine(img, false, 38, {Light, Shadow, Shadow, Shadow, Shadow, Shadow, Shadow}));
            COMPARE_RGB(img.pixel(4, 4), qRgb(255 - 90, 255 - 120, 255 - 150));
            COMPARE_RGB(img.pixel(5, 4), qRgb(90, 120, 150));
            COMPARE_RGB(img.pixel(4, 6), img.pixel(4, 4));
        }
    }

    void accumulatingBevel() {
        TestButton b(0, {40, 20});
        b.setBEVEL(2);
        // Darkening step by step: blue 96 -> 92 -> 89 -> 86 (one shade of -24 would give 84).
        const QRgb k2 = qRgb(84, 84, 89), k3 = qRgb(76, 76, 86), l2 = qRgb(116, 116, 112), l3 = qRgb(124, 124, 120);
        QVERIFY(checkLine(b.surface(), true, 0, {l3, l3, l3, l3, l3, l3, k3}));
        QVERIFY(checkLine(b.surface(), true, 1, {l3, l2, l2, l2, l2, k2, k3}));
        QVERIFY(checkLine(b.surface(), false, 39, all(k3)));
        COMPARE_RGB(b.surface().pixel(37, 10), qRgb(92, 92, 92));
        // Pressed: the frames lighten and the top and left lines darken.
        mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
        QVERIFY(checkLine(b.surface(), true, 0, {k3, k3, k3, k3, k3, k3, l3}));
    }

    void layout_data() {
        QTest::addColumn<int>("position");
        QTest::newRow("0 picture above") << 0;
        QTest::newRow("1 picture left") << 1;
        QTest::newRow("2 picture right") << 2;
        QTest::newRow("3 picture below") << 3;
    }

    void layout() {
        QFETCH(int, position);
        TestButton b;
        b.resize(161, 101);  // inner 153 x 93 from (4, 4): odd halves
        QPixmap picture(20, 10);
        picture.fill(Qt::red);
        b.setPicture(picture);
        b.setPictureSize(2);
        b.setPicturePosition(position);
        b.Refresh();
        QCOMPARE(b.pictureRect(), QRect(4 + (153 - 20) / 2, 4 + (93 - 10) / 2, 20, 10));  // picture alone

        b.setCaption(QStringLiteral("Go"));
        const QRect pic = b.pictureRect(), text = b.textRect();
        QCOMPARE(pic.size(), QSize(20, 10));
        QVERIFY(text.width() > 2 && text.height() > 0);
        // Positions 0 and 1 put the picture first, 1 and 2 lay out side by side; gap 4.
        const QRect& first = position < 2 ? pic : text;
        const QRect& second = position < 2 ? text : pic;
        if (position == 1 || position == 2) {
            QCOMPARE(first.left(), 4 + (153 - first.width() - 4 - second.width()) / 2);
            QCOMPARE(second.left(), first.left() + first.width() + 4);
            QCOMPARE(pic.top(), 4 + (93 - 10) / 2);
            QCOMPARE(text.top(), 4 + (93 - text.height()) / 2);
        } else {
            QCOMPARE(first.top(), 4 + (93 - first.height() - 4 - second.height()) / 2);
            QCOMPARE(second.top(), first.top() + first.height() + 4);
            QCOMPARE(pic.left(), 4 + (153 - 20) / 2);
            QCOMPARE(text.left(), 4 + (153 - text.width()) / 2);
        }
        b.setPicturePosition(7);  // outside 0..3: both stay
        QCOMPARE(b.pictureRect(), pic);
        QCOMPARE(b.textRect(), text);
    }

    void pictureSizeRule() {
        TestButton b;
        auto shown = [&] { return QSize(b.PictureWidth(), b.PictureHeight()); };
        auto original = [&] { return QSize(b.OriginalPicSizeW(), b.OriginalPicSizeH()); };
        QCOMPARE(shown(), QSize(32, 32));
        b.setPictureSize(0);
        QCOMPARE(shown(), QSize(16, 16));
        b.setPictureSize(2);  // no picture: 32 x 32
        QCOMPARE(shown(), QSize(32, 32));
        b.setPicture(QPixmap(20, 10));
        QCOMPARE(shown(), QSize(20, 10));
        b.setPictureSize(5);  // unknown: unchanged
        QCOMPARE(shown(), QSize(20, 10));
        b.setPictureSize(2);
        b.setPicture(QPixmap());
        QCOMPARE(original(), QSize(32, 32));
        QCOMPARE(shown(), QSize(32, 32));
    }

    void pictureShiftsWhenPressedAndLosesMaskColour() {
        TestButton b(4, {60, 40}, directColor(Face));
        const QRgb blue = qRgb(0, 0, 255);
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(blue);
        image.setPixel(0, 0, qRgb(0, 0, 0));  // MaskColor: left out
        b.setPicture(QPixmap::fromImage(image));
        b.setPictureSize(2);
        const QPoint at = b.pictureRect().topLeft();
        COMPARE_RGB(b.surface().pixel(at), Face);
        COMPARE_RGB(b.surface().pixel(at + QPoint(1, 0)), blue);
        mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
        COMPARE_RGB(b.surface().pixel(at + QPoint(1, 0)), Face);
        COMPARE_RGB(b.surface().pixel(at + QPoint(2, 1)), blue);
        COMPARE_RGB(b.surface().pixel(at + QPoint(8, 8)), blue);
    }

    void hoverInAndOut() {
        TestButton b(3, {W, H}, systemColor(15));
        QSignalSpy in(&b, &Button_XP::MouseIn), out(&b, &Button_XP::MouseOut), moves(&b, &Button_XP::MouseMove);
        auto* timer = b.findChild<QTimer*>(QStringLiteral("OverTimer"));
        QVERIFY(timer && !timer->isActive());
        const QRgb plain = b.surface().pixel(1, 10);
        hover(b, true);
        mouse(&b, QEvent::MouseMove, Qt::NoButton, {11, 10});
        QCOMPARE(in.count(), 1);
        QCOMPARE(moves.count(), 2);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 10);
        COMPARE_RGB(b.surface().pixel(1, 10), qRgb(225, 153, 71));
        QTest::qWait(30);  // still over: nothing changes
        QCOMPARE(out.count(), 0);
        b.over = false;
        QTRY_COMPARE(out.count(), 1);
        QVERIFY(!timer->isActive());
        COMPARE_RGB(b.surface().pixel(1, 10), plain);
    }

    void dragOutAndBackIn() {
        TestButton b(3, {W, H});
        QSignalSpy clicks(&b, &Button_XP::Click);
        hover(b, true);
        mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
        COMPARE_RGB(b.top(), PressedTop);
        hover(b, false, Qt::LeftButton);  // out: shown released, still armed
        QTRY_COMPARE(b.findChild<QTimer*>(QStringLiteral("OverTimer"))->isActive(), false);
        COMPARE_RGB(b.top(), ShadeColor(Base, 16));
        hover(b, true, Qt::LeftButton);
        COMPARE_RGB(b.top(), PressedTop);
        mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 10});
        QCOMPARE(clicks.count(), 1);
    }

    void mouseClicks_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QList<MouseStep>>("steps");
        QTest::addColumn<QStringList>("log");
        const auto press = QEvent::MouseButtonPress;
        const auto release = QEvent::MouseButtonRelease;
        const QString sound = QDir::toNativeSeparators(QStringLiteral("sound ./resources/click.wav"));
        const QList<MouseStep> click = {{press, Qt::LeftButton, {10, 10}}, {release, Qt::LeftButton, {10, 10}}};
        const QStringList clicked = {"down 1 10 10 pressed", sound, "Click", "up 1 10 10 idle"};
        QTest::newRow("click") << "" << click << clicked;
        QTest::newRow("release outside") << "" << QList<MouseStep>{click[0], {release, Qt::LeftButton, {W, 10}}}
                                         << QStringList{"down 1 10 10 pressed", "up 1 75 10 idle"};
        QTest::newRow("right button") << ""
                                      << QList<MouseStep>{{press, Qt::RightButton, {10, 10}},
                                                          {release, Qt::RightButton, {10, 10}}}
                                      << QStringList{"down 2 10 10 idle", "up 2 10 10 idle"};
        QTest::newRow("double click repeats the first press")
            << ""
            << click + QList<MouseStep>{{QEvent::MouseButtonDblClick, Qt::LeftButton, {12, 11}},
                                        {release, Qt::LeftButton, {12, 11}}}
            << clicked + QStringList{"down 1 10 10 pressed", sound, "Click", "up 1 12 11 idle"};
        QTest::newRow("mail address") << "mailto:someone@example.org" << click
                                      << QStringList{"down 1 10 10 pressed", sound, "Click",
                                                     "open mailto:someone@example.org", "up 1 10 10 idle"};
    }

    void mouseClicks() {
        QFETCH(QString, url);
        QFETCH(QList<MouseStep>, steps);
        QFETCH(QStringList, log);
        QStringList seen;
        platform::services().playSound = [&](const QString& file) { seen << "sound " + file; };
        platform::services().openAddress = [&](const QString& address) {
            seen << "open " + address;
            return true;
        };
        TestButton b(3, {W, H});
        b.setURL(url);
        const QRgb idleTop = b.top();
        connect(&b, &Button_XP::Click, [&] { seen << "Click"; });
        // Each press and release is logged with the look the button shows then.
        auto record = [&](const char* what) {
            return [&, what](short button, short, float x, float y) {
                const char* shown = b.top() == idleTop ? "idle" : "pressed";
                seen << QStringLiteral("%1 %2 %3 %4 %5").arg(what).arg(button).arg(x).arg(y).arg(shown);
            };
        };
        connect(&b, &Button_XP::MouseDown, record("down"));
        connect(&b, &Button_XP::MouseUp, record("up"));
        for (const MouseStep& step : steps) {
            mouse(&b, step.type, step.button, step.at);
        }
        QCOMPARE(seen, log);
    }

    void spaceWithAutoRepeat() {
        TestButton b(3, {W, H});
        QStringList log;
        connect(&b, &Button_XP::Click, [&] { log << "Click"; });
        connect(&b, &Button_XP::KeyDown, [&](short code, short) { log << QStringLiteral("KeyDown %1").arg(code); });
        connect(&b, &Button_XP::KeyUp, [&](short code, short) { log << QStringLiteral("KeyUp %1").arg(code); });
        connect(&b, &Button_XP::MouseUp, [&](short button, short shift, float x, float y) {
            log << QStringLiteral("MouseUp %1 %2 %3 %4").arg(button).arg(shift).arg(x).arg(y);
        });
        key(&b, QEvent::KeyPress);
        COMPARE_RGB(b.top(), PressedTop);
        for (int i = 0; i < 3; ++i) {
            key(&b, QEvent::KeyRelease, true);
            key(&b, QEvent::KeyPress, true);
        }
        key(&b, QEvent::KeyRelease);
        QCOMPARE(log, QStringList({"KeyDown 32", "KeyDown 32", "KeyDown 32", "KeyDown 32", "Click", "MouseUp 1 0 0 0",
                                   "KeyUp 32"}));
        COMPARE_RGB(b.top(), ShadeColor(Base, 16));
    }

    void accessKey_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("spoken");  // the accessible name
        const char* rows[][3] = {
            {"&Open", "o", "Open"}, {"Save && &Start", "s", "Save & Start"},
            {"A&", "", "A"},        {"&&", "", "&"},
            {"A&&B", "", "A&B"},    {"&&&&&x", "", "&&x"},  // only the first two ampersands count
            {"&", "", ""},          {"...", "", "..."},
        };
        for (const auto& row : rows) {
            QTest::newRow(row[0]) << row[0] << row[1] << row[2];
        }
    }

    void accessKey() {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QFETCH(QString, spoken);
        TestButton b;
        b.setCaption(caption);
        QCOMPARE(b.AccessKey().isNull() ? QString() : QString(b.AccessKey()), key);
        QCOMPARE(b.accessibleName(), spoken);
    }

    void accessKeyClicksWithoutSound() {
        int sounds = 0;
        platform::services().playSound = [&](const QString&) { ++sounds; };
        QWidget window;
        auto* b = new TestButton(&window);
        b->setGeometry(10, 10, 75, 25);
        b->setCaption(QStringLiteral("&Open"));
        QSignalSpy clicks(b, &Button_XP::Click);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(sounds, 0);
        b->setEnabled(false);
        QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
    }

    void storedProperties() {
        Button_XP b;
        b.setObjectName(QStringLiteral("Open"));
        QCOMPARE(b.Caption(), QStringLiteral("Open"));
        QVERIFY(b.saveProperties().isEmpty());
        b.setTransparentBG(true);
        b.setButtonStyle(3);
        QVERIFY(!b.TransparentBG());
        b.setBEVEL(3);
        b.setForeColor(directColor(1, 2, 3));
        b.setURL(QStringLiteral("mailto:a@b"));
        const QVariantMap saved = b.saveProperties();
        QCOMPARE(saved.keys(), QStringList({"BEVEL", "ButtonStyle", "ForeColor", "URL"}));

        // Names in any case; everything missing goes back to its default.
        Button_XP copy;
        copy.setSoundClick(QStringLiteral("other.wav"));
        copy.setEnabled(false);
        copy.loadProperties({{"BUTTONSTYLE", 3}, {"caption", "&Go"}, {"forecolor", saved["ForeColor"]}});
        QCOMPARE(copy.ForeColor(), directColor(1, 2, 3));
        QCOMPARE(copy.AccessKey(), QChar('g'));
        QCOMPARE(copy.SoundClick(), Button_XP::DefaultSoundClick);
        QVERIFY(copy.Enabled());
        QCOMPARE(copy.BackColor(), systemColor(15));
        QVERIFY(!copy.mask().isEmpty());  // the XP region came with the style
    }
};

QTEST_MAIN(TestButtonXP)
#include "tst_button_xp.moc"
