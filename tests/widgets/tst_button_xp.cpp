#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "platform/Services.h"
#include "ui/widgets/Button_XP.h"

using buttonxp::directColor;
using buttonxp::ShadeColor;
using buttonxp::systemColor;

namespace {

// The explicit palette every test draws with (system colours 13 to 22).
const QRgb Highlight = qRgb(10, 36, 106);
const QRgb Face = qRgb(200, 196, 188);
const QRgb Shadow = qRgb(128, 128, 128);
const QRgb Text = qRgb(0, 0, 0);
const QRgb Light = qRgb(255, 255, 255);
const QRgb Dark = qRgb(64, 64, 64);
const QRgb Midlight = qRgb(224, 222, 216);

QPalette testPalette() {
    QPalette palette;
    const std::pair<QPalette::ColorRole, QRgb> roles[] = {
        {QPalette::Highlight, Highlight}, {QPalette::Button, Face}, {QPalette::Dark, Shadow},
        {QPalette::ButtonText, Text},     {QPalette::Light, Light}, {QPalette::Shadow, Dark},
        {QPalette::Midlight, Midlight},   {QPalette::Window, Face},
    };
    for (const auto& [role, colour] : roles) {
        palette.setColor(role, QColor(colour));
    }
    return palette;
}

// A button whose "is the cursor over me" answer the test decides.
class TestButton : public Button_XP {
public:
    explicit TestButton(QWidget* parent = nullptr) : Button_XP(parent) {
        setPalette(testPalette());
        setCaption(QString());
    }
    bool over = false;

protected:
    bool cursorOverButton() const override { return over; }
};

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPointF at, Qt::MouseButtons held = {}) {
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

void key(QWidget* w, QEvent::Type type, bool autoRepeat = false) {
    QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
    QCoreApplication::sendEvent(w, &event);
}

void focus(QWidget* w, bool in) {
    QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &event);
}

struct Span {
    int from;  // first pixel
    int to;    // last pixel, inclusive
    QRgb colour;
};

QString describe(QRgb c) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

// Every pixel of a row (or column) must be covered by the spans, in order.
bool checkLine(const QImage& image, bool row, int at, const QList<Span>& spans) {
    const int length = row ? image.width() : image.height();
    int next = 0;
    for (const Span& span : spans) {
        if (span.from != next) {
            qWarning("spans leave a gap at %d", next);
            return false;
        }
        for (int i = span.from; i <= span.to; ++i) {
            const QRgb actual = (row ? image.pixel(i, at) : image.pixel(at, i)) & 0xFFFFFFu;
            if (actual != (span.colour & 0xFFFFFFu)) {
                qWarning("%s %d, pixel %d: %s, expected %s", row ? "row" : "column", at, i,
                         qPrintable(describe(actual)), qPrintable(describe(span.colour)));
                return false;
            }
        }
        next = span.to + 1;
    }
    return next == length;
}

bool checkRow(const QImage& image, int y, const QList<Span>& spans) {
    return checkLine(image, true, y, spans);
}
bool checkColumn(const QImage& image, int x, const QList<Span>& spans) {
    return checkLine(image, false, x, spans);
}

// The 75 x 25 XP example: BackColor (100, 100, 96) gives base (148, 148, 120).
const QRgb Base = qRgb(148, 148, 120);
constexpr int W = 75;
constexpr int H = 25;

QRgb gradient(int y) {
    return ShadeColor(Base, -y);  // 25 / H is exactly 1 at this height
}

QRgb pressedGradient(int y) {
    const QRgb p = ShadeColor(Base, -32);
    return ShadeColor(p, buttonxp::roundHalfEven(-(15.0f / H) * static_cast<float>(H - y)));
}

}  // namespace

class TestButtonXP : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { platform::resetServices(); }

    void shadeColor_data();
    void shadeColor();
    void roundHalfEven_data();
    void roundHalfEven();
    void resolveColor_data();
    void resolveColor();

    void xpFace_data();
    void xpFace();
    void xpGradientRoundsHalfToEven();
    void xpCustomHoverColour();
    void xpRegion_data();
    void xpRegion();
    void otherLooks_data();
    void otherLooks();
    void accumulatingBevel();

    void layout_data();
    void layout();
    void pictureSizeRule();
    void pictureShiftsWhenPressedAndLosesMaskColour();

    void hoverInAndOut();
    void dragOutAndBackIn();
    void releaseOutsideDoesNotClick();
    void rightButtonDoesNotPress();
    void doubleClickClicksTwice();
    void spaceWithAutoRepeat();
    void clickSoundAndAddress_data();
    void clickSoundAndAddress();
    void accessKey_data();
    void accessKey();
    void accessKeyClicksWithoutSound();
    void minimumSize();
    void storedProperties();
};

