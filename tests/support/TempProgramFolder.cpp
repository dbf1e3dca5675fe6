#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace tavorin::test {

QString DeliveredDataFolder() {
    return QStringLiteral(TAVORIN_DATA_DIR);
}

TempProgramFolder::TempProgramFolder(bool withData) {
    programDir_ = root_.path() + QStringLiteral("/Program Folder");
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

} // namespace tavorin::test
