#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavorin {

namespace {

// The folder as the file system knows it, so that two ways of writing one
// folder (a trailing "/", a link to it) name the same program.
QString folderIdentity(const QString& programFolder) {
    const QString canonical = QFileInfo(programFolder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(programFolder) : canonical;
}

} // namespace

LockFileInstance::LockFileInstance(const QString& programFolder, QString runtimeDir) {
    if (runtimeDir.isEmpty())
        runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtimeDir.isEmpty() || !QDir(runtimeDir).exists())
        runtimeDir = QDir::tempPath();
    // The user is part of the name: the temporary folder is shared by every
    // user, and one user's running copy must not stop another's.
    const QByteArray identity = QByteArray::number(static_cast<qulonglong>(::getuid())) + '|' +
                                folderIdentity(programFolder).toUtf8();
    const QByteArray id =
        QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex().left(16);
    lockPath_ = runtimeDir + QStringLiteral("/tavorin-") + QString::fromLatin1(id) +
                QStringLiteral(".lock");
}

// The file stays: removing it could let a copy that opened it meanwhile
// lock a file nobody else can find any more.
LockFileInstance::~LockFileInstance() {
    if (fd_ >= 0)
        ::close(fd_);
}

namespace {

// Locks the file at `path` for this process: the open descriptor, or -1,
// with `heldElsewhere` set when another process holds the lock (and not
// when no lock can be made at all). Programs this one starts do not
// inherit the descriptor, so they never keep the lock after it ends.
int lockFile(const QString& path, bool& heldElsewhere) {
    heldElsewhere = false;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return -1;
    }
    // Who holds it, for whoever looks; the lock holds without it.
    const QByteArray pid = QByteArray::number(static_cast<qlonglong>(::getpid())) + '\n';
    static_cast<void>(::ftruncate(fd, 0) == 0 && ::write(fd, pid.constData(), pid.size()) > 0);
    return fd;
}

} // namespace

bool LockFileInstance::PrevInstance() {
    if (!checked_) {
        checked_ = true;
        // Only a lock held by a live copy means another copy runs. A lock
        // that cannot be made at all (no right to write, no room) must not
        // keep the program from starting.
        fd_ = lockFile(lockPath_, previous_);
    }
    return previous_;
}

} // namespace tavorin
