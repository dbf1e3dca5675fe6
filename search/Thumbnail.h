#pragma once

#include "engine/Thumbnail.h"

#include <QFuture>
#include <QImage>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <deque>
#include <functional>

namespace tavorin::search {

// The cell and its fitting are the shared ones (engine/Thumbnail.h).
using tavorin::kCellHeight;
using tavorin::kCellWidth;
using tavorin::ThumbnailPixelSize;

// The cell in whole pixels (103 x 77).
QSize CellPixelSize();

// One recorded hit: the picture's own size and its thumbnail. A null image
// means the file could not be decoded; such a file is left out.
struct Thumbnail {
    QString path;
    QSize pictureSize;
    QImage image;
    bool ok() const { return !image.isNull(); }
};

// Reads the size from the header and decodes the picture at the reduced size
// (JPEGs decode at 1/2, 1/4 or 1/8 scale directly). Only regular files are opened.
Thumbnail MakeThumbnail(const QString& path);

// Decodes thumbnails on a pool of threads and hands them back in the order they
// were submitted, on the thread that submitted them. At most maxPending are in
// flight: a submit beyond that first waits for (and hands back) the oldest.
class ThumbnailQueue {
  public:
    using Deliver = std::function<void(Thumbnail&&)>;

    explicit ThumbnailQueue(Deliver deliver, int threads = 0, int maxPending = 0);
    ~ThumbnailQueue();
    ThumbnailQueue(const ThumbnailQueue&) = delete;
    ThumbnailQueue& operator=(const ThumbnailQueue&) = delete;

    void Submit(const QString& path);
    // Hands back the finished thumbnails at the head of the queue, without waiting.
    void DeliverReady();
    // Waits for every submitted thumbnail and hands them all back.
    void DeliverAll();
    // Drops whatever is still pending (nothing is handed back).
    void Discard();
    bool Empty() const { return pending_.empty(); }

  private:
    void deliverFront();

    Deliver deliver_;
    QThreadPool pool_;
    int maxPending_;
    std::deque<QFuture<Thumbnail>> pending_;
};

} // namespace tavorin::search
