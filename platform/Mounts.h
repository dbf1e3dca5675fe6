#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavorin {

// One mounted file system as the kernel lists it.
struct Mount {
    QString point; // where it is mounted
    QString type;  // "ext4", "nfs", "fuse.sshfs"...
};

// The mounts of a /proc/self/mountinfo text (octal escapes such as "\040"
// undone); lines that do not parse are left out.
std::vector<Mount> ParseMountInfo(const QByteArray& text);
// The mounts of this process, read from the kernel's list only: nothing
// here touches a mounted file system, so a network mount that does not
// answer cannot stall it.
std::vector<Mount> CurrentMounts();

// Whether a mount is what a user calls a drive: "/", "/home", and the
// disks, sticks and shares mounted under /media, /mnt and /run/media;
// never a pseudo or system file system (proc, sysfs, tmpfs, snaps...).
bool IsUserDrive(const Mount& mount);
// The user's drives: "/" first, then the others sorted, each once.
QStringList UserDrives(const std::vector<Mount>& mounts);

} // namespace tavorin
