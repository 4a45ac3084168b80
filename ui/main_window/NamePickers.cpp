#include "ui/main_window/NamePickers.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyle>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "catalogues/NameCatalogue.h"

namespace {

// The open list shows at most this many entries at once.
constexpr int kVisibleRows = 20;

// Letters that do not decompose into a base letter and a mark, as the
// letters they are read as.
const char* plainLetters(QChar c) {
    switch (c.unicode()) {
        case 0x00C6:  // Æ
        case 0x00E6:  // æ
            return "ae";
        case 0x00D0:  // Ð
        case 0x00F0:  // ð
        case 0x0110:  // Đ
        case 0x0111:  // đ
            return "d";
        case 0x00D8:  // Ø
        case 0x00F8:  // ø
            return "o";
        case 0x00DE:  // Þ
        case 0x00FE:  // þ
            return "th";
        case 0x00DF:  // ß
        case 0x1E9E:  // ẞ
            return "ss";
        case 0x0126:  // Ħ
        case 0x0127:  // ħ
            return "h";
        case 0x0131:  // ı
            return "i";
        case 0x0141:  // Ł
        case 0x0142:  // ł
            return "l";
        case 0x0152:  // Œ
        case 0x0153:  // œ
            return "oe";
        case 0x0166:  // Ŧ
        case 0x0167:  // ŧ
            return "t";
        default:
            return nullptr;
    }
}

bool isMark(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

}  // namespace

QString foldForSearch(const QString& text) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        return text.toLower();
    }
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (isMark(c)) {
            continue;
        }
        if (const char* plain = plainLetters(c)) {
            folded += QLatin1String(plain);
        } else {
            folded += c.toCaseFolded();
        }
    }
    return folded;
}

// The entries of a paired catalogue, one row each: the entry's text as the
// pickers show it, its number, and the text folded for searching.
class NameEntries : public QAbstractListModel {
public:
    NameEntries(const NameCatalogue& catalogue, QObject* parent) : QAbstractListModel(parent) {
        const std::vector<NameEntry>& entries = catalogue.entries();
        numbers_.reserve(entries.size());
        texts_.reserve(static_cast<qsizetype>(entries.size()));
        keys_.reserve(static_cast<qsizetype>(entries.size()));
        byNumber_.reserve(entries.size());
        for (const NameEntry& entry : entries) {
            const QString text = QString::fromStdString(NameCatalogue::entryText(entry));
            const QString key = foldForSearch(text);
            byNumber_.emplace_back(entry.number, static_cast<int>(numbers_.size()));
            numbers_.push_back(entry.number);
            texts_.append(text);
            keys_.append(key == text ? text : key);  // the same text is shared, not copied
        }
        std::sort(byNumber_.begin(), byNumber_.end());
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(numbers_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) {
            return {};
        }
        switch (role) {
            case Qt::DisplayRole:
            case Qt::AccessibleTextRole:
                return texts_.at(index.row());
            case Qt::UserRole:
                return numberAt(index.row());
            default:
                return {};
        }
    }

    long long numberAt(int row) const { return numbers_.at(static_cast<std::size_t>(row)); }
    const QString& textAt(int row) const { return texts_.at(row); }
    const QString& keyAt(int row) const { return keys_.at(row); }

    int rowOfNumber(long long number) const {
        const auto found =
            std::lower_bound(byNumber_.begin(), byNumber_.end(), number,
                             [](const std::pair<int, int>& entry, long long n) { return entry.first < n; });
        return found != byNumber_.end() && found->first == number ? found->second : -1;
    }

