#pragma once

class QWidget;

// Gives the window's menus and menu entries their access keys and shortcuts,
// all set in one table (MenuKeys.cpp): each menu or entry is found by its
// object name; its access key is a letter of its caption, marked in place, so
// the caption's words stay as they are ("Menu" becomes "&Menu", opened with
// Alt+M); its shortcut, where it has one, is the platform's standard key for
// the command (Save) or the key users expect (F1 for the guide).
void giveMenuKeys(QWidget* window);
