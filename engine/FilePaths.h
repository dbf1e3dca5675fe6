#pragma once

#include <QDateTime>
#include <QString>

namespace tavorin {

// Path operations on full paths ("/" separated).

// The last component: name and extension ("/a/b.jpg" -> "b.jpg").
QString GetFileName(const QString& path);
// The folder holding the path ("/a/b.jpg" -> "/a", "/b.jpg" -> "/").
QString GetParentFolderName(const QString& path);
// The name without folder and extension ("/a/b.c.jpg" -> "b.c").
QString GetBaseName(const QString& path);
// The extension without the dot ("/a/b.JPG" -> "JPG"), "" when none.
QString GetExtensionName(const QString& path);
// The absolute, cleaned form of a path.
QString GetAbsolutePathName(const QString& path);

// What a file looked like: its size and time of change. Two equal stamps
// mean it was not written in between, as far as can be told without
// reading it; a missing file has a stamp of its own.
struct FileStamp {
    QDateTime modified;
    qint64 size = -1;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const QString& path);

} // namespace tavorin
