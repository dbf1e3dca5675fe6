#include "platform/DesktopWallpaper.h"

#include <QImage>

namespace tavorin {

namespace {

// Interim: until the desktop backends land, every change is refused.
class NoWallpaper final : public IDesktopWallpaper {
  public:
    bool SetActiveDesktopWallpaper(const QString&, int, QString* errorText) override {
        if (errorText)
            *errorText = QStringLiteral("no desktop wallpaper service");
        return false;
    }
    void SetClassicWallpaper(const QString&) override {}
    void SetClassicWallpaper(const QString&, const QImage&) override {}
};

} // namespace

std::unique_ptr<IDesktopWallpaper> MakeDesktopWallpaper() { return std::make_unique<NoWallpaper>(); }

} // namespace tavorin
