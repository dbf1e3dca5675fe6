#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace tavorin::test {

// Pictures for the engine's tests, made on the spot.

// A picture of four coloured quarters (red, green, blue, white).
QImage FourColours(const QSize& size);
// The picture encoded in a format Qt writes ("JPEG", "BMP").
QByteArray Encoded(const QImage& image, const char* format, int quality = 90);
// A 1 x 1 GIF of one red pixel (Qt reads GIF but does not write it).
QByteArray TinyGif();
// A 2 x 2 16-bit (5-5-5) bitmap: red, green / blue, white from the top.
QByteArray Bitmap16();
// A 24-bit bitmap header claiming width x height, with no pixels behind it.
QByteArray BitmapHeaderOnly(int width, int height);
// A real JPEG whose frame header claims width x height.
QByteArray JpegClaiming(int width, int height);
// A JPEG cut short after `keep` of its bytes.
QByteArray TruncatedJpeg(const QSize& size, double keep);

// Writes bytes to a file, creating it; true when all were written.
bool WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

} // namespace tavorin::test
