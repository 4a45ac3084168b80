#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <map>

struct Field;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;
class Button_XP;

// The controls of the main window, made from the field table and the window's
// own layout table. Positions are pixels at 96 dots per inch; Qt scales them
// on other screens.
struct FormControls {
    std::map<int, QLineEdit*> txt;    // the text-box array, by member
    std::map<int, QComboBox*> combo;  // the pickers, by number
    std::map<int, QLabel*> label;     // the labels, by number
    QHash<QString, QWidget*> byName;  // every named control
    QLineEdit* Nazwa_Exe = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Lokalizacja = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* Image1 = nullptr;
    Button_XP* Open = nullptr;
    Button_XP* cmd_Save_Start_Game = nullptr;
    QList<QWidget*> tabOrder;  // reading order, frame by frame

    // The box that shows `field`, and the picker or file-name indicator on its
    // row (nullptr when the field has none).
    QLineEdit* box(const Field& field) const;
    QComboBox* picker(const Field& field) const;
    QLabel* indicator(const Field& field) const;
};

// What the picker on a field's row shows while no entry is chosen:
// "Select Index", "Select category to Sector 0" ...; empty for a field
// without a picker.
QString pickerCaption(const Field& field);

// Builds every frame, box, picker, label and button into `client`.
FormControls buildForm(QWidget* client);

// The window's client size in pixels.
constexpr int FormClientWidth = 855;
constexpr int FormClientHeight = 678;
