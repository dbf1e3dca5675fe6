#pragma once

#include <QString>
#include <QStringList>

namespace tavorin::browse {

// The drives of the drive list: "/" first, then the mounted disks, sticks
// and shares.
class IVolumes {
  public:
    virtual ~IVolumes() = default;
    // Mount points of the mounted, ready volumes; "/" first.
    virtual QStringList Drives() const = 0;
    // Whether the volume can be read now (a removable drive may have gone).
    virtual bool IsReady(const QString& drive) const = 0;
};

// The drives the system has mounted (the kernel's list of mounts); a
// drive's readiness from QStorageInfo.
class StorageVolumes final : public IVolumes {
  public:
    QStringList Drives() const override;
    bool IsReady(const QString& drive) const override;
};

} // namespace tavorin::browse
