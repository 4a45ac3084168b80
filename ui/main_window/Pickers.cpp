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

// The editable combo box of the toolkit names itself after its current text
// on some systems; a picker is named by what it sets and reports its text as
// its value.
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
    QComboBox* picker() const { return static_cast<QComboBox*>(widget()); }
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
