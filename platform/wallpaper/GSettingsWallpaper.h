#pragma once

#include "platform/wallpaper/GSettingsFamily.h"
#include "platform/wallpaper/WallpaperBackend.h"

namespace tavorin {

// Writes the wallpaper keys through the GSettings library, waits until they
// are stored and reads them back: a key that is not writable or a value
// that did not take is an error.
class GSettingsWallpaper final : public WallpaperBackend {
  public:
    // schemaFolder: a folder of compiled schemas to use instead of the
    // installed ones (empty = the installed ones).
    explicit GSettingsWallpaper(GSettingsFamily family, QString schemaFolder = {})
        : family_(family), schemaFolder_(std::move(schemaFolder)) {}

    QString Name() const override;
    bool Apply(const QString& path, QString* error) override;

  private:
    GSettingsFamily family_;
    QString schemaFolder_;
};

} // namespace tavorin
