// The window for assistive technology and without a mouse: roles, names and
// actions of its controls, the order Tab visits the controls in, the menus'
// access keys and shortcuts (the About menu's pages among them), keys on the
// owner-drawn buttons, and the ring that shows which control has the focus.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>

#include "../common/Rows.h"
#include "WindowFixture.h"

namespace {

struct AccessibleRow {
    QAccessible::Role role;
    QString name, action;  // action: one it must offer
};

// One key pressed where a step says: "" the control with the focus, the
// open menu of that name, or the control of that name, given the focus first.
struct Press {
    QString where;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct KeyRoute {
    QList<Press> presses;
    QStringList events;  // what the program did; "@" stands for the program folder's address
    bool saved;          // box 0's 77 reached the file
};

}  // namespace

Q_DECLARE_METATYPE(AccessibleRow)
Q_DECLARE_METATYPE(KeyRoute)

class AccessibilityTest : public WindowFixture {
    Q_OBJECT

private slots:
    void accessibleRolesNamesAndActions_data() {
        const QString press = QAccessibleActionInterface::pressAction();
        const QString maps = "Maps Load u_1426.bin ->dt06.img, row ";
        rows<AccessibleRow>({
            {"Open", {QAccessible::Button, "Choose the launcher program", press}},
            {"Combo15",
             {QAccessible::ComboBox, "National Name, row 4, picker", QAccessibleActionInterface::showMenuAction()}},
            {"txt_43", {QAccessible::EditableText, maps + "5, Primer League", {}}},
            {"Frame7", {QAccessible::Grouping, "Maps", {}}},
        });
    }

    void accessibleRolesNamesAndActions() {
        QFETCH(AccessibleRow, row);
        startShown();
        QWidget* widget = window_->controls().byName.value(QTest::currentDataTag());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QCOMPARE(iface->role(), row.role);
        QCOMPARE(iface->text(QAccessible::Name), row.name);
        if (!row.action.isEmpty())
            QVERIFY2(iface->actionInterface()->actionNames().contains(row.action),
                     qPrintable(iface->actionInterface()->actionNames().join(", ")));
    }

    void everyControlAndFrameHasItsOwnName() {
        frmMain window;
        QStringList names;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(widget) && qobject_cast<QComboBox*>(widget->parentWidget()))
                continue;  // a picker's own text field carries the picker's name
            if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) || widget->inherits("QGroupBox")) {
                const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
                QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
                names << name;
            }
        }
        QCOMPARE(names.size(), 50 + 17 + 3 + 14);  // value boxes, pickers, other boxes, frames
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    }

    void tabRunsDownTheNationalNameRows() {
        startShown();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto focused = [] {
            QWidget* w = QApplication::focusWidget();
            return w && qobject_cast<QComboBox*>(w->parentWidget()) ? w->parentWidget() : w;
        };
        txt(12)->setFocus();  // the last slot box leads to the first name row
        const QList<QWidget*> expected = {txt(13), combo(14), txt(15), combo(16),
                                          txt(16), combo(17), txt(14), combo(15)};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focused(), next);
        }
    }

    // The About menu's pages are the ones this build was configured with;
    // without them, the guide beside the program and its sections stand in.
    void keysReachTheCommands_data() {
        const QString guide = "open: @/UserGuide.html", home = KELVORY_HOME_URL, issues = KELVORY_ISSUES_URL;
        const auto visit = [](Qt::Key key) {
            return QList<Press>{{"", Qt::Key_A, Qt::AltModifier}, {"mnuAbout", Qt::Key_V}, {"Visit", key}};
        };
        const QString saved = "message: Save Successfully";
        // Tab from the launcher box reaches "..." and then "Save and Start
        // Game", which Enter clicks (the button's other keys: tests/widgets).
        const Press tab{"", Qt::Key_Tab};
        rows<KeyRoute>({
            {"Ctrl+S saves", {{{"", Qt::Key_S, Qt::ControlModifier}}, {saved}, true}},
            {"Alt+M, S saves", {{{"", Qt::Key_M, Qt::AltModifier}, {"mnuMenu", Qt::Key_S}}, {saved}, true}},
            {"F1 opens the guide", {{{"", Qt::Key_F1}}, {guide}, false}},
            {"Alt+A, V, H opens the home page",
             {visit(Qt::Key_H), {home.isEmpty() ? guide + "#about" : "open: " + home}, false}},
            {"Alt+A, V, R opens the problems page",
             {visit(Qt::Key_R), {issues.isEmpty() ? guide + "#reporting-a-problem" : "open: " + issues}, false}},
            {"Save and Start Game by Return",
             {{{"Text1", Qt::Key_Tab}, tab, {"", Qt::Key_Return}}, {saved, "start: /opt/launcher"}, true}},
        });
    }

    void keysReachTheCommands() {
        QFETCH(KeyRoute, row);
        startShown([](Baza& b) { b.setLiga1(5); });
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        folder_->write("UserGuide.html", "<!DOCTYPE html>\n");  // installed beside the program
        type(txt(0), QStringLiteral("77"));                     // not saved
        setLauncher(QStringLiteral("/opt/launcher"));
        for (const Press& press : row.presses) {
            QWidget* target =
                press.where.isEmpty() ? QApplication::focusWidget() : window_->findChild<QWidget*>(press.where);
            QVERIFY(target);
            if (qobject_cast<QMenu*>(target))
                QTRY_VERIFY(target->isVisible());
            else if (!press.where.isEmpty())
                target->setFocus();
            QTest::keyClick(target, press.key, press.modifiers);
        }
        QCOMPARE(services_.events.join('\n'), row.events.join('\n').replace('@', fileUrl(folder_->path())));
        QCOMPARE(folder_->game().mid(Baza::LigaOffset, 4),
                 row.saved ? QByteArray("\x4d\x00\x00\x00", 4) : QByteArray("\x05\x00\x00\x00", 4));
    }

    // Every menu's title and entries have access keys of their own, distinct
    // within the menu.
    void everyMenuEntryHasItsOwnAccessKey() {
        frmMain window;
        QList<QWidget*> menus{window.menuBar()};
        for (QMenu* menu : window.findChildren<QMenu*>())
            menus << menu;
        for (QWidget* menu : menus) {
            QSet<QChar> keys;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator() || !action->isVisible())
                    continue;
                const QString text = action->text();
                const qsizetype mark = text.indexOf('&');
                QVERIFY2(mark >= 0 && text.indexOf('&', mark + 1) < 0, qPrintable(text));
                QVERIFY2(!keys.contains(text[mark + 1].toLower()), qPrintable(text));
                keys.insert(text[mark + 1].toLower());
            }
        }
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
        // Dark blue, two pixels wide: the control inside stays uncovered.
        QCOMPARE(ring->mask(), QRegion(ring->rect()) - QRegion(ring->rect().adjusted(2, 2, -2, -2)));
        QCOMPARE(QColor(ring->grab().toImage().pixel(1, 1)), QColor(0x2f, 0x65, 0xca));
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
        menu->close();
        combo(18)->setFocus();  // the control it left
        QTRY_VERIFY(ring->isVisible());
        QCOMPARE(ring->geometry(), combo(18)->geometry().adjusted(-2, -2, 2, 2));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
