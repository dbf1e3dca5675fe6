#pragma once

#include <QString>

namespace tavorin {

// Opening documents with the desktop's default program.
class IShell {
  public:
    virtual ~IShell() = default;

    // Result codes as the shell gives them: above 32 success,
    // 2 file not found, 31 no associated program, other small numbers
    // other failures.
    static constexpr int kNoAssociation = 31;
    static constexpr int kFileNotFound = 2;
    static constexpr int kOpened = 42;

    virtual int ShellExecuteOpen(const QString& path) = 0;
    // The desktop's "Open with" chooser for a document.
    virtual void OpenWith(const QString& path) = 0;
};

} // namespace tavorin
