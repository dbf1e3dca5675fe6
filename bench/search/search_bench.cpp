// Runs the search engine without a window (or, for memory, in the real
// window on an offscreen screen) and prints key=value lines for run.sh.
//   search_bench walk   <folder> <runs>   "Any": names only, nothing decoded
//   search_bench equal  <folder> <runs>   "Equal To" 1 x 1: every picture measured, no hit
//   search_bench thumbs <folder> <runs>   "Any" with thumbnails of every hit
//   search_bench memory <folder>          the window, before and after listing every hit
//   search_bench show   <folder> <png>    the window after a search, saved as a picture
// BENCH_THREADS and BENCH_PENDING set the thumbnail threads and queue length.
#include "search/SearchWalk.h"
#include "search/Thumbnail.h"
#include "search/frmSearch.h"
#include "tests/support/Fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace tavorin;
using namespace tavorin::search;

namespace {

double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

struct Run {
    double ms = 0;
    double cpuMs = 0;
    long hits = 0;
    long folders = 0;
    long files = 0;
};

Run Walk(const QString& folder, WalkCriteria criteria, bool thumbnails) {
    long delivered = 0;
    ThumbnailQueue queue([&delivered](Thumbnail&& t) { delivered += t.ok() ? 1 : 0; },
                         qEnvironmentVariableIntValue("BENCH_THREADS"),
                         qEnvironmentVariableIntValue("BENCH_PENDING"));
    WalkHooks hooks;
    hooks.letEventsRun = [&queue, thumbnails] {
        if (thumbnails)
            queue.DeliverReady();
        QCoreApplication::processEvents();
    };
    hooks.stopRequested = [] { return false; };
    hooks.recordHit = [&queue, thumbnails](const QString& path, QSize) {
        QCoreApplication::processEvents();
        if (thumbnails)
            queue.Submit(path);
    };
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = CpuMs();
    SearchWalk walk(criteria, hooks);
    walk.Search_Folder(folder);
    queue.DeliverAll();
    Run run;
    run.ms = clock.nsecsElapsed() / 1e6;
    run.cpuMs = CpuMs() - cpuStart;
    run.hits = thumbnails ? delivered : walk.counts().hits;
    run.folders = walk.counts().foldersListed;
    run.files = walk.counts().filesExamined;
    return run;
}

void Report(const char* name, std::vector<Run> runs) {
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
    const Run& median = runs[runs.size() / 2];
    std::vector<double> cpu;
    for (const Run& run : runs)
        cpu.push_back(run.cpuMs);
    std::sort(cpu.begin(), cpu.end());
    std::printf("%s_cpu_ms_median=%.2f\n", name, cpu[cpu.size() / 2]);
    std::printf("%s_ms_min=%.2f\n%s_ms_median=%.2f\n%s_hits=%ld\n%s_folders=%ld\n%s_files=%ld\n",
                name, runs.front().ms, name, median.ms, name, median.hits, name, median.folders,
                name, median.files);
}

long StatusKb(const char* key) {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLong();
    }
    return -1;
}

class CountingTarget final : public PictureTarget {
  public:
    void Append_Picture(const QString&) override {}
    void Set_Wallpaper(QString&) override {}
};

int Show(const QString& folder, const QString& picture) {
    QTemporaryDir programFolder;
    test::FakePlatform platform(programFolder.path());
    Module1 m(platform.services);
    CountingTarget target;
    frmSearch window(m, target);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    window.cboBrowse->setEditText(folder);
    window.cmdOK_Click();
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    const bool saved = window.grab().save(picture, "PNG");
    std::printf("show_hits=%d\nshow_status=%s\nshow_saved=%d\n", window.lstResult->count(),
                qPrintable(window.StatusText()), saved ? 1 : 0);
    return saved ? 0 : 1;
}

int Memory(const QString& folder) {
    QTemporaryDir programFolder;
    test::FakePlatform platform(programFolder.path());
    Module1 m(platform.services);
    CountingTarget target;
    auto* window = new frmSearch(m, target, {{"/", true}});
    window->show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    const long emptyRss = StatusKb("VmRSS:");
    const long emptyPeak = StatusKb("VmHWM:");
    window->cboBrowse->setEditText(folder);
    window->chkSubfolders->setChecked(true);
    QElapsedTimer clock;
    clock.start();
    window->cmdOK_Click();
    const double ms = clock.nsecsElapsed() / 1e6;
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    const long listedRss = StatusKb("VmRSS:");
    const long peak = StatusKb("VmHWM:");
    std::printf("memory_hits=%d\nmemory_search_ms=%.1f\nmemory_empty_rss_kb=%ld\n"
                "memory_empty_peak_kb=%ld\nmemory_listed_rss_kb=%ld\nmemory_peak_kb=%ld\n"
                "memory_peak_above_empty_mb=%.1f\nmemory_listed_above_empty_mb=%.1f\n",
                window->lstResult->count(), ms, emptyRss, emptyPeak, listedRss, peak,
                (peak - emptyRss) / 1024.0, (listedRss - emptyRss) / 1024.0);
    qint64 thumbnailBytes = 0;
    for (int i = 0; i < window->lstResult->count(); ++i)
        thumbnailBytes += window->lstResult->item(i)
                              ->data(frmSearch::ThumbnailRole)
                              .value<QImage>()
                              .sizeInBytes();
    std::printf("memory_thumbnails_mb=%.1f\n", thumbnailBytes / 1048576.0);
    delete window;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s walk|equal|thumbs|memory <folder> [runs]\n", argv[0]);
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;
    if (mode == "memory")
        return Memory(folder);
    if (mode == "show" && argc > 3)
        return Show(folder, QString::fromLocal8Bit(argv[3]));

    WalkCriteria criteria; // "Background Files", "Any"
    bool thumbnails = false;
    if (mode == "equal") {
        criteria.comparison = Comparison::EqualTo;
        criteria.width = 1;
        criteria.height = 1;
    } else if (mode == "thumbs") {
        thumbnails = true;
    } else if (mode != "walk") {
        std::fprintf(stderr, "unknown mode %s\n", argv[1]);
        return 2;
    }
    std::vector<Run> results;
    Walk(folder, criteria, thumbnails); // warm the caches
    for (int i = 0; i < runs; ++i)
        results.push_back(Walk(folder, criteria, thumbnails));
    Report(argv[1], results);
    return 0;
}
