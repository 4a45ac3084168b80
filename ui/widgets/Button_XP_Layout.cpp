#include "ui/widgets/Button_XP_Layout.h"

namespace buttonxp {

namespace {
constexpr int Gap = 4;  // between picture and caption
}  // namespace

Layout layOut(const QRect& inner, std::optional<QSize> text, std::optional<QSize> picture, PicturePlace place,
              const Layout& last) {
    auto centredLeft = [&](int size) { return inner.left() + (inner.width() - size) / 2; };
    auto centredTop = [&](int size) { return inner.top() + (inner.height() - size) / 2; };
    // Without a caption the text rectangle is an empty one at the centre.
    const QSize t = text.value_or(QSize());
    Layout laid = last;
    if (!picture) {
        laid.text = QRect(centredLeft(t.width()), centredTop(t.height()), t.width(), t.height());
        return laid;
    }
    const QSize p = *picture;
    if (!text) {
        laid.picture = QRect(centredLeft(p.width()), centredTop(p.height()), p.width(), p.height());
        laid.text = QRect(centredLeft(0), centredTop(0), 0, 0);
        return laid;
    }
    switch (place) {
        case PicturePlace::Above: {
            const int top = centredTop(p.height() + Gap + t.height());
            laid.picture = QRect(centredLeft(p.width()), top, p.width(), p.height());
            laid.text = QRect(centredLeft(t.width()), top + p.height() + Gap, t.width(), t.height());
            break;
        }
        case PicturePlace::Left: {
            const int left = centredLeft(p.width() + Gap + t.width());
            laid.picture = QRect(left, centredTop(p.height()), p.width(), p.height());
            laid.text = QRect(left + p.width() + Gap, centredTop(t.height()), t.width(), t.height());
            break;
        }
        case PicturePlace::Right: {
            const int left = centredLeft(t.width() + Gap + p.width());
            laid.text = QRect(left, centredTop(t.height()), t.width(), t.height());
            laid.picture = QRect(left + t.width() + Gap, centredTop(p.height()), p.width(), p.height());
            break;
        }
        case PicturePlace::Below: {
            const int top = centredTop(t.height() + Gap + p.height());
            laid.text = QRect(centredLeft(t.width()), top, t.width(), t.height());
            laid.picture = QRect(centredLeft(p.width()), top + t.height() + Gap, p.width(), p.height());
            break;
        }
    }
    return laid;  // any other place keeps the last layout
}

}  // namespace buttonxp
