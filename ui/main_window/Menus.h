#pragma once

class QMenuBar;

// Builds the window's menus from one table (Menus.cpp): each menu and entry
// with its object name, its caption with its access key marked ("&Menu",
// opened with Alt+M), and its shortcut where it has one: the platform's
// standard key for the command (Save) or the key users expect (F1 for the
// guide). The window connects the entries by their object names.
void buildMenus(QMenuBar* bar);
