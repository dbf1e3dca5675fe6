#include "engine/SetWallpaper.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace tavorin {

namespace {

const QString kSettings = QStringLiteral("Settings");

bool machineIs(const Module1& m, int method) {
    return EqualsNumber(m.GetINIFile(kSettings, QStringLiteral("Machine")), method);
}

// Conversion is on unless "Convert" holds the number 0: the first run
// writes "1", and an absent or garbled value keeps that meaning.
bool convertOn(const Module1& m) {
    return !EqualsNumber(m.GetINIFile(kSettings, QStringLiteral("Convert")), 0);
}

void reportImageNotFound(const Module1& m, const QString& path) {
    m.dialogs().MsgBox(QStringLiteral("Image not found:'") + path + QLatin1Char('\''),
                       MsgButtons::Ok, MsgIcon::Critical);
}

// Qt refuses to decode pictures larger than its allocation limit (a
// process-wide setting); lifts it for one decode of a picture whose size
// has been checked, and puts it back afterwards.
class DecodeLimitFor {
  public:
    explicit DecodeLimitFor(const QSize& size) : previous_(QImageReader::allocationLimit()) {
        const qint64 bytes = qint64{size.width()} * size.height() * 4;
        const int needed = static_cast<int>(bytes / (1024 * 1024)) + 1;
        raised_ = previous_ != 0 && needed > previous_;
        if (raised_)
            QImageReader::setAllocationLimit(needed);
    }
    ~DecodeLimitFor() {
        if (raised_)
            QImageReader::setAllocationLimit(previous_);
    }
    DecodeLimitFor(const DecodeLimitFor&) = delete;
    DecodeLimitFor& operator=(const DecodeLimitFor&) = delete;

  private:
    int previous_;
    bool raised_ = false;
};

} // namespace

bool IsReadablePicture(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    QImageReader reader(path);
    return reader.canRead();
}

QImage DecodeForBitmap(const QString& path) {
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setAutoTransform(false); // the picture as stored, at its natural size
    if (!reader.canRead())
        return {};
    const QSize size = reader.size();
    if (size.isValid() && qint64{size.width()} * size.height() > kMaxConvertPixels)
        return {};
    QImage image;
    if (size.isValid()) {
        const DecodeLimitFor limit(size);
        image = reader.read();
    } else {
        image = reader.read(); // size unknown: Qt's own limit holds
    }
    if (image.isNull() || qint64{image.width()} * image.height() > kMaxConvertPixels)
        return {};
    // Opaque 32-bit RGB: what JPEG decodes to, what the screen takes, and
    // what the bitmap writer stores as 24 bits a pixel.
    image.convertTo(QImage::Format_RGB32);
    return image;
}

bool WriteBitmap(const QImage& image, const QString& fileName) {
    if (QFileInfo(fileName).isDir())
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "BMP");
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool SetActiveDesktopWallpaper(const Module1& m, const QString& path, int style) {
    // A desktop would take a missing file or one that is no picture and
    // show nothing: that is the error, not a success.
    if (!IsReadablePicture(path))
        return false;
    return m.services().wallpaper.SetActiveDesktopWallpaper(path, style);
}

void Set_Wallpaper(const Module1& m, QString& path) {
    if (machineIs(m, 1) && !SetActiveDesktopWallpaper(m, path, 2)) {
        reportImageNotFound(m, path);
        return;
    }
    if (!machineIs(m, 2))
        return;
    IDesktopWallpaper& wallpaper = m.services().wallpaper;
    if (!convertOn(m)) {
        m.WriteRegValue(kDesktopKeyPath, QStringLiteral("Wallpaper"), path);
        wallpaper.SetClassicWallpaper(path);
        return;
    }
    // Decoded once: the same picture becomes the bitmap and the screen.
    const QImage picture = DecodeForBitmap(path);
    const QString bitmap = m.folder().OwnFile(QStringLiteral("Temp.bmp"));
    if (picture.isNull() || !WriteBitmap(picture, bitmap)) {
        reportImageNotFound(m, path);
        return;
    }
    path = bitmap;
    m.WriteRegValue(kDesktopKeyPath, QStringLiteral("Wallpaper"), path);
    wallpaper.SetClassicWallpaper(path, picture);
}

} // namespace tavorin
