#include "ui/main_window/Artwork.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include "platform/Fonts.h"

namespace {

void drawBall(QPainter& p, const QPointF& centre, qreal radius) {
    p.setPen(QPen(QColor(30, 30, 30), radius / 10.0));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius, radius);
    // A pentagon in the middle and five spokes: enough to read as a ball.
    QPolygonF pentagon;
    for (int i = 0; i < 5; ++i) {
        const qreal angle = qDegreesToRadians(-90.0 + 72.0 * i);
        pentagon << centre + QPointF(qCos(angle), qSin(angle)) * radius * 0.38;
    }
    p.setBrush(QColor(30, 30, 30));
    p.drawPolygon(pentagon);
    for (const QPointF& corner : pentagon) {
        const QPointF direction = (corner - centre) / (radius * 0.38);
        p.drawLine(corner, centre + direction * radius * 0.95);
    }
}

}  // namespace

QPixmap drawPitchPicture(const QSize& size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    // Mown stripes.
    const int stripes = 8;
    for (int i = 0; i < stripes; ++i) {
        p.fillRect(QRectF(w * i / stripes, 0, w / stripes + 1, h), i % 2 ? QColor(46, 139, 58) : QColor(56, 156, 68));
    }

    // Lines.
    p.setPen(QPen(QColor(240, 240, 240), 2));
    p.setBrush(Qt::NoBrush);
    const QRectF field(8, 8, w - 16, h - 16);
    p.drawRect(field);
    p.drawLine(QPointF(w / 2, field.top()), QPointF(w / 2, field.bottom()));
    p.drawEllipse(QPointF(w / 2, h / 2), h * 0.17, h * 0.17);
    const qreal boxH = field.height() * 0.5;
    const qreal boxW = field.width() * 0.14;
    p.drawRect(QRectF(field.left(), h / 2 - boxH / 2, boxW, boxH));
    p.drawRect(QRectF(field.right() - boxW, h / 2 - boxH / 2, boxW, boxH));

    drawBall(p, QPointF(w / 2, h / 2), h * 0.09);

    // Name plate, in the bold face the window already uses for its map
    // legend, so the picture needs no font file of its own.
    QFont font = platform::windowFont(10);
    font.setBold(true);
    font.setPixelSize(static_cast<int>(h * 0.12));
    p.setFont(font);
    const QRectF plate(0, h * 0.70, w, h * 0.2);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(plate.translated(1.5, 1.5), Qt::AlignCenter, QStringLiteral("Kelvory"));
    p.setPen(Qt::white);
    p.drawText(plate, Qt::AlignCenter, QStringLiteral("Kelvory"));
    return pixmap;
}

QImage drawAppIconImage(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 139, 58));
    p.drawEllipse(QRectF(0.5, 0.5, side - 1, side - 1));
    drawBall(p, QPointF(side / 2.0, side / 2.0), side * 0.34);
    return image;
}

QIcon drawAppIcon() {
    QIcon icon;
    // Title bars and task bars take these; larger sizes would cost more to
    // draw and to hand to the window system than the first window is worth.
    for (int side : {16, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(drawAppIconImage(side)));
    }
    return icon;
}

QIcon drawOverflowIcon(Qt::Orientation orientation, bool mirrored) {
    QIcon icon;
    for (int side : {8, 16}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(60, 60, 60), side / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        // Two chevrons pointing right, then turned as asked.
        p.translate(side / 2.0, side / 2.0);
        if (orientation == Qt::Vertical) {
            p.rotate(90);
        } else if (mirrored) {
            p.scale(-1, 1);
        }
        const qreal r = side * 0.3;
        for (qreal x : {-r * 0.9, r * 0.1}) {
            p.drawPolyline(QPolygonF({QPointF(x, -r), QPointF(x + r * 0.8, 0), QPointF(x, r)}));
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
