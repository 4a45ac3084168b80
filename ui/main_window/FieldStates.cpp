#include "ui/main_window/FieldStates.h"

#include <QStringList>
#include <QVariant>
#include <QWidget>

namespace {

struct StatePlace {
    FieldState state;
    const char* property;  // where the control keeps the sentence
    bool inTooltip;        // a mark: not otherwise shown in words
};

// In the order the description reads them: what the field is, then the marks.
const StatePlace kStates[] = {
    {FieldState::Help, "kelvoryHelp", true},
    {FieldState::NotStored, "kelvoryNotStored", true},
    {FieldState::OutsideGame, "kelvoryOutsideGame", true},
    {FieldState::Changed, "kelvoryChanged", true},
    {FieldState::LogoFile, "kelvoryLogoFile", false},
};

const StatePlace& placeOf(FieldState state) {
    for (const StatePlace& place : kStates) {
        if (place.state == state) {
            return place;
        }
    }
    return kStates[0];
}

}  // namespace

void setFieldState(QWidget* control, FieldState state, const QString& sentence) {
    if (!control || fieldState(control, state) == sentence) {
        return;
    }
    control->setProperty(placeOf(state).property, sentence);
    QStringList description;
    QStringList tooltip;
    for (const StatePlace& place : kStates) {
        const QString said = control->property(place.property).toString();
        if (said.isEmpty()) {
            continue;
        }
        description << said;
        if (place.inTooltip) {
            tooltip << said;
        }
    }
    control->setAccessibleDescription(description.join(QLatin1Char(' ')));
    control->setToolTip(tooltip.join(QLatin1Char('\n')));
}

QString fieldState(const QWidget* control, FieldState state) {
    return control ? control->property(placeOf(state).property).toString() : QString();
}
