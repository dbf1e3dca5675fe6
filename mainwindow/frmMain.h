#pragma once

#include "mainwindow/SplashStatus.h"
#include "settings/Module1.h"

#include <QWidget>

namespace tavorin {

// The main window: loaded for the whole run.
class frmMain : public QWidget {
    Q_OBJECT
  public:
    frmMain(Module1& module, SplashStatus& splash, QWidget* parent = nullptr);
    ~frmMain() override;

    // Brings the whole program into its working state; called once by
    // start-up before the window is shown.
    void LoadData();

    // True once the window has unloaded: the program ends.
    bool Ended() const { return ended_; }

  private:
    void setSplashStatus(const QString& text);

    Module1& m_;
    SplashStatus& splash_;
    bool ended_ = false;
};

} // namespace tavorin
