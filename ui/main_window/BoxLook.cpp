#include "ui/main_window/BoxLook.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// QLineEdit keeps two pixels free inside its frame on each side.
constexpr int kLineEditMargin = 2;

// The value boxes' own frame.
constexpr int kFrameWidth = 1;

// The width the box can draw its text in.
int textRoom(const QLineEdit* box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditMargin;
}

void fitFont(QLineEdit* box) {
    const QWidget* parent = box->parentWidget();
    // The window's face, bold when the box shows its text bold (a changed
    // value, ChangeMarks.h).
    QFont face = parent ? parent->font() : box->font();
    face.setBold(box->font().bold());
    const int room = textRoom(box) - 2 * ValueBoxSpare;
    QFont chosen = face;
    if (QFontMetrics(face).horizontalAdvance(box->text()) > room) {
        const qreal start = face.pointSizeF() > 0 ? face.pointSizeF() : 8.0;
        for (qreal size = start - 0.5; size >= 6.0; size -= 0.5) {
            chosen.setPointSizeF(size);
            if (QFontMetrics(chosen).horizontalAdvance(box->text()) <= room) {
                break;
            }
        }
    }
    if (chosen != box->font()) {
        box->setFont(chosen);
    }
}

// Fits the text again whenever the box's font changes (bold on and off).
class FontWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FontChange) {
            fitFont(static_cast<QLineEdit*>(watched));
        }
        return false;
    }
};

}  // namespace

ValueBox::ValueBox(QWidget* parent, const QColor& base) : QLineEdit(parent) {
    // No frame from the style: the box draws its own one pixel wide frame.
    // The margins put the text where a one pixel frame leaves it, less the
    // margin QLineEdit keeps on each side, which the narrow boxes need back.
    setFrame(false);
    setTextMargins(kFrameWidth - kLineEditMargin, kFrameWidth, kFrameWidth - kLineEditMargin, kFrameWidth);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, base);
    setPalette(colours);
}

void ValueBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
    }
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const QColor frame = hasFocus() ? ValueBoxFocusFrame : ValueBoxFrame;
    const QRect r = rect();
    painter.fillRect(QRect(r.left(), r.top(), r.width(), kFrameWidth), frame);
    painter.fillRect(QRect(r.left(), r.bottom() - kFrameWidth + 1, r.width(), kFrameWidth), frame);
    painter.fillRect(QRect(r.left(), r.top(), kFrameWidth, r.height()), frame);
    painter.fillRect(QRect(r.right() - kFrameWidth + 1, r.top(), kFrameWidth, r.height()), frame);
}

void keepTextWhole(QLineEdit* box) {
    QObject::connect(box, &QLineEdit::textChanged, box, [box] { fitFont(box); });
    box->installEventFilter(new FontWatch(box));
    fitFont(box);
}
