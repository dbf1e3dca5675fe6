// The image browser's folder scan on a generated folder of pictures.
//
//   bench_browser generate FOLDER   writes the corpus (skips files already there)
//   bench_browser scan FOLDER       runs the scan as the browser does and reports
//                                   pictures per second and peak resident memory
#include "browser/BrowseRules.h"
#include "browser/ThumbnailScan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include <sys/resource.h>

using namespace tavorin::browse;

namespace {

struct Job {
    QString name;
    QSize size;
    const char* format;
};

// A picture that compresses like a photograph: smooth shapes plus grain.
QImage photoLike(QSize size, quint32 seed) {
    QRandomGenerator random(seed);
    QImage small(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            small.setPixel(x, y, random.generate() | 0xff000000u);
    QImage image = small.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&image);
    for (int i = 0; i < 30; ++i) {
        painter.setBrush(QColor::fromRgb(random.generate()));
        painter.setPen(Qt::NoPen);
        const int w = int(random.bounded(size.width() / 3)) + 8;
        const int h = int(random.bounded(size.height() / 3)) + 8;
        painter.drawEllipse(int(random.bounded(size.width())), int(random.bounded(size.height())),
                            w, h);
    }
    painter.end();
    quint32 state = seed * 2654435761u + 1;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 28) - 8;
            const quint32 p = line[x];
            auto channel = [&](int shift) {
                return quint32(std::clamp(int((p >> shift) & 0xff) + grain, 0, 255)) << shift;
            };
            line[x] = 0xff000000u | channel(16) | channel(8) | channel(0);
        }
    }
    return image;
}

// Qt writes no GIF: a plain encoder whose LZW codes stay 9 bits wide (a
// clear code every 250 pixels). Valid for every decoder, if not small.
bool writeGif(const QImage& indexed, const QString& path) {
    QByteArray out("GIF89a");
    auto word = [&](int v) {
        out.append(char(v & 0xff));
        out.append(char((v >> 8) & 0xff));
    };
    word(indexed.width());
    word(indexed.height());
    out.append(char(0xf7)).append(char(0)).append(char(0));
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : 0;
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    out.append(char(0x2c));
    word(0);
    word(0);
    word(indexed.width());
    word(indexed.height());
    out.append(char(0)).append(char(8));
    QByteArray data;
    quint32 bits = 0;
    int bitCount = 0;
    auto code = [&](int c) {
        bits |= quint32(c) << bitCount;
        bitCount += 9;
        while (bitCount >= 8) {
            data.append(char(bits & 0xff));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    int sinceClear = 250;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            if (sinceClear == 250) {
                code(256);
                sinceClear = 0;
            }
            code(line[x]);
            ++sinceClear;
        }
    }
    code(257);
    if (bitCount > 0)
        data.append(char(bits & 0xff));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(char(block.size())).append(block);
    }
    out.append(char(0)).append(char(0x3b));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

int generate(const QString& folder) {
    QDir().mkpath(folder);
    std::vector<Job> jobs;
    for (int i = 0; i < 200; ++i)
        jobs.push_back(
            {QStringLiteral("camera_%1.jpg").arg(i, 3, 10, QLatin1Char('0')), {4000, 3000}, "JPG"});
    for (int i = 0; i < 50; ++i)
        jobs.push_back(
            {QStringLiteral("screen_%1.jpg").arg(i, 2, 10, QLatin1Char('0')), {1920, 1080}, "JPG"});
    for (int i = 0; i < 30; ++i)
        jobs.push_back(
            {QStringLiteral("bitmap_%1.bmp").arg(i, 2, 10, QLatin1Char('0')), {1024, 768}, "BMP"});
    for (int i = 0; i < 30; ++i)
        jobs.push_back(
            {QStringLiteral("anim_%1.gif").arg(i, 2, 10, QLatin1Char('0')), {800, 600}, "GIF"});
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            const Job& job = jobs[i];
            const QString path = folder + QLatin1Char('/') + job.name;
            if (QFileInfo::exists(path))
                continue;
            const QImage image = photoLike(job.size, quint32(i + 1));
            const QString part = path + QStringLiteral(".part");
            const bool written =
                qstrcmp(job.format, "GIF") == 0
                    ? writeGif(image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither),
                               part)
                    : image.save(part, job.format, 90);
            if (!written || !QFile::rename(part, path))
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        }
    };
    std::thread other(work);
    work();
    other.join();
    return 0;
}

long peakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int scan(const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    const QStringList files = FilterFiles(List_Files(folder), DefaultFileType());
    std::vector<QPixmap> icons;
    QStringList texts;
    QString caption;
    int undecoded = 0;
    ThumbnailScan::Run(files, Qt::white, [&](int i, Thumbnail&& thumbnail) {
        icons.push_back(QPixmap::fromImage(thumbnail.cell));
        texts.append(ItemText(files.at(i), thumbnail.natural));
        caption = ProgressCaption(i + 1, int(files.size()));
        undecoded += thumbnail.decoded ? 0 : 1;
    });
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("pictures %lld undecoded %d seconds %.3f pictures_per_second %.1f "
                "peak_rss_mb %.1f last_caption \"%s\"\n",
                static_cast<long long>(files.size()), undecoded, seconds,
                double(files.size()) / seconds, double(peakResidentKb()) / 1024.0,
                qPrintable(caption));
    return undecoded == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("generate"))
        return generate(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("scan"))
        return scan(args[2]);
    std::fprintf(stderr, "usage: bench_browser generate|scan FOLDER\n");
    return 2;
}
