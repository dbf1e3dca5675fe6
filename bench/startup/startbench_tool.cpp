// startbench-tool: the file side of the start-up benchmark.
//
//   startbench-tool folder PROGRAM_DIR PICTURE_DIR COUNT
//     Writes into PROGRAM_DIR the settings of a user who has been using
//     the program (no splash, tray icon on, mode "Frequently" every 30 min)
//     and an automatic list "Tavorin.tl" of COUNT pictures. The pictures
//     are small JPEGs written into PICTURE_DIR, at most 1000 different
//     files; a longer list names them again in turn.
//   startbench-tool listload COUNT RUNS
//     Writes a saved list file of COUNT pictures and prints the median
//     time, over RUNS runs, of reading it (ReadSavedList), of filling the
//     main window's two list boxes with it (the shown one laid out as on
//     screen), and of the same fill when the shown list's rows are
//     declared to be of one height (QListView::setUniformItemSizes).

#include "Version.h"
#include "engine/FilePaths.h"
#include "engine/ListFile.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace tavorin;

namespace {

constexpr int kDistinctPictures = 1000;

int fail(const QString& message) {
    std::fprintf(stderr, "startbench-tool: %s\n", qPrintable(message));
    return 1;
}

QByteArray samplePictureJpeg() {
    QImage image(320, 240, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 320, 240);
    gradient.setColorAt(0, QColor(30, 80, 160));
    gradient.setColorAt(1, QColor(240, 200, 90));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 80);
    return bytes;
}

// The paths of `count` list entries; the files exist.
bool writePictures(const QString& pictureDir, int count, QStringList& paths) {
    if (!QDir().mkpath(pictureDir))
        return false;
    const QByteArray jpeg = samplePictureJpeg();
    const int distinct = std::min(count, kDistinctPictures);
    QStringList files;
    for (int i = 1; i <= distinct; ++i) {
        const QString path =
            QDir(pictureDir)
                .absoluteFilePath(
                    QStringLiteral("Holiday picture %1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size())
            return false;
        files << path;
    }
    for (int i = 0; i < count; ++i)
        paths << files[i % distinct];
    return true;
}

bool writeSettings(const QString& programDir, int count) {
    QFile file(QDir(programDir).filePath(QStringLiteral("Settings.INI")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out << "[Settings]\n"
        << "Version=" << version::text << "\n"
        << "Splash=0\nSystray=1\nStartup=1\nMachine=1\nConvert=1\n"
        << "change=Frequently\nmin=30\nshutdown=0\nrandom=0\nLoader=0\n"
        << "Click=1\nFirstRun=1\nWallpaper=1\nListCount=" << count << "\n";
    out.flush();
    return file.error() == QFile::NoError;
}

int makeFolder(const QString& programDir, const QString& pictureDir, int count) {
    QStringList paths;
    if (!writePictures(pictureDir, count, paths))
        return fail(QStringLiteral("cannot write the pictures into ") + pictureDir);
    const QString listFile = QDir(programDir).filePath(QStringLiteral("Tavorin.tl"));
    QFile::remove(listFile);
    for (int i = 0; i < paths.size(); ++i)
        if (!PutListRecord(listFile, i + 1, paths[i]))
            return fail(QStringLiteral("cannot write record %1 of ").arg(i + 1) + listFile);
    if (!writeSettings(programDir, count))
        return fail(QStringLiteral("cannot write the settings into ") + programDir);
    std::printf("folder=%s pictures=%d\n", qPrintable(programDir), count);
    return 0;
}

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The main window keeps two parallel lists: names shown, paths hidden.
// The shown list is on screen, so its rows are laid out as well.
void fillListBoxes(const QStringList& paths, bool uniformRows) {
    QListWidget shown;
    QListWidget hidden;
    shown.setUniformItemSizes(uniformRows);
    shown.setGeometry(48, 24, 161, 100);
    shown.show();
    for (const QString& path : paths) {
        hidden.addItem(path);
        shown.addItem(GetFileName(path));
    }
    shown.doItemsLayout();
}

int timeListLoad(int count, int runs) {
    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths << QStringLiteral("/home/user/Pictures/Wallpapers/Holiday %1/picture %2.jpg")
                     .arg(i / 100)
                     .arg(i, 5, 10, QLatin1Char('0'));
    const QString listFile = dir.filePath(QStringLiteral("big.tl"));
    if (!WriteSavedList(listFile, paths).written)
        return fail(QStringLiteral("cannot write ") + listFile);

    QStringList read;
    const double readMs = medianMs(runs, [&] { read = ReadSavedList(listFile); });
    if (read != paths)
        return fail(QStringLiteral("read %1 of %2 pictures back").arg(read.size()).arg(count));
    const double fillMs = medianMs(runs, [&] { fillListBoxes(read, false); });
    const double uniformMs = medianMs(runs, [&] { fillListBoxes(read, true); });
    std::printf("pictures=%d read_ms=%.1f fill_ms=%.1f total_ms=%.1f uniform_fill_ms=%.1f\n", count,
                readMs, fillMs, readMs + fillMs, uniformMs);
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: startbench-tool folder PROGRAM_DIR PICTURE_DIR COUNT\n"
                         "       startbench-tool listload COUNT RUNS\n");
    return 64;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const QByteArray command = argv[1];
    if (command == "folder" && argc == 5) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return makeFolder(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                          std::max(1, std::atoi(argv[4])));
    }
    if (command == "listload" && argc == 4) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return timeListLoad(std::max(1, std::atoi(argv[2])), std::max(1, std::atoi(argv[3])));
    }
    return usage();
}
