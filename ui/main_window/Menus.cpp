#include "ui/main_window/Menus.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "core/Words.h"
#include "ui/main_window/Language.h"

namespace {

constexpr auto kNone = QKeySequence::UnknownKey;

struct MenuEntry {
    const char* parent;   // object name of the menu it belongs to; "" for a menu of the menu bar
    const char* name;     // its object name; "" for a separator of no interest
    const char* caption;  // with "&" before its access key; nullptr for a separator, "" for a submenu's title
                          // (translated in the context "Menus")
    QKeySequence::StandardKey shortcut;
    bool submenu;
    bool hidden;
};

// Within a menu the access keys are distinct.
const MenuEntry kMenus[] = {
    {"", "mnuMenu", QT_TRANSLATE_NOOP("Menus", "&Menu"), kNone, true, false},
    {"mnuMenu", "MnuFileOpen", QT_TRANSLATE_NOOP("Menus", "&Open"), kNone, false,
     true},  // the Open routine runs once, at start-up
    {"mnuMenu", "Sep", nullptr, kNone, false, true},
    {"mnuMenu", "Cmd_Zapisz", QT_TRANSLATE_NOOP("Menus", "&Save"), QKeySequence::Save, false, false},
    {"mnuMenu", "mnuRestoreOriginal", QT_TRANSLATE_NOOP("Menus", "&Restore Original Values\u2026"), kNone, false,
     false},
    {"mnuMenu", "SepSetup", nullptr, kNone, false, false},
    {"mnuMenu", "mnuImportSetup", QT_TRANSLATE_NOOP("Menus", "&Import League Setup\u2026"), kNone, false, false},
    {"mnuMenu", "mnuExportSetup", QT_TRANSLATE_NOOP("Menus", "&Export League Setup\u2026"), kNone, false, false},
    {"mnuMenu", "Sep2", nullptr, kNone, false, false},
    {"mnuMenu", "Exit", QT_TRANSLATE_NOOP("Menus", "E&xit"), kNone, false, false},
    {"", "mnuEdit", QT_TRANSLATE_NOOP("Menus", "&Edit"), kNone, true, false},
    {"mnuEdit", "mnuUndo", QT_TRANSLATE_NOOP("Menus", "&Undo"), QKeySequence::Undo, false, false},
    {"mnuEdit", "mnuRedo", QT_TRANSLATE_NOOP("Menus", "&Redo"), QKeySequence::Redo, false, false},
    {"mnuEdit", "Sep3", nullptr, kNone, false, false},
    {"mnuEdit", "mnuRevert", QT_TRANSLATE_NOOP("Menus", "Re&vert to Saved"), kNone, false, false},
    {"mnuEdit", "mnuShowChanges", QT_TRANSLATE_NOOP("Menus", "Show &Changes\u2026"), kNone, false, false},
    {"", "mnuAbout", QT_TRANSLATE_NOOP("Menus", "&About"), kNone, true, false},
    {"mnuAbout", "Visit", QT_TRANSLATE_NOOP("Menus", "&Visit"), kNone, true, false},
    {"Visit", "cmdCommunitySiteA", QT_TRANSLATE_NOOP("Menus", "Kelvory User &Guide"), QKeySequence::HelpContents, false,
     false},
    {"Visit", "", nullptr, kNone, false, false},
    {"Visit", "cmdCommunitySiteB", QT_TRANSLATE_NOOP("Menus", "Kelvory &Home Page"), kNone, false, false},
    {"Visit", "", nullptr, kNone, false, false},
    {"Visit", "cmdAuthorPage", QT_TRANSLATE_NOOP("Menus", "&Report a Problem"), kNone, false, false},
    {"mnuAbout", "Sep5", nullptr, kNone, false, false},
    {"mnuAbout", "Copyright", QT_TRANSLATE_NOOP("Menus", "&Copyright"), kNone, false, false},
};

}  // namespace

void buildMenus(QMenuBar* bar) {
    for (const MenuEntry& entry : kMenus) {
        const QString name = QLatin1String(entry.name);
        const QString caption = entry.caption ? QCoreApplication::translate("Menus", entry.caption) : QString();
        if (entry.submenu) {
            QMenu* menu = *entry.parent ? bar->findChild<QMenu*>(QLatin1String(entry.parent))->addMenu(caption)
                                        : bar->addMenu(caption);
            menu->setObjectName(name);
            // Menus open as windows of their own, which take the application's
            // face (a serif one under Wine), not the window's: give them the
            // menu bar's.
            menu->setFont(bar->font());
            continue;
        }
        QMenu* menu = bar->findChild<QMenu*>(QLatin1String(entry.parent));
        QAction* action = entry.caption ? menu->addAction(caption) : menu->addSeparator();
        action->setObjectName(name);
        action->setVisible(!entry.hidden);
        if (entry.shortcut != kNone) {
            action->setShortcuts(entry.shortcut);
        }
    }
    addLanguageMenu(bar);
}
