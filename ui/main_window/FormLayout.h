#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;
class Button_XP;

// The controls of the main window, made from one description of its layout.
// Positions are pixels at 96 dots per inch; Qt scales them on other screens.
struct FormControls {
    std::map<int, QLineEdit*> txt;    // the text-box array, members 0..36 and 39..51
    std::map<int, QComboBox*> combo;  // Combo1..Combo4, Combo14..Combo26 by number
    std::map<int, QLabel*> label;     // Label1..Label15 (those that exist) by number
    QHash<QString, QWidget*> byName;  // every named control
    QLineEdit* Nazwa_Exe = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Lokalizacja = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* Image1 = nullptr;
    Button_XP* Open = nullptr;
    Button_XP* cmd_Save_Start_Game = nullptr;
    QList<QWidget*> tabOrder;  // reading order, frame by frame
};

// Builds every frame, box, picker, label and button into `client`.
FormControls buildForm(QWidget* client);

// The window's client size in pixels.
constexpr int FormClientWidth = 855;
constexpr int FormClientHeight = 678;
