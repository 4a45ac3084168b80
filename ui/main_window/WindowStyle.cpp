#include "ui/main_window/WindowStyle.h"

#include <qdrawutil.h>
#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyleOption>
#include <QWidget>

#include "ui/main_window/Artwork.h"

namespace {

// Fusion's group-box frame as a nine-patch: 6-pixel corners around a middle
// row and column that stretch. These are the pixels Fusion reads from its
// image file, so the frames look exactly the same.
constexpr int kPatchMargin = 6;
constexpr int kGroupBoxTopMargin = 3;
constexpr int kPatchSide = 2 * kPatchMargin + 1;
constexpr quint32 kGroupBoxPatch[kPatchSide * kPatchSide] = {
    0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff,
    0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff,  //
    0x00ffffff, 0x0d272727, 0x345d5d5d, 0x346c6c6c, 0x32757575, 0x32757575, 0x32757575,
    0x32757575, 0x32757575, 0x32757575, 0x346c6c6c, 0x37666666, 0x0c151515,  //
    0x00ffffff, 0x39626262, 0x1f5a5a5a, 0x0a000000, 0x08000000, 0x07000000, 0x07000000,
    0x07000000, 0x07000000, 0x08000000, 0x0a000000, 0x1e5e5e5e, 0x355b5b5b,  //
    0x00ffffff, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c,  //
    0x00ffffff, 0x32757575, 0x08000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x08000000, 0x32757575,  //
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,  //
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,  //
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,  //
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,  //
    0x00ffffff, 0x32757575, 0x08000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x08000000, 0x32757575,  //
    0x00ffffff, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c,  //
    0x00ffffff, 0x355b5b5b, 0x1e5e5e5e, 0x0a000000, 0x08000000, 0x07000000, 0x07000000,
    0x07000000, 0x07000000, 0x08000000, 0x0a000000, 0x1f5a5a5a, 0x39626262,  //
    0x00ffffff, 0x0c151515, 0x37666666, 0x346c6c6c, 0x32757575, 0x32757575, 0x32757575,
    0x32757575, 0x32757575, 0x32757575, 0x346c6c6c, 0x345d5d5d, 0x0d272727,  //
};

const QPixmap& groupBoxPatch() {
    static const QPixmap patch = QPixmap::fromImage(
        QImage(reinterpret_cast<const uchar*>(kGroupBoxPatch), kPatchSide, kPatchSide, QImage::Format_ARGB32));
    return patch;
}

}  // namespace

bool WindowStyle::basedOnFusion() const {
    const QStyle* base = baseStyle();
    return base && base->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

QIcon WindowStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option, const QWidget* widget) const {
    switch (standardIcon) {
        case SP_ToolBarHorizontalExtensionButton:
            // Every menu bar makes one for its overflow button, shown only
            // when the menus do not fit.
            return drawOverflowIcon(Qt::Horizontal, widget && widget->isRightToLeft());
        case SP_ToolBarVerticalExtensionButton:
            return drawOverflowIcon(Qt::Vertical, false);
        default:
            return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    if (element == PE_FrameGroupBox && basedOnFusion()) {
        // The frame starts below the caption, as Fusion places it.
        int top = kGroupBoxTopMargin;
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        if (!box || box->isCheckable() || !box->title().isEmpty()) {
            top += qMax(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
        }
        qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0),
                          QMargins(kPatchMargin, kPatchMargin, kPatchMargin, kPatchMargin), groupBoxPatch());
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
