#pragma once

#include "platform/Tray.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>

class QDBusServiceWatcher;

namespace tavorin {

// The notification-area icon over QSystemTrayIcon. Its activations reach
// the record's callback as left press, left double click and right press.
// An added icon goes up in the tray once the event loop runs: at start-up
// the main window reaches the screen first, the icon a moment later.
//
// Two kinds of hosts: an XEmbed tray, which hands the program the clicks,
// and a StatusNotifierItem host on the session bus, which shows the menu
// set by SetMenu itself and reports a left click as the primary activation.
// Qt decides between them once, when its first icon is made; the icon
// follows that decision. Under Wayland there is no XEmbed: there the icon
// is made only once such a host is on the bus, whenever that is.
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
    void SetMenu(QMenu* menu) override;
    bool HostDrawsMenu() const override;
    bool PointerKnown() const override;

  private Q_SLOTS:
    void hostRegistered();

  private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    void putUp();
    void watchForHosts();
    // Whether Qt talks to a StatusNotifierItem host: decided with Qt's own
    // rule the first time Qt asks, and kept.
    bool decideHost() const;

    std::unique_ptr<QSystemTrayIcon> icon_;
    std::function<void(int)> callback_;
    QIcon picture_;
    QString tip_;
    QPointer<QMenu> menu_;
    QDBusServiceWatcher* watcher_ = nullptr;
    bool wayland_ = false;
    bool added_ = false;
    bool putUpPending_ = false;
    mutable bool hostDecided_ = false;
    mutable bool hostDrawsMenu_ = false;
};

// True when a StatusNotifierWatcher with a registered host is on the
// session bus (the rule Qt follows to use such a host).
bool StatusNotifierHostRegistered();

} // namespace tavorin
