#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tavorin::test {

// Writes a picture of one colour; format "BMP", "JPG" or "GIF" (GIF with a
// minimal encoder of our own). Returns the path.
QString WritePicture(const QString& path, QSize size, QColor colour, const char* format);

// A GIF whose screen and only frame have the given size (0 x 0 allowed).
QByteArray GifBytes(QSize screen, QSize frame);

// Files that claim to be pictures and are not, or not quite; returns the
// names written into the folder, each ending in jpg, bmp or gif.
// "Surely unreadable" ones start with "bad-".
QStringList WriteHostileFiles(const QString& folder);

} // namespace tavorin::test
