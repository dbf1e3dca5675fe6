// The wallpaper backend interface and the rules all backends share.
#include "platform/wallpaper/WallpaperBackend.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace tavorin {

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

bool CheckPictureFile(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return Fail(error, QStringLiteral("the picture does not exist: %1").arg(path));
    if (!info.isFile())
        return Fail(error, QStringLiteral("not a file: %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error, QStringLiteral("the picture cannot be read: %1").arg(path));
    QImageReader reader(&file);
    if (!reader.canRead())
        return Fail(error, QStringLiteral("not a picture: %1").arg(path));
    return true;
}

} // namespace tavorin
