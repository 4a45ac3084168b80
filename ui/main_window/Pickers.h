#pragma once

#include <QComboBox>
#include <QPointer>

class QAbstractItemModel;
class QAbstractItemView;

// A list that a picker opens in place of the combo box's own (NamePickers.h).
class PickerList {
public:
    virtual ~PickerList() = default;
    virtual void openList() = 0;
    virtual void closeList() = 0;
    virtual bool listIsOpen() const = 0;
    // The list's view; nullptr until it is first needed.
    virtual QAbstractItemView* builtListView() const = 0;
    // The same, built when it is not there yet.
    virtual QAbstractItemView* listView() = 0;
};

// The window's editable drop-down pickers. A class of their own so that
// assistive technology can be told how to present them, and so that a
// picker can open a list of its own making: the arrow, F4 and Alt+Down open
// it as they would open the combo box's list.
class Picker : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    // Opens `list` from now on instead of the combo box's own; nullptr goes
    // back to that. The list must be a QObject; the picker does not own it,
    // and goes back to its own list when it is deleted.
    void setList(PickerList* list);
    PickerList* list() const { return listObject_ ? list_ : nullptr; }

    void showPopup() override;
    void hidePopup() override;

private:
    PickerList* list_ = nullptr;
    QPointer<QObject> listObject_;  // the same list, as the QObject that tells when it is gone
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