void TestButtonXP::shadeColor_data() {
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<int>("k");
    QTest::addColumn<QRgb>("expected");
    QTest::newRow("example base") << qRgb(100, 100, 96) << 48 << Base;
    QTest::newRow("blue change truncates to 0") << Base << -1 << qRgb(147, 147, 120);
    QTest::newRow("pixel (5, 12) shade") << Base << -12 << qRgb(136, 136, 113);
    QTest::newRow("clamped at 255") << qRgb(250, 5, 250) << 20 << qRgb(255, 25, 255);
    QTest::newRow("clamped at 0, blue truncated toward zero") << qRgb(10, 40, 10) << -50 << qRgb(0, 0, 8);
    QTest::newRow("blue moves by its own share") << qRgb(0, 0, 255) << 192 << qRgb(192, 192, 255);
}

void TestButtonXP::shadeColor() {
    QFETCH(QRgb, colour);
    QFETCH(int, k);
    QFETCH(QRgb, expected);
    QCOMPARE(describe(ShadeColor(colour, k)), describe(expected));
}

void TestButtonXP::roundHalfEven_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5") << 2.5f << 2;
    QTest::newRow("3.5") << 3.5f << 4;
    QTest::newRow("-2.5") << -2.5f << -2;
    QTest::newRow("-1.5") << -1.5f << -2;
    QTest::newRow("-0.5") << -0.5f << 0;
    QTest::newRow("-12.4") << -12.4f << -12;
    QTest::newRow("-12.6") << -12.6f << -13;
}

void TestButtonXP::roundHalfEven() {
    QFETCH(float, value);
    QFETCH(int, expected);
    QCOMPARE(buttonxp::roundHalfEven(value), expected);
}

void TestButtonXP::resolveColor_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QRgb>("expected");
    QTest::newRow("direct, red in the low byte") << 0x00605040u << qRgb(0x40, 0x50, 0x60);
    QTest::newRow("13 selection highlight") << systemColor(13) << Highlight;
    QTest::newRow("15 button face") << systemColor(15) << Face;
    QTest::newRow("16 button shadow") << systemColor(16) << Shadow;
    QTest::newRow("18 button text") << systemColor(18) << Text;
    QTest::newRow("20 3D highlight") << systemColor(20) << Light;
    QTest::newRow("21 3D dark shadow") << systemColor(21) << Dark;
    QTest::newRow("22 3D light") << systemColor(22) << Midlight;
}

void TestButtonXP::resolveColor() {
    QFETCH(uint, value);
    QFETCH(QRgb, expected);
    QCOMPARE(describe(buttonxp::ResolveColor(value, testPalette())), describe(expected));
}

void TestButtonXP::xpFace_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QRgb>("ring");  // the ring colour before shading, if any
    QTest::newRow("idle") << "idle" << QRgb(0);
    QTest::newRow("focused") << "focused" << qRgb(140, 170, 230);
    QTest::newRow("focused and hovered: hover ring wins") << "focused hovered" << qRgb(225, 153, 71);
    QTest::newRow("hovered") << "hovered" << qRgb(225, 153, 71);
    QTest::newRow("pressed, focused and hovered: no rings") << "pressed focused hovered" << QRgb(0);
    QTest::newRow("disabled") << "disabled" << QRgb(0);
}

