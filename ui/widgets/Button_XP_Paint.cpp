// How the push button paints itself: every redraw repaints the whole client
// area into the off-screen image, one look per ButtonStyle.

#include <QFontMetrics>
#include <QPainter>
#include <QScopedValueRollback>

#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Button_XP_Layout.h"

using buttonxp::lighten;
using buttonxp::PixelCanvas;
using buttonxp::ShadeColor;
using buttonxp::systemColor;

namespace {

using Style = buttonxp::Style;

constexpr int Margin = 4;     // inner rectangle inset on every side
constexpr int TextSide = 1;   // caption margin on the left and right
constexpr int LiftShift = 3;  // toolbar picture lift while hovered

const QRgb XpFocusColor = qRgb(140, 170, 230);
const QRgb XpHoverColor = qRgb(225, 153, 71);
const QRgb SilhouetteGrey = qRgb(146, 146, 146);

constexpr int CaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

// The picture with its transparency applied: pictures with an alpha channel
// keep their own, the others lose every pixel of the mask colour.
QImage transparentPicture(const QPixmap& picture, QRgb mask) {
    if (picture.hasAlphaChannel()) {
        return picture.toImage().convertToFormat(QImage::Format_ARGB32);
    }
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0xFFFFFFu) == (mask & 0xFFFFFFu)) {
                row[x] = 0;
            }
        }
    }
    return image;
}

// The shape of a picture in one colour. For the disabled look a bitmap is put
// on white first, so only its non-white pixels make the shape.
QImage silhouette(const QImage& picture, QRgb colour, bool skipWhite) {
    QImage shape(picture.size(), QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const bool opaque = qAlpha(from[x]) >= 128;
            const bool white = (from[x] & 0xFFFFFFu) == 0xFFFFFFu;
            to[x] = opaque && !(skipWhite && white) ? colour : 0;
        }
    }
    return shape;
}

}  // namespace

QRgb Button_XP::resolve(ColorValue value) const {
    return buttonxp::ResolveColor(value, palette());
}

QRgb Button_XP::toolbarHoverColor() const {
    if (!xpDefaultColors_) {
        return resolve(xpColorHover_);
    }
    const QRgb h = resolve(systemColor(buttonxp::SelectionHighlight));
    return qRgb(std::min(qRed(h) + 171, 255), std::min(qGreen(h) + 154, 255), std::min(qBlue(h) + 108, 255));
}

QRgb Button_XP::toolbarPressedColor() const {
    if (!xpDefaultColors_) {
        return resolve(xpColorPressed_);
    }
    const QRgb h = resolve(systemColor(buttonxp::SelectionHighlight));
    return qRgb(std::min(qRed(h) + 156, 255), std::min(qGreen(h) + 139, 255), std::min(qBlue(h) + 108, 255));
}

QRect Button_XP::innerRect() const {
    return QRect(QPoint(Margin, Margin), QPoint(width() - Margin - 1, height() - Margin - 1));
}

void Button_XP::redraw() {
    if (renderingHost_) {
        return;  // asked again from inside the host's drawing below; the outer redraw finishes the image
    }
    const int w = std::max(width(), 1);
    const int h = std::max(height(), 1);
    if (surface_.size() != QSize(w, h)) {
        surface_ = QImage(w, h, QImage::Format_RGB32);
    }
    PixelCanvas canvas(surface_);

    // 1-2. Background.
    if (buttonStyle_ == Style::Toolbar) {
        if (pressed_) {
            surfaceBack_ = buttonxp::directColor(toolbarPressedColor());
        } else if (hovered_) {
            surfaceBack_ = buttonxp::directColor(toolbarHoverColor());
        } else if (!transparentBG_) {
            surfaceBack_ = backColor_;
        }
        canvas.fill(resolve(surfaceBack_));
        if (!pressed_ && !hovered_ && transparentBG_) {
            drawHostBackground();
        }
    } else {
        canvas.fill(resolve(surfaceBack_));
        if (buttonStyle_ != Style::XP && transparentBG_) {
            drawHostBackground();
        }
    }

    // 3. Border, or the whole XP face.
    switch (buttonStyle_) {
        case Style::XP:
            drawXpFace(canvas);
            break;
        case Style::Toolbar:
            if (hovered_ || xpShowBorderAlways_) {
                canvas.frame(0, 0, w, h, resolve(foreColor_));
            }
            break;
        case Style::Borderless:
            break;
        case Style::Classic:
        case Style::Flat:
        default:  // codes outside the five styles get the flat border
            if (pressed_) {
                drawBorder(canvas, true);
            } else if (hovered_ || buttonStyle_ == Style::Classic) {
                drawBorder(canvas, false);
            }
            if ((buttonStyle_ == Style::Classic && focused_ && !pressed_) || displayAsDefault_) {
                drawDefaultMark(canvas);
            }
            break;
    }

    // 4-7. Layout, picture, focus rectangle, caption.
    computeLayout();
    drawPicture();
    if (focused_ && showFocusRect_ && buttonStyle_ != Style::XP) {
        canvas.dottedFrame(Margin, Margin, w - Margin, h - Margin);
    }
    drawCaption();
}

