#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>

namespace tavorin {

LockFileInstance::LockFileInstance(const QString& programFolder, QString runtimeDir) {
    if (runtimeDir.isEmpty())
        runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtimeDir.isEmpty() || !QDir(runtimeDir).exists())
        runtimeDir = QDir::tempPath();
    const QByteArray id =
        QCryptographicHash::hash(QDir::cleanPath(programFolder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    lockPath_ = runtimeDir + QStringLiteral("/tavorin-") + QString::fromLatin1(id) +
                QStringLiteral(".lock");
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // Stale only when the owning process is gone: a crashed copy never
    // blocks the next start.
    lock_->setStaleLockTime(0);
}

LockFileInstance::~LockFileInstance() = default;

bool LockFileInstance::PrevInstance() {
    if (!checked_) {
        checked_ = true;
        previous_ = !lock_->tryLock(0);
    }
    return previous_;
}

} // namespace tavorin
