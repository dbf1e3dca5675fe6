// The measured program of bench/wallpaper/run.sh.
//
//   bench_wallpaper generate <out.jpg> [width height]
//       writes a photo-like test JPEG (smooth colour fields with grain)
//   bench_wallpaper off <picture>
//       the classic wallpaper without conversion: decoded at screen size
//   bench_wallpaper on <picture> <Temp.bmp>
//       with conversion: decoded once at natural size, written as a 24-bit
//       Windows bitmap on a second thread while the same decoded picture is
//       shown on the screen

#include "engine/SetWallpaper.h"
#include "platform/wallpaper/X11RootWallpaper.h"

#include <QCoreApplication>
#include <QImage>
#include <QTextStream>

#include <cmath>
#include <cstdint>

using namespace tavorin;

namespace {

int Generate(const QString& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 28) - 8;
            const double fx = double(x) / width;
            const double fy = double(y) / height;
            const int r = int(128 + 100 * std::sin(6.0 * fx + 2.0 * fy)) + grain;
            const int g = int(128 + 100 * std::sin(4.0 * fy + 3.0 * fx * fy)) + grain;
            const int b = int(128 + 100 * std::cos(5.0 * (fx - fy))) + grain;
            row[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image.save(path, "JPEG", 90) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    const QString mode = args.value(0);
    QString error;
    if (mode == QLatin1String("generate") && args.size() >= 2)
        return Generate(args[1], args.value(2, QStringLiteral("4000")).toInt(),
                        args.value(3, QStringLiteral("3000")).toInt());
    if (mode == QLatin1String("off") && args.size() == 2) {
        if (X11RootWallpaper().Apply(args[1], &error))
            return 0;
    } else if (mode == QLatin1String("on") && args.size() == 3) {
        // The conversion as the engine does it: decoded once, the bitmap
        // written while the screen is set.
        const ConvertResult result =
            ConvertAndShow(args[1], args[2], [&error](const ClassicPicture& picture) {
                return X11RootWallpaper().ApplyImage(picture.decoded, &error);
            });
        if (result == ConvertResult::Shown)
            return 0;
        if (result == ConvertResult::NotConverted)
            error = QStringLiteral("conversion failed");
    } else {
        err << "usage: bench_wallpaper generate <out.jpg> [w h] | off <picture> | on <picture> "
               "<Temp.bmp>\n";
        return 2;
    }
    err << "failed: " << error << '\n';
    return 1;
}
