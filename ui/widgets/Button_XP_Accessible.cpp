#include "ui/widgets/Button_XP_Accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/widgets/Button_XP.h"

namespace {

// "Save && &Start" -> "Save & Start": a single '&' marks the access key, a
// doubled one stands for itself.
QString withoutAccessMarks(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                plain += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        plain += caption[i];
    }
    return plain;
}

class ButtonXPAccessible : public QAccessibleWidget {
public:
    explicit ButtonXPAccessible(Button_XP* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: {
                const QString name = widget()->accessibleName();
                return name.isEmpty() ? withoutAccessMarks(button()->Caption()) : name;
            }
            case QAccessible::Description: {
                const QString description = widget()->accessibleDescription();
                return description.isEmpty() ? widget()->toolTip() : description;
            }
            case QAccessible::Accelerator:
                return button()->AccessKey().isNull() ? QString() : QStringLiteral("Alt+") + button()->AccessKey();
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
            return {QStringLiteral("Alt+") + button()->AccessKey()};
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
