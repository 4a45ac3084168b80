#include "ui/main_window/BoxLook.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// QLineEdit keeps two pixels free inside its frame on each side.
constexpr int kLineEditMargin = 2;

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
    const QFont face = parent ? parent->font() : box->font();
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

}  // namespace

void styleValueBox(QLineEdit* box, const QColor& base) {
    box->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #7a7a7a; padding: 0px; background: %1; }"
                                      "QLineEdit:focus { border: 1px solid #2f65ca; }")
                           .arg(base.name()));
    // Give back the margin QLineEdit keeps inside the frame; the frame itself
    // is thin enough to leave the text room.
    box->setTextMargins(-kLineEditMargin, 0, -kLineEditMargin, 0);
}

void keepTextWhole(QLineEdit* box) {
    QObject::connect(box, &QLineEdit::textChanged, box, [box] { fitFont(box); });
    fitFont(box);
}
