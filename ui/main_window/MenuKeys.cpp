#include "ui/main_window/MenuKeys.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace {

struct MenuKey {
    const char* name;  // object name of the menu or entry
    char letter;       // marked as its access key: its first occurrence in the caption
    QKeySequence::StandardKey shortcut;
};

constexpr auto kNone = QKeySequence::UnknownKey;

// A menu's entries have access keys of their own, distinct within the menu.
const MenuKey kMenuKeys[] = {
    {"mnuMenu", 'M', kNone},
    {"Cmd_Zapisz", 'S', QKeySequence::Save},
    {"mnuRestoreOriginal", 'R', kNone},
    {"mnuImportSetup", 'I', kNone},
    {"mnuExportSetup", 'E', kNone},
    {"Exit", 'x', kNone},
    {"mnuEdit", 'E', kNone},
    {"mnuUndo", 'U', QKeySequence::Undo},
    {"mnuRedo", 'R', QKeySequence::Redo},
    {"mnuRevert", 'v', kNone},
    {"mnuShowChanges", 'C', kNone},
    {"mnuAbout", 'A', kNone},
    {"Visit", 'V', kNone},
    {"cmdCommunitySiteA", 'G', QKeySequence::HelpContents},  // the user guide: F1
    {"cmdCommunitySiteB", 'H', kNone},
    {"cmdAuthorPage", 'R', kNone},
    {"Copyright", 'C', kNone},
};

// `caption` with an ampersand before the first `letter`; unchanged when the
// letter is not in it.
QString withAccessKey(QString caption, char letter) {
    const qsizetype at = caption.indexOf(QLatin1Char(letter));
    if (at >= 0) {
        caption.insert(at, QLatin1Char('&'));
    }
    return caption;
}

}  // namespace

void giveMenuKeys(QWidget* window) {
    for (const MenuKey& key : kMenuKeys) {
        const QString name = QLatin1String(key.name);
        if (auto* menu = window->findChild<QMenu*>(name)) {
            menu->setTitle(withAccessKey(menu->title(), key.letter));
            continue;
        }
        if (auto* action = window->findChild<QAction*>(name)) {
            action->setText(withAccessKey(action->text(), key.letter));
            if (key.shortcut != kNone) {
                action->setShortcuts(key.shortcut);
            }
        }
    }
}
