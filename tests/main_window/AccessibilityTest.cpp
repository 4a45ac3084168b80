// What assistive technology and the window manager learn of the window: roles,
// names and actions of its controls, the order Tab visits them in, the
// titles of the window and of what it opens, and the About menu's pages.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
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

// What shows a title, and the title.
enum class Titled { Window, LauncherDialog, Message, CloseQuestion };

}  // namespace

Q_DECLARE_METATYPE(AccessibleRow)
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
            {"txt_43", {QAccessible::EditableText, "Maps Load u_1426.bin ->dt06.img, row 5", {}}},
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
            case Titled::Window:
                QCOMPARE(window_->windowTitle(), title);
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
