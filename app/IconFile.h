#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// The bytes of a Windows icon file (.ico) that holds `images` in the order
// given, each stored as a PNG image, which Windows (since Vista) and Qt's own
// reader take at every size. An image may be at most 256 pixels either way;
// the file names 256 as 0, as the format wants.
//
// Returns an empty array when there is nothing to write: no images, more than
// the format can count, a null or too large image, or one that cannot be
// encoded.
QByteArray iconFileBytes(const QList<QImage>& images);
