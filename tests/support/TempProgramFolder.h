#pragma once

#include "tests/support/TestPictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace tavorin::test {

// The folder where the build assembles the delivered data.
inline QString DeliveredDataFolder() {
    return QStringLiteral(TAVORIN_DATA_DIR);
}

// A temporary program folder, with XDG_CONFIG_HOME, XDG_DATA_HOME and HOME pointed into it so
// that no test touches the real home folder. withData: the delivered data (icons, skins, help)
// copied into it.
class TempProgramFolder {
  public:
    explicit TempProgramFolder(bool withData = false)
        : programDir_(root_.path() + QStringLiteral("/Program Folder")) {
        QDir().mkpath(programDir_);
        QDir().mkpath(configHome());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(root_.path() + QStringLiteral("/data")));
        qputenv("HOME", QFile::encodeName(root_.path() + QStringLiteral("/home")));
        const QString from = DeliveredDataFolder();
        for (QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
             withData && it.hasNext();) {
            const QString source = it.next();
            write(source.mid(from.size() + 1), ReadFile(source));
        }
    }

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

} // namespace tavorin::test
