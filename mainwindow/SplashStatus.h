#pragma once

#include <QString>

namespace tavorin {

// Where the main window's initialisation reports its progress: the splash
// window's status label.
class SplashStatus {
  public:
    virtual ~SplashStatus() = default;
    // Sets the status text and repaints it at once.
    virtual void SetStatus(const QString& text) = 0;
};

} // namespace tavorin
