#pragma once

#include "platform/Tray.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

namespace tavorin {

// The notification-area icon over QSystemTrayIcon. Its activations reach
// the record's callback as left press, left double click and right press.
// An added icon goes up in the tray once the event loop runs: at start-up
// the main window reaches the screen first, the icon a moment later.
class QtTrayIcon final : public QObject, public ITrayIcon {
    Q_OBJECT
  public:
    QtTrayIcon();
    ~QtTrayIcon() override;

    bool Add(const TrayIconData& data) override;
    bool Modify(const TrayIconData& data) override;
    bool Remove() override;
    bool Exists() const override;
    bool Available() const override;

  private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    void putUp();

    std::unique_ptr<QSystemTrayIcon> icon_;
    std::function<void(int)> callback_;
    QIcon picture_;
    QString tip_;
    bool added_ = false;
    bool putUpPending_ = false;
};

} // namespace tavorin
