#pragma once

#include <QRect>
#include <QSize>
#include <optional>

#include "ui/widgets/Button_XP.h"

namespace buttonxp {

// Where the button draws its picture and its caption.
struct Layout {
    QRect picture;
    QRect text;
};

// Centres the caption's measured `text` size and the `picture` size in the
// `inner` rectangle; a missing one is nullopt. With both, they form one group
// with a gap of 4 pixels, the picture on the `place` side of the caption;
// halves are taken with integer division. Whatever a case does not place
// stays as it was in `last`: the picture without a picture, both for a place
// outside the four named ones.
Layout layOut(const QRect& inner, std::optional<QSize> text, std::optional<QSize> picture, PicturePlace place,
              const Layout& last);

}  // namespace buttonxp
