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
const QColor kOutsideColor(217, 130, 0);

// A solid triangle in one top corner of `r`, as on a flagged cell.
void paintCorner(QPainter& painter, const QRect& r, bool left, const QColor& color) {
    const int size = std::min(8, r.height() / 2);
    const int x = left ? r.left() : r.right() + 1;
    const int inward = left ? size : -size;
    QPainterPath corner;
    corner.moveTo(x, r.top());
    corner.lineTo(x + inward, r.top());
    corner.lineTo(x, r.top() + size);
    corner.closeSubpath();
    painter.fillPath(corner, color);
}

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
        const QRect r = rect();
        const bool notStored = !fieldState(parentWidget(), FieldState::NotStored).isEmpty();
        if (notStored) {
            // A frame two pixels wide just inside the box's edge.
            painter.fillRect(QRect(r.left(), r.top(), r.width(), 2), kMarkColor);
            painter.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), kMarkColor);
            painter.fillRect(QRect(r.left(), r.top(), 2, r.height()), kMarkColor);
            painter.fillRect(QRect(r.right() - 1, r.top(), 2, r.height()), kMarkColor);
            paintCorner(painter, r, true, kMarkColor);
        }
        if (!fieldState(parentWidget(), FieldState::OutsideGame).isEmpty()) {
            if (!notStored) {
                // A dotted frame one pixel wide just inside the box's edge.
                QPen dots(kOutsideColor, 1, Qt::DotLine);
                painter.setPen(dots);
                painter.drawRect(r.adjusted(0, 0, -1, -1));
            }
            paintCorner(painter, r, false, kOutsideColor);
        }
    }
};

QWidget* overlayOf(const QLineEdit* box) {
    return box->findChild<QWidget*>(QStringLiteral("fieldMark"), Qt::FindDirectChildrenOnly);
}

// Sets one of the two marks the overlay draws, and shows the overlay while
// either is set.
void setMark(QLineEdit* box, FieldState state, const QString& sentence) {
    if (!box || fieldState(box, state) == sentence) {
        return;
    }
    setFieldState(box, state, sentence);
    QWidget* overlay = overlayOf(box);
    if (fieldMark(box).isEmpty() && outsideMark(box).isEmpty()) {
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

}  // namespace

void setFieldMark(QLineEdit* box, const QString& reason) {
    setMark(box, FieldState::NotStored, reason);
}

void setOutsideMark(QLineEdit* box, const QString& sentence) {
    setMark(box, FieldState::OutsideGame, sentence);
}

QString outsideMark(const QLineEdit* box) {
    return fieldState(box, FieldState::OutsideGame);
}

QString fieldMark(const QLineEdit* box) {
    return fieldState(box, FieldState::NotStored);
}
