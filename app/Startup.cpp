// The start of the program: one copy, the first-run defaults, the splash, the main window.
#include "app/Startup.h"

#include "Version.h"
#include "app/frmSplash.h"
#include "mainwindow/frmMain.h"
#include "platform/TerminationSignals.h"
#include "settings/SettingsKeys.h"

namespace tavorin {

Startup::Startup(Module1& module) : m_(module) {}

void Startup::SplashRelay::SetStatus(const QString& text) {
    if (target)
        target->SetStatus(text);
}

Startup::~Startup() = default;

void Startup::writeFirstRunDefaults() {
    for (const QString& flag :
         {ini::kSystray, ini::kSplash, ini::kStartup, ini::kConvert, ini::kMachine})
        m_.WriteINIFile(ini::kSettings, flag, QStringLiteral("1"));
    m_.WriteINIFile(ini::kSettings, ini::kVersion, QString::fromLatin1(version::text));
    m_.WriteLogOnEntry();
}

bool Startup::Main() {
    if (m_.services().instance.PrevInstance()) {
        m_.WriteINIFile(ini::kSettings, ini::kSystray, QStringLiteral("1"));
        // Where there is no tray to show the icon in, the running copy
        // shows its window instead.
        m_.services().instance.CallRunningCopy();
        return false;
    }
    if (m_.GetINIFile(ini::kSettings, ini::kVersion).isEmpty())
        writeFirstRunDefaults();

    // A missing or non-numeric "Splash" is not 1: the start goes on without it.
    const bool withSplash = EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kSplash), 1);
    if (withSplash)
        createSplash();
    main_ = std::make_unique<frmMain>(m_, relay_);
    ending_ = std::make_unique<TerminationSignals>();
    QObject::connect(ending_.get(), &TerminationSignals::Received, main_.get(),
                     &frmMain::mExit_Click);
    if (withSplash)
        splash_->ShowAtOnce();
    main_->LoadData();
    if (main_->Ended())
        return false;
    m_.services().instance.Listen([this] { main_->Rerun(); });
    if (withSplash) {
        splash_->SetMainWindow(main_.get());
        splash_->Timer1.start();
    } else {
        main_->show();
    }
    return true;
}

void Startup::createSplash() {
    splash_ = std::make_unique<frmSplash>();
    relay_.target = splash_.get();
    QObject::connect(splash_.get(), &frmSplash::Unloaded, splash_.get(),
                     [this] { releaseSplash(); });
}

// The splash is needed no more once it has closed; it goes when the
// event loop is next free (it is still inside its own timer's tick).
void Startup::releaseSplash() {
    relay_.target = nullptr;
    if (splash_)
        splash_.release()->deleteLater();
}

} // namespace tavorin
