#pragma once

#include "tests/support/TestPictures.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace tavorin::test {

// Pictures for the engine's tests, made on the spot (the common writers are
// in tests/support/TestPictures.h).

// A picture of four coloured quarters (red, green, blue, white).
QImage FourColours(const QSize& size);
// A 1 x 1 GIF of one red pixel.
QByteArray TinyGif();
// A 2 x 2 16-bit (5-5-5) bitmap: red, green / blue, white from the top.
QByteArray Bitmap16();
// A 24-bit bitmap header claiming width x height, with no pixels behind it.
QByteArray BitmapHeaderOnly(int width, int height);
// A real JPEG whose frame header claims width x height.
QByteArray JpegClaiming(int width, int height);
// A JPEG cut short after `keep` of its bytes.
QByteArray TruncatedJpeg(const QSize& size, double keep);

} // namespace tavorin::test
