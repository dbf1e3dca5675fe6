#pragma once

#include "platform/Tray.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

namespace tavorin {

// The notification-area icon over QSystemTrayIcon. Its activations reach
// the record's callback as left press, left double click and right press.
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

    std::unique_ptr<QSystemTrayIcon> icon_;
    std::function<void(int)> callback_;
};

} // namespace tavorin
