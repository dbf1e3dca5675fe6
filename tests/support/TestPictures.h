#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tavorin::test {

// Picture files made on the spot, good and bad, for the tests of everything
// that reads pictures.

// A picture of one colour (32-bit RGB).
QImage Solid(QSize size, QColor colour);
// The picture encoded in a format Qt writes ("JPG", "JPEG", "BMP").
QByteArray Encoded(const QImage& image, const char* format, int quality = 90);
// A picture of one colour, encoded.
QByteArray PictureBytes(const char* format, QSize size, QColor colour);

// Qt writes no GIFs: a GIF of one colour, written code by code (3-bit codes,
// a clear code before every two pixels so that the code size never grows).
// Screen and frame may differ, and may be 0 x 0.
QByteArray GifBytes(QSize screen, QSize frame, QColor colour = Qt::red);

// The JPEG with its frame header claiming width x height.
QByteArray WithJpegSize(QByteArray jpeg, int width, int height);
// The bitmap with its header claiming width x height.
QByteArray WithBitmapSize(QByteArray bmp, int width, int height);

// Writes bytes to a file, creating it and its folders. Returns the path,
// or an empty text when not every byte was written.
QString WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// Writes a picture of one colour and returns its path. The format ("BMP",
// "JPG" or "GIF") follows the file's ending unless given. Over 4096 pixels
// a side it is made cheaply: a black bitmap (a hole in the file), a small
// JPEG whose header claims the size.
QString WritePicture(const QString& path, QSize size, QColor colour = Qt::red,
                     const char* format = nullptr);

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

// Files that claim to be pictures and are not, or not quite; returns the
// names written into the folder, each ending in jpg, bmp or gif.
// "Surely unreadable" ones start with "bad-".
QStringList WriteHostileFiles(const QString& folder);

} // namespace tavorin::test
