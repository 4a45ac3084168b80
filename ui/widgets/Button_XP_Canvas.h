#pragma once

#include <QImage>
#include <QPalette>
#include <QRgb>
#include <QtGlobal>

// Colours and pixel-exact drawing for the push button.
namespace buttonxp {

// A button colour: 0 to 0xFFFFFF is a direct colour with red in the low byte,
// green in the next and blue in the third; 0x80000000 plus an index refers to
// one of the system colours below and is looked up when drawing.
using ColorValue = quint32;

enum SystemColor : int {
    SelectionHighlight = 13,
    ButtonFace = 15,
    ButtonShadow = 16,
    ButtonText = 18,
    Highlight3D = 20,
    DarkShadow3D = 21,
    Light3D = 22,
};

constexpr ColorValue systemColor(int index) {
    return 0x80000000u | static_cast<ColorValue>(index);
}

constexpr ColorValue directColor(int red, int green, int blue) {
    return static_cast<ColorValue>(red & 0xFF) | (static_cast<ColorValue>(green & 0xFF) << 8) |
           (static_cast<ColorValue>(blue & 0xFF) << 16);
}

ColorValue directColor(QRgb rgb);

// Turns a colour value into an opaque QRgb. System colours come from the
// palette's active group, so they do not change with the widget's state.
QRgb ResolveColor(ColorValue value, const QPalette& palette);

// Lightens (k > 0) or darkens (k < 0) a colour: red and green move by k, blue
// by blue * k / 192 (truncated toward zero), every component clamped to 0..255.
QRgb ShadeColor(QRgb colour, int k);

// Adds d to every component, each capped at 255.
QRgb lighten(QRgb colour, int d);

// Rounds to the nearest integer; an exact half goes to the even neighbour.
int roundHalfEven(float value);

// Draws into an image with half-open coordinates: a line covers its start
// pixel and stops before its end pixel, a frame (x1, y1, x2, y2) outlines the
// pixels x1 <= x < x2, y1 <= y < y2. Everything is clipped to the image.
class PixelCanvas {
public:
    explicit PixelCanvas(QImage& image) : image_(image) {}

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    void fill(QRgb colour);
    void fillRect(int x1, int y1, int x2, int y2, QRgb colour);
    void line(int x1, int y1, int x2, int y2, QRgb colour);
    void frame(int x1, int y1, int x2, int y2, QRgb colour);
    void setPixel(int x, int y, QRgb colour);
    // Dotted outline of x1 <= x < x2, y1 <= y < y2, every other pixel inverted.
    void dottedFrame(int x1, int y1, int x2, int y2);

private:
    void invertPixel(int x, int y);

    QImage& image_;
};

}  // namespace buttonxp
