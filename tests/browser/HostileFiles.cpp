#include "HostileFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <sys/stat.h>

namespace tavorin::test {

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

void word(QByteArray& out, int v) {
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

// Patches the frame size of a JPEG's start-of-frame marker.
QByteArray withJpegSize(QByteArray jpeg, int width, int height) {
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        if (uchar(jpeg[i]) == 0xff && (uchar(jpeg[i + 1]) == 0xc0 || uchar(jpeg[i + 1]) == 0xc2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xff);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xff);
            break;
        }
    }
    return jpeg;
}

} // namespace

QByteArray GifBytes(QSize screen, QSize frame) {
    QByteArray out("GIF89a");
    word(out, screen.width());
    word(out, screen.height());
    out.append(char(0x80)).append(char(0)).append(char(0)); // 2-colour table
    out.append(char(0xff)).append(char(0)).append(char(0)); // red
    out.append(char(0)).append(char(0)).append(char(0xff)); // blue
    out.append(char(0x2c));
    word(out, 0);
    word(out, 0);
    word(out, frame.width());
    word(out, frame.height());
    out.append(char(0));
    // LZW, minimum code size 2: clear, then index 0 repeated, end.
    out.append(char(2));
    const int pixels = frame.width() * frame.height();
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    auto code = [&](int c) {
        bits |= quint32(c) << count;
        count += 3;
        while (count >= 8) {
            data.append(char(bits & 0xff));
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            code(4); // clear keeps the codes three bits wide
        code(0);
    }
    code(5);
    if (count > 0)
        data.append(char(bits & 0xff));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(char(block.size())).append(block);
    }
    out.append(char(0)).append(char(0x3b));
    return out;
}

QString WritePicture(const QString& path, QSize size, QColor colour, const char* format) {
    if (qstrcmp(format, "GIF") == 0) {
        // A red picture: colour index 0 of the table.
        writeBytes(path, GifBytes(size, size));
        return path;
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    writeBytes(path, encode(image, format));
    return path;
}

QStringList WriteHostileFiles(const QString& folder) {
    const QString p = folder + QLatin1Char('/');
    QImage small(64, 48, QImage::Format_RGB32);
    small.fill(Qt::darkGreen);
    const QByteArray jpeg = encode(small, "JPG");
    const QByteArray bmp = encode(small, "BMP");

    writeBytes(p + "bad-empty.jpg", {});
    writeBytes(p + "bad-empty.gif", {});
    writeBytes(p + "bad-text.bmp", "this is not a picture\n");
    writeBytes(p + "bad-header-only.jpg", jpeg.left(2));
    writeBytes(p + "truncated.jpg", jpeg.left(jpeg.size() / 2));
    writeBytes(p + "truncated.bmp", bmp.left(bmp.size() / 2));
    writeBytes(p + "lying-huge.jpg", withJpegSize(jpeg, 60000, 60000));
    writeBytes(p + "lying-small.jpg", withJpegSize(jpeg, 16, 16));
    QByteArray hugeBmp = bmp;
    hugeBmp[18] = char(0x30); // width 0x7530 = 30000
    hugeBmp[19] = char(0x75);
    hugeBmp[22] = char(0x30); // height 30000
    hugeBmp[23] = char(0x75);
    writeBytes(p + "lying-huge.bmp", hugeBmp);
    writeBytes(p + "bad-zero-size.gif", GifBytes(QSize(0, 0), QSize(0, 0)));
    writeBytes(p + "zero-frame.gif", GifBytes(QSize(20, 10), QSize(0, 0)));
    writeBytes(p + "frame-outside.gif", GifBytes(QSize(4, 4), QSize(40, 40)));
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