void TestButtonXP::xpFace() {
    QFETCH(QString, state);
    QFETCH(QRgb, ring);
    TestButton b;
    b.resize(W, H);
    b.setButtonStyle(3);
    b.setBackColor(directColor(100, 100, 96));
    if (state.contains("focused")) {
        focus(&b, true);
    }
    if (state.contains("hovered")) {
        b.over = true;
        mouse(&b, QEvent::MouseMove, Qt::NoButton, {10, 10});
    }
    if (state.contains("pressed")) {
        mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
    }
    if (state == "disabled") {
        b.setEnabled(false);
    }
    const QImage& img = b.surface();
    QCOMPARE(img.size(), QSize(W, H));
    const int mid = 12;

    if (state == "disabled") {
        const QRgb face = ShadeColor(Base, -24);
        const QRgb frame = ShadeColor(Base, -84);
        const QRgb corner = ShadeColor(Base, -72);
        QVERIFY(checkRow(img, 0, {{0, W - 1, frame}}));
        QVERIFY(checkRow(
            img, 1, {{0, 0, frame}, {1, 1, corner}, {2, W - 3, face}, {W - 2, W - 2, corner}, {W - 1, W - 1, frame}}));
        QVERIFY(checkRow(img, mid, {{0, 0, frame}, {1, W - 2, face}, {W - 1, W - 1, frame}}));
        QVERIFY(checkColumn(img, W / 2, {{0, 0, frame}, {1, H - 2, face}, {H - 1, H - 1, frame}}));
        return;
    }

    if (state.contains("pressed")) {
        const QRgb p = ShadeColor(Base, -32);
        QVERIFY(checkRow(img, 1, {{0, 1, Dark}, {2, W - 3, ShadeColor(p, -32)}, {W - 2, W - 1, Dark}}));
        QVERIFY(checkRow(img, 2,
                         {{0, 0, Dark},
                          {1, 1, ShadeColor(p, -32)},
                          {2, 2, ShadeColor(p, -22)},
                          {3, W - 3, ShadeColor(p, -24)},
                          {W - 2, W - 2, ShadeColor(p, 5)},
                          {W - 1, W - 1, Dark}}));
        QVERIFY(checkRow(img, mid,
                         {{0, 0, Dark},
                          {1, 1, ShadeColor(p, -32)},
                          {2, 2, ShadeColor(p, -22)},
                          {3, W - 4, pressedGradient(mid)},
                          {W - 3, W - 3, p},
                          {W - 2, W - 2, ShadeColor(p, 5)},
                          {W - 1, W - 1, Dark}}));
        QVERIFY(checkRow(img, H - 3,
                         {{0, 0, Dark},
                          {1, 1, ShadeColor(p, -32)},
                          {2, 2, ShadeColor(p, -22)},
                          {3, W - 3, ShadeColor(p, 10)},
                          {W - 2, W - 2, ShadeColor(p, 5)},
                          {W - 1, W - 1, Dark}}));
        QVERIFY(checkRow(img, H - 2, {{0, 1, Dark}, {2, W - 3, ShadeColor(p, 16)}, {W - 2, W - 1, Dark}}));
        QList<Span> column = {{0, 0, Dark}, {1, 1, ShadeColor(p, -32)}, {2, 2, ShadeColor(p, -24)}};
        for (int y = 3; y <= H - 4; ++y) {
            column.append({y, y, pressedGradient(y)});
        }
        column += {{H - 3, H - 3, ShadeColor(p, 10)}, {H - 2, H - 2, ShadeColor(p, 16)}, {H - 1, H - 1, Dark}};
        QVERIFY(checkColumn(img, W / 2, column));
        return;
    }

    // Enabled and not pressed: the face gradient, fully down the middle column.
    QVERIFY(checkRow(img, 0, {{0, W - 1, Dark}}));
    QVERIFY(checkRow(img, H - 1, {{0, W - 1, Dark}}));
    QList<Span> gradientRows;
    for (int y = 3; y <= H - 4; ++y) {
        gradientRows.append({y, y, gradient(y)});
    }
    QCOMPARE(describe(img.pixel(5, 12)), describe(qRgb(136, 136, 113)));
    if (ring == 0) {
        QVERIFY(checkRow(img, 1, {{0, 1, Dark}, {2, W - 3, ShadeColor(Base, 16)}, {W - 2, W - 1, Dark}}));
        QVERIFY(checkRow(img, 2,
                         {{0, 0, Dark},
                          {1, 1, ShadeColor(Base, -5)},
                          {2, W - 3, ShadeColor(Base, 10)},
                          {W - 2, W - 2, ShadeColor(Base, -36)},
                          {W - 1, W - 1, Dark}}));
        QVERIFY(checkRow(img, mid,
                         {{0, 0, Dark},
                          {1, 1, ShadeColor(Base, -5)},
                          {2, 2, ShadeColor(Base, -10)},
                          {3, W - 4, gradient(mid)},
                          {W - 3, W - 3, ShadeColor(Base, -24)},
                          {W - 2, W - 2, ShadeColor(Base, -36)},
                          {W - 1, W - 1, Dark}}));
        QVERIFY(checkRow(img, H - 3,
                         {{0, 0, Dark},
                          {1, 1, ShadeColor(Base, -5)},
                          {2, W - 3, ShadeColor(Base, -32)},
                          {W - 2, W - 2, ShadeColor(Base, -36)},
                          {W - 1, W - 1, Dark}}));
        QVERIFY(checkRow(img, H - 2, {{0, 1, Dark}, {2, W - 3, ShadeColor(Base, -48)}, {W - 2, W - 1, Dark}}));
        QList<Span> column = {{0, 0, Dark}, {1, 1, ShadeColor(Base, 16)}, {2, 2, ShadeColor(Base, 10)}};
        column += gradientRows;
        column += {{H - 3, H - 3, ShadeColor(Base, -32)}, {H - 2, H - 2, ShadeColor(Base, -48)}, {H - 1, H - 1, Dark}};
        QVERIFY(checkColumn(img, W / 2, column));
        return;
    }

    // A ring: the focus ring and the hover ring share one shape, not one shading.
    const bool hover = state.contains("hovered");
    const QRgb top = ShadeColor(ring, hover ? 90 : 65);
    const QRgb second = ShadeColor(ring, hover ? 35 : 50);
    const QRgb sides = ShadeColor(ring, hover ? 20 : 31);
    const QRgb bottom = ShadeColor(ring, hover ? -40 : -33);
    QVERIFY(checkRow(img, 1, {{0, 1, Dark}, {2, W - 3, top}, {W - 2, W - 1, Dark}}));
    QVERIFY(checkRow(img, 2, {{0, 0, Dark}, {1, W - 2, second}, {W - 1, W - 1, Dark}}));
    QVERIFY(checkRow(img, mid,
                     {{0, 0, Dark},
                      {1, 1, ring},
                      {2, 2, sides},
                      {3, W - 4, gradient(mid)},
                      {W - 3, W - 3, sides},
                      {W - 2, W - 2, ring},
                      {W - 1, W - 1, Dark}}));
    QVERIFY(checkRow(img, H - 3, {{0, 0, Dark}, {1, W - 2, ring}, {W - 1, W - 1, Dark}}));
    QVERIFY(checkRow(img, H - 2, {{0, 1, Dark}, {2, W - 3, bottom}, {W - 2, W - 1, Dark}}));
    QList<Span> column = {{0, 0, Dark}, {1, 1, top}, {2, 2, second}};
    column += gradientRows;
    column += {{H - 3, H - 3, ring}, {H - 2, H - 2, bottom}, {H - 1, H - 1, Dark}};
    QVERIFY(checkColumn(img, W / 2, column));
    QList<Span> side = {{0, 0, Dark}, {1, 1, top}, {2, 2, second}, {3, H - 4, sides}};
    side += {{H - 3, H - 3, ring}, {H - 2, H - 2, bottom}, {H - 1, H - 1, Dark}};
    QVERIFY(checkColumn(img, 2, side));
}

