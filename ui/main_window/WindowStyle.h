#pragma once

#include <QProxyStyle>

// The program's style: the system's own, except for the few pictures the
// window's first paint takes from the style's image files: the menu bar's
// overflow icon and Fusion's group-box frame. Reading any image file makes Qt
// load every image-format plug-in (GIF, ICO, JPEG, ...) to ask whether it
// reads the file, so these are drawn from pixels held in code instead.
//
// Install it before the first window is created:
//     QApplication::setStyle(new WindowStyle);
class WindowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    bool basedOnFusion() const;
};
