// The yardstick: a Qt Widgets program that only shows an empty window.
#include "bench/startup/BenchChild.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    const qint64 t0 = startTime();
    QApplication app(argc, argv);
    QWidget window;
    window.resize(445, 271);
    ExposeWatcher watcher(t0, [&] { window.hide(); });
    app.installEventFilter(&watcher);
    window.show();
    return QApplication::exec();
}