void Button_XP::drawXpFace(PixelCanvas& canvas) {
    const int w = canvas.width();
    const int h = canvas.height();
    const QRgb back = resolve(backColor_);
    const QRgb base = ShadeColor(back, 48);
    const QRgb dark = resolve(systemColor(buttonxp::DarkShadow3D));
    const QPoint corners[] = {{1, 1}, {1, h - 2}, {w - 2, 1}, {w - 2, h - 2}};
    auto frameAndCorners = [&](QRgb frame, QRgb corner) {
        canvas.frame(0, 0, w, h, frame);
        for (const QPoint& p : corners) {
            canvas.setPixel(p.x(), p.y(), corner);
        }
    };

    canvas.fill(back);
    if (!isEnabled()) {
        canvas.fill(ShadeColor(base, -24));
        frameAndCorners(ShadeColor(base, -84), ShadeColor(base, -72));
        return;
    }

    // The gradient steps are single-precision; each row rounds half to even.
    if (!pressed_) {
        const float step = 25.0f / static_cast<float>(h);
        for (int i = 1; i <= h; ++i) {
            const float amount = -step * static_cast<float>(i);
            canvas.line(0, i, w, i, ShadeColor(base, buttonxp::roundHalfEven(amount)));
        }
        frameAndCorners(dark, dark);
        // The focus and hover rings share one shape; only their colour and
        // shading amounts differ.
        auto ring = [&](QRgb c, int bottom, int top, int second, int sides) {
            canvas.frame(1, 2, w - 1, h - 2, c);
            canvas.line(2, h - 2, w - 2, h - 2, ShadeColor(c, bottom));
            canvas.line(2, 1, w - 2, 1, ShadeColor(c, top));
            canvas.line(1, 2, w - 1, 2, ShadeColor(c, second));
            canvas.line(2, 3, 2, h - 3, ShadeColor(c, sides));
            canvas.line(w - 3, 3, w - 3, h - 3, ShadeColor(c, sides));
        };
        if (focused_) {
            ring(xpDefaultColors_ ? XpFocusColor : resolve(xpColorPressed_), -33, 65, 50, 31);
        } else {
            canvas.line(2, h - 2, w - 2, h - 2, ShadeColor(base, -48));
            canvas.line(1, h - 3, w - 2, h - 3, ShadeColor(base, -32));
            canvas.line(w - 2, 2, w - 2, h - 2, ShadeColor(base, -36));
            canvas.line(w - 3, 3, w - 3, h - 3, ShadeColor(base, -24));
            canvas.line(2, 1, w - 2, 1, ShadeColor(base, 16));
            canvas.line(1, 2, w - 2, 2, ShadeColor(base, 10));
            canvas.line(1, 2, 1, h - 2, ShadeColor(base, -5));
            canvas.line(2, 3, 2, h - 3, ShadeColor(base, -10));
        }
        if (hovered_) {
            ring(xpDefaultColors_ ? XpHoverColor : resolve(xpColorHover_), -40, 90, 35, 20);
        }
        return;
    }

    // Pressed: the gradient runs the other way and neither ring is shown.
    const QRgb p = ShadeColor(base, -32);
    const float step = 15.0f / static_cast<float>(h);
    for (int i = 1; i <= h; ++i) {
        const float amount = -step * static_cast<float>(i);
        canvas.line(0, h - i, w, h - i, ShadeColor(p, buttonxp::roundHalfEven(amount)));
    }
    frameAndCorners(dark, dark);
    canvas.line(2, h - 2, w - 2, h - 2, ShadeColor(p, 16));
    canvas.line(1, h - 3, w - 2, h - 3, ShadeColor(p, 10));
    canvas.line(w - 2, 2, w - 2, h - 2, ShadeColor(p, 5));
    canvas.line(w - 3, 3, w - 3, h - 3, p);
    canvas.line(2, 1, w - 2, 1, ShadeColor(p, -32));
    canvas.line(1, 2, w - 2, 2, ShadeColor(p, -24));
    canvas.line(1, 2, 1, h - 2, ShadeColor(p, -32));
    canvas.line(2, 2, 2, h - 2, ShadeColor(p, -22));
}

void Button_XP::drawBorder(PixelCanvas& canvas, bool sunken) {
    if (bevel_ >= 2) {
        drawBevel(canvas, sunken, bevelDepth_);
        return;
    }
    const int w = canvas.width();
    const int h = canvas.height();
    const QRgb shadow = resolve(systemColor(buttonxp::ButtonShadow));
    const QRgb light = resolve(systemColor(buttonxp::Highlight3D));
    // The second frame reaches one pixel past the right and bottom edges, so
    // only its top and left sides show.
    canvas.frame(0, 0, w, h, sunken ? light : shadow);
    canvas.frame(0, 0, w + 1, h + 1, sunken ? shadow : light);
}

