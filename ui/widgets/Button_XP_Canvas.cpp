#include "ui/widgets/Button_XP_Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace buttonxp {
namespace {

int clampComponent(int value) {
    return std::clamp(value, 0, 255);
}

QPalette::ColorRole roleFor(int index, bool* known) {
    *known = true;
    switch (index) {
        case SelectionHighlight:
            return QPalette::Highlight;
        case ButtonFace:
            return QPalette::Button;
        case ButtonShadow:
            return QPalette::Dark;
        case ButtonText:
            return QPalette::ButtonText;
        case Highlight3D:
            return QPalette::Light;
        case DarkShadow3D:
            return QPalette::Shadow;
        case Light3D:
            return QPalette::Midlight;
        default:
            *known = false;
            return QPalette::Window;
    }
}

}  // namespace

ColorValue directColor(QRgb rgb) {
    return directColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QRgb ResolveColor(ColorValue value, const QPalette& palette) {
    if (value <= 0xFFFFFFu) {
        return qRgb(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                    static_cast<int>((value >> 16) & 0xFF));
    }
    bool known = false;
    const QPalette::ColorRole role = roleFor(static_cast<int>(value & 0xFFFFFFu), &known);
    if (!known) {
        return qRgb(0, 0, 0);  // a system colour the button never asks for
    }
    return palette.color(QPalette::Active, role).rgb() | 0xFF000000u;
}

QRgb ShadeColor(QRgb colour, int k) {
    const int blue = qBlue(colour);
    return qRgb(clampComponent(qRed(colour) + k), clampComponent(qGreen(colour) + k),
                clampComponent(blue + (blue * k) / 192));
}

QRgb lighten(QRgb colour, int d) {
    return qRgb(std::min(qRed(colour) + d, 255), std::min(qGreen(colour) + d, 255), std::min(qBlue(colour) + d, 255));
}

int roundHalfEven(float value) {
    const float lower = std::floor(value);
    const float fraction = value - lower;
    int result = static_cast<int>(lower);
    if (fraction > 0.5f || (fraction == 0.5f && (result % 2 != 0))) {
        ++result;
    }
    return result;
}

void PixelCanvas::fill(QRgb colour) {
    image_.fill(colour);
}

void PixelCanvas::fillRect(int x1, int y1, int x2, int y2, QRgb colour) {
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width());
    y2 = std::min(y2, height());
    for (int y = y1; y < y2; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(row + x1, row + std::max(x1, x2), colour);
    }
}

void PixelCanvas::line(int x1, int y1, int x2, int y2, QRgb colour) {
    if (y1 == y2) {
        // Leftward lines cover x1 down to x2 + 1.
        if (x2 >= x1) {
            fillRect(x1, y1, x2, y1 + 1, colour);
        } else {
            fillRect(x2 + 1, y1, x1 + 1, y1 + 1, colour);
        }
        return;
    }
    if (x1 == x2) {
        if (y2 >= y1) {
            fillRect(x1, y1, x1 + 1, y2, colour);
        } else {
            fillRect(x1, y2 + 1, x1 + 1, y1 + 1, colour);
        }
        return;
    }
    // Slanted lines (the button draws none): Bresenham without the end pixel.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        setPixel(x, y, colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void PixelCanvas::frame(int x1, int y1, int x2, int y2, QRgb colour) {
    if (x2 <= x1 || y2 <= y1) {
        return;
    }
    fillRect(x1, y1, x2, y1 + 1, colour);
    fillRect(x1, y2 - 1, x2, y2, colour);
    fillRect(x1, y1, x1 + 1, y2, colour);
    fillRect(x2 - 1, y1, x2, y2, colour);
}

void PixelCanvas::setPixel(int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < width() && y < height()) {
        reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = colour;
    }
}

void PixelCanvas::invertPixel(int x, int y) {
    if (x >= 0 && y >= 0 && x < width() && y < height()) {
        QRgb& pixel = reinterpret_cast<QRgb*>(image_.scanLine(y))[x];
        pixel = qRgb(255 - qRed(pixel), 255 - qGreen(pixel), 255 - qBlue(pixel));
    }
}

void PixelCanvas::dottedFrame(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) {
        return;
    }
    // The dots keep one checkerboard phase, so each pixel is inverted once
    // even where two sides meet.
    auto dot = [&](int x, int y) {
        if (((x - x1) + (y - y1)) % 2 == 0) {
            invertPixel(x, y);
        }
    };
    for (int x = x1; x < x2; ++x) {
        dot(x, y1);
        if (y2 - 1 != y1) {
            dot(x, y2 - 1);
        }
    }
    for (int y = y1 + 1; y < y2 - 1; ++y) {
        dot(x1, y);
        if (x2 - 1 != x1) {
            dot(x2 - 1, y);
        }
    }
}

}  // namespace buttonxp
