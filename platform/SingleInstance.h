#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace tavorin {

// Detection of a running copy of the program.
class ISingleInstance {
  public:
    virtual ~ISingleInstance() = default;
    // True when another copy of this program (same program folder) runs.
    virtual bool PrevInstance() = 0;
};

// A lock file in the user's runtime folder named after the program
// folder. A copy that crashed leaves a stale lock that the next start
// takes over.
class LockFileInstance final : public ISingleInstance {
  public:
    // runtimeDir: empty means $XDG_RUNTIME_DIR (or the temporary folder).
    explicit LockFileInstance(const QString& programFolder, QString runtimeDir = {});
    ~LockFileInstance() override;

    bool PrevInstance() override;
    QString LockPath() const { return lockPath_; }

  private:
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    bool checked_ = false;
    bool previous_ = false;
};

} // namespace tavorin
