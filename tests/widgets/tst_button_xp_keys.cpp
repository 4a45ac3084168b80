// The button from the keyboard: Space presses it and clicks on release, Enter
// clicks at once; a held key clicks once; the events report every key.

#include <QtTest>

#include "platform/Services.h"
#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Button_XP_Canvas.h"

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

class TestButtonXPKeys : public QObject {
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
        QTest::addColumn<KeyCase>("row");
        const QStringList spaceClick = {"KeyDown 32 0", "sound", "Click", "MouseUp 1 0 0", "KeyUp 32 0"};
        QTest::newRow("Space clicks on its release")
            << KeyCase{{{Down, Qt::Key_Space}, {Up, Qt::Key_Space}}, spaceClick};
        QTest::newRow("Space held: one click")
            << KeyCase{{{Down, Qt::Key_Space},
                        {Up, Qt::Key_Space, Qt::NoModifier, true},
                        {Down, Qt::Key_Space, Qt::NoModifier, true},
                        {Up, Qt::Key_Space}},
                       {"KeyDown 32 0", "KeyDown 32 0", "sound", "Click", "MouseUp 1 0 0", "KeyUp 32 0"}};
        QTest::newRow("Return clicks at once") << KeyCase{{{Down, Qt::Key_Return}, {Up, Qt::Key_Return}},
                                                          {"sound", "Click", "KeyDown 13 0", "KeyUp 13 0"}};
        QTest::newRow("Enter on the keypad")
            << KeyCase{{{Down, Qt::Key_Enter, Qt::KeypadModifier}, {Up, Qt::Key_Enter, Qt::KeypadModifier}},
                       {"sound", "Click", "KeyDown 13 0", "KeyUp 13 0"}};
        QTest::newRow("Return held: one click")
            << KeyCase{{{Down, Qt::Key_Return},
                        {Up, Qt::Key_Return, Qt::NoModifier, true},
                        {Down, Qt::Key_Return, Qt::NoModifier, true},
                        {Up, Qt::Key_Return}},
                       {"sound", "Click", "KeyDown 13 0", "KeyDown 13 0", "KeyUp 13 0"}};
        QTest::newRow("Ctrl+Return is left to the host")
            << KeyCase{{{Down, Qt::Key_Return, Qt::ControlModifier}, {Up, Qt::Key_Return, Qt::ControlModifier}},
                       {"KeyDown 13 2", "KeyUp 13 2"}};
        QTest::newRow("Shift+Return too")
            << KeyCase{{{Down, Qt::Key_Return, Qt::ShiftModifier}, {Up, Qt::Key_Return, Qt::ShiftModifier}},
                       {"KeyDown 13 1", "KeyUp 13 1"}};
        QTest::newRow("another key does nothing")
            << KeyCase{{{Down, Qt::Key_A}, {Up, Qt::Key_A}}, {"KeyDown 65 0", "KeyUp 65 0"}};
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
    // the idle one (164, 164, 130).
    void spacePressesAfterEnterLostItsRelease() {
        Button_XP b;
        watch(b);
        focus(&b, QEvent::FocusIn);
        send(&b, {Down, Qt::Key_Return});
        focus(&b, QEvent::FocusOut);  // a message box took the focus
        focus(&b, QEvent::FocusIn);
        QCOMPARE(QColor(b.surface().pixel(10, 1)), QColor(205, 235, 255));  // the focus ring's top line
        send(&b, {Down, Qt::Key_Space});
        QCOMPARE(QColor(b.surface().pixel(10, 1)), QColor(84, 84, 84));
        send(&b, {Up, Qt::Key_Space});
        QCOMPARE(log_, QStringList({"sound", "Click", "KeyDown 13 0", "KeyDown 32 0", "sound", "Click", "MouseUp 1 0 0",
                                    "KeyUp 32 0"}));
    }
};

QTEST_MAIN(TestButtonXPKeys)
#include "tst_button_xp_keys.moc"