void TestButtonXP::xpGradientRoundsHalfToEven() {
    // At height 20 the step is 1.25: rows 6, 10 and 14 land on exact halves
    // (row 10 is where rounding half away from zero would differ).
    TestButton b;
    b.resize(40, 20);
    b.setButtonStyle(3);
    b.setBackColor(directColor(100, 100, 96));
    const int expected[] = {-4, -5, -6, -8, -9, -10, -11, -12, -14, -15, -16, -18, -19, -20};
    for (int y = 3; y <= 16; ++y) {
        QCOMPARE(describe(b.surface().pixel(20, y)), describe(ShadeColor(Base, expected[y - 3])));
    }
}

void TestButtonXP::xpCustomHoverColour() {
    TestButton b;
    b.resize(W, H);
    b.setButtonStyle(3);
    b.setXPDefaultColors(false);
    const QRgb hover = qRgb(20, 200, 40);
    b.setXPColor_Hover(directColor(hover));
    b.over = true;
    mouse(&b, QEvent::MouseMove, Qt::NoButton, {3, 3});
    const QImage& img = b.surface();
    QVERIFY(
        checkColumn(img, 1, {{0, 1, Dark}, {2, 2, ShadeColor(hover, 35)}, {3, H - 3, hover}, {H - 2, H - 1, Dark}}));
    QCOMPARE(describe(img.pixel(30, 1)), describe(ShadeColor(hover, 90)));
    QCOMPARE(describe(img.pixel(30, H - 2)), describe(ShadeColor(hover, -40)));
}

void TestButtonXP::xpRegion_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("the ... button") << QSize(17, 17);
    QTest::newRow("75 x 25") << QSize(75, 25);
    QTest::newRow("Save and Start Game") << QSize(121, 25);
    QTest::newRow("smallest") << QSize(10, 10);
}

