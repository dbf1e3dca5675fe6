// Applying a wallpaper: the chosen method, the conversion to a bitmap, the registry values.
#include "engine/SetWallpaper.h"

#include "platform/RegistryStore.h"
#include "settings/SettingsKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <future>

namespace tavorin {

namespace {

bool machineIs(const Module1& m, int method) {
    return EqualsNumber(m.GetINIFile(ini::kSettings, ini::kMachine), method);
}

// Conversion is on unless "Convert" holds the number 0: the first run
// writes "1", and an absent or garbled value keeps that meaning.
bool convertOn(const Module1& m) {
    return !EqualsNumber(m.GetINIFile(ini::kSettings, ini::kConvert), 0);
}

void reportImageNotFound(const Module1& m, const QString& path, const QString& reason) {
    if (!reason.isEmpty())
        qWarning("The wallpaper was not set: %s", qUtf8Printable(reason));
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

// "Temp.bmp" as the conversion hands it on. A desktop that paints its own
// background reads a picture again only under a new name: Plasma and
// pcmanfm-qt keep showing the old one, GNOME Shell's cache goes by the file
// (it resolves "." but not links). So every other conversion hands on a
// link beside it, ".Temp.bmp", and the name the desktop is given changes.
QString BitmapName(const Module1& m) {
    const QString plain = m.folder().OwnFile(QStringLiteral("Temp.bmp"));
    const auto recorded =
        m.services().registry.StringValue(RootKey::CurrentUser, kDesktopSubKey, kWallpaperValue);
    const QString link = QFileInfo(plain).path() + QStringLiteral("/.Temp.bmp");
    if (recorded != plain ||
        (!QFileInfo(link).isSymLink() && !QFile::link(QStringLiteral("Temp.bmp"), link)))
        return plain;
    return link;
}

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

ConvertResult ConvertAndShow(const QString& picture, const QString& bitmap,
                             const std::function<bool(const ClassicPicture&)>& show) {
    const QImage decoded = DecodeForBitmap(picture);
    if (decoded.isNull())
        return ConvertResult::NotConverted;
    // The bitmap is written while the screen image is scaled and uploaded;
    // a desktop that reads the file waits for it through fileWritten.
    std::shared_future<bool> written = std::async(std::launch::async, [&decoded, &bitmap] {
                                           return WriteBitmap(decoded, bitmap);
                                       }).share();
    const bool shown = show({bitmap, decoded, [written] { return written.get(); }});
    if (!written.get())
        return ConvertResult::NotConverted;
    return shown ? ConvertResult::Shown : ConvertResult::NotShown;
}

bool SetActiveDesktopWallpaper(const Module1& m, const QString& path, int style, QString* error) {
    // A desktop would take a missing file or one that is no picture and
    // show nothing: that is the error, not a success.
    if (!IsReadablePicture(path))
        return false;
    return m.services().wallpaper.SetActiveDesktopWallpaper(path, style, error);
}

void Set_Wallpaper(const Module1& m, QString& path) {
    QString error;
    if (machineIs(m, 1) && !SetActiveDesktopWallpaper(m, path, 2, &error)) {
        reportImageNotFound(m, path, error);
        return;
    }
    if (!machineIs(m, 2))
        return;
    IDesktopWallpaper& wallpaper = m.services().wallpaper;
    bool shown = false;
    if (!convertOn(m)) {
        shown = wallpaper.SetClassicWallpaper({path, {}, {}}, &error);
    } else {
        const QString bitmap = BitmapName(m);
        const ConvertResult result = ConvertAndShow(path, bitmap, [&](const ClassicPicture& p) {
            return wallpaper.SetClassicWallpaper(p, &error);
        });
        if (result != ConvertResult::NotConverted)
            path = bitmap;
        shown = result == ConvertResult::Shown;
    }
    // Recorded only once it shows: the log-on start re-applies the record.
    if (!shown) {
        reportImageNotFound(m, path, error);
        return;
    }
    m.WriteRegValue(kDesktopKeyPath, kWallpaperValue, path);
}

} // namespace tavorin
