// Loads the GIO module (libtavorin-gio.so) on first use.
#include "platform/GioModule.h"

#include "platform/gio/GioEntry.h"
#include "platform/wallpaper/GSettingsFamily.h"

#include <QDir>
#include <QLibrary>

namespace tavorin {

namespace {

constexpr int kOtherFailure = 5;

// The module once loaded (it stays loaded: the objects it made use its code).
class GioModuleLoader {
  public:
    explicit GioModuleLoader(const QString& folder)
        : library_(QDir(folder).filePath(GioModuleFileName())) {}

    // The function of that name, or null (error() then says why).
    QFunctionPointer Resolve(const char* name) {
        if (!library_.isLoaded() && !library_.load())
            return nullptr;
        return library_.resolve(name);
    }
    QString Error() const { return library_.errorString(); }

  private:
    QLibrary library_;
};

class GioModuleShell final : public IShell {
  public:
    explicit GioModuleShell(const QString& folder) : loader_(folder) {}

    int ShellExecuteOpen(const QString& path) override {
        IShell* shell = Shell();
        return shell ? shell->ShellExecuteOpen(path) : kOtherFailure;
    }
    void OpenWith(const QString& path) override {
        if (IShell* shell = Shell())
            shell->OpenWith(path);
    }

  private:
    IShell* Shell() {
        if (!shell_) {
            auto make = reinterpret_cast<GioMakeShellFn>(loader_.Resolve(kGioMakeShell));
            if (make)
                shell_.reset(make());
        }
        return shell_.get();
    }

    GioModuleLoader loader_;
    std::unique_ptr<IShell> shell_;
};

class GioModuleWallpaper final : public WallpaperBackend {
  public:
    GioModuleWallpaper(GSettingsFamily family, const QString& folder)
        : family_(family), loader_(folder) {}

    QString Name() const override { return GSettingsFamilyName(family_); }

    bool Apply(const QString& path, QString* error) override {
        if (!backend_) {
            auto make = reinterpret_cast<GioMakeWallpaperFn>(loader_.Resolve(kGioMakeWallpaper));
            if (!make)
                return Fail(error, QStringLiteral("the GSettings module could not be loaded: %1")
                                       .arg(loader_.Error()));
            backend_.reset(make(static_cast<int>(family_)));
        }
        return backend_->Apply(path, error);
    }

  private:
    GSettingsFamily family_;
    GioModuleLoader loader_;
    std::unique_ptr<WallpaperBackend> backend_;
};

} // namespace

QString GioModuleFileName() {
    return QStringLiteral("libtavorin-gio.so");
}

std::unique_ptr<IShell> MakeGioModuleShell(const QString& folder) {
    return std::make_unique<GioModuleShell>(folder);
}

std::unique_ptr<WallpaperBackend> MakeGioModuleWallpaper(GSettingsFamily family,
                                                         const QString& folder) {
    return std::make_unique<GioModuleWallpaper>(family, folder);
}

} // namespace tavorin
