#include "browser/Volumes.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace tavorin::browse {

QStringList StorageVolumes::Drives() const {
    QStringList drives{QStringLiteral("/")};
    QStringList others;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || root == QLatin1String("/") ||
            others.contains(root) || !QFileInfo(root).isDir())
            continue;
        others.append(root);
    }
    std::sort(others.begin(), others.end());
    return drives + others;
}

bool StorageVolumes::IsReady(const QString& drive) const {
    const QStorageInfo volume(drive);
    return volume.isValid() && volume.isReady() && QFileInfo(drive).isDir();
}

} // namespace tavorin::browse
