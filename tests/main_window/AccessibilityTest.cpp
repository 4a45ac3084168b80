// What assistive technology and the window manager learn of the window: roles,
// names and actions of its controls, the order Tab visits them in, the
// titles of the window and of what it opens, and the About menu's pages.

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QTest>
#include <QWindow>

#include "../common/Rows.h"
#include "WindowFixture.h"
#include "ui/widgets/Button_XP.h"

namespace {

struct AccessibleRow {
    QAccessible::Role role;
    QString name, action;  // action: one it must offer
};

// A picker's list as assistive technology finds it: its name, how many
// entries, and some entries by position.
struct PickerList {
    QString name;
    int count;
    QList<std::pair<int, QString>> entries;
};

// How a picker's list is opened, the keys pressed in it, and the entry that
// is current afterwards.
enum class Opening { F4, AltDown, Mouse };
struct Following {
    Opening opening;
    QList<Qt::Key> keys;
    QString current;
};

// What a screen reader hears about a logo box beyond its value, after typing.
struct Described {
    QString typed, description, tooltip;
};

// What shows a title, and the title.
enum class Titled { Window, LauncherDialog, Message, CloseQuestion };

}  // namespace

Q_DECLARE_METATYPE(AccessibleRow)
Q_DECLARE_METATYPE(PickerList)
Q_DECLARE_METATYPE(Following)
Q_DECLARE_METATYPE(Described)
Q_DECLARE_METATYPE(Titled)

class AccessibilityTest : public WindowFixture {
    Q_OBJECT

private slots:
    void accessibleRolesNamesAndActions_data() {
        const QString press = QAccessibleActionInterface::pressAction();
        const QString menu = QAccessibleActionInterface::showMenuAction();
        rows<AccessibleRow>({
            {"cmd_Save_Start_Game", {QAccessible::Button, "Save and Start Game", press}},
            {"Open", {QAccessible::Button, "Choose the launcher program", press}},
            {"Combo22", {QAccessible::ComboBox, "Club Name, row 5, picker", menu}},
            {"Combo15", {QAccessible::ComboBox, "National Name, row 4, picker", menu}},
            {"Combo4",
             {QAccessible::ComboBox, "National Category Logo League u_1426.bin ->dt06.img, row 4, picker", menu}},
            {"txt_14", {QAccessible::EditableText, "National Name, row 4", {}}},
            {"txt_30", {QAccessible::EditableText, "Club Category Logo(dt04.img), row 1", {}}},
            {"txt_43", {QAccessible::EditableText, "Maps Load u_1426.bin ->dt06.img, row 5, Primer League", {}}},
            {"txt_39", {QAccessible::EditableText, "Maps Load u_1426.bin ->dt06.img, row 1, Europe", {}}},
            {"txt_51",
             {QAccessible::EditableText, "Maps Load u_1426.bin ->dt06.img, row 13, Other Latin American", {}}},
            {"txt_4", {QAccessible::EditableText, "Club Slot, row 1", {}}},
            {"Lokalizacja", {QAccessible::EditableText, "Game executable location", {}}},
            {"Frame7", {QAccessible::Grouping, "Maps", {}}},
        });
    }

