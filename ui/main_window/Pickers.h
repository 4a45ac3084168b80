#pragma once

#include <QComboBox>

class QAbstractItemModel;

// The window's editable drop-down pickers. A class of their own so that
// assistive technology can be told how to present them.
class Picker : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
};

// Lets assistive technology present every Picker by what it sets. Must run
// before the first Picker is made; safe to call more than once.
void installPickerAccessibility();

// Gives `picker` its line edit, without the completer and without building
// its pop-up list: the list is made when it is first needed.
void makeEditable(QComboBox* picker);

// Makes `picker` change only when the user means it to: it takes the focus by
// click or Tab, never by the mouse wheel, and the wheel over it does nothing
// while its list is closed. It is also announced to assistive technology by
// its accessible name (what it sets), not by its current text.
void guardPicker(QComboBox* picker);

// Gives `picker` the list `model` (shared with other pickers) while keeping the
// text the picker shows and choosing no entry.
void sharePickerList(QComboBox* picker, QAbstractItemModel* model);

// Appends `item` to the list of `picker` while keeping the text the picker
// shows and choosing no entry.
void appendPickerItem(QComboBox* picker, const QString& item);