    // The width of the widest text in `metrics`' font, worked out once a
    // font. Measuring 10,000 texts would hold up the first opening of a
    // list, so every text is estimated from the advances of its characters
    // (what kerning and shaping change is small), and only the widest few by
    // that estimate are measured as they will be drawn.
    int widestText(const QFontMetrics& metrics, const QString& fontKey) const {
        if (fontKey == widestFont_) {
            return widest_;
        }
        std::vector<std::pair<int, int>> estimates;  // (estimated width, row)
        estimates.reserve(numbers_.size());
        QHash<char16_t, int> advances;
        for (int row = 0; row < texts_.size(); ++row) {
            int width = 0;
            for (const QChar c : texts_.at(row)) {
                auto found = advances.constFind(c.unicode());
                if (found == advances.constEnd()) {
                    found = advances.insert(c.unicode(), metrics.horizontalAdvance(c));
                }
                width += *found;
            }
            estimates.emplace_back(width, row);
        }
        const std::size_t measured = std::min<std::size_t>(estimates.size(), 32);
        std::partial_sort(estimates.begin(), estimates.begin() + static_cast<std::ptrdiff_t>(measured), estimates.end(),
                          std::greater<>());
        int widest = 0;
        for (std::size_t i = 0; i < measured; ++i) {
            widest = std::max({widest, estimates[i].first, metrics.horizontalAdvance(texts_.at(estimates[i].second))});
        }
        widest_ = widest;
        widestFont_ = fontKey;
        return widest_;
    }

private:
    std::vector<int> numbers_;
    QStringList texts_;
    QStringList keys_;
    std::vector<std::pair<int, int>> byNumber_;  // (number, row), sorted: the first row of a number first
    mutable QString widestFont_;
    mutable int widest_ = 0;
};

// The entries left by what was typed, in the order of the catalogue.
class NameFilter : public QAbstractListModel {
public:
    NameFilter(const NameEntries& entries, QObject* parent) : QAbstractListModel(parent), entries_(entries) {}

    // Keeps the entries whose folded text holds the folded `typed`; all of
    // them when it is empty.
    void setTyped(const QString& typed) {
        const QString key = foldForSearch(typed);
        beginResetModel();
        all_ = key.isEmpty();
        rows_.clear();
        if (!all_) {
            const int count = entries_.rowCount();
            for (int row = 0; row < count; ++row) {
                if (entries_.keyAt(row).contains(key)) {
                    rows_.push_back(row);
                }
            }
        }
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        if (parent.isValid()) {
            return 0;
        }
        return all_ ? entries_.rowCount() : static_cast<int>(rows_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) {
            return {};
        }
        return entries_.data(entries_.index(entryRow(index.row())), role);
    }

    int entryRow(int row) const { return all_ ? row : rows_.at(static_cast<std::size_t>(row)); }

private:
    const NameEntries& entries_;
    bool all_ = true;
    std::vector<int> rows_;
};

// The list a name picker opens: a window of its own above everything, like
// a combo box's list, that sends typing on to the picker's text.
class NameListView : public QListView {
public:
    explicit NameListView(NameLists& lists, QWidget* window) : QListView(window), lists_(lists) {
        setObjectName(QStringLiteral("nameList"));
        setWindowFlags(Qt::Popup);
        setFocusPolicy(Qt::NoFocus);
        setUniformItemSizes(true);  // a 10,000-entry list lays out at once
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setMouseTracking(true);
        setAccessibleName(QCoreApplication::translate("NamePickers", "Names"));
        connect(this, &QListView::entered, this, [this](const QModelIndex& index) { setCurrentIndex(index); });
        connect(this, &QListView::clicked, this, [this](const QModelIndex& index) { lists_.choose(index.row()); });
    }

protected:
    bool event(QEvent* event) override {
        NamePicker* owner = lists_.owner_;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (!rect().contains(mouse->position().toPoint())) {
                // A press outside closes the list and goes on to what is
                // under it, as with a combo box's list; but a press on the
                // picker that opened it only closes it, so that its arrow
                // closes the list it opened.
                const QWidget* picker = owner ? owner->picker_ : nullptr;
                const bool onPicker =
                    picker && picker->rect().contains(picker->mapFromGlobal(mouse->globalPosition().toPoint()));
                setAttribute(Qt::WA_NoMouseReplay, onPicker);
                hide();
                return true;
            }
        }
        if (owner && event->type() == QEvent::KeyPress && handleKey(*owner, static_cast<QKeyEvent*>(event))) {
            return true;
        }
        if (owner && event->type() == QEvent::InputMethod) {
            return static_cast<QObject*>(owner->edit())->event(event);  // typing through an input method
        }
        return QListView::event(event);
    }

private:
    // Keys reach the open list, not the picker: the list moves its
    // highlight, chooses and closes; every other key goes on to the
    // picker's text.
    bool handleKey(NamePicker& owner, QKeyEvent* key) {
        switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                if (key->modifiers() & Qt::AltModifier) {
                    owner.cancel();
                    return true;
                }
                return false;
            case Qt::Key_Return:
            case Qt::Key_Enter: {
                const int row = lists_.rowToChoose();
                if (row >= 0) {
                    lists_.choose(row);
                } else {
                    owner.cancel();
                }
                return true;
            }
            case Qt::Key_Escape:
            case Qt::Key_F4:
                owner.cancel();
                return true;
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
                // Closes the list and moves on, as Tab in the picker does.
                lists_.hide();
                QCoreApplication::sendEvent(owner.picker_, key);
                return true;
            default:
                static_cast<QObject*>(owner.edit())->event(key);
                return true;
        }
    }

    NameLists& lists_;
};

