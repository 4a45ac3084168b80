#include "ui/widgets/Button_XP_Accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Button_XP_AccessKey.h"

namespace {

class ButtonXPAccessible : public QAccessibleWidget {
public:
    explicit ButtonXPAccessible(Button_XP* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: {
                const QString name = widget()->accessibleName();
                return name.isEmpty() ? buttonxp::withoutAccessMarks(button()->Caption()) : name;
            }
            case QAccessible::Description: {
                const QString description = widget()->accessibleDescription();
                return description.isEmpty() ? widget()->toolTip() : description;
            }
            case QAccessible::Accelerator:
                return buttonxp::accessKeyText(button()->AccessKey());
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) {
            names.prepend(pressAction());
        }
        return names;
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            // Clicked from the event loop, as a push button's own press is:
            // the click may open a modal message box, and the assistive
            // technology waits for this call to return.
            QMetaObject::invokeMethod(button(), &Button_XP::Press, Qt::QueuedConnection);
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }

    QStringList keyBindingsForAction(const QString& actionName) const override {
        if (actionName == pressAction() && !button()->AccessKey().isNull()) {
            return {buttonxp::accessKeyText(button()->AccessKey())};
        }
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }

private:
    Button_XP* button() const { return static_cast<Button_XP*>(widget()); }
};

QAccessibleInterface* buttonXPFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("Button_XP") && object && object->isWidgetType()) {
        return new ButtonXPAccessible(static_cast<Button_XP*>(object));
    }
    return nullptr;
}

}  // namespace

void installButtonXPAccessibility() {
    static const bool installed = (QAccessible::installFactory(buttonXPFactory), true);
    (void)installed;
}
