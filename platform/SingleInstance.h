#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace tavorin {

// Detection of a running copy of the program.
class ISingleInstance {
  public:
    virtual ~ISingleInstance() = default;
    // True when another copy of this program (same program folder) runs.
    virtual bool PrevInstance() = 0;
    // The running copy: `onCall` runs (from the event loop) each time a
    // later start of the program calls it. Nothing in a later copy.
    virtual void Listen(std::function<void()> onCall) = 0;
    // A later copy: calls the running copy. False when it cannot be reached.
    virtual bool CallRunningCopy() = 0;
};

// A lock on a file in the user's runtime folder named after the program
// folder (flock, held for the life of the process). The system lets go of
// the lock when its copy ends, however it ends, so a copy that crashed
// never blocks the next start.
// The running copy listens on a local socket beside the lock file; a later
// copy calls it by connecting.
class LockFileInstance final : public ISingleInstance {
  public:
    // runtimeDir: empty means $XDG_RUNTIME_DIR (or the temporary folder).
    explicit LockFileInstance(const QString& programFolder, QString runtimeDir = {});
    ~LockFileInstance() override;

    bool PrevInstance() override;
    void Listen(std::function<void()> onCall) override;
    bool CallRunningCopy() override;
    QString LockPath() const { return lockPath_; }
    QString SocketPath() const;

  private:
    class Listener;

    QString lockPath_;
    std::unique_ptr<Listener> listener_;
    int fd_ = -1;
    bool checked_ = false;
    bool previous_ = false;
};

} // namespace tavorin
