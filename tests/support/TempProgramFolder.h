#pragma once

#include "tests/support/TestPictures.h"

#include <QString>
#include <QTemporaryDir>

namespace tavorin::test {

// A temporary program folder, with XDG_CONFIG_HOME, XDG_DATA_HOME and HOME pointed into it so
// that no test touches the real home folder. withData: the delivered data (icons, skins, help)
// copied into it.
class TempProgramFolder {
  public:
    explicit TempProgramFolder(bool withData = false);

    QString path() const { return programDir_; }
    QString file(const QString& relative) const {
        return programDir_ + QLatin1Char('/') + relative;
    }
    QString configHome() const { return root_.path() + QStringLiteral("/config"); }
    QString root() const { return root_.path(); }
    // Writes a file (creating its folders) and returns its path.
    QString write(const QString& relative, const QByteArray& bytes) const {
        WriteFile(file(relative), bytes);
        return file(relative);
    }
    QByteArray read(const QString& relative) const { return ReadFile(file(relative)); }

  private:
    QTemporaryDir root_;
    QString programDir_;
};

// The folder where the build assembles the delivered data.
QString DeliveredDataFolder();

} // namespace tavorin::test
