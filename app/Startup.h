#pragma once

#include "settings/Module1.h"

#include <memory>

namespace tavorin {

class frmMain;
class frmSplash;

// The start of the program: one copy per program folder, the first-run
// defaults, the log-on entry, then the main window behind the splash.
class Startup {
  public:
    explicit Startup(Module1& module);
    ~Startup();

    // True when the program goes on running (its windows are loaded);
    // false when it has already ended.
    bool Main();

    frmMain* MainWindow() const { return main_.get(); }
    frmSplash* Splash() const { return splash_.get(); }

  private:
    void writeFirstRunDefaults();

    Module1& m_;
    std::unique_ptr<frmSplash> splash_;
    std::unique_ptr<frmMain> main_;
};

} // namespace tavorin
