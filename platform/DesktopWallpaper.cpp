// The desktop wallpaper service: picks the running desktop's backend and applies a picture.
#include "platform/DesktopWallpaper.h"

#include "platform/wallpaper/Backends.h"
#include "platform/wallpaper/X11RootWallpaper.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFileInfo>
#include <QStandardPaths>

namespace tavorin {

namespace {

// Both methods go to the running desktop's own service; only on plain X11
// without a known desktop is the X root window what the user sees. Every
// backend stretches the picture (the only style callers pass).
class LinuxDesktopWallpaper final : public IDesktopWallpaper {
  public:
    explicit LinuxDesktopWallpaper(QString moduleFolder) : moduleFolder_(std::move(moduleFolder)) {}

    bool SetActiveDesktopWallpaper(const QString& path, int, QString* errorText) override {
        return Show({path, {}, {}}, errorText);
    }

    bool SetClassicWallpaper(const ClassicPicture& picture, QString* errorText) override {
        return Show(picture, errorText);
    }

  private:
    bool Show(const ClassicPicture& picture, QString* errorText) {
        const DesktopSession session = DetectDesktop(QProcessEnvironment::systemEnvironment());
        QtProcessRunner runner;
        const BackendServices services{
            runner, BusFor(session.desktop), LinkFolder(), {}, moduleFolder_};
        const auto backend = MakeWallpaperBackend(session, services, errorText);
        if (!backend)
            return false;
        // The root takes the decoded picture and never reads the file.
        auto* root = dynamic_cast<X11RootWallpaper*>(backend.get());
        if (root && !picture.decoded.isNull())
            return root->ApplyImage(picture.decoded, errorText);
        if (picture.fileWritten && !picture.fileWritten())
            return Fail(errorText, QStringLiteral("cannot write %1").arg(picture.path));
        if (!CheckPictureFile(picture.path, errorText))
            return false;
        return backend->Apply(QFileInfo(picture.path).absoluteFilePath(), errorText);
    }

    // The session bus only for the desktops that are talked to over it:
    // connecting elsewhere would start a bus where there is none.
    static QDBusConnection BusFor(Desktop desktop) {
        if (desktop == Desktop::Kde || desktop == Desktop::Xfce)
            return QDBusConnection::sessionBus();
        return QDBusConnection(QStringLiteral("tavorin-no-bus"));
    }

    static QString LinkFolder() {
        return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
               QStringLiteral("/tavorin");
    }

  private:
    QString moduleFolder_;
};

} // namespace

std::unique_ptr<IDesktopWallpaper> MakeDesktopWallpaper() {
    return MakeDesktopWallpaper(QCoreApplication::applicationDirPath());
}

std::unique_ptr<IDesktopWallpaper> MakeDesktopWallpaper(const QString& moduleFolder) {
    return std::make_unique<LinuxDesktopWallpaper>(moduleFolder);
}

} // namespace tavorin
