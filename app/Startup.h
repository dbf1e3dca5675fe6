#pragma once

#include "mainwindow/SplashStatus.h"
#include "settings/Module1.h"

#include <memory>

namespace tavorin {

class frmMain;
class frmSplash;
class TerminationSignals;

// The start of the program: one copy per program folder, the first-run
// defaults, the log-on entry, then the main window behind the splash. A
// log-out (SIGTERM, SIGHUP) then ends the program as its Exit does.
class Startup {
  public:
    explicit Startup(Module1& module);
    ~Startup();

    // True when the program goes on running (its windows are loaded);
    // false when it has already ended.
    bool Main();

    frmMain* MainWindow() const { return main_.get(); }
    // The splash while it is up; none when "Splash" is not 1 or once it
    // has closed.
    frmSplash* Splash() const { return splash_.get(); }

  private:
    // Hands the main window's progress to the splash while there is one.
    class SplashRelay final : public SplashStatus {
      public:
        void SetStatus(const QString& text) override;
        SplashStatus* target = nullptr;
    };

    void writeFirstRunDefaults();
    void createSplash();
    void releaseSplash();

    Module1& m_;
    SplashRelay relay_;
    std::unique_ptr<frmSplash> splash_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<TerminationSignals> ending_;
};

} // namespace tavorin
