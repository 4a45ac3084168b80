#include "ui/main_window/Menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr auto kNone = QKeySequence::UnknownKey;

struct MenuEntry {
    const char* parent;   // object name of the menu it belongs to; "" for a menu of the menu bar
    const char* name;     // its object name; "" for a separator of no interest
    const char* caption;  // with "&" before its access key; nullptr for a separator, "" for a submenu's title
    QKeySequence::StandardKey shortcut;
    bool submenu;
    bool hidden;
};

// Within a menu the access keys are distinct.
const MenuEntry kMenus[] = {
    {"", "mnuMenu", "&Menu", kNone, true, false},
    {"mnuMenu", "MnuFileOpen", "&Open", kNone, false, true},  // the Open routine runs once, at start-up
    {"mnuMenu", "Sep", nullptr, kNone, false, true},
    {"mnuMenu", "Cmd_Zapisz", "&Save", QKeySequence::Save, false, false},
    {"mnuMenu", "mnuRestoreOriginal", "&Restore Original Values\u2026", kNone, false, false},
    {"mnuMenu", "SepSetup", nullptr, kNone, false, false},
    {"mnuMenu", "mnuImportSetup", "&Import League Setup\u2026", kNone, false, false},
    {"mnuMenu", "mnuExportSetup", "&Export League Setup\u2026", kNone, false, false},
    {"mnuMenu", "Sep2", nullptr, kNone, false, false},
    {"mnuMenu", "Exit", "E&xit", kNone, false, false},
    {"", "mnuEdit", "&Edit", kNone, true, false},
    {"mnuEdit", "mnuUndo", "&Undo", QKeySequence::Undo, false, false},
    {"mnuEdit", "mnuRedo", "&Redo", QKeySequence::Redo, false, false},
    {"mnuEdit", "Sep3", nullptr, kNone, false, false},
    {"mnuEdit", "mnuRevert", "Re&vert to Saved", kNone, false, false},
    {"mnuEdit", "mnuShowChanges", "Show &Changes\u2026", kNone, false, false},
    {"", "mnuAbout", "&About", kNone, true, false},
    {"mnuAbout", "Visit", "&Visit", kNone, true, false},
    {"Visit", "cmdCommunitySiteA", "Kelvory User &Guide", QKeySequence::HelpContents, false, false},
    {"Visit", "", nullptr, kNone, false, false},
    {"Visit", "cmdCommunitySiteB", "Kelvory &Home Page", kNone, false, false},
    {"Visit", "", nullptr, kNone, false, false},
    {"Visit", "cmdAuthorPage", "&Report a Problem", kNone, false, false},
    {"mnuAbout", "Sep5", nullptr, kNone, false, false},
    {"mnuAbout", "Copyright", "&Copyright", kNone, false, false},
};

}  // namespace

void buildMenus(QMenuBar* bar) {
    for (const MenuEntry& entry : kMenus) {
        const QString name = QLatin1String(entry.name);
        if (entry.submenu) {
            QMenu* menu =
                *entry.parent
                    ? bar->findChild<QMenu*>(QLatin1String(entry.parent))->addMenu(QString::fromUtf8(entry.caption))
                    : bar->addMenu(QString::fromUtf8(entry.caption));
            menu->setObjectName(name);
            // Menus open as windows of their own, which take the application's
            // face (a serif one under Wine), not the window's: give them the
            // menu bar's.
            menu->setFont(bar->font());
            continue;
        }
        QMenu* menu = bar->findChild<QMenu*>(QLatin1String(entry.parent));
        QAction* action = entry.caption ? menu->addAction(QString::fromUtf8(entry.caption)) : menu->addSeparator();
        action->setObjectName(name);
        action->setVisible(!entry.hidden);
        if (entry.shortcut != kNone) {
            action->setShortcuts(entry.shortcut);
        }
    }
}
