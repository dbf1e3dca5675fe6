#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

namespace tavorin::browse {

// One thumbnail cell and what was learnt about its picture.
struct Thumbnail {
    QImage cell;   // kCellPixels, the picture fitted and centred on the background
    QSize natural; // the picture's natural size; invalid when it could not be read
    bool decoded = false;
};

// Reads the natural size of a picture from its header, then decodes it at
// no more than the size needed (JPEG decodes at 1/2 to 1/8 scale) and draws
// it into a fresh cell. A file that cannot be decoded gets an empty cell
// and no size. Safe to call from any thread.
Thumbnail MakeThumbnail(const QString& path, const QColor& background);

// Makes the thumbnails of many files on a pool of threads (one per core by
// default) and hands each one to onReady on the calling thread, strictly in
// the order of `paths`, as soon as it and all before it are ready. Returns
// when every one was handed over. Only finished cells are held, never whole
// pictures.
class ThumbnailScan {
  public:
    using Ready = std::function<void(int index, Thumbnail&& thumbnail)>;
    static void Run(const QStringList& paths, const QColor& background, const Ready& onReady,
                    int threads = 0);
};

} // namespace tavorin::browse
