// The button from the keyboard and its codes: Space presses it and clicks on
// release, Enter clicks at once, a held key clicks once, the events report
// every key; the input codes its events carry, the access keys of its
// captions, and the stored layout of its properties.

#include <QBuffer>
#include <QtTest>

#include "../common/Rows.h"
#include "platform/Services.h"
#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Button_XP_AccessKey.h"
#include "ui/widgets/Button_XP_Canvas.h"
#include "ui/widgets/Button_XP_Input.h"

namespace {

struct Key {
    QEvent::Type type;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    bool autoRepeat = false;
};

struct KeyCase {
    QList<Key> keys;
    QStringList log;  // sounds, clicks and key events, in order
};

void send(QWidget* w, const Key& k) {
    const QString text = k.key == Qt::Key_Space                              ? QStringLiteral(" ")
                         : k.key == Qt::Key_Return || k.key == Qt::Key_Enter ? QStringLiteral("\r")
                                                                             : QString();
    QKeyEvent event(k.type, k.key, k.modifiers, text, k.autoRepeat);
    QCoreApplication::sendEvent(w, &event);
}

void focus(QWidget* w, QEvent::Type type) {
    QFocusEvent event(type, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &event);
}

const auto Down = QEvent::KeyPress;
const auto Up = QEvent::KeyRelease;

}  // namespace

Q_DECLARE_METATYPE(KeyCase)

class ButtonXPKeysTest : public QObject {
    Q_OBJECT

    QStringList log_;

    // A 75 x 25 XP button whose clicks, sounds and key events go to the log.
    void watch(Button_XP& b) {
        b.resize(75, 25);
        b.setButtonStyle(Button_XP::Style::XP);
        b.setBackColor(buttonxp::directColor(100, 100, 96));
        connect(&b, &Button_XP::Click, this, [this] { log_ << "Click"; });
        connect(&b, &Button_XP::KeyDown, this,
                [this](short code, short shift) { log_ << QStringLiteral("KeyDown %1 %2").arg(code).arg(shift); });
        connect(&b, &Button_XP::KeyUp, this,
                [this](short code, short shift) { log_ << QStringLiteral("KeyUp %1 %2").arg(code).arg(shift); });
        connect(&b, &Button_XP::MouseUp, this, [this](short button, short, float x, float y) {
            log_ << QStringLiteral("MouseUp %1 %2 %3").arg(button).arg(x).arg(y);
        });
    }

private slots:
    void init() {
        log_.clear();
        platform::services().playSound = [this](const QString&) { log_ << "sound"; };
    }
    void cleanup() { platform::resetServices(); }

    void keys_data() {
        const QStringList spaceClick = {"KeyDown 32 0", "sound", "Click", "MouseUp 1 0 0", "KeyUp 32 0"};
        const QStringList enterClick = {"sound", "Click", "KeyDown 13 0", "KeyUp 13 0"};
        const auto held = [](Qt::Key key) {  // the system repeats the key while it is held
            return QList<Key>{
                {Down, key}, {Up, key, Qt::NoModifier, true}, {Down, key, Qt::NoModifier, true}, {Up, key}};
        };
        rows<KeyCase>({
            {"Space clicks on its release", {{{Down, Qt::Key_Space}, {Up, Qt::Key_Space}}, spaceClick}},
            {"Space held: one click",
             {held(Qt::Key_Space), {"KeyDown 32 0", "KeyDown 32 0", "sound", "Click", "MouseUp 1 0 0", "KeyUp 32 0"}}},
            {"Return clicks at once", {{{Down, Qt::Key_Return}, {Up, Qt::Key_Return}}, enterClick}},
            {"Enter on the keypad",
             {{{Down, Qt::Key_Enter, Qt::KeypadModifier}, {Up, Qt::Key_Enter, Qt::KeypadModifier}}, enterClick}},
            {"Return held: one click",
             {held(Qt::Key_Return), {"sound", "Click", "KeyDown 13 0", "KeyDown 13 0", "KeyUp 13 0"}}},
            {"Ctrl+Return is left to the host",
             {{{Down, Qt::Key_Return, Qt::ControlModifier}, {Up, Qt::Key_Return, Qt::ControlModifier}},
              {"KeyDown 13 2", "KeyUp 13 2"}}},
            {"another key does nothing", {{{Down, Qt::Key_A}, {Up, Qt::Key_A}}, {"KeyDown 65 0", "KeyUp 65 0"}}},
        });
    }

    void keys() {
        QFETCH(KeyCase, row);
        Button_XP b;
        watch(b);
        for (const Key& k : row.keys)
            send(&b, k);
        QCOMPARE(log_, row.log);
    }

    // A click by Enter may open something that takes the focus, and with it
    // the key's release. Back on the button, Space still shows it pressed:
    // the top line of the face turns to the pressed shade (84, 84, 84) from
    // the focus ring's (205, 235, 255).
    void spacePressesAfterEnterLostItsRelease() {
        Button_XP b;
        watch(b);
        focus(&b, QEvent::FocusIn);
        send(&b, {Down, Qt::Key_Return});
        focus(&b, QEvent::FocusOut);  // a message box took the focus
        focus(&b, QEvent::FocusIn);
        QCOMPARE(QColor(b.surface().pixel(10, 1)), QColor(205, 235, 255));
        send(&b, {Down, Qt::Key_Space});
        QCOMPARE(QColor(b.surface().pixel(10, 1)), QColor(84, 84, 84));
        send(&b, {Up, Qt::Key_Space});
        QCOMPARE(log_, QStringList({"sound", "Click", "KeyDown 13 0", "KeyDown 32 0", "sound", "Click", "MouseUp 1 0 0",
                                    "KeyUp 32 0"}));
    }

