#pragma once

#include "engine/Thumbnail.h"

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace tavorin::browse {

// The rules of the image browser that need no window: listing a folder,
// the file-type filter, fitting thumbnails and previews, and its texts.

// ---- Listing a folder.

// The path with exactly one trailing "/" ("" gives "/").
QString Fix_Path(const QString& path);
// The text after the last "/" of a full path (shared with the search window).
using tavorin::Get_FileName;
// The full paths of the files of one folder, in the order the file system
// returns them: nothing sorted, hidden files included, folders (and links
// to folders) skipped. An unreadable or missing folder lists nothing.
QStringList List_Files(const QString& folder);
// The subfolders of a folder, sorted by name without regard to case,
// hidden ones (names starting with ".") left out.
QStringList List_Folders(const QString& folder);

// ---- The file-type filter.

// The four entries of the file-type box, in their order.
QStringList FileTypeEntries();
// The entry the window starts on (the last one).
QString DefaultFileType();
// A file's ending: the last three characters of its path, lower-cased.
QString FileEnding(const QString& path);
// Whether a file passes the filter text. A text that is none of the four
// entries keeps every file.
bool KeepsFile(const QString& path, const QString& filterText);
// The files that pass the filter, in their order.
QStringList FilterFiles(const QStringList& files, const QString& filterText);

// ---- Thumbnails.

// The thumbnail cell (102.4 x 76.8 pixels) and its fitting are shared with
// the search window (engine/Thumbnail.h).
using tavorin::kCellHeight;
using tavorin::kCellWidth;
// The cell as whole pixels.
inline constexpr QSize kCellPixels{102, 77};

// The largest size of the picture's aspect ratio that fits the cell; a
// smaller picture keeps its size (never enlarged).
using tavorin::FitIntoCell;
// Where the fitted picture lies in the whole-pixel cell: rounded, at least
// one pixel, centred. Empty for an empty natural size.
QRect ThumbnailRect(QSize natural);

// The item text: name, one space, CR LF, then "W * H". A picture whose
// size is unknown (it could not be read) shows its name alone.
QString ItemText(const QString& path, QSize natural);

// ---- Progress.

// i / count x 100, rounded to two decimals (half to even) and written with
// the pattern "###.00": 50 -> "50.00", 0.5 -> ".50".
QString PercentText(int i, int count);
// "GENERATING PREVIEWS  " + PercentText + "%".
QString ProgressCaption(int i, int count);
inline const QString kBrowserCaption = QStringLiteral("Image Browser");

// ---- Preview and adding.

// The preview box in twips (221 x 166 pixels).
inline constexpr double kPreviewWidthTwips = 3315;
inline constexpr double kPreviewHeightTwips = 2490;
inline constexpr double kTwipsPerPixel = 15;

// Where a picture of the given natural size (twips) is previewed inside
// the box (twips): small pictures doubled until one side reaches the box,
// then the aspect ratio fitted to the box, centred. Empty for a picture
// without area.
QRectF PreviewFit(QSizeF naturalTwips);
// The same in whole pixels for a natural size in pixels.
QRect PreviewRect(QSize naturalPixels);

// "Total: n image added to the list" / "... images added to the list".
QString AddedText(int added);

// ---- Drives.

// The drive (mount point) of a path: the longest drive that holds it.
// Empty when the path is not absolute or no drive holds it.
QString DriveOf(const QString& path, const QStringList& drives);

} // namespace tavorin::browse
