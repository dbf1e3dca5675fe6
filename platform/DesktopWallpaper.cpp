#include "platform/DesktopWallpaper.h"

#include "platform/wallpaper/Backends.h"
#include "platform/wallpaper/X11RootWallpaper.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>

namespace tavorin {

namespace {

// The running desktop's own service for the active-desktop method, the X11
// root window for the classic one. Every backend stretches the picture (the
// only style callers pass).
class LinuxDesktopWallpaper final : public IDesktopWallpaper {
  public:
    explicit LinuxDesktopWallpaper(QString moduleFolder) : moduleFolder_(std::move(moduleFolder)) {}

    bool SetActiveDesktopWallpaper(const QString& path, int, QString* errorText) override {
        if (!CheckPictureFile(path, errorText))
            return false;
        const DesktopSession session = DetectDesktop(QProcessEnvironment::systemEnvironment());
        QtProcessRunner runner;
        const BackendServices services{
            runner, BusFor(session.desktop), LinkFolder(), {}, moduleFolder_};
        const auto backend = MakeWallpaperBackend(session, services, errorText);
        return backend && backend->Apply(QFileInfo(path).absoluteFilePath(), errorText);
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

    void SetClassicWallpaper(const QString& path) override {
        X11RootWallpaper().Apply(path, nullptr);
    }

    void SetClassicWallpaper(const QString&, const QImage& decoded) override {
        X11RootWallpaper().ApplyImage(decoded, nullptr);
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
