#include "tests/engine/TestPictures.h"

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

QByteArray TinyGif() {
    return GifBytes(QSize(1, 1), QSize(1, 1), Qt::red);
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
    return WithJpegSize(Encoded(FourColours(QSize(16, 16)), "JPEG"), width, height);
}

QByteArray TruncatedJpeg(const QSize& size, double keep) {
    const QByteArray jpeg = Encoded(FourColours(size), "JPEG");
    return jpeg.left(static_cast<qsizetype>(jpeg.size() * keep));
}

} // namespace tavorin::test