void TestButtonXP::xpRegion() {
    QFETCH(QSize, size);
    QWidget host;
    auto* b = new TestButton(&host);
    b->setButtonStyle(3);
    host.show();
    b->setGeometry(QRect(QPoint(5, 5), size));
    const int w = size.width();
    const int h = size.height();
    const QRegion region = b->mask();
    const QPoint cut[] = {{0, 0},     {1, 0},     {0, 1},     {w - 2, 0},     {w - 1, 0},     {w - 1, 1},
                          {0, h - 1}, {1, h - 1}, {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}};
    for (const QPoint& p : cut) {
        QVERIFY2(!region.contains(p), qPrintable(QStringLiteral("(%1, %2) kept").arg(p.x()).arg(p.y())));
    }
    const QPoint kept[] = {{2, 0}, {1, 1}, {0, 2}, {w - 3, 0}, {w - 2, 1}, {w - 1, 2}, {0, h - 3}, {w - 2, h - 2}};
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

void TestButtonXP::otherLooks_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QRgb>("middle");  // a pixel clear of border and caption
    QTest::addColumn<QList<Span>>("firstRow");
    QTest::addColumn<QList<Span>>("lastColumn");
    constexpr int w = 40;
    constexpr int h = 20;
    const QRgb back = qRgb(90, 120, 150);
    const QRgb fore = qRgb(200, 0, 0);
    const QList<Span> none = {{0, w - 1, back}};
    const QList<Span> noneColumn = {{0, h - 1, back}};
    const QList<Span> raisedTop = {{0, w - 1, Light}};
    const QList<Span> raisedRight = {{0, 0, Light}, {1, h - 1, Shadow}};
    const QList<Span> sunkenTop = {{0, w - 1, Shadow}};
    const QList<Span> sunkenRight = {{0, 0, Shadow}, {1, h - 1, Light}};
    const QRgb toolHover = qRgb(181, 190, 214);  // Highlight + (171, 154, 108)
    const QRgb toolPressed = qRgb(166, 175, 214);
    QTest::newRow("classic idle: raised") << 0 << "" << back << raisedTop << raisedRight;
    QTest::newRow("classic pressed: sunken") << 0 << "pressed" << back << sunkenTop << sunkenRight;
    QTest::newRow("flat idle: no border") << 1 << "" << back << none << noneColumn;
    QTest::newRow("flat hovered: raised") << 1 << "hovered" << back << raisedTop << raisedRight;
    QTest::newRow("flat pressed: sunken") << 1 << "hovered pressed" << back << sunkenTop << sunkenRight;
    QTest::newRow("toolbar idle: background only") << 2 << "" << back << none << noneColumn;
    QTest::newRow("toolbar idle, border always")
        << 2 << "always" << back << QList<Span>{{0, w - 1, fore}} << QList<Span>{{0, h - 1, fore}};
    QTest::newRow("toolbar hovered: highlight tint and frame")
        << 2 << "hovered" << toolHover << QList<Span>{{0, w - 1, fore}} << QList<Span>{{0, h - 1, fore}};
    QTest::newRow("toolbar pressed") << 2 << "hovered pressed" << toolPressed << QList<Span>{{0, w - 1, fore}}
                                     << QList<Span>{{0, h - 1, fore}};
    QTest::newRow("toolbar hovered, own colours")
        << 2 << "hovered own" << Midlight << QList<Span>{{0, w - 1, fore}} << QList<Span>{{0, h - 1, fore}};
    QTest::newRow("borderless hovered") << 4 << "hovered" << back << none << noneColumn;
    QTest::newRow("borderless pressed") << 4 << "hovered pressed" << back << none << noneColumn;
    QTest::newRow("unknown style: flat border") << 9 << "hovered" << back << raisedTop << raisedRight;
    QTest::newRow("classic focused: default mark") << 0 << "focused" << back << raisedTop << raisedRight;
}

void TestButtonXP::otherLooks() {
    QFETCH(int, style);
    QFETCH(QString, state);
    QFETCH(QRgb, middle);
    QFETCH(QList<Span>, firstRow);
    QFETCH(QList<Span>, lastColumn);
    TestButton b;
    b.resize(40, 20);
    b.setButtonStyle(style);
    b.setBackColor(directColor(90, 120, 150));
    b.setForeColor(directColor(200, 0, 0));
    b.setXPShowBorderAlways(state.contains("always"));
    b.setXPDefaultColors(!state.contains("own"));
    if (state.contains("hovered")) {
        b.over = true;
        mouse(&b, QEvent::MouseMove, Qt::NoButton, {5, 5});
    }
    if (state.contains("pressed")) {
        mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    }
    if (state.contains("focused")) {
        focus(&b, true);
    }
    const QImage& img = b.surface();
    QCOMPARE(describe(img.pixel(2, 10)), describe(middle));
    QVERIFY(checkRow(img, 0, firstRow));
    QVERIFY(checkColumn(img, 39, lastColumn));
    if (state.contains("focused")) {
        // The mark's inner frame, and the dotted focus rectangle from (4, 4).
        QVERIFY(checkColumn(img, 38, {{0, 0, Light}, {1, 18, Shadow}, {19, 19, Shadow}}));
        const QRgb back = qRgb(90, 120, 150);
        QCOMPARE(describe(img.pixel(4, 4)), describe(qRgb(255 - 90, 255 - 120, 255 - 150)));
        QCOMPARE(describe(img.pixel(5, 4)), describe(back));
        QCOMPARE(describe(img.pixel(6, 4)), describe(img.pixel(4, 4)));
    }
}

void TestButtonXP::accumulatingBevel() {
    TestButton b;
    b.resize(40, 20);
    b.setButtonStyle(0);
    b.setBackColor(directColor(100, 100, 96));
    b.setBEVEL(2);
    // Darkening step by step: blue 96 -> 92 -> 89 -> 86 (one shade of -24 would give 84).
    const QRgb k1 = qRgb(92, 92, 92);
    const QRgb k2 = qRgb(84, 84, 89);
    const QRgb k3 = qRgb(76, 76, 86);
    const QRgb l2 = qRgb(116, 116, 112);
    const QRgb l3 = qRgb(124, 124, 120);
    QVERIFY(checkRow(b.surface(), 0, {{0, 38, l3}, {39, 39, k3}}));
    QVERIFY(checkRow(b.surface(), 1, {{0, 0, l3}, {1, 37, l2}, {38, 38, k2}, {39, 39, k3}}));
    QVERIFY(checkColumn(b.surface(), 39, {{0, 19, k3}}));
    QCOMPARE(describe(b.surface().pixel(37, 10)), describe(k1));

    // Pressed: the frames lighten and the top and left lines darken.
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    QVERIFY(checkRow(b.surface(), 0, {{0, 38, k3}, {39, 39, l3}}));
}