NameLists::NameLists(const NameCatalogue& catalogue, QObject* parent) : QObject(parent) {
    if (catalogue.paired()) {
        entries_ = new NameEntries(catalogue, this);
        entries_->setObjectName(QStringLiteral("nameCatalogue"));
        filter_ = new NameFilter(*entries_, this);
        // The pickers' own lists stay empty: nothing there to choose by mistake.
        items_ = new QStringListModel(this);
        return;
    }
    QStringList items;
    items.reserve(static_cast<qsizetype>(catalogue.items().size()));
    for (const std::string& item : catalogue.items()) {
        items.append(QString::fromStdString(item));
    }
    items_ = new QStringListModel(items, this);
    items_->setObjectName(QStringLiteral("nameCatalogue"));
}

NameLists::~NameLists() {
    delete view_;
    // The parts live in the pickers but work on these lists.
    for (const QPointer<NamePicker>& part : parts_) {
        delete part;
    }
}

NamePicker* NameLists::attach(Picker* picker, const QString& caption) {
    sharePickerList(picker, items_);
    auto* part = new NamePicker(*this, picker, caption);
    parts_.append(part);
    if (paired()) {
        picker->setList(part);
    }
    return part;
}

QListView* NameLists::openList() const {
    return view_;
}

QAbstractItemModel* NameLists::model() const {
    return paired() ? static_cast<QAbstractItemModel*>(entries_) : items_;
}

int NameLists::rowOfNumber(long long number) const {
    return entries_ ? entries_->rowOfNumber(number) : -1;
}

QString NameLists::textOfNumber(long long number) const {
    if (entries_) {
        const int row = entries_->rowOfNumber(number);
        return row < 0 ? QString() : entries_->textAt(row);
    }
    const QStringList items = static_cast<QStringListModel*>(items_)->stringList();
    const QString text = QString::number(number);
    return items.contains(text) ? text : QString();
}

void NameLists::showFor(NamePicker* picker, const QString& typed, std::optional<int> select) {
    if (!filter_) {
        return;
    }
    makeView(picker->picker_->window());
    owner_ = picker;
    filter_->setTyped(select ? QString() : typed);
    if (filter_->rowCount() == 0) {
        hide();
        return;
    }
    place(picker->picker_);
    if (!view_->isVisible()) {
        view_->show();
    }
    if (select && *select >= 0) {
        const QModelIndex row = filter_->index(*select);
        view_->setCurrentIndex(row);
        view_->scrollTo(row, QAbstractItemView::PositionAtCenter);
    } else {
        view_->scrollToTop();
    }
}

QListView* NameLists::makeView(QWidget* window) {
    if (!view_) {
        view_ = new NameListView(*this, window);
        view_->setModel(filter_);
    }
    return view_;
}

void NameLists::hide() {
    if (view_ && view_->isVisible()) {
        view_->hide();
    }
}

bool NameLists::isOpenFor(const NamePicker* picker) const {
    return view_ && view_->isVisible() && owner_ == picker;
}

int NameLists::rowToChoose() const {
    const QModelIndex current = view_ ? view_->currentIndex() : QModelIndex();
    if (current.isValid() && view_->selectionModel()->isSelected(current)) {
        return current.row();
    }
    // None highlighted: the first entry left by what was typed.
    const bool typed = owner_ && owner_->typing_ && !owner_->edit()->text().isEmpty();
    return typed && filter_->rowCount() > 0 ? 0 : -1;
}

void NameLists::choose(int filteredRow) {
    NamePicker* picker = owner_;
    if (!picker || filteredRow < 0 || filteredRow >= filter_->rowCount()) {
        return;
    }
    const long long number = entries_->numberAt(filter_->entryRow(filteredRow));
    hide();
    picker->finishChoice(number);
}

void NameLists::chooseFirst(NamePicker* picker, const QString& typed) {
    owner_ = picker;
    filter_->setTyped(typed);
    if (typed.isEmpty() || filter_->rowCount() == 0) {
        picker->cancel();
        return;
    }
    hide();
    picker->finishChoice(entries_->numberAt(filter_->entryRow(0)));
}

