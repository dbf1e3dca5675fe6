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

// A picture is decoded only when its decoded image, at the scale it is
// read at, takes no more than this: 8000 x 6000 pixels read whole, a JPEG
// of 60000 x 45000 pixels read at 1/8 scale.
inline constexpr qint64 kMaxDecodeBytes = qint64{200} * 1024 * 1024;
// The bytes the decoder needs for a picture of `natural` pixels shown at
// `wanted`: a JPEG is decoded at the smallest of the scales 1/8, 2/8 ...
// 8/8 that is at least `wanted`; other formats whole. Four bytes a pixel.
qint64 DecodeBytes(QSize natural, QSize wanted, bool jpeg);

// Decodes a picture for showing it at the size `fit` gives for its natural
// size (read from the header): reduced while decoding where the format
// allows (JPEG at 1/2 to 1/8 scale), never enlarged; the result may still
// differ a little from the wanted size. Only regular files are opened. Null
// when the file cannot be decoded, needs more than kMaxDecodeBytes, or `fit`
// gives an empty size; *natural is then invalid. Safe to call from any thread.
QImage ReadPictureFitted(const QString& path, const std::function<QSize(QSize)>& fit,
                         QSize* natural = nullptr);
// The picture fitted into `screen` pixels (keeping its shape, never
// enlarged, at least 1 x 1), as the viewer shows it.
QImage ReadPictureForScreen(const QString& path, QSize screen);

} // namespace tavorin
