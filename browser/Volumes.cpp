// The image browser's drive list: "/" first, then the mounted disks.
#include "browser/Volumes.h"

#include "platform/Mounts.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace tavorin::browse {

// From the kernel's list of mounts alone: a listed drive is probed only
// when it is chosen.
QStringList StorageVolumes::Drives() const {
    return UserDrives(CurrentMounts());
}

bool StorageVolumes::IsReady(const QString& drive) const {
    const QStorageInfo volume(drive);
    return volume.isValid() && volume.isReady() && QFileInfo(drive).isDir();
}

} // namespace tavorin::browse
