// The search results' thumbnails: decoded on a pool of threads, handed back in order.
#include "search/Thumbnail.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace tavorin::search {

QSize CellPixelSize() {
    return {int(std::ceil(kCellWidth)), int(std::ceil(kCellHeight))};
}

Thumbnail MakeThumbnail(const QString& path) {
    Thumbnail thumbnail{path, {}, {}};
    QSize size;
    QImage image = ReadPictureFitted(path, ThumbnailPixelSize, &size);
    if (image.isNull())
        return thumbnail;
    thumbnail.pictureSize = size;
    const QSize target = ThumbnailPixelSize(size);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The list keeps only these: three bytes a pixel unless the picture is transparent.
    thumbnail.image = image.hasAlphaChannel()
                          ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                          : image.convertToFormat(QImage::Format_RGB888);
    return thumbnail;
}

ThumbnailQueue::ThumbnailQueue(Deliver deliver, int threads, int maxPending)
    : deliver_(std::move(deliver)) {
    const int count = threads > 0 ? threads : std::max(1, QThread::idealThreadCount());
    pool_.setMaxThreadCount(count);
    maxPending_ = maxPending > 0 ? maxPending : 4 * count;
}

ThumbnailQueue::~ThumbnailQueue() {
    Discard();
}

void ThumbnailQueue::Submit(const QString& path) {
    while (int(pending_.size()) >= maxPending_)
        deliverFront();
    pending_.push_back(QtConcurrent::run(&pool_, MakeThumbnail, path));
}

void ThumbnailQueue::deliverFront() {
    QFuture<Thumbnail> front = std::move(pending_.front());
    pending_.pop_front();
    Thumbnail thumbnail = front.result();
    if (deliver_)
        deliver_(std::move(thumbnail));
}

void ThumbnailQueue::DeliverReady() {
    while (!pending_.empty() && pending_.front().isFinished())
        deliverFront();
}

void ThumbnailQueue::DeliverAll() {
    while (!pending_.empty())
        deliverFront();
}

void ThumbnailQueue::Discard() {
    for (QFuture<Thumbnail>& future : pending_)
        future.waitForFinished();
    pending_.clear();
}

} // namespace tavorin::search
