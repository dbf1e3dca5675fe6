#pragma once

#include "mainwindow/SplashStatus.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace tavorin {

// The splash window: the version and the progress of the start.
class frmSplash : public QWidget, public SplashStatus {
    Q_OBJECT
  public:
    explicit frmSplash(QWidget* parent = nullptr);

    void SetStatus(const QString& text) override;
    // Shows the splash and paints it at once, so that it is seen during the
    // long start that follows.
    void ShowAtOnce();

    // Shown by the timer's tick, which then closes the splash.
    void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    QLabel lblStatus;
    QLabel lblVersion;
    QLabel Image1;
    QTimer Timer1;

    void Timer1_Timer();

  Q_SIGNALS:
    void Unloaded();

  private:
    QWidget* mainWindow_ = nullptr;
};

// The splash picture, drawn at the window's size.
QPixmap SplashPicture(const QSize& size);

} // namespace tavorin
