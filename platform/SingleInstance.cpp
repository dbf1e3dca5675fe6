// One running copy per program folder: a lock file and a socket to call it.
#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>

#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
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
    listener_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

QString LockFileInstance::SocketPath() const {
    QString path = lockPath_;
    path.chop(5); // ".lock"
    return path + QStringLiteral(".sock");
}

namespace {

// The socket's address, or false when the path does not fit into one.
bool socketAddress(const QString& path, sockaddr_un& address) {
    const QByteArray name = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    return true;
}

} // namespace

// The running copy's end of the socket. It is bound as soon as this copy
// holds the lock, so that a call made while the program is still starting
// waits in the queue until the program listens.
class LockFileInstance::Listener {
  public:
    explicit Listener(const QString& path) {
        sockaddr_un address{};
        if (!socketAddress(path, address))
            return;
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd_ < 0)
            return;
        // Only the lock's holder gets here: a socket left at the path by a
        // copy that ended is stale.
        ::unlink(address.sun_path);
        if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd_, 8) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~Listener() {
        notifier_.reset();
        if (fd_ >= 0)
            ::close(fd_);
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    void Listen(std::function<void()> onCall) {
        if (fd_ < 0)
            return;
        onCall_ = std::move(onCall);
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [this] { answer(); });
    }

  private:
    // Each connection is one call; nothing is read from it.
    void answer() {
        bool called = false;
        for (int caller; (caller = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
            ::close(caller);
            called = true;
        }
        if (called && onCall_)
            onCall_();
    }

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onCall_;
};

void LockFileInstance::Listen(std::function<void()> onCall) {
    if (listener_)
        listener_->Listen(std::move(onCall));
}

bool LockFileInstance::CallRunningCopy() {
    sockaddr_un address{};
    if (!socketAddress(SocketPath(), address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool reached =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return reached;
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
        if (fd_ >= 0)
            listener_ = std::make_unique<Listener>(SocketPath());
    }
    return previous_;
}

} // namespace tavorin