    void accessibleRolesNamesAndActions() {
        QFETCH(AccessibleRow, row);
        const auto& [role, name, action] = row;
        startLoaded();
        window_->show();
        QWidget* widget = window_->controls().byName.value(QTest::currentDataTag());
        QVERIFY(widget);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(iface->role(), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        if (!action.isEmpty()) {
            QAccessibleActionInterface* actions = iface->actionInterface();
            QVERIFY(actions);
            QVERIFY2(actions->actionNames().contains(action), qPrintable(actions->actionNames().join(", ")));
        }
    }

    // A picker presents its list as the toolkit's combo box does: first
    // child the list, whose children are the entries, second its text field;
    // the picker keeps its own name and its text as value.
    void pickerListsAreReadable_data() {
        const QList<std::pair<int, QString>> names = {
            {0, "12"}, {1, "Northern League"}, {2, "Harbour, United"}, {4, "-7"}};
        rows<PickerList>({
            {"Combo22", {"Club Name, row 5, picker", 5, names}},
            {"Combo14", {"National Name, row 1, picker", 5, names}},
            {"Combo3",
             {"National Category Logo League u_1426.bin ->dt06.img, row 3, picker",
              19,
              {{0, "category_00"}, {7, "category_07"}, {18, "category_18"}}}},
        });
    }

    void pickerListsAreReadable() {
        QFETCH(PickerList, row);
        startShown();
        auto* picker = qobject_cast<QComboBox*>(window_->controls().byName.value(QTest::currentDataTag()));
        QVERIFY(picker);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picker);
        QCOMPARE(iface->text(QAccessible::Name), row.name);
        QCOMPARE(iface->text(QAccessible::Value), picker->currentText());
        QCOMPARE(iface->childCount(), 2);

        QAccessibleInterface* list = iface->child(0);
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), row.name + " list");
        QCOMPARE(list->parent(), iface);
        QCOMPARE(iface->indexOfChild(list), 0);
        QCOMPARE(list->childCount(), row.count);
        for (const auto& [index, text] : row.entries) {
            QAccessibleInterface* entry = list->child(index);
            QVERIFY(entry);
            QCOMPARE(entry->role(), QAccessible::ListItem);
            QCOMPARE(entry->text(QAccessible::Name), text);
        }

        QAccessibleInterface* field = iface->child(1);
        QVERIFY(field);
        QCOMPARE(field->object(), picker->lineEdit());
        QCOMPARE(field->role(), QAccessible::EditableText);
        QCOMPARE(iface->indexOfChild(field), 1);
        QCOMPARE(iface->focusChild(), field);
    }

    // Asking a picker for its name, value and children builds no list; the
    // list is built when its child is first asked for.
    void askingAboutAPickerBuildsNoList() {
        startShown();
        QComboBox* picker = combo(20);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picker);
        iface->text(QAccessible::Name);
        iface->text(QAccessible::Value);
        iface->childCount();
        iface->indexOfChild(QAccessible::queryAccessibleInterface(combo(21)->view()));
        QVERIFY(!picker->findChild<QAbstractItemView*>());
        QVERIFY(iface->child(0));
        QVERIFY(picker->findChild<QAbstractItemView*>());
    }

    // With the list open, the focus is on the current entry, which the keys
    // move: asked where the focus is, the picker answers with that entry of
    // its list.
    void openListFollowsTheCurrentEntry_data() {
        rows<Following>({
            {"F4, two down", {Opening::F4, {Qt::Key_Down, Qt::Key_Down}, "Harbour, United"}},
            {"Alt+Down, one down", {Opening::AltDown, {Qt::Key_Down}, "Northern League"}},
            {"mouse, end", {Opening::Mouse, {Qt::Key_End}, "-7"}},
        });
    }

    void openListFollowsTheCurrentEntry() {
        QFETCH(Following, row);
        startShown();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QComboBox* picker = combo(22);
        picker->setFocus();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picker);
        QCOMPARE(iface->focusChild()->object(), picker->lineEdit());
        QVERIFY(iface->state().expandable);
        QVERIFY(!iface->state().expanded);
        switch (row.opening) {
            case Opening::F4:
                QTest::keyClick(picker, Qt::Key_F4);
                break;
            case Opening::AltDown:
                QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
                break;
            case Opening::Mouse:
                QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(picker->width() - 6, picker->height() / 2));
                break;
        }
        QTRY_VERIFY(picker->view()->isVisible());
        QVERIFY(iface->state().expanded);
        for (Qt::Key key : row.keys)
            QTest::keyClick(picker->view(), key);
        QAccessibleInterface* entry = iface->focusChild();
        QVERIFY(entry);
        QCOMPARE(entry->role(), QAccessible::ListItem);
        QCOMPARE(entry->text(QAccessible::Name), row.current);
        QVERIFY(entry->state().focused);
        QCOMPARE(entry->parent(), iface->child(0));
        picker->hidePopup();
        QTRY_VERIFY(!picker->view()->isVisible());
        QVERIFY(!iface->state().expanded);
        QCOMPARE(iface->focusChild()->object(), picker->lineEdit());
    }

    // A logo box's description says what its indicator shows, after any mark;
    // its tooltip holds only the marks (the indicator is in plain sight).
    void logoBoxDescribesItsFile_data() {
        const QString notStored =
            "Not stored: Club Category Logo(dt04.img), row 1 keeps 5. "
            "Allowed: whole numbers from -2147483648 to 2147483647.";
        rows<Described>({
            {"as loaded", {"5", "Logo file: unnamed_40.bin.", ""}},
            {"another file", {"29", "Changed: was 5 Logo file: unnamed_64.bin.", "Changed: was 5"}},
            // Typed key by key: 3 names unnamed_38.bin, 31 no file.
            {"stored, no file: the indicator keeps the last",
             {"31", "Changed: was 5 Logo file: unnamed_38.bin.", "Changed: was 5"}},
            {"not stored", {"x", notStored + " Logo file: unnamed_40.bin.", notStored}},
        });
    }

    void logoBoxDescribesItsFile() {
        QFETCH(Described, row);
        startLoaded([](Baza& b) { b.setCatL1(5); });
        QLineEdit* box = txt(30);
        type(box, row.typed);
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description), row.description);
        QCOMPARE(box->toolTip(), row.tooltip);
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
        startLoaded();
        window_->show();
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

    void titles_data() {
        QTest::addColumn<Titled>("what");
        QTest::addColumn<QString>("title");
        QTest::newRow("window") << Titled::Window << "Kelvory Exibition Mode";
        QTest::newRow("launcher dialog") << Titled::LauncherDialog << "Open vozi.exe";
        QTest::newRow("message box") << Titled::Message << "Kelvory";
        QTest::newRow("unsaved changes question") << Titled::CloseQuestion << "Kelvory";
    }

    void titles() {
        QFETCH(Titled, what);
        QFETCH(QString, title);
        startShown();
        switch (what) {
            case Titled::Window:  // as the system shows it: no modified marker yet
                QCOMPARE(window_->windowHandle()->title(), title);
                break;
            case Titled::LauncherDialog:
                emit window_->controls().Open->Click();
                QCOMPARE(services_.dialogTitle, title);
                break;
            case Titled::Message:
                window_->Cmd_Zapisz_Click();
                QCOMPARE(services_.messages.size(), 1);
                QCOMPARE(services_.messages[0].caption, title);
                break;
            case Titled::CloseQuestion:
                type(txt(0), QStringLiteral("1234"));
                window_->close();
                QCOMPARE(services_.captions, QStringList{title});
                break;
        }
    }

    // In a build without pages of its own, the guide beside the program
    // stands in: its "about" and "reporting-a-problem" sections.
    void aboutOpensThePagesOfTheGuide_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("event");  // "@" stands for the program folder's address
        QTest::newRow("guide") << "cmdCommunitySiteA"
                               << "open: @/UserGuide.html";
        QTest::newRow("home page") << "cmdCommunitySiteB"
                                   << "open: @/UserGuide.html#about";
        QTest::newRow("problems") << "cmdAuthorPage"
                                  << "open: @/UserGuide.html#reporting-a-problem";
        QTest::newRow("copyright") << "Copyright"
                                   << QStringLiteral("message: Copyright \u00A9 2026 The Kelvory authors");
    }

    void aboutOpensThePagesOfTheGuide() {
        QFETCH(QString, entry);
        QFETCH(QString, event);
        if (!QStringLiteral(KELVORY_HOME_URL).isEmpty() || !QStringLiteral(KELVORY_ISSUES_URL).isEmpty())
            QSKIP("this build was configured with About pages of its own");
        startLoaded();
        window_->action(entry)->trigger();
        QCOMPARE(services_.events, QStringList{event.replace(QLatin1Char('@'), fileUrl(folder_->path()))});
    }

    // A build configured with pages of its own opens them.
    void aboutOpensTheConfiguredPages() {
        const QString home = QStringLiteral(KELVORY_HOME_URL), issues = QStringLiteral(KELVORY_ISSUES_URL);
        if (home.isEmpty() && issues.isEmpty())
            QSKIP("this build has no About pages of its own");
        startLoaded();
        window_->action(QStringLiteral("cmdCommunitySiteB"))->trigger();
        window_->action(QStringLiteral("cmdAuthorPage"))->trigger();
        QCOMPARE(services_.events.size(), 2);
        if (!home.isEmpty())
            QCOMPARE(services_.events[0], "open: " + home);
        if (!issues.isEmpty())
            QCOMPARE(services_.events[1], "open: " + issues);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
