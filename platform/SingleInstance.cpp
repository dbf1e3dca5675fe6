#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

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
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // Stale only when the owning process is gone: a crashed copy never
    // blocks the next start, and a long-running copy is never taken over.
    lock_->setStaleLockTime(0);
}

LockFileInstance::~LockFileInstance() = default;

bool LockFileInstance::PrevInstance() {
    if (!checked_) {
        checked_ = true;
        // Only a lock held by a live copy means another copy runs. A lock
        // that cannot be made at all (no right to write, no room) must not
        // keep the program from starting.
        previous_ = !lock_->tryLock(0) && lock_->error() == QLockFile::LockFailedError;
    }
    return previous_;
}

} // namespace tavorin
