// Loading a skin picture: time and peak memory of a large JPEG decoded
// scaled to the main window, against a full decode, and of a refused
// 40000 x 40000 header. Each load runs in its own process so the peak
// memory is its own:
//   bench_skins make big.jpg 6000 4000; bench_skins makehuge huge.jpg
//   bench_skins scaled big.jpg; bench_skins full big.jpg; bench_skins scaled huge.jpg
#include "mainwindow/Skins.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <sys/resource.h>

#include <cstdio>

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArray jpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

QByteArray claiming(QByteArray bytes, int width, int height) {
    for (qsizetype i = 0; i + 8 < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) == 0xFF &&
            static_cast<unsigned char>(bytes[i + 1]) == 0xC0) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height & 0xFF);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width & 0xFF);
            break;
        }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "bench_skins make|makehuge|scaled|full FILE [WIDTH HEIGHT]\n");
        return 2;
    }
    const QString mode = QString::fromLatin1(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (mode == QLatin1String("make") || mode == QLatin1String("makehuge")) {
        const int width = argc > 4 ? atoi(argv[3]) : 6000;
        const int height = argc > 4 ? atoi(argv[4]) : 4000;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(mode == QLatin1String("makehuge") ? claiming(jpeg(64, 64), 40000, 40000)
                                                     : jpeg(width, height));
        return 0;
    }
    const long before = peakKilobytes();
    QElapsedTimer timer;
    timer.start();
    const QSize window = mode == QLatin1String("full") ? QSize() : QSize(445, 271);
    const auto picture = tavorin::LoadSkinPicture(path, window);
    const qint64 ms = timer.elapsed();
    const QString result =
        picture ? QStringLiteral("%1x%2").arg(picture->width()).arg(picture->height())
                : QStringLiteral("refused");
    std::printf("%s: %s, %lld ms, peak memory %ld MB (%ld MB before loading)\n", qPrintable(mode),
                qPrintable(result), static_cast<long long>(ms), peakKilobytes() / 1024,
                before / 1024);
    return 0;
}
