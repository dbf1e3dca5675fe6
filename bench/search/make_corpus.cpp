// Writes the search benchmark's corpus:
//   <dir>/tree  a deep tree: 5110 folders, about 100k files, 2000 of them pictures
//   <dir>/big   200 JPEGs of 4000 x 3000 (3.7 MB each, as photographs are)
//   <dir>/pictures.lst  the tree's pictures, one path a line
// Pictures are hard links to a small pool of real files, so writing it all
// takes seconds.
#include "tests/support/TestPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// A smooth scene with film grain: JPEGs of it are about as large as photographs.
// The waves are separable (sin(a + b) = sin a cos b + cos a sin b), so each
// pixel costs a few multiplications.
QImage Scene(QSize size, quint32 seed, int grain) {
    QImage image(size, QImage::Format_RGB32);
    quint32 state = seed * 2654435761u + 1; // xorshift: fast grain
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const quint32 span = quint32(2 * grain + 1);
    const double phase = seed * 0.7;
    const int w = size.width(), h = size.height();
    std::vector<double> red(w), sinU2(w), cosU2(w), sinU5(w), cosU5(w);
    for (int x = 0; x < w; ++x) {
        const double u = double(x) / w;
        red[x] = 127 + 100 * std::sin(6 * u + phase);
        sinU2[x] = std::sin(2 * u + phase);
        cosU2[x] = std::cos(2 * u + phase);
        sinU5[x] = std::sin(5 * u + phase);
        cosU5[x] = std::cos(5 * u + phase);
    }
    for (int y = 0; y < h; ++y) {
        const double v = double(y) / h;
        const double sinV9 = std::sin(9 * v), cosV9 = std::cos(9 * v);
        const double sinV5 = std::sin(5 * v), cosV5 = std::cos(5 * v);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int noise = int(next() % span) - grain;
            const int r = int(red[x]) + noise;
            const int g = int(127 + 100 * (sinV9 * cosU2[x] + cosV9 * sinU2[x])) - noise;
            const int b = int(127 + 100 * (cosU5[x] * cosV5 - sinU5[x] * sinV5)) + noise;
            line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}

void Touch(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd >= 0)
        ::close(fd);
}

bool Link(const QString& from, const QString& to) {
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const QString root = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(root + "/pool");

    // The pool: pictures of the usual wallpaper sizes.
    struct Pooled {
        const char* name;
        QSize size;
    };
    const Pooled pool[] = {{"p640.jpg", {640, 480}},    {"p800.jpg", {800, 600}},
                           {"p1024.jpg", {1024, 768}},  {"p1280.jpg", {1280, 1024}},
                           {"p1600.jpg", {1600, 1200}}, {"p1920.jpg", {1920, 1080}},
                           {"p640.bmp", {640, 480}},    {"p1024.bmp", {1024, 768}},
                           {"p320.gif", {320, 240}},    {"p640.gif", {640, 480}}};
    QStringList poolPaths;
    quint32 seed = 1;
    for (const Pooled& p : pool) {
        const QString path = root + "/pool/" + p.name;
        poolPaths << path;
        if (QFile::exists(path))
            continue;
        if (QString(p.name).endsWith(".gif"))
            tavorin::test::WriteFile(path, tavorin::test::GifBytes(p.size, p.size, Qt::darkCyan));
        else
            Scene(p.size, seed++, 8)
                .save(path, QString(p.name).endsWith(".bmp") ? "BMP" : "JPG", 85);
    }

    // The tree: 10 x 10 x 50 leaf folders of 20 files each.
    const char* pictureNames[] = {"IMG_%1.JPG", "scan%1.bmp", "photo%1.jpg", "anim%1.Gif"};
    const char* otherNames[] = {"note%1.txt",  "photo%1.jpeg", "pic%1.png", "data%1.bin",
                                "readme%1.md", "clip%1.mp4",   "song%1.ogg"};
    QFile list(root + "/pictures.lst");
    list.open(QIODevice::WriteOnly | QIODevice::Truncate);
    long files = 0, pictures = 0, folders = 0;
    for (int a = 0; a < 10; ++a) {
        for (int b = 0; b < 10; ++b) {
            for (int c = 0; c < 50; ++c) {
                const QString folder =
                    QString("%1/tree/Dir%2/sub%3/Leaf%4").arg(root).arg(a).arg(b).arg(c);
                QDir().mkpath(folder);
                ++folders;
                for (int f = 0; f < 20; ++f, ++files) {
                    const QString number = QString::number(files).rightJustified(6, '0');
                    if (files % 50 == 0) {
                        const int kind = int(pictures % 4);
                        const QString path = folder + "/" + QString(pictureNames[kind]).arg(number);
                        // Pool pictures of the file's own type.
                        const int poolIndex = kind == 1   ? 6 + int(pictures / 4 % 2)
                                              : kind == 3 ? 8 + int(pictures / 4 % 2)
                                                          : int(pictures / 2 % 6);
                        QFile::remove(path);
                        Link(poolPaths[poolIndex], path);
                        list.write(QFile::encodeName(path) + '\n');
                        ++pictures;
                    } else {
                        Touch(QFile::encodeName(folder + "/" +
                                                QString(otherNames[files % 7]).arg(number)));
                    }
                }
            }
        }
    }
    folders += 110;

    // 200 JPEGs of 4000 x 3000: two scenes, a hundred links each.
    QDir().mkpath(root + "/big");
    for (int scene = 0; scene < 2; ++scene) {
        const QString first = QString("%1/big/scene%2_00.jpg").arg(root).arg(scene);
        if (!QFile::exists(first))
            Scene({4000, 3000}, 100 + scene, 40).save(first, "JPG", 90);
        for (int copy = 1; copy < 100; ++copy) {
            const QString path = QString("%1/big/scene%2_%3.jpg")
                                     .arg(root)
                                     .arg(scene)
                                     .arg(copy, 2, 10, QLatin1Char('0'));
            QFile::remove(path);
            Link(first, path);
        }
    }
    std::printf("corpus: %ld folders, %ld files, %ld pictures in %s/tree; 200 JPEGs of 4000x3000 "
                "in %s/big; %.1f s\n",
                folders, files, pictures, qPrintable(root), qPrintable(root),
                clock.elapsed() / 1000.0);
    return 0;
}
