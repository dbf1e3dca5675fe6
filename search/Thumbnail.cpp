#include "search/Thumbnail.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace tavorin::search {

namespace {
constexpr qint64 kWholeFileLimit = 32 * 1024 * 1024;
}

CellFit FitIntoCell(double width, double height) {
    double w = width;
    double h = height;
    if (h > kCellHeight) {
        w = width * kCellHeight / height;
        h = kCellHeight;
    }
    if (w > kCellWidth) {
        h = height * kCellWidth / width;
        w = kCellWidth;
    }
    return {w, h, (kCellWidth - w) / 2, (kCellHeight - h) / 2};
}

QSize ThumbnailPixelSize(const CellFit& fit) {
    return {std::max(1, int(std::lround(fit.width))), std::max(1, int(std::lround(fit.height)))};
}

QSize CellPixelSize() {
    return {int(std::ceil(kCellWidth)), int(std::ceil(kCellHeight))};
}

Thumbnail MakeThumbnail(const QString& path) {
    Thumbnail thumbnail{path, {}, {}};
    // A JPEG is read whole and decoded from memory: a few percent faster than
    // the decoder's many small reads. Other pictures, and very large files,
    // stream (their readers take whole lines at a time anyway).
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return thumbnail;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QIODevice* source = &file;
    if (file.size() <= kWholeFileLimit && file.peek(2) == QByteArray("\xFF\xD8", 2)) {
        bytes = file.readAll();
        file.close();
        buffer.open(QIODevice::ReadOnly);
        source = &buffer;
    }
    QImageReader reader(source);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return thumbnail;
    thumbnail.pictureSize = size;
    const QSize target = ThumbnailPixelSize(FitIntoCell(size.width(), size.height()));
    if (target != size)
        reader.setScaledSize(target);
    QImage image = reader.read();
    if (image.isNull())
        return thumbnail;
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