void TestButtonXP::layout_data() {
    QTest::addColumn<int>("position");
    QTest::newRow("0 picture above") << 0;
    QTest::newRow("1 picture left") << 1;
    QTest::newRow("2 picture right") << 2;
    QTest::newRow("3 picture below") << 3;
}

void TestButtonXP::layout() {
    QFETCH(int, position);
    TestButton b;
    b.resize(161, 101);  // inner 153 x 93: odd halves
    QPixmap picture(20, 10);
    picture.fill(Qt::red);
    b.setPicture(picture);
    b.setPictureSize(2);
    b.setPicturePosition(position);

    // Picture alone: centred in the inner rectangle.
    b.Refresh();
    QCOMPARE(b.pictureRect(), QRect(4 + (153 - 20) / 2, 4 + (93 - 10) / 2, 20, 10));

    b.setCaption(QStringLiteral("Go"));
    const QRect pic = b.pictureRect();
    const QRect text = b.textRect();
    QCOMPARE(pic.size(), QSize(20, 10));
    QVERIFY(text.width() > 2 && text.height() > 0);
    auto centredX = [](int size) { return 4 + (153 - size) / 2; };
    auto centredY = [](int size) { return 4 + (93 - size) / 2; };
    switch (position) {
        case 0:
            QCOMPARE(pic.topLeft(), QPoint(centredX(20), centredY(10 + 4 + text.height())));
            QCOMPARE(text.topLeft(), QPoint(centredX(text.width()), pic.top() + 10 + 4));
            break;
        case 1:
            QCOMPARE(pic.topLeft(), QPoint(centredX(20 + 4 + text.width()), centredY(10)));
            QCOMPARE(text.topLeft(), QPoint(pic.left() + 20 + 4, centredY(text.height())));
            break;
        case 2:
            QCOMPARE(text.topLeft(), QPoint(centredX(text.width() + 4 + 20), centredY(text.height())));
            QCOMPARE(pic.topLeft(), QPoint(text.left() + text.width() + 4, centredY(10)));
            break;
        case 3:
            QCOMPARE(text.topLeft(), QPoint(centredX(text.width()), centredY(text.height() + 4 + 10)));
            QCOMPARE(pic.topLeft(), QPoint(centredX(20), text.top() + text.height() + 4));
            break;
    }

    // A position outside 0..3 leaves both where they were.
    b.setPicturePosition(7);
    QCOMPARE(b.pictureRect(), pic);
    QCOMPARE(b.textRect(), text);
}

void TestButtonXP::pictureSizeRule() {
    TestButton b;
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(32, 32));
    b.setPictureSize(0);
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(16, 16));
    b.setPictureSize(2);  // no picture: 32 x 32
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(32, 32));
    b.setPicture(QPixmap(20, 10));
    QCOMPARE(QSize(b.OriginalPicSizeW(), b.OriginalPicSizeH()), QSize(20, 10));
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(20, 10));
    b.setPictureSize(5);  // unknown: unchanged
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(20, 10));
    b.setPictureSize(2);
    b.setPicture(QPixmap());
    QCOMPARE(QSize(b.OriginalPicSizeW(), b.OriginalPicSizeH()), QSize(32, 32));
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(32, 32));
}

void TestButtonXP::pictureShiftsWhenPressedAndLosesMaskColour() {
    TestButton b;
    b.resize(60, 40);
    b.setButtonStyle(4);
    b.setBackColor(directColor(Face));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    image.setPixel(0, 0, qRgb(0, 0, 0));  // MaskColor: left out
    b.setPicture(QPixmap::fromImage(image));
    b.setPictureSize(2);
    const QPoint at = b.pictureRect().topLeft();
    QCOMPARE(describe(b.surface().pixel(at)), describe(Face));
    QCOMPARE(describe(b.surface().pixel(at + QPoint(1, 0))), describe(qRgb(0, 0, 255)));
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    QCOMPARE(describe(b.surface().pixel(at + QPoint(1, 0))), describe(Face));
    QCOMPARE(describe(b.surface().pixel(at + QPoint(2, 1))), describe(qRgb(0, 0, 255)));
    QCOMPARE(describe(b.surface().pixel(at + QPoint(8, 8))), describe(qRgb(0, 0, 255)));
}

