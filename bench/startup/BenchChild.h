#pragma once

// What both start-up children share: the clock, the memory reading and
// the watcher that reports the first exposure of a window.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <functional>

inline qint64 monotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline long residentKB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// The start time the driver passed, else now.
inline qint64 startTime() {
    return qEnvironmentVariableIsSet("BENCH_T0") ? qgetenv("BENCH_T0").toLongLong() : monotonicNs();
}

// At the first exposure: prints the time since t0, sends the window to the
// background, and a second later prints the resident memory and quits.
class ExposeWatcher : public QObject {
  public:
    ExposeWatcher(qint64 t0, std::function<void()> toBackground)
        : t0_(t0), toBackground_(std::move(toBackground)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (done_ || event->type() != QEvent::Expose)
            return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || !window->isExposed())
            return false;
        done_ = true;
        const double shownMs = double(monotonicNs() - t0_) / 1e6;
        QTimer::singleShot(0, [this, shownMs] {
            toBackground_();
            QTimer::singleShot(1000, [shownMs] {
                std::printf("%.1f %ld\n", shownMs, residentKB());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        });
        return false;
    }

  private:
    qint64 t0_;
    std::function<void()> toBackground_;
    bool done_ = false;
};
