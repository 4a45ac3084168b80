#pragma once

#include <QList>
#include <QListView>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

#include "ui/main_window/Pickers.h"

class NameCatalogue;
class NameEntries;
class NameFilter;
class NameListView;
class NamePicker;
class QAbstractItemModel;
class QLineEdit;

// The lists of the thirteen name pickers, made once from the name catalogue
// and shared by them all.
//
// When the catalogue reads as pairs (catalogues/NameCatalogue.h), every
// picker lists one entry per pair, "12 · Ashgrove, Wanderers", in a list of
// its own making (one list serves every picker, as only one is open at a
// time):
// - The arrow, F4, Alt+Down, Down or Up open the whole list, as wide as its
//   longest entry (at most the screen's width), with the entry of the box's
//   value selected and in view.
// - Typing into the picker filters the list as you type: an entry stays when
//   the typed text is part of its number or name (of "12 · Ashgrove,
//   Wanderers" as a whole), whatever the case and accents (foldForSearch).
//   Typing stores nothing.
// - Enter, or a click, chooses the highlighted entry; Enter with none
//   highlighted chooses the first entry left, if any text was typed. A choice
//   emits NamePicker::chosen with the entry's number.
// - Escape, and leaving the picker without a choice, put back the entry of
//   the box's value.
//
// When the catalogue does not read as pairs the pickers list every item, as
// they always have, in the combo box's own list: choosing an item copies its
// text, and typing searches nothing.
class NameLists : public QObject {
    Q_OBJECT

public:
    NameLists(const NameCatalogue& catalogue, QObject* parent);
    ~NameLists() override;

    bool paired() const { return entries_ != nullptr; }

    // Gives `picker` its list and returns the picker's own part, made a child
    // of the picker and deleted with it, or with the lists. `caption` is what
    // the picker shows when its box's value matches no entry ("Select Index").
    NamePicker* attach(Picker* picker, const QString& caption);

    // The one model every picker lists: the entries, or the items.
    QAbstractItemModel* model() const;

    // The list a picker opens when the catalogue reads as pairs; nullptr
    // until first opened, and for a catalogue that does not.
    QListView* openList() const;

    // The row of the whole list that holds the first entry with `number`;
    // -1 when there is none.
    int rowOfNumber(long long number) const;

    // The text a picker shows for `number`: its entry's; for a catalogue
    // that does not read as pairs, the first item that is exactly the
    // number's decimal text. Empty when there is none.
    QString textOfNumber(long long number) const;

private:
    friend class NamePicker;
    friend class NameListView;

    // The list for `picker`: filtered by `typed` (all entries when it is
    // empty), shown while it has entries, with nothing highlighted; or, when
    // `select` is given, the whole list with that row selected.
    void showFor(NamePicker* picker, const QString& typed, std::optional<int> select);
    // The one list, made a window of its own within `window` when first needed.
    QListView* makeView(QWidget* window);
    void hide();
    bool isOpenFor(const NamePicker* picker) const;
    // Enter in the open list: the highlighted entry, or the first when none
    // is; -1 when none is left.
    int rowToChoose() const;
    void choose(int filteredRow);
    // Enter in a picker whose list is closed: the first entry left by
    // `typed`; with none, the picker puts back its value.
    void chooseFirst(NamePicker* picker, const QString& typed);
    void place(QWidget* picker);

    NameEntries* entries_ = nullptr;       // paired
    QAbstractItemModel* items_ = nullptr;  // not paired
    NameFilter* filter_ = nullptr;
    QPointer<QListView> view_;    // a NameListView, built when first opened
    QPointer<NamePicker> owner_;  // the picker whose list is open
    QList<QPointer<NamePicker>> parts_;
};

// One name picker's part in the shared lists: what it shows, and its list.
class NamePicker : public QObject, public PickerList {
    Q_OBJECT

public:
    NamePicker(NameLists& lists, Picker* picker, const QString& caption);

    // Shows the entry of the box's `value` (what the box beside the picker
    // holds; none when it holds no value), or the caption when no entry has
    // it. Emits nothing and counts as no edit: the picker's text changes as a
    // program-set text does. Closes an open list and drops typed text. (The
    // window does not call it on a picker whose typed text it is handing to
    // the box beside it.)
    void showValue(std::optional<long long> value);
    std::optional<long long> shownValue() const { return value_; }

    // Whether the user has typed into the picker since it last showed a value.
    bool typing() const { return typing_; }

    // PickerList: only for a catalogue that reads as pairs.
    void openList() override;
    void closeList() override;
    bool listIsOpen() const override;
    QAbstractItemView* builtListView() const override;
    QAbstractItemView* listView() override;

signals:
    // An entry was chosen: the number the box beside the picker should hold.
    void chosen(long long number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class NameLists;
    friend class NameListView;

    QLineEdit* edit() const;
    void typed(const QString& text);
    // Puts back the entry of the box's value and forgets typed text.
    void cancel();
    void finishChoice(long long number);
    void display();

    NameLists& lists_;
    Picker* picker_;
    QString caption_;
    std::optional<long long> value_;
    bool typing_ = false;
};

// Folds a text for the pickers' search, so that what the user types matches
// whatever its case and accents: compatibility decomposition, combining marks
// dropped, case folded, and the letters that do not decompose written as the
// letters they are read as (ł l, ø o, đ d, ß ss, æ ae, œ oe, þ th, ı i, ...).
QString foldForSearch(const QString& text);
