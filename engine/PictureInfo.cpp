// Picture information: type, size in KB and pixel size read from file headers.
#include "engine/PictureInfo.h"

#include "engine/FilePaths.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace tavorin {

qint64 SizeInKB(qint64 bytes) {
    if (bytes <= 0)
        return 0;
    const qint64 whole = bytes / 1024;
    const qint64 rest = bytes % 1024;
    if (rest > 512 || (rest == 512 && whole % 2 == 1))
        return whole + 1;
    return whole;
}

QString ImageInfoText(const QSize& resolution, qint64 fileBytes, const QString& path) {
    return QStringLiteral("Resolution: ") + QString::number(resolution.width()) + QLatin1Char('x') +
           QString::number(resolution.height()) + QStringLiteral(" Pixels") +
           QStringLiteral("     Size: ") + QString::number(SizeInKB(fileBytes)) +
           QStringLiteral("KB") + QStringLiteral("\r\n") + QStringLiteral("Folder: ") +
           GetParentFolderName(path);
}

std::optional<QSize> PictureSize(const QString& path) {
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path);
    reader.setAutoTransform(false); // the size as stored, not as turned for viewing
    if (!reader.canRead())
        return std::nullopt;
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty())
        return size;
    // The header did not say: decode the picture to learn it.
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image.size();
}

std::optional<QString> Image_Info(const QString& path) {
    const auto size = PictureSize(path);
    if (!size)
        return std::nullopt;
    return ImageInfoText(*size, QFileInfo(path).size(), path);
}

} // namespace tavorin
