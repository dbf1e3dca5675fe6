#pragma once

#include <QString>

namespace tavorin {

// Detection of a running copy of the program.
class ISingleInstance {
  public:
    virtual ~ISingleInstance() = default;
    // True when another copy of this program (same program folder) runs.
    virtual bool PrevInstance() = 0;
};

// A lock on a file in the user's runtime folder named after the program
// folder (flock, held for the life of the process). The system lets go of
// the lock when its copy ends, however it ends, so a copy that crashed
// never blocks the next start.
class LockFileInstance final : public ISingleInstance {
  public:
    // runtimeDir: empty means $XDG_RUNTIME_DIR (or the temporary folder).
    explicit LockFileInstance(const QString& programFolder, QString runtimeDir = {});
    ~LockFileInstance() override;

    bool PrevInstance() override;
    QString LockPath() const { return lockPath_; }

  private:
    QString lockPath_;
    int fd_ = -1;
    bool checked_ = false;
    bool previous_ = false;
};

} // namespace tavorin
