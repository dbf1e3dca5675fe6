#pragma once

#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <functional>

namespace tavorin {

// What the search results and the image browser share about thumbnails:
// the cell a picture is fitted into, the caption under it, and reading a
// picture at no more than the size it is shown at.

// The thumbnail cell: one tenth of 1024 x 768 (1536 x 1152 twips).
inline constexpr double kCellWidth = 102.4;
inline constexpr double kCellHeight = 76.8;

// The largest size of the picture's aspect ratio that fits the cell; a
// smaller picture keeps its size (never enlarged). Comparisons are strict.
QSizeF FitIntoCell(QSizeF natural);
// The fitted size in whole pixels, each side rounded and at least 1.
// Empty for a picture without area.
QSize ThumbnailPixelSize(QSize natural);

// The text after the last "/" of a full path.
QString Get_FileName(const QString& path);
// The caption of a thumbnail: name, one space, CR LF, then "W * H"
// ("sky.jpg \r\n1024 * 768"). An unknown (invalid) size gives the name alone.
QString ThumbnailText(const QString& path, QSize natural);

// Whether the path names a regular file (links followed). Pipes, devices
// and sockets are never opened: reading them could block forever.
bool IsRegularFile(const QString& path);

// Decodes a picture for showing it at the size `fit` gives for its natural
// size (read from the header): reduced while decoding where the format
// allows (JPEG at 1/2 to 1/8 scale), never enlarged; the result may still
// differ a little from the wanted size. Only regular files are opened. Null
// when the file cannot be decoded or `fit` gives an empty size; *natural is
// then invalid. Safe to call from any thread.
QImage ReadPictureFitted(const QString& path, const std::function<QSize(QSize)>& fit,
                         QSize* natural = nullptr);

} // namespace tavorin
