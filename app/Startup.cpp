#include "app/Startup.h"

#include "Version.h"
#include "app/frmSplash.h"
#include "mainwindow/frmMain.h"

namespace tavorin {

namespace {
const QString kSettings = QStringLiteral("Settings");
} // namespace

Startup::Startup(Module1& module) : m_(module) {}

Startup::~Startup() = default;

void Startup::writeFirstRunDefaults() {
    for (const char* flag : {"Systray", "Splash", "Startup", "Convert", "Machine"})
        m_.WriteINIFile(kSettings, QLatin1String(flag), QStringLiteral("1"));
    m_.WriteINIFile(kSettings, QStringLiteral("Version"), QString::fromLatin1(version::text));
    m_.WriteRegValue(kRunKeyPath, QStringLiteral("Tavorin"),
                     m_.App_Path() + QStringLiteral("/Loader.exe"));
}

bool Startup::Main() {
    if (m_.services().instance.PrevInstance()) {
        m_.WriteINIFile(kSettings, QStringLiteral("Systray"), QStringLiteral("1"));
        return false;
    }
    if (m_.GetINIFile(kSettings, QStringLiteral("Version")).isEmpty())
        writeFirstRunDefaults();

    splash_ = std::make_unique<frmSplash>();
    main_ = std::make_unique<frmMain>(m_, *splash_);
    // A missing or non-numeric "Splash" is not 1: the start goes on without it.
    const bool withSplash = EqualsNumber(m_.GetINIFile(kSettings, QStringLiteral("Splash")), 1);
    if (withSplash) {
        splash_->ShowAtOnce();
    }
    main_->LoadData();
    if (main_->Ended())
        return false;
    if (withSplash) {
        splash_->SetMainWindow(main_.get());
        splash_->Timer1.start();
    } else {
        main_->show();
    }
    return true;
}

} // namespace tavorin