void Button_XP::drawBevel(PixelCanvas& canvas, bool sunken, int depth) {
    const int w = canvas.width();
    const int h = canvas.height();
    const QRgb start = resolve(surfaceBack_);
    // Drawn from the inside out, so the outermost ring, drawn last, is the
    // strongest shade.
    QRgb darker = start;
    QRgb lighter = start;
    for (int i = bevel_; i >= 0; --i) {
        darker = ShadeColor(darker, -depth);
        lighter = lighten(lighter, depth);
        canvas.frame(i, i, w - i, h - i, sunken ? lighter : darker);
    }
    darker = start;
    lighter = start;
    for (int i = bevel_; i >= 0; --i) {
        darker = ShadeColor(darker, -depth);
        lighter = lighten(lighter, depth);
        const QRgb colour = sunken ? darker : lighter;
        canvas.line(i, i, w - i - 1, i, colour);
        canvas.line(i, i, i, h - i - 1, colour);
    }
}

void Button_XP::drawDefaultMark(PixelCanvas& canvas) {
    if (bevel_ >= 2) {
        drawBevel(canvas, false, bevelDepth_ + 3);
        return;
    }
    const int w = canvas.width();
    const int h = canvas.height();
    canvas.frame(0, 0, w - 1, h - 1, resolve(systemColor(buttonxp::ButtonShadow)));
    canvas.frame(0, 0, w + 1, h + 1, resolve(systemColor(buttonxp::Highlight3D)));
}

void Button_XP::drawHostBackground() {
    QWidget* host = parentWidget();
    if (!host) {
        return;
    }
    // What the host paints under the button, without the host's children.
    QPixmap under(surface_.size());
    under.fill(resolve(surfaceBack_));
    // Before the window is first shown, rendering the host delivers this
    // button's pending resize event, whose redraw would render the host again.
    const QScopedValueRollback<bool> rendering(renderingHost_, true);
    host->render(&under, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    QPainter painter(&surface_);
    painter.drawPixmap(0, 0, under);
}

void Button_XP::computeLayout() {
    const QString caption = Caption();
    std::optional<QSize> text;
    if (!caption.isEmpty()) {
        // Measured as drawn: centred, word-wrapped, one pixel clear on each side.
        const QFontMetrics metrics(font());
        const int wrapWidth = std::max(innerRect().width() - 2 * TextSide, 1);
        const QRect measured = metrics.boundingRect(QRect(0, 0, wrapWidth, 1 << 20), CaptionFlags, caption);
        text = QSize(measured.width() + 2 * TextSide, measured.height());
    }
    std::optional<QSize> picture;
    if (!pictureInUse_.isNull()) {
        picture = QSize(pictureWidth_, pictureHeight_);
    }
    const buttonxp::Layout laid =
        buttonxp::layOut(innerRect(), text, picture, picturePosition_, {pictureRect_, textRect_});
    pictureRect_ = laid.picture;
    textRect_ = laid.text;
}

void Button_XP::drawPicture() {
    if (pictureInUse_.isNull()) {
        return;
    }
    const bool shifted = pressed_ && buttonStyle_ != Style::Toolbar;
    QPoint at = pictureRect_.topLeft() + (shifted ? QPoint(1, 1) : QPoint());
    const QSize size(pictureWidth_, pictureHeight_);
    const QImage picture = transparentPicture(pictureInUse_, resolve(maskColor_))
                               .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPainter painter(&surface_);
    if (!isEnabled()) {
        // Embossed: the shape in highlight one pixel down and right, then in shadow.
        const bool bitmap = !pictureInUse_.hasAlphaChannel();
        painter.drawImage(at + QPoint(1, 1), silhouette(picture, resolve(systemColor(buttonxp::Highlight3D)), bitmap));
        painter.drawImage(at, silhouette(picture, resolve(systemColor(buttonxp::ButtonShadow)), bitmap));
        return;
    }
    if (buttonStyle_ == Style::Toolbar && hovered_ && !pressed_) {
        // The picture lifts off its grey shadow.
        painter.drawImage(at, silhouette(picture, SilhouetteGrey, false));
        at -= QPoint(LiftShift, LiftShift);
    }
    painter.drawImage(at, picture);
}

void Button_XP::drawCaption() {
    const QString caption = Caption();
    if (caption.isEmpty()) {
        return;
    }
    const bool shifted = pressed_ && buttonStyle_ != Style::Toolbar;
    QRect area = textRect_.adjusted(TextSide, 0, -TextSide, 0);
    if (shifted) {
        area.translate(1, 1);
    }
    QPainter painter(&surface_);
    painter.setFont(font());
    if (isEnabled()) {
        painter.setPen(QColor(resolve(foreColor_)));
        painter.drawText(area, CaptionFlags, caption);
        return;
    }
    painter.setPen(QColor(resolve(systemColor(buttonxp::Highlight3D))));
    painter.drawText(area.translated(1, 1), CaptionFlags, caption);
    painter.setPen(QColor(resolve(systemColor(buttonxp::ButtonShadow))));
    painter.drawText(area, CaptionFlags, caption);
}
