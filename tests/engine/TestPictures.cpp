#include "tests/engine/TestPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>

namespace tavorin::test {

QImage FourColours(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    const int halfW = size.width() / 2;
    const int halfH = size.height() / 2;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const bool right = x >= halfW;
            const bool bottom = y >= halfH;
            const QRgb colour = !bottom ? (right ? qRgb(0, 255, 0) : qRgb(255, 0, 0))
                                        : (right ? qRgb(255, 255, 255) : qRgb(0, 0, 255));
            image.setPixel(x, y, colour);
        }
    return image;
}

QByteArray Encoded(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

QByteArray TinyGif() {
    static const unsigned char gif[] = {
        'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, // 1 x 1
        0x80, 0x00, 0x00,                                           // 2-colour table
        0xFF, 0x00, 0x00, 0x00, 0x00, 0x00,                         // red, black
        0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, // image
        0x02, 0x02, 0x44, 0x01, 0x00,                               // LZW: clear, 0, end
        0x3B};
    return QByteArray(reinterpret_cast<const char*>(gif), sizeof gif);
}

namespace {
void putLE16(QByteArray& b, int at, quint16 v) {
    qToLittleEndian(v, b.data() + at);
}
void putLE32(QByteArray& b, int at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}

QByteArray bitmapHeaders(int width, int height, int bits, quint32 pixelBytes) {
    QByteArray b(54, '\0');
    b[0] = 'B';
    b[1] = 'M';
    putLE32(b, 2, 54 + pixelBytes);
    putLE32(b, 10, 54);
    putLE32(b, 14, 40);
    putLE32(b, 18, static_cast<quint32>(width));
    putLE32(b, 22, static_cast<quint32>(height));
    putLE16(b, 26, 1);
    putLE16(b, 28, static_cast<quint16>(bits));
    putLE32(b, 34, pixelBytes);
    return b;
}
} // namespace

QByteArray Bitmap16() {
    QByteArray b = bitmapHeaders(2, 2, 16, 8);
    QByteArray rows(8, '\0');
    // Bottom row first: blue, white; then the top row: red, green.
    putLE16(rows, 0, 0x001F);
    putLE16(rows, 2, 0x7FFF);
    putLE16(rows, 4, 0x7C00);
    putLE16(rows, 6, 0x03E0);
    return b + rows;
}

QByteArray BitmapHeaderOnly(int width, int height) {
    const quint32 row = ((static_cast<quint32>(width) * 24 + 31) / 32) * 4;
    return bitmapHeaders(width, height, 24, row * static_cast<quint32>(height)) +
           QByteArray(16, '\x40');
}

QByteArray JpegClaiming(int width, int height) {
    QByteArray jpeg = Encoded(FourColours(QSize(16, 16)), "JPEG");
    // The baseline frame header: FF C0, length, precision, height, width.
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return {};
    qToBigEndian(static_cast<quint16>(height), jpeg.data() + sof + 5);
    qToBigEndian(static_cast<quint16>(width), jpeg.data() + sof + 7);
    return jpeg;
}

QByteArray TruncatedJpeg(const QSize& size, double keep) {
    const QByteArray jpeg = Encoded(FourColours(size), "JPEG");
    return jpeg.left(static_cast<qsizetype>(jpeg.size() * keep));
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace tavorin::test
