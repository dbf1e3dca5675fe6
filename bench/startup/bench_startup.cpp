// Runs each case in a fresh child process and reports medians:
//   shown   time from the child's start to its main window exposed (ms)
//   rss     resident memory once the window is hidden to the background (KB)
// The program runs with a generated program folder: a 1000-picture
// automatic list, mode "Frequently". Needs an X display (xvfb-run).
#include "bench/startup/BenchChild.h"

#include "app/Startup.h"
#include "engine/ListFile.h"
#include "mainwindow/frmMain.h"
#include "platform/DesktopWallpaper.h"
#include "platform/GioShell.h"
#include "platform/QtTrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace tavorin;

namespace {

class NoSplash final : public SplashStatus {
  public:
    void SetStatus(const QString&) override {}
};

// Answers the open dialog with one file; everything else is cancelled.
class OneFileDialogs final : public IDialogs {
  public:
    QString file;
    MsgResult MsgBox(const QString&, MsgButtons, MsgIcon, const QString&) override {
        return MsgResult::Ok;
    }
    QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return file;
    }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString BrowseForFolder(QWidget*, const QString&) override { return {}; }
};

int childProgram(qint64 t0, const QString& folder) {
    QApplication::setQuitOnLastWindowClosed(false);
    QtDialogs dialogs;
    XdgRegistryStore registry;
    auto wallpaper = MakeDesktopWallpaper();
    GioShell shell;
    LockFileInstance instance(folder);
    SystemClock clock;
    QtTrayIcon tray;
    Services services{
        ProgramFolder(folder), dialogs, registry, *wallpaper, shell, instance, clock, tray};
    Module1 module(services);
    Startup startup(module);
    ExposeWatcher watcher(t0, [&] {
        if (frmMain* main = startup.MainWindow())
            main->hide();
    });
    qApp->installEventFilter(&watcher);
    if (!startup.Main())
        return 1;
    return QApplication::exec();
}

int childLoad(const QString& folder, const QString& listFile) {
    OneFileDialogs dialogs;
    dialogs.file = listFile;
    XdgRegistryStore registry;
    auto wallpaper = MakeDesktopWallpaper();
    GioShell shell;
    LockFileInstance instance(folder);
    SystemClock clock;
    QtTrayIcon tray;
    Services services{
        ProgramFolder(folder), dialogs, registry, *wallpaper, shell, instance, clock, tray};
    Module1 module(services);
    NoSplash splash;
    frmMain window(module, splash);
    QElapsedTimer timer;
    timer.start();
    window.cmdLoad_Click();
    std::printf("%.1f %d\n", timer.nsecsElapsed() / 1e6, int(window.ListPaths().size()));
    return 0;
}

} // namespace

namespace {

struct Sample {
    double ms = 0;
    long rssKB = 0;
};

QStringList pictureFiles(const QString& dir, int count) {
    QDir().mkpath(dir);
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString first = dir + QStringLiteral("/picture 0.jpg");
    image.save(first, "JPG");
    QStringList paths{first};
    for (int i = 1; i < count; ++i) {
        paths << dir + QStringLiteral("/picture %1.jpg").arg(i);
        QFile::copy(first, paths.last());
    }
    return paths;
}

void writeProgramFolder(const QString& folder, const QStringList& pictures) {
    QDir().mkpath(folder);
    QFile settings(folder + QStringLiteral("/Settings.INI"));
    if (settings.open(QIODevice::WriteOnly)) {
        settings.write("[Settings]\nVersion=1.2.35\nSplash=0\nSystray=0\nStartup=1\n"
                       "Machine=1\nConvert=1\nchange=Frequently\nmin=30\nrandom=1\n"
                       "shutdown=0\nWallpaper=1\nListCount=" +
                       QByteArray::number(pictures.size()) + "\n");
    }
    // Saved as a list file, then renamed: the same records, no marker needed
    // since "ListCount" bounds the read.
    WriteSavedList(folder + QStringLiteral("/Tavorin.tl"), pictures);
}

// The empty Qt Widgets program beside this one.
QString emptyWindowProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/bench_empty_window");
}

std::optional<Sample> runChild(const QString& program, const QStringList& arguments) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BENCH_T0"), QString::number(monotonicNs()));
    child.setProcessEnvironment(env);
    child.start(program, arguments);
    if (!child.waitForFinished(30000) || child.exitCode() != 0)
        return std::nullopt;
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2)
        return std::nullopt;
    return Sample{fields[0].toDouble(), fields[1].toLong()};
}

Sample median(std::vector<Sample> samples) {
    auto at = [&](auto key) {
        std::sort(samples.begin(), samples.end(),
                  [&](const Sample& a, const Sample& b) { return key(a) < key(b); });
        return samples[samples.size() / 2];
    };
    Sample result;
    result.ms = at([](const Sample& s) { return s.ms; }).ms;
    result.rssKB = at([](const Sample& s) { return double(s.rssKB); }).rssKB;
    return result;
}

int drive() {
    QTemporaryDir root;
    const QString home = root.path() + QStringLiteral("/home");
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    const QString folder = root.path() + QStringLiteral("/Tavorin");
    const QStringList pictures = pictureFiles(root.path() + QStringLiteral("/pictures"), 1000);
    writeProgramFolder(folder, pictures);

    constexpr int kRuns = 7;
    std::vector<Sample> empty, program;
    for (int run = 0; run < kRuns; ++run) {
        if (auto s = runChild(emptyWindowProgram(), {}))
            empty.push_back(*s);
        if (auto s = runChild(QCoreApplication::applicationFilePath(),
                              {QStringLiteral("--program"), folder}))
            program.push_back(*s);
    }
    if (empty.empty() || program.empty()) {
        std::fprintf(stderr, "a child failed (is there an X display?)\n");
        return 1;
    }
    const Sample e = median(empty);
    const Sample p = median(program);
    std::printf("start-up to window shown (median of %d): empty Qt %.1f ms, Tavorin %.1f ms, "
                "ratio %.2f (goal <= 1.5)\n",
                kRuns, e.ms, p.ms, p.ms / e.ms);
    std::printf("resident memory in the background: empty Qt %ld KB, Tavorin %ld KB, "
                "ratio %.2f (goal <= 1.3)\n",
                e.rssKB, p.rssKB, double(p.rssKB) / double(e.rssKB));

    QStringList many;
    for (int i = 0; i < kMaxLoadRecords; ++i)
        many << pictures[i % pictures.size()];
    const QString big = root.path() + QStringLiteral("/big.tl");
    WriteSavedList(big, many);
    QProcess load;
    load.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--load"), folder, big});
    load.waitForFinished(60000);
    const QList<QByteArray> fields = load.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() == 2)
        std::printf("loading a %s-picture list: %s ms (goal < 1000)\n", fields[1].constData(),
                    fields[0].constData());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const qint64 t0 = startTime();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("--program"))
        return childProgram(t0, args[2]);
    if (args.size() >= 4 && args[1] == QLatin1String("--load"))
        return childLoad(args[2], args[3]);
    return drive();
}
