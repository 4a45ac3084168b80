// The window for assistive technology and without a mouse: roles, names and
// actions of its controls, the pickers' lists, the order Tab visits the
// controls in, the menus' access keys and shortcuts, keys on the owner-drawn
// buttons, the ring that shows which control has the focus, and the About
// menu's pages.

#include <QAbstractItemView>
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
#include "ui/widgets/Button_XP.h"

namespace {

struct AccessibleRow {
    QAccessible::Role role;
    QString name, action;  // action: one it must offer
};

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

struct ButtonKey {
    int tabs;  // from the launcher box
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QStringList events;
    QString dialog;  // the title of the dialog asked for, if any
};

const QRgb RingBlue = qRgb(0x2f, 0x65, 0xca);

}  // namespace

Q_DECLARE_METATYPE(AccessibleRow)
Q_DECLARE_METATYPE(KeyRoute)
Q_DECLARE_METATYPE(ButtonKey)

class AccessibilityTest : public WindowFixture {
    Q_OBJECT

    // Starts shown and active, with box 0 changed from 5 to 77, not saved.
    void startEdited() {
        startShown([](Baza& b) { b.setLiga1(5); });
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        type(txt(0), QStringLiteral("77"));
    }

    QByteArray liga1InFile() const { return folder_->game().mid(Baza::LigaOffset, 4); }

private slots:
    void accessibleRolesNamesAndActions_data() {
        const QString press = QAccessibleActionInterface::pressAction();
        const QString maps = "Maps Load u_1426.bin ->dt06.img, row ";
        rows<AccessibleRow>({
            {"cmd_Save_Start_Game", {QAccessible::Button, "Save and Start Game", press}},
            {"Open", {QAccessible::Button, "Choose the launcher program", press}},
            {"Combo15",
             {QAccessible::ComboBox, "National Name, row 4, picker", QAccessibleActionInterface::showMenuAction()}},
            {"txt_14", {QAccessible::EditableText, "National Name, row 4", {}}},
            {"txt_43", {QAccessible::EditableText, maps + "5, Primer League", {}}},
            {"Lokalizacja", {QAccessible::EditableText, "Game executable location", {}}},
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

    // A picker presents its list as the toolkit's combo box does: first
    // child the list, whose children are the entries, second its text field;
    // the picker keeps its own name and its text as value. Asking for its
    // name, value and children builds no list; asking for the list does.
    void pickerListsAreReadable() {
        startShown();
        QComboBox* picker = combo(3);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picker);
        const QString name = "National Category Logo League u_1426.bin ->dt06.img, row 3, picker";
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Value), picker->currentText());
        QCOMPARE(iface->childCount(), 2);
        QCOMPARE(iface->indexOfChild(QAccessible::queryAccessibleInterface(combo(4)->view())), -1);
        QVERIFY(!picker->findChild<QAbstractItemView*>());

        QAccessibleInterface* list = iface->child(0);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), name + " list");
        QCOMPARE(list->parent(), iface);
        QCOMPARE(iface->indexOfChild(list), 0);
        QCOMPARE(list->childCount(), 19);
        QCOMPARE(list->child(7)->role(), QAccessible::ListItem);
        QCOMPARE(list->child(7)->text(QAccessible::Name), QStringLiteral("category_07"));

        QAccessibleInterface* field = iface->child(1);
        QCOMPARE(field->object(), picker->lineEdit());
        QCOMPARE(iface->indexOfChild(field), 1);
        QCOMPARE(iface->focusChild(), field);
    }

    // With the list open, the focus is on the current entry, which the keys
    // move: asked where the focus is, the picker answers with that entry.
    void openListFollowsTheCurrentEntry() {
        startShown();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QComboBox* picker = combo(22);
        picker->setFocus();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picker);
        QCOMPARE(iface->focusChild()->object(), picker->lineEdit());
        QVERIFY(iface->state().expandable);
        QVERIFY(!iface->state().expanded);
        QTest::keyClick(picker, Qt::Key_F4);
        QTRY_VERIFY(picker->view()->isVisible());
        QVERIFY(iface->state().expanded);
        QTest::keyClick(picker->view(), Qt::Key_Down);
        QTest::keyClick(picker->view(), Qt::Key_Down);
        QAccessibleInterface* entry = iface->focusChild();
        QCOMPARE(entry->text(QAccessible::Name), QStringLiteral("Harbour, United"));
        QVERIFY(entry->state().focused);
        QCOMPARE(entry->parent(), iface->child(0));
        picker->hidePopup();
        QTRY_VERIFY(!picker->view()->isVisible());
        QVERIFY(!iface->state().expanded);
        QCOMPARE(iface->focusChild()->object(), picker->lineEdit());
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

    // The About menu opens the pages this build was configured with; without
    // them, the guide beside the program and its sections stand in.
    void aboutOpensItsPages_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("guide");  // "@" stands for the program folder's address
        QTest::newRow("guide") << "cmdCommunitySiteA"
                               << ""
                               << "@/UserGuide.html";
        QTest::newRow("home page") << "cmdCommunitySiteB" << KELVORY_HOME_URL << "@/UserGuide.html#about";
        QTest::newRow("problems") << "cmdAuthorPage" << KELVORY_ISSUES_URL << "@/UserGuide.html#reporting-a-problem";
    }

    void aboutOpensItsPages() {
        QFETCH(QString, entry);
        QFETCH(QString, configured);
        QFETCH(QString, guide);
        startLoaded();
        window_->action(entry)->trigger();
        const QString page = configured.isEmpty() ? guide.replace('@', fileUrl(folder_->path())) : configured;
        QCOMPARE(services_.events, QStringList{"open: " + page});
    }

    void keysReachTheCommands_data() {
        const QString guide = "open: @/UserGuide.html";
        rows<KeyRoute>({
            {"Ctrl+S saves", {{{"", Qt::Key_S, Qt::ControlModifier}}, "message: Save Successfully", true}},
            {"Alt+M, S saves",
             {{{"", Qt::Key_M, Qt::AltModifier}, {"mnuMenu", Qt::Key_S}}, "message: Save Successfully", true}},
            {"F1 opens the guide", {{{"", Qt::Key_F1}}, guide, false}},
            {"Alt+A, V, G opens the guide",
             {{{"", Qt::Key_A, Qt::AltModifier}, {"mnuAbout", Qt::Key_V}, {"Visit", Qt::Key_G}}, guide, false}},
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

    // Tab from the launcher box reaches "..." and then "Save and Start
    // Game"; Space (on its release) and Enter click them.
    void buttonsWorkFromTheKeyboard_data() {
        const QString saved = "message: Save Successfully", started = "start: /opt/launcher";
        const auto none = Qt::NoModifier;
        rows<ButtonKey>({
            {"... by Space", {1, Qt::Key_Space, none, {}, "Open vozi.exe"}},
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
        QCOMPARE(QColor(ring->grab().toImage().pixel(1, 1)), QColor(RingBlue));
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

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
