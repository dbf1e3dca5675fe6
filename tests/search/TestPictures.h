#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSize>
#include <QString>

namespace tavorin::test {

// Picture files for the search tests, each in one colour so that a thumbnail
// tells which file it came from.
inline QByteArray PictureBytes(const char* format, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Qt writes no GIFs: a GIF of one colour, written code by code (3-bit codes,
// a clear code before every two pixels so that the code size never grows).
inline QByteArray GifBytes(QSize screen, QSize frame, QColor colour) {
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

inline QString WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

inline QString WritePicture(const QString& path, QSize size, QColor colour = Qt::red) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("gif"))
        return WriteFile(path, GifBytes(size, size, colour));
    const char* format = suffix == QLatin1String("bmp") ? "BMP" : "JPG";
    return WriteFile(path, PictureBytes(format, size, colour));
}

} // namespace tavorin::test
