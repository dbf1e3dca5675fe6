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

namespace {
void append16(QByteArray& b, int v) {
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
QByteArray WithJpegSize(QByteArray jpeg, int width, int height) {
    // The frame header (baseline FF C0 or progressive FF C2): length, precision, height, width.
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
} // namespace

QByteArray GifBytes(QSize screen, QSize frame, QColor colour) {
    // Screen, a table of 4 colours (the first one given), one frame at 0,0, code size 2.
    QByteArray gif = QByteArray("GIF89a\0\0\0\0\x81\0\0", 13) + QByteArray(23, '\0');
    // clang-format off
    const std::pair<int, int> words[] = {{6, screen.width()}, {8, screen.height()},
                                         {30, frame.width()}, {32, frame.height()}},
        bytes[] = {{13, colour.red()}, {14, colour.green()}, {15, colour.blue()},
                   {25, 0x2C}, {35, 2}};
    // clang-format on
    for (const auto& [at, v] : words)
        qToLittleEndian(quint16(v), gif.data() + at);
    for (const auto& [at, v] : bytes)
        gif[at] = char(v);
    QByteArray codes;
    unsigned bits = 0;
    int count = 0;
    const auto put = [&](unsigned code) {
        for (bits |= code << count, count += 3; count >= 8; bits >>= 8, count -= 8)
            codes.append(char(bits & 0xFF));
    };
    for (long i = 0; i < long(frame.width()) * frame.height(); ++i) {
        if (i % 2 == 0)
            put(4);
        put(0);
    }
    put(5);
    if (count > 0)
        codes.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < codes.size(); at += 255)
        gif.append(char(codes.mid(at, 255).size())).append(codes.mid(at, 255));
    return gif.append("\0\x3B", 2);
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
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WritePicture(const QString& path, QSize size, QColor colour, const char* format) {
    const QString kind =
        (format ? QString::fromLatin1(format) : QFileInfo(path).suffix()).toLower();
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
    QFile file(WriteFile(path, BitmapHeaderOnly(size.width(), size.height()).left(54)));
    return file.resize(54 + qint64{(size.width() * 3 + 3) / 4 * 4} * size.height()) ? path
                                                                                    : QString();
}

QImage FourColours(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, colours[(x >= size.width() / 2) + 2 * (y >= size.height() / 2)]);
    return image;
}

namespace {
QByteArray bitmapHeaders(int width, int height, int bits, quint32 pixelBytes) {
    QByteArray b = QByteArray("BM") + QByteArray(52, '\0'); // at 26: 1 plane, then the bits
    // clang-format off
    const std::pair<int, quint32> fields[] = {{2, 54 + pixelBytes}, {10, 54}, {14, 40},
        {18, quint32(width)}, {22, quint32(height)}, {26, 1 + (bits << 16)}, {34, pixelBytes}};
    // clang-format on
    for (const auto& [at, v] : fields)
        qToLittleEndian(v, b.data() + at);
    return b;
}
} // namespace

QByteArray Bitmap16() {
    QByteArray rows;
    // Bottom row first: blue, white; then the top row: red, green.
    for (int v : {0x001F, 0x7FFF, 0x7C00, 0x03E0})
        append16(rows, v);
    return bitmapHeaders(2, 2, 16, 8) + rows;
}

QByteArray BitmapHeaderOnly(int width, int height) {
    const quint32 row = ((quint32(width) * 24 + 31) / 32) * 4;
    return bitmapHeaders(width, height, 24, row * quint32(height)) + QByteArray(16, '\x40');
}

QByteArray JpegClaiming(int width, int height) {
    return WithJpegSize(Encoded(FourColours(QSize(16, 16)), "JPEG"), width, height);
}

QStringList WriteHostileFiles(const QString& folder) {
    const QByteArray jpeg = PictureBytes("JPG", QSize(64, 48), Qt::darkGreen);
    const QByteArray bmp = PictureBytes("BMP", QSize(64, 48), Qt::darkGreen);
    const QList<std::pair<const char*, QByteArray>> files = {
        {"bad-empty.jpg", {}},
        {"bad-empty.gif", {}},
        {"bad-text.bmp", "this is not a picture\n"},
        {"bad-header-only.jpg", jpeg.left(2)},
        {"truncated.jpg", jpeg.left(jpeg.size() / 2)},
        {"truncated.bmp", bmp.left(bmp.size() / 2)},
        {"lying-huge.jpg", WithJpegSize(jpeg, 60000, 60000)},
        {"lying-small.jpg", WithJpegSize(jpeg, 16, 16)},
        {"lying-huge.bmp", WithBitmapSize(bmp, 30000, 30000)},
        {"bad-zero-size.gif", GifBytes(QSize(0, 0), QSize(0, 0))},
        {"zero-frame.gif", GifBytes(QSize(20, 10), QSize(0, 0))},
        {"frame-outside.gif", GifBytes(QSize(4, 4), QSize(40, 40))},
        {"bad-pipe.jpg", {}},
        {"new\nline.jpg", PictureBytes("JPG", QSize(30, 20), Qt::blue)},
        {"-dash.gif", GifBytes(QSize(30, 20), QSize(30, 20), Qt::red)},
        {"quote'\"pipe|.bmp", PictureBytes("BMP", QSize(30, 20), Qt::green)}};
    QStringList names;
    for (const auto& [name, bytes] : files) {
        const QString path = folder + QLatin1Char('/') + QString::fromUtf8(name);
        if (names.emplaceBack(QString::fromUtf8(name)) == QLatin1String("bad-pipe.jpg"))
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
        else
            WriteFile(path, bytes);
    }
    return names;
}

} // namespace tavorin::test