void TestButtonXP::hoverInAndOut() {
    TestButton b;
    b.resize(W, H);
    b.setButtonStyle(3);
    QSignalSpy in(&b, &Button_XP::MouseIn);
    QSignalSpy out(&b, &Button_XP::MouseOut);
    QSignalSpy moves(&b, &Button_XP::MouseMove);
    auto* timer = b.findChild<QTimer*>(QStringLiteral("OverTimer"));
    QVERIFY(timer);
    QVERIFY(!timer->isActive());
    const QRgb plain = b.surface().pixel(1, 10);

    b.over = true;
    mouse(&b, QEvent::MouseMove, Qt::NoButton, {10, 10});
    mouse(&b, QEvent::MouseMove, Qt::NoButton, {11, 10});
    QCOMPARE(in.count(), 1);
    QCOMPARE(moves.count(), 2);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 10);
    QCOMPARE(describe(b.surface().pixel(1, 10)), describe(qRgb(225, 153, 71)));

    QTest::qWait(30);  // still over: nothing changes
    QCOMPARE(out.count(), 0);
    b.over = false;
    QTRY_COMPARE(out.count(), 1);
    QVERIFY(!timer->isActive());
    QCOMPARE(describe(b.surface().pixel(1, 10)), describe(plain));
    QTest::qWait(30);
    QCOMPARE(out.count(), 1);
}

void TestButtonXP::dragOutAndBackIn() {
    TestButton b;
    b.resize(W, H);
    b.setButtonStyle(3);
    b.setBackColor(directColor(100, 100, 96));
    QSignalSpy clicks(&b, &Button_XP::Click);
    b.over = true;
    mouse(&b, QEvent::MouseMove, Qt::NoButton, {10, 10});
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
    const QRgb pressedTop = ShadeColor(ShadeColor(Base, -32), -32);
    QCOMPARE(describe(b.surface().pixel(30, 1)), describe(pressedTop));

    // Out: shown released, still armed.
    b.over = false;
    mouse(&b, QEvent::MouseMove, Qt::NoButton, {-20, 10}, Qt::LeftButton);
    QTRY_COMPARE(b.findChild<QTimer*>(QStringLiteral("OverTimer"))->isActive(), false);
    QCOMPARE(describe(b.surface().pixel(30, 1)), describe(ShadeColor(Base, 16)));

    // Back in: pressed again; releasing inside clicks once.
    b.over = true;
    mouse(&b, QEvent::MouseMove, Qt::NoButton, {10, 10}, Qt::LeftButton);
    QCOMPARE(describe(b.surface().pixel(30, 1)), describe(pressedTop));
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 10});
    QCOMPARE(clicks.count(), 1);
}

void TestButtonXP::releaseOutsideDoesNotClick() {
    TestButton b;
    b.resize(W, H);
    QSignalSpy clicks(&b, &Button_XP::Click);
    QSignalSpy ups(&b, &Button_XP::MouseUp);
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {W, 10});  // x = W is already outside
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(ups.count(), 1);
}

void TestButtonXP::rightButtonDoesNotPress() {
    TestButton b;
    b.resize(W, H);
    b.setButtonStyle(3);
    QSignalSpy clicks(&b, &Button_XP::Click);
    QSignalSpy downs(&b, &Button_XP::MouseDown);
    QSignalSpy ups(&b, &Button_XP::MouseUp);
    const QImage idle = b.surface().copy();
    mouse(&b, QEvent::MouseButtonPress, Qt::RightButton, {10, 10});
    QCOMPARE(b.surface(), idle);
    mouse(&b, QEvent::MouseButtonRelease, Qt::RightButton, {10, 10});
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(downs.count(), 1);
    QCOMPARE(downs.first().first().value<short>(), short(2));
    QCOMPARE(ups.count(), 1);
}

void TestButtonXP::doubleClickClicksTwice() {
    TestButton b;
    b.resize(W, H);
    QSignalSpy clicks(&b, &Button_XP::Click);
    QSignalSpy downs(&b, &Button_XP::MouseDown);
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 10});
    mouse(&b, QEvent::MouseButtonDblClick, Qt::LeftButton, {12, 11});
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {12, 11});
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(downs.count(), 2);
    QCOMPARE(downs.last().at(2).toFloat(), 10.0f);  // the first press's position, repeated
    b.releaseMouse();
}

void TestButtonXP::spaceWithAutoRepeat() {
    TestButton b;
    b.resize(W, H);
    b.setButtonStyle(3);
    b.setBackColor(directColor(100, 100, 96));
    QStringList log;
    connect(&b, &Button_XP::Click, [&] { log << "Click"; });
    connect(&b, &Button_XP::KeyDown, [&](short code, short) { log << QStringLiteral("KeyDown %1").arg(code); });
    connect(&b, &Button_XP::KeyUp, [&](short code, short) { log << QStringLiteral("KeyUp %1").arg(code); });
    connect(&b, &Button_XP::MouseUp, [&](short button, short shift, float x, float y) {
        log << QStringLiteral("MouseUp %1 %2 %3 %4").arg(button).arg(shift).arg(x).arg(y);
    });
    key(&b, QEvent::KeyPress);
    const QRgb pressedTop = ShadeColor(ShadeColor(Base, -32), -32);
    QCOMPARE(describe(b.surface().pixel(30, 1)), describe(pressedTop));
    for (int i = 0; i < 3; ++i) {
        key(&b, QEvent::KeyRelease, true);
        key(&b, QEvent::KeyPress, true);
    }
    key(&b, QEvent::KeyRelease);
    QCOMPARE(log, QStringList({"KeyDown 32", "KeyDown 32", "KeyDown 32", "KeyDown 32", "Click", "MouseUp 1 0 0 0",
                               "KeyUp 32"}));
    QCOMPARE(describe(b.surface().pixel(30, 1)), describe(ShadeColor(Base, 16)));
}

