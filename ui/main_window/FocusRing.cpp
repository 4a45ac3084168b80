#include "ui/main_window/FocusRing.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QRegion>

FocusRing::FocusRing(QWidget* area) : QFocusFrame(area), area_(area) {
    setObjectName(QStringLiteral("focusRing"));
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::follow(QWidget* focused) {
    QWidget* control = focused;
    // An editable picker's text field has the focus on the picker's behalf.
    if (control && qobject_cast<QComboBox*>(control->parentWidget())) {
        control = control->parentWidget();
    }
    if (control && (control->isWindow() || !area_->isAncestorOf(control))) {
        control = nullptr;
    }
    if (control == target_) {
        return;
    }
    if (target_) {
        target_->removeEventFilter(this);
    }
    target_ = control;
    if (!target_) {
        hide();
        return;
    }
    target_->installEventFilter(this);
    place();
}

void FocusRing::place() {
    QWidget* host = target_->parentWidget();
    if (parentWidget() != host) {
        setParent(host);  // clipped and moved with the control's own frame
    }
    setGeometry(target_->geometry().adjusted(-Width, -Width, Width, Width));
    setMask(QRegion(rect()) - QRegion(rect().adjusted(Width, Width, -Width, -Width)));
    raise();
    setVisible(target_->isVisible());
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
                place();
                break;
            default:
                break;
        }
    }
    return false;
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), FocusRingColour);  // the mask leaves the ring
}
