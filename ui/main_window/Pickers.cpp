#include "ui/main_window/Pickers.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>

void Picker::setList(PickerList* list) {
    list_ = list;
    listObject_ = dynamic_cast<QObject*>(list);
}

void Picker::showPopup() {
    if (PickerList* own = list()) {
        own->openList();
    } else {
        QComboBox::showPopup();
    }
}

void Picker::hidePopup() {
    if (PickerList* own = list()) {
        own->closeList();
    } else {
        QComboBox::hidePopup();
    }
}

namespace {

class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) {
            return false;
        }
        auto* picker = qobject_cast<QComboBox*>(watched);
        if (!picker) {
            picker = qobject_cast<QComboBox*>(watched->parent());
        }
        if (picker && !picker->view()->isVisible()) {
            event->ignore();
            return true;  // swallowed: a closed picker keeps its text
        }
        return false;
    }
};

WheelGuard* wheelGuard() {
    static WheelGuard* guard = new WheelGuard;
    return guard;
}

// A picker to assistive technology: a combo box named by what it sets (the
// toolkit's own names itself after its current text on some systems), with
// its text as value, and, as the toolkit's own presents a combo box, two
// children: the list of entries (whose items a screen reader reads and
// follows while the list is open) and the text field.
//
// The list is the picker's pop-up view. The pickers build it only when it is
// first needed, so it is built here when assistive technology first asks for
// it; its entries become accessible one by one, as they are asked for.
class PickerAccessible : public QAccessibleWidget {
public:
    explicit PickerAccessible(QComboBox* picker) : QAccessibleWidget(picker, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && !widget()->accessibleName().isEmpty()) {
            return widget()->accessibleName();
        }
        if (t == QAccessible::Value) {
            return picker()->currentText();
        }
        return QAccessibleWidget::text(t);
    }

    // Expandable, and expanded while its list is open.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const QAbstractItemView* list = builtList();
        s.expandable = true;
        s.expanded = list && list->isVisible();
        return s;
    }

    int childCount() const override { return picker()->lineEdit() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == ListChild) {
            QAbstractItemView* list = ownList() ? ownList()->listView() : picker()->view();
            if (list->accessibleName().isEmpty()) {
                list->setAccessibleName(widget()->accessibleName() + QStringLiteral(" list"));
            }
            return QAccessible::queryAccessibleInterface(list);
        }
        if (index == TextChild && picker()->lineEdit()) {
            return QAccessible::queryAccessibleInterface(picker()->lineEdit());
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const QObject* object = child ? child->object() : nullptr;
        if (!object) {
            return -1;
        }
        if (object == picker()->lineEdit()) {
            return TextChild;
        }
        // Asked about some list: it can only be this picker's if the list
        // exists already, so the question never builds one.
        const QAbstractItemView* list = builtList();
        return list && object == list ? ListChild : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        QLineEdit* edit = picker()->lineEdit();
        if (edit && edit->isVisible() && QRect(edit->mapToGlobal(QPoint(0, 0)), edit->size()).contains(x, y)) {
            return child(TextChild);
        }
        return nullptr;
    }

    // While the list is open the focus is on its current entry; otherwise the
    // text field has it whenever the picker has.
    QAccessibleInterface* focusChild() const override {
        const QAbstractItemView* list = builtList();
        if (list && list->isVisible()) {
            QAccessibleInterface* open = child(ListChild);
            QAccessibleInterface* entry = open->focusChild();
            return entry ? entry : open;
        }
        return picker()->lineEdit() ? child(TextChild) : nullptr;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override {
        if (actionName == showMenuAction() || actionName == pressAction()) {
            picker()->showPopup();
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }

private:
    enum { ListChild = 0, TextChild = 1 };
    QComboBox* picker() const { return static_cast<QComboBox*>(widget()); }
    PickerList* ownList() const {
        const auto* own = qobject_cast<const Picker*>(widget());
        return own ? own->list() : nullptr;
    }
    // The list the picker opens, when it exists already.
    QAbstractItemView* builtList() const {
        if (PickerList* list = ownList()) {
            return list->builtListView();
        }
        return picker()->findChild<QAbstractItemView*>();
    }
};

QAccessibleInterface* pickerAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("Picker") && object && object->isWidgetType()) {
        return new PickerAccessible(static_cast<QComboBox*>(object));
    }
    return nullptr;
}

}  // namespace

void installPickerAccessibility() {
    static const bool installed = (QAccessible::installFactory(pickerAccessibleFactory), true);
    (void)installed;
}

void makeEditable(QComboBox* picker) {
    // setEditable(true) would build the pop-up list at once, and a completer
    // that the pickers do not want. A line edit that arrives with a completer
    // keeps the combo box from making its own; taking that stand-in away
    // again leaves the picker without one.
    // One stand-in serves every picker, in turn.
    static QPointer<QCompleter> standIn;
    if (!standIn) {
        standIn = new QCompleter(QCoreApplication::instance());
    }
    auto* edit = new QLineEdit(picker);
    edit->setPalette(picker->palette());
    edit->setCompleter(standIn);
    picker->setLineEdit(edit);
    picker->setCompleter(nullptr);
}

void guardPicker(QComboBox* picker) {
    picker->setFocusPolicy(Qt::StrongFocus);
    picker->installEventFilter(wheelGuard());
    if (QLineEdit* edit = picker->lineEdit()) {
        edit->installEventFilter(wheelGuard());
        edit->setAccessibleName(picker->accessibleName());
    }
}

void sharePickerList(QComboBox* picker, QAbstractItemModel* model) {
    const QString text = picker->currentText();
    picker->setModel(model);
    picker->setCurrentIndex(-1);
    picker->setEditText(text);
    if (QLineEdit* edit = picker->lineEdit()) {
        edit->setCursorPosition(0);
    }
}

void appendPickerItem(QComboBox* picker, const QString& item) {
    // Adding the first item would make it current and replace the picker's
    // own text; keep that text.
    const QString text = picker->currentText();
    picker->addItem(item);
    if (picker->currentIndex() != -1) {
        picker->setCurrentIndex(-1);
        picker->setEditText(text);
        picker->lineEdit()->setCursorPosition(0);
    }
}
