#pragma once

#include "platform/Wallpaper.h"
#include "settings/Module1.h"

#include <QString>

#include <functional>

namespace tavorin {

// Makes a picture the desktop wallpaper, by "Settings"/"Machine":
// 1 the desktop's own wallpaper service (stretched); 2 the classic
// wallpaper, converted first to "Temp.bmp" while "Convert" is not 0.
// Errors show "Image not found:'<path>'". path is in-out: after a
// conversion it holds the bitmap's path.
void Set_Wallpaper(const Module1& m, QString& path);

// Method 1: the desktop's own wallpaper service. False on refusal, and
// for a file that is missing or not a picture.
bool SetActiveDesktopWallpaper(const Module1& m, const QString& path, int style,
                               QString* error = nullptr);

// The largest picture converted to a bitmap (pixels): the decoded picture
// takes 4 bytes a pixel, so a larger one is refused rather than eat
// gigabytes (100 megapixels: 400 MB).
inline constexpr qint64 kMaxConvertPixels = 100'000'000;

// Whether the file is there and its header reads as a picture.
bool IsReadablePicture(const QString& path);
// The picture at its natural size as opaque 32-bit RGB, decoded once; a
// null image when it is missing, not a picture, too large or undecodable.
QImage DecodeForBitmap(const QString& path);
// Writes a 24-bit Windows bitmap (from an RGB32 picture), replacing the
// file only when complete.
bool WriteBitmap(const QImage& image, const QString& fileName);

enum class ConvertResult { NotConverted, NotShown, Shown };

// The conversion of the classic method: decodes picture once, writes it
// as the bitmap on a second thread while show() puts the decoded picture
// on the screen, and returns when both are done. NotConverted when the
// picture could not be decoded or the bitmap not written.
ConvertResult ConvertAndShow(const QString& picture, const QString& bitmap,
                             const std::function<bool(const ClassicPicture&)>& show);

} // namespace tavorin