    // Mouse buttons left 1, right 2, middle 4; Shift 1, Ctrl 2, Alt 4; others none.
    void buttonAndShiftCodes() {
        using B = std::pair<Qt::MouseButtons, int>;
        for (const auto& [buttons, code] :
             {B{{}, 0}, B{Qt::LeftButton, 1}, B{Qt::RightButton, 2}, B{Qt::MiddleButton, 4},
              B{Qt::LeftButton | Qt::RightButton, 3}, B{Qt::BackButton, 0}})
            QCOMPARE(buttonxp::buttonCode(buttons), short(code));
        using S = std::pair<Qt::KeyboardModifiers, int>;
        for (const auto& [modifiers, code] :
             {S{{}, 0}, S{Qt::ShiftModifier, 1}, S{Qt::ControlModifier, 2}, S{Qt::AltModifier, 4},
              S{Qt::ShiftModifier | Qt::AltModifier, 5}, S{Qt::MetaModifier, 0}})
            QCOMPARE(buttonxp::shiftCode(modifiers), short(code));
    }

    // Setting the caption computes the access key; the plain caption drops
    // the marks and keeps a doubled one as a literal ampersand.
    void accessKeys_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("plain");
        const char* table[][3] = {{"&Open", "o", "Open"}, {"Save && &Start", "s", "Save & Start"},
                                  {"A&", "", "A"},        {"&&", "", "&"},
                                  {"A&&B", "", "A&B"},    {"&&&&&X", "", "&&X"},
                                  {"&&&S", "s", "&S"}};
        for (const auto& row : table)
            QTest::newRow(row[0]) << row[0] << row[1] << row[2];
    }

    void accessKeys() {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QFETCH(QString, plain);
        Button_XP b;
        b.setCaption(caption);
        QCOMPARE(b.AccessKey().isNull() ? QString() : QString(b.AccessKey()), key);
        QCOMPARE(buttonxp::withoutAccessMarks(caption), plain);
    }

    // A button at its defaults stores nothing, and a layout that leaves a
    // value out reads it as its default. A stored layout (names in any case,
    // codes outside the named ones as plain numbers) is read whole: stored
    // again it gives every value back, and the pointer shows.
    void storedLayoutRoundTrips() {
        Button_XP fresh;
        fresh.setObjectName(QStringLiteral("Go"));
        QCOMPARE(fresh.saveProperties(), QVariantMap());
        fresh.loadProperties({{"Caption", "Stop"}});
        QCOMPARE(fresh.saveProperties(), (QVariantMap{{"Caption", "Stop"}}));
        const auto png = [](int side) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            QPixmap picture(side, side);
            picture.fill(Qt::red);
            picture.save(&buffer, "PNG");
            return bytes;
        };
        using buttonxp::directColor;
        QVariantMap stored;
        stored.insert({{"BackColor", directColor(1, 2, 3)}, {"ForeColor", directColor(4, 5, 6)}});
        stored.insert({{"Caption", "&Go on"}, {"PicturePosition", -1}, {"ButtonStyle", 7}, {"Picture", png(3)}});
        stored.insert({{"PictureWidth", 40}, {"PictureHeight", 41}, {"PictureSize", 0}, {"OriginalPicSizeW", 42}});
        stored.insert({{"OriginalPicSizeH", 43}, {"ShowFocusRect", false}, {"Font", QFont("Sans", 13).toString()}});
        stored.insert({{"PictureHover", png(4)}, {"MouseIcon", png(5)}, {"Enabled", false}, {"MousePointer", 2}});
        stored.insert({{"URL", "mailto:a@b.c"}, {"XPColor_Pressed", directColor(7, 8, 9)}, {"XPDefaultColors", false}});
        stored.insert({{"XPColor_Hover", directColor(10, 11, 12)}, {"SoundOver", "o.wav"}, {"SoundClick", "c.wav"}});
        stored.insert({{"DefCurHand", true}, {"XPShowBorderAlways", true}, {"MaskColor", directColor(13, 14, 15)}});
        stored.insert({{"TransparentBG", true}, {"BEVEL", short(3)}, {"BEVELDEPTH", short(9)}});
        QVariantMap lowerCase;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            lowerCase.insert(it.key().toLower(), it.value());
        QWidget window;
        Button_XP read(&window);
        read.loadProperties(lowerCase);
        QCOMPARE(read.saveProperties(), stored);
        QCOMPARE(read.cursor().shape(), Qt::CrossCursor);
        // Back to the default pointer: the host's shows again.
        read.setMousePointer(Button_XP::Pointer::Default);
        QVERIFY(!read.testAttribute(Qt::WA_SetCursor));
    }

    // PictureSize 2 takes the picture's own size (ButtonXPTest::pictures),
    // 32 x 32 without one.
    void ownPictureSize() {
        Button_XP b;
        b.setPictureSize(Button_XP::PictureSizing::Own);
        QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(32, 32));
    }
};

QTEST_MAIN(ButtonXPKeysTest)
#include "ButtonXPKeysTest.moc"