void TestButtonXP::clickSoundAndAddress_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("no address") << "" << QStringList();
    QTest::newRow("mail") << "mailto:someone@example.org" << QStringList{"mailto:someone@example.org"};
    QTest::newRow("web page") << "https://example.org/" << QStringList{"https://example.org/"};
}

void TestButtonXP::clickSoundAndAddress() {
    QFETCH(QString, url);
    QFETCH(QStringList, opened);
    QStringList sounds;
    QStringList addresses;
    platform::services().playSound = [&](const QString& file) { sounds << file; };
    platform::services().openAddress = [&](const QString& address) {
        addresses << address;
        return true;
    };
    TestButton b;
    b.resize(W, H);
    b.setURL(url);
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 10});
    const QString expectedSound = QDir::separator() == QLatin1Char('/') ? QStringLiteral("./resources/click.wav")
                                                                        : QStringLiteral(".\\resources\\click.wav");
    QCOMPARE(sounds, QStringList{expectedSound});
    QCOMPARE(addresses, opened);
}

void TestButtonXP::accessKey_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("&Open") << "&Open"
                           << "o"
                           << "Open";
    QTest::newRow("Save && &Start") << "Save && &Start"
                                    << "s"
                                    << "Save & Start";
    QTest::newRow("A&") << "A&"
                        << ""
                        << "A";
    QTest::newRow("&&") << "&&"
                        << ""
                        << "&";
    QTest::newRow("A&&B") << "A&&B"
                          << ""
                          << "A&B";
    QTest::newRow("only the first two ampersands count") << "&&&&&x"
                                                         << ""
                                                         << "&&x";
    QTest::newRow("single character") << "&"
                                      << ""
                                      << "";
    QTest::newRow("no ampersand") << "..."
                                  << ""
                                  << "...";
}

void TestButtonXP::accessKey() {
    QFETCH(QString, caption);
    QFETCH(QString, key);
    QFETCH(QString, spoken);
    TestButton b;
    b.setCaption(caption);
    QCOMPARE(b.AccessKey().isNull() ? QString() : QString(b.AccessKey()), key);
    QCOMPARE(b.accessibleName(), spoken);
}

void TestButtonXP::accessKeyClicksWithoutSound() {
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

void TestButtonXP::minimumSize() {
    QWidget host;
    auto* b = new TestButton(&host);
    host.show();
    b->setGeometry(0, 0, 5, 30);
    QCOMPARE(b->size(), QSize(10, 30));
    b->setGeometry(0, 0, 40, 3);
    QCOMPARE(b->size(), QSize(40, 10));
}

void TestButtonXP::storedProperties() {
    Button_XP b;
    b.setObjectName(QStringLiteral("Open"));
    QCOMPARE(b.Caption(), QStringLiteral("Open"));
    QVERIFY(b.saveProperties().isEmpty());

    b.setTransparentBG(true);
    b.setButtonStyle(3);
    QVERIFY(!b.TransparentBG());
    b.setCaption(QStringLiteral("..."));
    b.setBEVEL(3);
    b.setForeColor(directColor(1, 2, 3));
    b.setURL(QStringLiteral("mailto:a@b"));
    const QVariantMap saved = b.saveProperties();
    QCOMPARE(saved.keys(), QStringList({"BEVEL", "ButtonStyle", "Caption", "ForeColor", "URL"}));

    // Names in any case; everything missing goes back to its default.
    Button_XP copy;
    copy.setObjectName(QStringLiteral("cmd"));
    copy.setSoundClick(QStringLiteral("other.wav"));
    copy.setEnabled(false);
    copy.loadProperties({{"bevel", 3}, {"BUTTONSTYLE", 3}, {"caption", "&Go"}, {"forecolor", saved["ForeColor"]}});
    QCOMPARE(copy.BEVEL(), short(3));
    QCOMPARE(copy.ButtonStyle(), 3);
    QCOMPARE(copy.Caption(), QStringLiteral("&Go"));
    QCOMPARE(copy.AccessKey(), QChar('g'));
    QCOMPARE(copy.ForeColor(), directColor(1, 2, 3));
    QCOMPARE(copy.SoundClick(), Button_XP::DefaultSoundClick);
    QVERIFY(copy.Enabled());
    QCOMPARE(copy.BackColor(), systemColor(15));
    QCOMPARE(copy.XPColor_Hover(), systemColor(22));
    QCOMPARE(copy.BEVELDEPTH(), short(8));
    QVERIFY(!copy.mask().isEmpty());  // the XP region came with the style
}

QTEST_MAIN(TestButtonXP)
#include "tst_button_xp.moc"
