#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QtEndian>

#include <sys/stat.h>

namespace tavorin::test {

QImage Solid(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
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

QByteArray PictureBytes(const char* format, QSize size, QColor colour) {
    return Encoded(Solid(size, colour), format);
}

QByteArray GifBytes(QSize screen, QSize frame, QColor colour) {
    QByteArray gif("GIF89a");
    const auto word = [&gif](int v) {
        gif.append(char(v & 0xFF));
        gif.append(char((v >> 8) & 0xFF));
    };
    word(screen.width());
    word(screen.height());
    gif.append(char(0x81)); // global colour table of 4 entries
    gif.append(char(0));
    gif.append(char(0));
    const QByteArray table = QByteArray() + char(colour.red()) + char(colour.green()) +
                             char(colour.blue()) + QByteArray(9, char(0));
    gif.append(table);
    gif.append(char(0x2C));
    word(0);
    word(0);
    word(frame.width());
    word(frame.height());
    gif.append(char(0));
    gif.append(char(2)); // minimum code size
    QByteArray codes;
    unsigned bits = 0;
    int count = 0;
    const auto put = [&](unsigned code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            codes.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    const long pixels = long(frame.width()) * frame.height();
    for (long i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            put(4);
        put(0);
    }
    put(5);
    if (count > 0)
        codes.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif.append(char(block.size()));
        gif.append(block);
    }
    gif.append(char(0));
    gif.append(char(0x3B));
    return gif;
}

QByteArray WithJpegSize(QByteArray jpeg, int width, int height) {
    // The frame header (baseline FF C0 or progressive FF C2): length,
    // precision, height, width.
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const uchar marker = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            qToBigEndian(quint16(height), jpeg.data() + i + 5);
            qToBigEndian(quint16(width), jpeg.data() + i + 7);
            break;
        }
    }
    return jpeg;
}

QByteArray WithBitmapSize(QByteArray bmp, int width, int height) {
    if (bmp.size() >= 26) {
        qToLittleEndian(qint32(width), bmp.data() + 18);
        qToLittleEndian(qint32(height), bmp.data() + 22);
    }
    return bmp;
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WritePicture(const QString& path, QSize size, QColor colour, const char* format) {
    const QString kind =
        format ? QString::fromLatin1(format).toLower() : QFileInfo(path).suffix().toLower();
    const bool big = size.width() > 4096 || size.height() > 4096;
    if (kind == QLatin1String("gif"))
        return WriteFile(path, GifBytes(size, size, colour));
    if (kind != QLatin1String("bmp"))
        return WriteFile(path, big ? WithJpegSize(PictureBytes("JPG", {64, 48}, colour),
                                                  size.width(), size.height())
                                   : PictureBytes("JPG", size, colour));
    if (!big)
        return WriteFile(path, PictureBytes("BMP", size, colour));
    // Rows of 24-bit pixels, each padded to 4 bytes, left as a hole in the file.
    QFile file(WriteFile(path, WithBitmapSize(PictureBytes("BMP", {1, 1}, colour).left(54),
                                              size.width(), size.height())));
    return file.resize(54 + qint64{(size.width() * 3 + 3) / 4 * 4} * size.height()) ? path
                                                                                    : QString();
}

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

QStringList WriteHostileFiles(const QString& folder) {
    const QString p = folder + QLatin1Char('/');
    const QByteArray jpeg = PictureBytes("JPG", QSize(64, 48), Qt::darkGreen);
    const QByteArray bmp = PictureBytes("BMP", QSize(64, 48), Qt::darkGreen);

    WriteFile(p + "bad-empty.jpg", {});
    WriteFile(p + "bad-empty.gif", {});
    WriteFile(p + "bad-text.bmp", "this is not a picture\n");
    WriteFile(p + "bad-header-only.jpg", jpeg.left(2));
    WriteFile(p + "truncated.jpg", jpeg.left(jpeg.size() / 2));
    WriteFile(p + "truncated.bmp", bmp.left(bmp.size() / 2));
    WriteFile(p + "lying-huge.jpg", WithJpegSize(jpeg, 60000, 60000));
    WriteFile(p + "lying-small.jpg", WithJpegSize(jpeg, 16, 16));
    WriteFile(p + "lying-huge.bmp", WithBitmapSize(bmp, 30000, 30000));
    WriteFile(p + "bad-zero-size.gif", GifBytes(QSize(0, 0), QSize(0, 0)));
    WriteFile(p + "zero-frame.gif", GifBytes(QSize(20, 10), QSize(0, 0)));
    WriteFile(p + "frame-outside.gif", GifBytes(QSize(4, 4), QSize(40, 40)));
    ::mkfifo(QFile::encodeName(p + "bad-pipe.jpg").constData(), 0600);
    WritePicture(p + "new\nline.jpg", QSize(30, 20), Qt::blue, "JPG");
    WritePicture(p + "-dash.gif", QSize(30, 20), Qt::red, "GIF");
    WritePicture(p + "quote'\"pipe|.bmp", QSize(30, 20), Qt::green, "BMP");
    return {"bad-empty.jpg",  "bad-empty.gif",     "bad-text.bmp",   "bad-header-only.jpg",
            "truncated.jpg",  "truncated.bmp",     "lying-huge.jpg", "lying-small.jpg",
            "lying-huge.bmp", "bad-zero-size.gif", "zero-frame.gif", "frame-outside.gif",
            "bad-pipe.jpg",   "new\nline.jpg",     "-dash.gif",      "quote'\"pipe|.bmp"};
}

} // namespace tavorin::test
