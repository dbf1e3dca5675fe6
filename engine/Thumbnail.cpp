// Thumbnails shared by the search results and the image browser: decoding and fitting.
#include "engine/Thumbnail.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <mutex>

#include <sys/stat.h>

namespace tavorin {

namespace {

// JPEGs up to this size are read whole and decoded from memory: a few percent
// faster than the decoder's many small reads. Other pictures, and very large
// files, stream (their readers take whole lines at a time anyway).
constexpr qint64 kWholeFileLimit = 32 * 1024 * 1024;

bool startsLikeJpeg(QIODevice& file) {
    return file.peek(2) == QByteArray("\xFF\xD8", 2);
}

// Qt's own limit on a decoded image (128 MB by default) is raised once to
// ours, which every decode here checks beforehand.
void allowDecodesUpToTheBound() {
    static std::once_flag once;
    std::call_once(once, [] {
        const int limitMB = QImageReader::allocationLimit();
        const int boundMB = static_cast<int>(kMaxDecodeBytes / (1024 * 1024)) + 1;
        if (limitMB != 0 && limitMB < boundMB)
            QImageReader::setAllocationLimit(boundMB);
    });
}

} // namespace

QSizeF FitIntoCell(QSizeF natural) {
    double w = natural.width();
    double h = natural.height();
    if (h > kCellHeight) {
        w = natural.width() * kCellHeight / natural.height();
        h = kCellHeight;
    }
    if (w > kCellWidth) {
        h = natural.height() * kCellWidth / natural.width();
        w = kCellWidth;
    }
    return {w, h};
}

QSize ThumbnailPixelSize(QSize natural) {
    if (natural.isEmpty())
        return {};
    const QSizeF fit = FitIntoCell(QSizeF(natural));
    return {std::max(1, int(std::lround(fit.width()))),
            std::max(1, int(std::lround(fit.height())))};
}

QString Get_FileName(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ThumbnailText(const QString& path, QSize natural) {
    const QString name = Get_FileName(path);
    if (!natural.isValid())
        return name;
    return name + QStringLiteral(" \r\n") + QString::number(natural.width()) +
           QStringLiteral(" * ") + QString::number(natural.height());
}

bool IsRegularFile(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

qint64 DecodeBytes(QSize natural, QSize wanted, bool jpeg) {
    qint64 width = natural.width();
    qint64 height = natural.height();
    if (jpeg && !wanted.isEmpty() && (wanted.width() < width || wanted.height() < height)) {
        // As Qt's JPEG reader picks the scale: eighths, rounded up.
        const double factor =
            std::min(double(width) / wanted.width(), double(height) / wanted.height());
        const int eighths = std::clamp(int(std::ceil(8 / factor)), 1, 8);
        width = (width * eighths + 7) / 8;
        height = (height * eighths + 7) / 8;
    }
    return width * height * 4;
}

QImage ReadPictureFitted(const QString& path, const std::function<QSize(QSize)>& fit,
                         QSize* natural) {
    if (natural)
        *natural = QSize();
    if (!IsRegularFile(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QIODevice* source = &file;
    if (file.size() <= kWholeFileLimit && startsLikeJpeg(file)) {
        bytes = file.readAll();
        file.close();
        buffer.open(QIODevice::ReadOnly);
        source = &buffer;
    }
    const bool jpeg = startsLikeJpeg(*source);
    QImageReader reader(source);
    reader.setAutoTransform(false);
    const QSize header = reader.size();
    if (header.isValid()) {
        const QSize wanted = fit(header);
        if (wanted.isEmpty() || DecodeBytes(header, wanted, jpeg) > kMaxDecodeBytes)
            return {};
        if (wanted.width() < header.width() || wanted.height() < header.height())
            reader.setScaledSize(wanted);
    }
    allowDecodesUpToTheBound();
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (natural)
        *natural = header.isValid() ? header : image.size();
    return image;
}

QImage ReadPictureForScreen(const QString& path, QSize screen) {
    return ReadPictureFitted(path, [screen](QSize size) {
        return size.boundedTo(size.scaled(screen, Qt::KeepAspectRatio).expandedTo({1, 1}));
    });
}

} // namespace tavorin
