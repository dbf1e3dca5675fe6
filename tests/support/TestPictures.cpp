#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QtEndian>

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

} // namespace tavorin::test
