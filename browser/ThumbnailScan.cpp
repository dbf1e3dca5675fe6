// The image browser's thumbnail scan: pictures decoded off the window's thread.
#include "browser/ThumbnailScan.h"

#include "browser/BrowseRules.h"
#include "engine/Thumbnail.h"

#include <QPainter>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace tavorin::browse {

Thumbnail MakeThumbnail(const QString& path, const QColor& background) {
    Thumbnail thumbnail;
    thumbnail.cell = QImage(kCellPixels, QImage::Format_RGB32);
    thumbnail.cell.fill(background);
    QSize natural;
    const QImage picture = ReadPictureFitted(
        path, [](QSize size) { return ThumbnailRect(size).size(); }, &natural);
    if (picture.isNull())
        return thumbnail;
    const QRect target = ThumbnailRect(natural);
    if (target.isEmpty())
        return thumbnail;
    QPainter painter(&thumbnail.cell);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (picture.size() == target.size())
        painter.drawImage(target.topLeft(), picture);
    else
        painter.drawImage(target, picture);
    painter.end();
    thumbnail.natural = natural;
    thumbnail.decoded = true;
    return thumbnail;
}

void ThumbnailScan::Run(const QStringList& paths, const QColor& background, const Ready& onReady,
                        int threads) {
    const int count = int(paths.size());
    if (count == 0)
        return;
    if (threads <= 0)
        threads = std::max(1, QThread::idealThreadCount());
    threads = std::min(threads, count);

    std::mutex mutex;
    std::condition_variable finished;
    std::vector<std::optional<Thumbnail>> done(static_cast<size_t>(count));
    std::atomic<int> next{0};

    QThreadPool pool;
    pool.setMaxThreadCount(threads);
    for (int t = 0; t < threads; ++t) {
        pool.start([&] {
            for (int i = next++; i < count; i = next++) {
                Thumbnail thumbnail = MakeThumbnail(paths.at(i), background);
                {
                    std::lock_guard lock(mutex);
                    done[size_t(i)] = std::move(thumbnail);
                }
                finished.notify_all();
            }
        });
    }
    for (int i = 0; i < count; ++i) {
        Thumbnail thumbnail;
        {
            std::unique_lock lock(mutex);
            finished.wait(lock, [&] { return done[size_t(i)].has_value(); });
            thumbnail = std::move(*done[size_t(i)]);
            done[size_t(i)].reset();
        }
        onReady(i, std::move(thumbnail));
    }
    pool.waitForDone();
}

} // namespace tavorin::browse
