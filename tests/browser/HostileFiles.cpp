#include "HostileFiles.h"

#include <QFile>

#include <sys/stat.h>

namespace tavorin::test {

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
