// Path operations on full paths: folder, file name, extension, joining.
#include "engine/FilePaths.h"

#include <QDir>
#include <QFileInfo>

namespace tavorin {

namespace {
qsizetype lastSlash(const QString& path) {
    return path.lastIndexOf(QLatin1Char('/'));
}
} // namespace

QString GetFileName(const QString& path) {
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p.mid(lastSlash(p) + 1);
}

QString GetParentFolderName(const QString& path) {
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    const qsizetype slash = lastSlash(p);
    if (slash < 0)
        return {};
    if (slash == 0)
        return p.size() > 1 ? QStringLiteral("/") : QString();
    return p.left(slash);
}

QString GetBaseName(const QString& path) {
    const QString name = GetFileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString GetExtensionName(const QString& path) {
    const QString name = GetFileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString GetAbsolutePathName(const QString& path) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

FileStamp StampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.lastModified(), info.size()};
}

} // namespace tavorin
