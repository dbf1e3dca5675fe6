#include "tests/mainwindow/MainWindowHarness.h"

#include "engine/FilePaths.h"
#include "engine/ListFile.h"

#include <QDir>
#include <QImage>
#include <QListWidget>

namespace tavorin::test {

MainWindowHarness::MainWindowHarness() {
    set(QStringLiteral("Machine"), QStringLiteral("1"));
    set(QStringLiteral("Startup"), QStringLiteral("1"));
    // The temporary program folder holds no skin pictures.
    set(QStringLiteral("Skin"), QStringLiteral("[none]"));
}

void MainWindowHarness::set(const QString& key, const QString& value,
                            const QString& section) const {
    m.WriteINIFile(section, key, value);
}

QString MainWindowHarness::get(const QString& key, const QString& section) const {
    return m.GetINIFile(section, key);
}

QString MainWindowHarness::picture(const QString& name) const {
    const QString dir = folder.root() + QStringLiteral("/pictures");
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name;
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(qHash(name) % 360, 200, 200));
    image.save(path, "JPG");
    return path;
}

QStringList MainWindowHarness::pictures(int count) const {
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths << picture(QStringLiteral("p%1.jpg").arg(i));
    return paths;
}

void MainWindowHarness::storeAutomaticList(const QStringList& paths) const {
    SaveAutomaticList(m, paths);
}

frmMain& MainWindowHarness::create() {
    w = std::make_unique<frmMain>(m, splash);
    return *w;
}

frmMain& MainWindowHarness::start() {
    create();
    w->LoadData();
    return *w;
}

QStringList MainWindowHarness::applied() const {
    QStringList paths;
    for (const auto& call : fake.wallpaper.calls)
        paths << call.path;
    return paths;
}

namespace {
QStringList texts(const QListWidget* list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}
} // namespace

QStringList MainWindowHarness::paths() const {
    return texts(w->lstAdd);
}
QStringList MainWindowHarness::names() const {
    return texts(w->lstWallpaper);
}

bool MainWindowHarness::listsParallel() const {
    const QStringList p = paths();
    const QStringList n = names();
    if (p.size() != n.size())
        return false;
    for (int i = 0; i < p.size(); ++i) {
        if (GetFileName(p[i]) != n[i])
            return false;
    }
    return true;
}

} // namespace tavorin::test
