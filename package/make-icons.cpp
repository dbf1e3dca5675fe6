// Makes the icon theme's pictures from the delivered icon, at build time:
//   tavorin-make-icons <icon.ico> <theme folder> <name> <size>...
// writes <theme folder>/<size>x<size>/apps/<name>.png for every size. A size
// the icon holds is taken as drawn; any other is scaled smoothly from the
// largest picture it holds.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <map>

namespace {

// Every picture of the icon file by its width.
std::map<int, QImage> picturesOf(const QString& icon) {
    std::map<int, QImage> pictures;
    QImageReader reader(icon);
    do {
        const QImage picture = reader.read();
        if (!picture.isNull())
            pictures[picture.width()] = picture.convertToFormat(QImage::Format_ARGB32);
    } while (reader.jumpToNextImage());
    return pictures;
}

QImage pictureOfSize(const std::map<int, QImage>& pictures, int size) {
    const auto exact = pictures.find(size);
    if (exact != pictures.end())
        return exact->second;
    return pictures.rbegin()->second.scaled(size, size, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fputs("usage: tavorin-make-icons <icon.ico> <theme folder> <name> <size>...\n",
                   stderr);
        return 2;
    }
    const auto pictures = picturesOf(args[1]);
    if (pictures.empty()) {
        std::fprintf(stderr, "no picture in %s\n", qPrintable(args[1]));
        return 1;
    }
    for (const QString& sizeText : args.mid(4)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(sizeText);
        const QString file = folder + QLatin1Char('/') + args[3] + QStringLiteral(".png");
        if (!ok || size <= 0 || !QDir().mkpath(folder) ||
            !pictureOfSize(pictures, size).save(file, "PNG")) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