void NameLists::place(QWidget* picker) {
    view_->setFont(picker->font());
    const QScreen* screen = picker->screen() ? picker->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
    const int count = filter_->rowCount();
    const int rows = std::min(count, kVisibleRows);
    const int frame = view_->frameWidth();
    // The item's own margins, as the style's item delegate leaves them.
    const int margins = 2 * (view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1);
    const int scrollBar = count > rows ? view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view_) : 0;
    const int widest = entries_->widestText(view_->fontMetrics(), view_->font().key());
    const int width = std::min(std::max(widest + margins + 2 * frame + scrollBar, picker->width()), room.width());
    const int height = std::min(rows * view_->sizeHintForRow(0) + 2 * frame, room.height());
    const QPoint top = picker->mapToGlobal(QPoint(0, 0));
    QPoint at(top.x(), top.y() + picker->height());
    if (at.y() + height > room.bottom() + 1 && top.y() - height >= room.top()) {
        at.setY(top.y() - height);  // no room below: above the picker
    }
    at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - width)));
    view_->setGeometry(QRect(at, QSize(width, height)));
}

NamePicker::NamePicker(NameLists& lists, Picker* picker, const QString& caption)
    : QObject(picker), lists_(lists), picker_(picker), caption_(caption) {
    setObjectName(QStringLiteral("namePicker"));
    // The picker has the focus and hands keys on to its text field.
    picker->installEventFilter(this);
    connect(edit(), &QLineEdit::textEdited, this, &NamePicker::typed);
    if (!lists_.paired()) {
        // A choice from the combo box's own list ends the typing.
        connect(picker, &QComboBox::activated, this, [this] { typing_ = false; });
    }
}

QLineEdit* NamePicker::edit() const {
    return picker_->lineEdit();
}

void NamePicker::showValue(std::optional<long long> value) {
    value_ = value;
    typing_ = false;
    if (lists_.isOpenFor(this)) {
        lists_.hide();
    }
    display();
}

void NamePicker::display() {
    QString text = value_ ? lists_.textOfNumber(*value_) : QString();
    if (text.isEmpty()) {
        text = caption_;
    }
    if (edit()->text() != text) {
        edit()->setText(text);
        edit()->setCursorPosition(0);  // the start of a long name
    }
}

void NamePicker::typed(const QString& text) {
    typing_ = true;
    if (lists_.paired()) {
        lists_.showFor(this, text, std::nullopt);
    }
}

void NamePicker::cancel() {
    typing_ = false;
    if (lists_.isOpenFor(this)) {
        lists_.hide();
    }
    display();
}

void NamePicker::finishChoice(long long number) {
    typing_ = false;
    emit chosen(number);
    // The window has shown the box's new value by now, if the box took it.
    display();
}

void NamePicker::openList() {
    if (!lists_.paired()) {
        return;
    }
    if (typing_) {
        lists_.showFor(this, edit()->text(), std::nullopt);
    } else {
        lists_.showFor(this, QString(), value_ ? lists_.rowOfNumber(*value_) : -1);
    }
}

void NamePicker::closeList() {
    if (lists_.isOpenFor(this)) {
        cancel();
    }
}

bool NamePicker::listIsOpen() const {
    return lists_.isOpenFor(this);
}

QAbstractItemView* NamePicker::builtListView() const {
    return lists_.view_;
}

QAbstractItemView* NamePicker::listView() {
    return lists_.paired() ? lists_.makeView(picker_->window()) : nullptr;
}

bool NamePicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched != picker_) {
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        // Leaving the picker without a choice: it shows its box's value again.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && typing_) {
            if (lists_.paired()) {
                cancel();
            } else {
                typing_ = false;
            }
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress || !lists_.paired()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers() & Qt::AltModifier;
    switch (key->key()) {
        case Qt::Key_Down:
        case Qt::Key_Up:
        case Qt::Key_F4:
            if (key->key() == Qt::Key_Up && alt) {
                return false;
            }
            openList();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!typing_) {
                return false;
            }
            if (lists_.isOpenFor(this)) {
                return false;  // the open list has it
            }
            lists_.chooseFirst(this, edit()->text());
            return true;
        case Qt::Key_Escape:
            if (!typing_) {
                return false;
            }
            cancel();
            return true;
        default:
            return false;
    }
}
