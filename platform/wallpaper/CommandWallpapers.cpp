// Wallpaper backends that run a desktop's own program (LXQt, sway and others).
#include "platform/wallpaper/CommandWallpapers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavorin {

bool LxqtWallpaper::Apply(const QString& path, QString* error) {
    return runner_.Run(
        QStringLiteral("pcmanfm-qt"),
        {QStringLiteral("--set-wallpaper"), path, QStringLiteral("--wallpaper-mode=stretch")},
        error);
}

bool LxdeWallpaper::Apply(const QString& path, QString* error) {
    return runner_.Run(
        QStringLiteral("pcmanfm"),
        {QStringLiteral("--set-wallpaper"), path, QStringLiteral("--wallpaper-mode=stretch")},
        error);
}

QString SwayWallpaper::QuotedPath(const QString& path) {
    // Quotes and backslashes cannot be quoted for both of sway's readings,
    // and sway replaces its own $variables even inside quotes.
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('\\') ||
            c == QLatin1Char('$') || c.unicode() < 0x20)
            return {};
    }
    // Double quotes keep sway's command parser from splitting at blanks,
    // ';' and ','; the single quotes inside keep its shell-word expansion
    // from reading *, ~, ? and the like.
    return QStringLiteral("\"'") + path + QStringLiteral("'\"");
}

bool SwayWallpaper::PlainLink(const QString& path, QString* link, QString* error) const {
    if (linkFolder_.isEmpty() || QuotedPath(linkFolder_).isEmpty())
        return Fail(error, QStringLiteral("sway cannot be given this path: %1").arg(path));
    if (!QDir().mkpath(linkFolder_))
        return Fail(error, QStringLiteral("cannot create %1").arg(linkFolder_));
    const QByteArray hash =
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString suffix = QFileInfo(path).suffix();
    QString name = QStringLiteral("wallpaper-") + QString::fromLatin1(hash);
    if (!suffix.isEmpty() && !QuotedPath(suffix).isEmpty() && !suffix.contains(QLatin1Char('/')))
        name += QLatin1Char('.') + suffix;
    *link = QDir(linkFolder_).filePath(name);
    QFile::remove(*link);
    if (!QFile::link(QFileInfo(path).absoluteFilePath(), *link))
        return Fail(error, QStringLiteral("cannot create the link %1").arg(*link));
    return true;
}

bool SwayWallpaper::Apply(const QString& path, QString* error) {
    QString quoted = QuotedPath(path);
    if (quoted.isEmpty()) {
        QString link;
        if (!PlainLink(path, &link, error))
            return false;
        quoted = QuotedPath(link);
    }
    return runner_.Run(QStringLiteral("swaymsg"),
                       {QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"), quoted,
                        QStringLiteral("stretch")},
                       error);
}

} // namespace tavorin
