// The mounted file systems, as the kernel lists them.
#include "platform/Mounts.h"

#include <QFile>
#include <QSet>

#include <algorithm>

namespace tavorin {

namespace {

// File systems that hold no user's files, or only the system's.
const QSet<QString> kSystemTypes = {"autofs",      "binfmt_misc",
                                    "bpf",         "cgroup",
                                    "cgroup2",     "configfs",
                                    "debugfs",     "devpts",
                                    "devtmpfs",    "efivarfs",
                                    "fusectl",     "hugetlbfs",
                                    "mqueue",      "nsfs",
                                    "overlay",     "proc",
                                    "pstore",      "ramfs",
                                    "rpc_pipefs",  "securityfs",
                                    "selinuxfs",   "squashfs",
                                    "sysfs",       "tmpfs",
                                    "tracefs",     "fuse.gvfsd-fuse",
                                    "fuse.portal", "fuse.snapfuse",
                                    "fuse.lxcfs"};

// The folders under which disks, sticks and shares are mounted.
const QStringList kDrivePlaces = {"/media/", "/mnt/", "/run/media/"};

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// mountinfo writes space, tab, newline and backslash as "\ooo".
QString unescaped(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            out.append(static_cast<char>(field.mid(i + 1, 3).toInt(nullptr, 8)));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return QString::fromUtf8(out);
}

} // namespace

// A line: "id parent major:minor root point options [optional...] - type source super".
std::vector<Mount> ParseMountInfo(const QByteArray& text) {
    std::vector<Mount> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArray("-"));
        if (fields.size() < 5 || dash < 6 || dash + 1 >= fields.size())
            continue;
        mounts.push_back({unescaped(fields[4]), QString::fromUtf8(fields[dash + 1])});
    }
    return mounts;
}

std::vector<Mount> CurrentMounts() {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {{QStringLiteral("/"), QString()}};
    return ParseMountInfo(file.readAll());
}

bool IsUserDrive(const Mount& mount) {
    if (mount.point == QLatin1String("/"))
        return true;
    if (kSystemTypes.contains(mount.type))
        return false;
    if (mount.point == QLatin1String("/home"))
        return true;
    return std::any_of(kDrivePlaces.begin(), kDrivePlaces.end(), [&](const QString& place) {
        return mount.point.startsWith(place) && mount.point.size() > place.size();
    });
}

QStringList UserDrives(const std::vector<Mount>& mounts) {
    QStringList others;
    for (const Mount& mount : mounts)
        if (mount.point != QLatin1String("/") && IsUserDrive(mount) &&
            !others.contains(mount.point))
            others << mount.point;
    std::sort(others.begin(), others.end());
    return QStringList{QStringLiteral("/")} + others;
}

} // namespace tavorin
