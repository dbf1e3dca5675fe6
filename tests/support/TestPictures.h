#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tavorin::test {

// Picture files made on the spot, good and bad, for the tests of everything that reads pictures.
QImage Solid(QSize size, QColor colour);                                       // 32-bit RGB
QByteArray Encoded(const QImage& image, const char* format, int quality = 90); // "JPG", "BMP"...
QByteArray PictureBytes(const char* format, QSize size, QColor colour);
// Qt writes no GIFs: one written code by code (3-bit codes, a clear code before every two
// pixels so that the code size never grows). Screen and frame may differ, and may be 0 x 0.
QByteArray GifBytes(QSize screen, QSize frame, QColor colour = Qt::red);
// The bitmap with its header claiming width x height.
QByteArray WithBitmapSize(QByteArray bmp, int width, int height);

// Writes a file, creating its folders; its path, or "" when not every byte was written.
QString WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);
// A picture of one colour; the format ("BMP", "JPG", "GIF") follows the ending unless given.
// Over 4096 pixels a side it is made cheaply: a black bitmap (a hole in the file), a small
// JPEG whose header claims the size.
QString WritePicture(const QString& path, QSize size, QColor colour = Qt::red,
                     const char* format = nullptr);

QImage FourColours(const QSize& size); // quarters red, green / blue, white
QByteArray Bitmap16(); // 2 x 2, 16-bit (5-5-5): red, green / blue, white from the top
QByteArray BitmapHeaderOnly(int width, int height); // 24-bit, no pixels behind it
QByteArray JpegClaiming(int width, int height);     // a real JPEG whose header lies

// Files that claim to be pictures and are not, or not quite; returns the names written into
// the folder, each ending in jpg, bmp or gif. "Surely unreadable" ones start with "bad-".
QStringList WriteHostileFiles(const QString& folder);

} // namespace tavorin::test
