#pragma once

#include <QSize>
#include <QString>

#include <optional>

namespace tavorin {

// Bytes to KB, rounded half to even (512 -> 0, 1536 -> 2, 2560 -> 2).
qint64 SizeInKB(qint64 bytes);

// "Resolution: WxH Pixels     Size: nKB\r\nFolder: <parent>".
QString ImageInfoText(const QSize& resolution, qint64 fileBytes, const QString& path);

// The picture's natural size, from its header; nothing when the file is
// missing or not a picture.
std::optional<QSize> PictureSize(const QString& path);

// The whole information text of a picture file; nothing when it is
// missing or cannot be read as a picture (the caller reports it).
std::optional<QString> Image_Info(const QString& path);

} // namespace tavorin
