// The image browser's rules without a window: folder listing, selection, adding.
#include "browser/BrowseRules.h"

#include <QFile>

#include <algorithm>
#include <cmath>

#include <dirent.h>
#include <sys/stat.h>

namespace tavorin::browse {

namespace {

const QString kBitmapFiles = QStringLiteral("Bitmap Files(*.bmp)");
const QString kJpegFiles = QStringLiteral("JPEG Files(*.jpg)");
const QString kGifFiles = QStringLiteral("CompuServe Graphics Interchange(*.gif)");
const QString kBackgroundFiles = QStringLiteral("Background Files (*.jpg;*.bmp;*.gif)");

// Whether a directory entry is a folder, following links.
bool isFolderEntry(const QByteArray& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    const QByteArray full = folder + entry.d_name;
    return ::stat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Visits every entry of a folder in the file system's order.
template <typename Visit> void forEachEntry(const QString& folder, Visit visit) {
    const QByteArray encoded = QFile::encodeName(Fix_Path(folder));
    DIR* dir = ::opendir(encoded.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir))
        visit(encoded, *entry);
    ::closedir(dir);
}

} // namespace

QString Fix_Path(const QString& path) {
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QStringList List_Files(const QString& folder) {
    const QString prefix = Fix_Path(folder);
    QStringList files;
    forEachEntry(folder, [&](const QByteArray& encoded, const dirent& entry) {
        if (!isFolderEntry(encoded, entry))
            files.append(prefix + QFile::decodeName(entry.d_name));
    });
    return files;
}

QStringList List_Folders(const QString& folder) {
    const QString prefix = Fix_Path(folder);
    QStringList folders;
    forEachEntry(folder, [&](const QByteArray& encoded, const dirent& entry) {
        if (entry.d_name[0] != '.' && isFolderEntry(encoded, entry))
            folders.append(prefix + QFile::decodeName(entry.d_name));
    });
    std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
        const int byCase = a.compare(b, Qt::CaseInsensitive);
        return byCase != 0 ? byCase < 0 : a < b;
    });
    return folders;
}

QStringList FileTypeEntries() {
    return {kBitmapFiles, kJpegFiles, kGifFiles, kBackgroundFiles};
}

QString DefaultFileType() {
    return kBackgroundFiles;
}

QString FileEnding(const QString& path) {
    return path.right(3).toLower();
}

bool KeepsFile(const QString& path, const QString& filterText) {
    const QString ending = FileEnding(path);
    if (filterText == kBitmapFiles)
        return ending == QLatin1String("bmp");
    if (filterText == kJpegFiles)
        return ending == QLatin1String("jpg");
    if (filterText == kGifFiles)
        return ending == QLatin1String("gif");
    if (filterText == kBackgroundFiles)
        return ending == QLatin1String("jpg") || ending == QLatin1String("bmp") ||
               ending == QLatin1String("gif");
    return true;
}

QStringList FilterFiles(const QStringList& files, const QString& filterText) {
    QStringList kept;
    for (const QString& file : files)
        if (KeepsFile(file, filterText))
            kept.append(file);
    return kept;
}

QRect ThumbnailRect(QSize natural) {
    const QSize size = ThumbnailPixelSize(natural).boundedTo(kCellPixels);
    if (size.isEmpty())
        return {};
    return {(kCellPixels.width() - size.width()) / 2, (kCellPixels.height() - size.height()) / 2,
            size.width(), size.height()};
}

QString ItemText(const QString& path, QSize natural) {
    return ThumbnailText(path, natural);
}

QString PercentText(int i, int count) {
    if (count <= 0)
        return {};
    // Hundredths of a percent, rounded half to even, in whole numbers.
    const long long numerator = 10000LL * i;
    long long hundredths = numerator / count;
    const long long twiceRest = 2 * (numerator % count);
    if (twiceRest > count || (twiceRest == count && hundredths % 2 != 0))
        ++hundredths;
    const long long whole = hundredths / 100;
    const long long fraction = std::llabs(hundredths % 100);
    QString text = whole != 0 ? QString::number(whole) : QString();
    return text + QLatin1Char('.') + QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
}

QString ProgressCaption(int i, int count) {
    return QStringLiteral("GENERATING PREVIEWS  ") + PercentText(i, count) + QLatin1Char('%');
}

QRectF PreviewFit(QSizeF naturalTwips) {
    const double naturalW = naturalTwips.width();
    const double naturalH = naturalTwips.height();
    if (!(naturalW > 0) || !(naturalH > 0))
        return {};
    double w = naturalW;
    double h = naturalH;
    while (h < kPreviewHeightTwips && w < kPreviewWidthTwips) {
        h *= 2;
        w *= 2;
    }
    if (h > kPreviewHeightTwips) {
        w = naturalW * kPreviewHeightTwips / naturalH;
        h = kPreviewHeightTwips;
    }
    if (w > kPreviewWidthTwips) {
        h = naturalH * kPreviewWidthTwips / naturalW;
        w = kPreviewWidthTwips;
    }
    return {kPreviewWidthTwips / 2 - w / 2, kPreviewHeightTwips / 2 - h / 2, w, h};
}

QRect PreviewRect(QSize naturalPixels) {
    const QRectF twips = PreviewFit(QSizeF(naturalPixels) * kTwipsPerPixel);
    if (twips.isEmpty())
        return {};
    const int w = std::max(1, int(std::lround(twips.width() / kTwipsPerPixel)));
    const int h = std::max(1, int(std::lround(twips.height() / kTwipsPerPixel)));
    return {int(std::lround(twips.x() / kTwipsPerPixel)),
            int(std::lround(twips.y() / kTwipsPerPixel)), w, h};
}

QString AddedText(int added) {
    return QStringLiteral("Total: ") + QString::number(added) +
           (added >= 2 ? QStringLiteral(" images added to the list")
                       : QStringLiteral(" image added to the list"));
}

QString DriveOf(const QString& path, const QStringList& drives) {
    if (!path.startsWith(QLatin1Char('/')))
        return {};
    QString best;
    for (const QString& drive : drives) {
        const bool holds =
            drive == QLatin1String("/") || path == drive || path.startsWith(Fix_Path(drive));
        if (holds && drive.size() > best.size())
            best = drive;
    }
    return best;
}

} // namespace tavorin::browse
