#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace tavorin::test {

QString DeliveredDataFolder() {
    return QStringLiteral(TAVORIN_DATA_DIR);
}

namespace {
void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}
} // namespace

TempProgramFolder::TempProgramFolder(bool withData) {
    programDir_ = root_.path() + QStringLiteral("/Program Folder");
    QDir().mkpath(programDir_);
    QDir().mkpath(configHome());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root_.path() + QStringLiteral("/data")));
    qputenv("HOME", QFile::encodeName(root_.path() + QStringLiteral("/home")));
    if (withData)
        copyTree(DeliveredDataFolder(), programDir_);
}

QString TempProgramFolder::file(const QString& relative) const {
    return programDir_ + QLatin1Char('/') + relative;
}

QString TempProgramFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray TempProgramFolder::read(const QString& relative) const {
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace tavorin::test
