// The window without a mouse: the menus' access keys and shortcuts, Tab to
// the owner-drawn buttons and Space or Enter on them.

#include <QAction>
#include <QApplication>
#include <QComboBox>
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

struct ButtonKey {
    int tabs;  // from the launcher box
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QStringList events;
    QString dialog;  // the title of the dialog asked for, if any
};

}  // namespace

Q_DECLARE_METATYPE(KeyRoute)
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
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::newRow("Menu") << "mnuMenu"
                              << "&Menu" << QKeySequence();
        QTest::newRow("Save") << "Cmd_Zapisz"
                              << "&Save" << QKeySequence(QKeySequence::Save);
        QTest::newRow("Exit") << "Exit"
                              << "E&xit" << QKeySequence();
        QTest::newRow("About") << "mnuAbout"
                               << "&About" << QKeySequence();
        QTest::newRow("Visit") << "Visit"
                               << "&Visit" << QKeySequence();
        QTest::newRow("guide") << "cmdCommunitySiteA"
                               << "Kelvory User &Guide" << QKeySequence(QKeySequence::HelpContents);
        QTest::newRow("home page") << "cmdCommunitySiteB"
                                   << "Kelvory &Home Page" << QKeySequence();
        QTest::newRow("problems") << "cmdAuthorPage"
                                  << "&Report a Problem" << QKeySequence();
        QTest::newRow("Copyright") << "Copyright"
                                   << "&Copyright" << QKeySequence();
    }

    void captionsKeepTheirWords() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        frmMain window;
        QAction* action = window.findChild<QAction*>(name);
        if (auto* menu = window.findChild<QMenu*>(name))
            action = menu->menuAction();
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), shortcut);
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
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
