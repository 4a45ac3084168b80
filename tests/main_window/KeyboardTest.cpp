// The window without a mouse: the menus' access keys and shortcuts, Tab to
// the owner-drawn buttons and Space or Enter on them, and the ring that shows
// which control has the focus.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusFrame>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "../common/Rows.h"
#include "WindowFixture.h"
#include "ui/widgets/Button_XP.h"

namespace {

// One key pressed where a step says: "" the control with the focus, or the
// open menu of that name.
struct Press {
    QString menu;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct KeyRoute {
    QList<Press> presses;
    QString event;  // what the program did; "@" stands for the program folder's address
    bool saved;     // box 0's 77 reached the file
};

// A menu or entry by its object name, its caption and its shortcut.
struct Caption {
    QString name, caption;
    QKeySequence shortcut;
};

struct ButtonKey {
    int tabs;  // from the launcher box
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QStringList events;
    QString dialog;  // the title of the dialog asked for, if any
};

const QRgb RingBlue = qRgb(0x2f, 0x65, 0xca);

QString rgb(QRgb c) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

}  // namespace

Q_DECLARE_METATYPE(KeyRoute)
Q_DECLARE_METATYPE(Caption)
Q_DECLARE_METATYPE(ButtonKey)

class KeyboardTest : public WindowFixture {
    Q_OBJECT

    // Starts shown and active, with box 0 changed from 5 to 77, not saved.
    void startEdited() {
        startShown([](Baza& b) { b.setLiga1(5); });
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        type(txt(0), QStringLiteral("77"));
    }

    QByteArray liga1InFile() const { return folder_->game().mid(Baza::LigaOffset, 4); }

private slots:
    void keysReachTheCommands_data() {
        const QString guide = "open: @/UserGuide.html";
        rows<KeyRoute>({
            {"Ctrl+S saves", {{{"", Qt::Key_S, Qt::ControlModifier}}, "message: Save Successfully", true}},
            {"Alt+M, S saves",
             {{{"", Qt::Key_M, Qt::AltModifier}, {"mnuMenu", Qt::Key_S}}, "message: Save Successfully", true}},
            {"F1 opens the guide", {{{"", Qt::Key_F1}}, guide, false}},
            {"Alt+A, V, G opens the guide",
             {{{"", Qt::Key_A, Qt::AltModifier}, {"mnuAbout", Qt::Key_V}, {"Visit", Qt::Key_G}}, guide, false}},
            {"Alt+A, C shows the copyright",
             {{{"", Qt::Key_A, Qt::AltModifier}, {"mnuAbout", Qt::Key_C}},
              QStringLiteral("message: Copyright \u00A9 2026 The Kelvory authors"),
              false}},
        });
    }

    void keysReachTheCommands() {
        QFETCH(KeyRoute, row);
        startEdited();
        for (const Press& press : row.presses) {
            QWidget* target = QApplication::focusWidget();
            if (!press.menu.isEmpty()) {
                auto* menu = window_->findChild<QMenu*>(press.menu);
                QVERIFY(menu);
                QTRY_VERIFY(menu->isVisible());
                target = menu;
            }
            QTest::keyClick(target, press.key, press.modifiers);
        }
        QCOMPARE(services_.events, QStringList{QString(row.event).replace('@', fileUrl(folder_->path()))});
        QCOMPARE(liga1InFile(), row.saved ? QByteArray("\x4d\x00\x00\x00", 4) : QByteArray("\x05\x00\x00\x00", 4));
    }

    // The access keys mark a letter of each caption; the words stay. The
    // shortcuts are the platform's for Save and for help.
    void captionsKeepTheirWords_data() {
        const QKeySequence none;
        rows<Caption>({
            {"Menu", {"mnuMenu", "&Menu", none}},
            {"Save", {"Cmd_Zapisz", "&Save", QKeySequence::Save}},
            {"Import", {"mnuImportSetup", "&Import League Setup…", none}},
            {"Export", {"mnuExportSetup", "&Export League Setup…", none}},
            {"Exit", {"Exit", "E&xit", none}},
            {"Edit", {"mnuEdit", "&Edit", none}},
            {"Undo", {"mnuUndo", "&Undo", QKeySequence::Undo}},
            {"Redo", {"mnuRedo", "&Redo", QKeySequence::Redo}},
            {"Revert to Saved", {"mnuRevert", "Re&vert to Saved", none}},
            {"Show Changes", {"mnuShowChanges", "Show &Changes\u2026", none}},
            {"About", {"mnuAbout", "&About", none}},
            {"Visit", {"Visit", "&Visit", none}},
            {"guide", {"cmdCommunitySiteA", "Kelvory User &Guide", QKeySequence::HelpContents}},
            {"home page", {"cmdCommunitySiteB", "Kelvory &Home Page", none}},
            {"problems", {"cmdAuthorPage", "&Report a Problem", none}},
            {"Copyright", {"Copyright", "&Copyright", none}},
        });
    }

