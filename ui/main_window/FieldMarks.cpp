#include "ui/main_window/FieldMarks.h"

#include <QEvent>
#include <QFocusFrame>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/main_window/FieldStates.h"

namespace {

const QColor kMarkColor(204, 0, 0);

// Drawn over the whole box; lets every mouse event through to it. A focus
// frame to the toolkit, so that assistive technology, which passes over
// focus frames, does not meet it as a nameless control inside the box: the
// mark's words are in the box's description.
class MarkOverlay : public QFocusFrame {
public:
    explicit MarkOverlay(QLineEdit* box) : QFocusFrame(box) {
        setObjectName(QStringLiteral("fieldMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(box->rect());
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize) {
            setGeometry(parentWidget()->rect());
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, false);
        // A frame two pixels wide just inside the box's edge.
        const QRect r = rect();
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 2), kMarkColor);
        painter.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), kMarkColor);
        painter.fillRect(QRect(r.left(), r.top(), 2, r.height()), kMarkColor);
        painter.fillRect(QRect(r.right() - 1, r.top(), 2, r.height()), kMarkColor);
        // A solid triangle in the top left corner, as on a flagged cell.
        const int size = std::min(8, r.height() / 2);
        QPainterPath corner;
        corner.moveTo(r.left(), r.top());
        corner.lineTo(r.left() + size, r.top());
        corner.lineTo(r.left(), r.top() + size);
        corner.closeSubpath();
        painter.fillPath(corner, kMarkColor);
    }
};

QWidget* overlayOf(const QLineEdit* box) {
    return box->findChild<QWidget*>(QStringLiteral("fieldMark"), Qt::FindDirectChildrenOnly);
}

}  // namespace

void setFieldMark(QLineEdit* box, const QString& reason) {
    if (!box || fieldMark(box) == reason) {
        return;
    }
    setFieldState(box, FieldState::NotStored, reason);
    QWidget* overlay = overlayOf(box);
    if (reason.isEmpty()) {
        if (overlay) {
            overlay->hide();
        }
        return;
    }
    if (!overlay) {
        overlay = new MarkOverlay(box);
    }
    overlay->show();
    overlay->raise();
    overlay->update();
}

QString fieldMark(const QLineEdit* box) {
    return fieldState(box, FieldState::NotStored);
}