    void captionsKeepTheirWords() {
        QFETCH(Caption, row);
        frmMain window;
        QAction* action = window.findChild<QAction*>(row.name);
        if (auto* menu = window.findChild<QMenu*>(row.name))
            action = menu->menuAction();
        QVERIFY(action);
        QCOMPARE(action->text(), row.caption);
        QCOMPARE(action->shortcut(), row.shortcut);
    }

    // Tab from the launcher box reaches "..." and then "Save and Start
    // Game"; Space (on its release) and Enter click them.
    void buttonsWorkFromTheKeyboard_data() {
        const QString saved = "message: Save Successfully", started = "start: /opt/launcher";
        const auto none = Qt::NoModifier;
        rows<ButtonKey>({
            {"... by Space", {1, Qt::Key_Space, none, {}, "Open vozi.exe"}},
            {"... by Return", {1, Qt::Key_Return, none, {}, "Open vozi.exe"}},
            {"... by Enter on the keypad", {1, Qt::Key_Enter, Qt::KeypadModifier, {}, "Open vozi.exe"}},
            {"... not by Ctrl+Return", {1, Qt::Key_Return, Qt::ControlModifier, {}, ""}},
            {"Save and Start Game by Space", {2, Qt::Key_Space, none, {saved, started}, ""}},
            {"Save and Start Game by Return", {2, Qt::Key_Return, none, {saved, started}, ""}},
        });
    }

    void buttonsWorkFromTheKeyboard() {
        QFETCH(ButtonKey, row);
        startEdited();
        setLauncher(QStringLiteral("/opt/launcher"));
        window_->controls().Text1->setFocus();
        for (int i = 0; i < row.tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        Button_XP* button = row.tabs == 1 ? window_->controls().Open : window_->controls().cmd_Save_Start_Game;
        QCOMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(button, row.key, row.modifiers);
        QCOMPARE(services_.events, row.events);
        QCOMPARE(services_.dialogTitle, row.dialog);
    }

    // The focused control has a ring two pixels wide around it, in dark blue,
    // and nothing else in its frame changes: without the focus the ring's
    // pixels show the frame as the style draws it.
    void focusRingAroundTheFocusedControl_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("map box") << "txt_43";
        QTest::newRow("logo box") << "txt_30";
        QTest::newRow("name picker") << "Combo22";
        QTest::newRow("...") << "Open";
        QTest::newRow("Save and Start Game") << "cmd_Save_Start_Game";
        QTest::newRow("structure list") << "List1";
    }

    void focusRingAroundTheFocusedControl() {
        QFETCH(QString, control);
        startShown();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QWidget* widget = window_->controls().byName.value(control);
        QVERIFY(widget);
        QWidget* frame = widget->parentWidget();
        const QRect inner = widget->geometry();
        const QRect outer = inner.adjusted(-2, -2, 2, 2);

        window_->controls().Lokalizacja->setFocus();  // in no frame
        const QImage unfocused = frame->grab().toImage();
        widget->setFocus(Qt::TabFocusReason);
        const QImage focused = frame->grab().toImage();
        int ringPixels = 0;
        for (int y = 0; y < focused.height(); ++y) {
            for (int x = 0; x < focused.width(); ++x) {
                const QPoint p(x, y);
                if (inner.contains(p))
                    continue;  // the control's own look
                const QString at = QStringLiteral(" at (%1, %2)").arg(x).arg(y);
                if (outer.contains(p)) {
                    ++ringPixels;
                    QCOMPARE(rgb(focused.pixel(p)) + at, rgb(RingBlue) + at);
                    QVERIFY2(unfocused.pixel(p) != RingBlue, qPrintable(at));
                } else {
                    QCOMPARE(rgb(focused.pixel(p)) + at, rgb(unfocused.pixel(p)) + at);
                }
            }
        }
        // Two pixels on every side, corners included.
        QCOMPARE(ringPixels, 2 * 2 * (inner.width() + 4) + 2 * 2 * inner.height());
    }

    // The ring follows the focus out of the window's controls (into a
    // menu) and back, and is nothing a screen reader meets.
    void ringFollowsTheFocus() {
        startShown();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto* ring = window_->findChild<QFocusFrame*>(QStringLiteral("focusRing"));
        QVERIFY(ring);
        txt(17)->setFocus();
        QVERIFY(ring->isVisible());
        QCOMPARE(ring->geometry(), txt(17)->geometry().adjusted(-2, -2, 2, 2));
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(ring->parentWidget());
        for (int i = 0; i < frame->childCount(); ++i)
            QVERIFY(frame->child(i)->object() != ring);
        combo(18)->setFocus();
        QCOMPARE(ring->parentWidget(), combo(18)->parentWidget());
        QCOMPARE(ring->geometry(), combo(18)->geometry().adjusted(-2, -2, 2, 2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier);
        auto* menu = window_->findChild<QMenu*>(QStringLiteral("mnuMenu"));
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(!ring->isVisible());
        // The first Escape closes the menu and leaves the focus on the menu
        // bar, which shows it itself; the second gives it back.
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(!ring->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(ring->isVisible());
        QCOMPARE(ring->geometry(), combo(18)->geometry().adjusted(-2, -2, 2, 2));
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
