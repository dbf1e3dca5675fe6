// The notification-area icon over QSystemTrayIcon (XEmbed and StatusNotifierItem).
#include "platform/QtTrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QMenu>

namespace tavorin {

namespace {
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
} // namespace

bool StatusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Asked only of a watcher that runs: a call would start one.
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcher).value())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusReply<QVariant> reply = bus.call(get, QDBus::Block, 2000);
    return reply.isValid() && reply.value().toBool();
}

QtTrayIcon::QtTrayIcon()
    : wayland_(QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {}

QtTrayIcon::~QtTrayIcon() = default;

bool QtTrayIcon::Add(const TrayIconData& data) {
    if (Exists())
        return false;
    added_ = true;
    callback_ = data.callback;
    picture_ = data.icon;
    tip_ = data.tip;
    if (!putUpPending_) {
        putUpPending_ = true;
        QMetaObject::invokeMethod(this, &QtTrayIcon::putUp, Qt::QueuedConnection);
    }
    return true;
}

bool QtTrayIcon::decideHost() const {
    if (!hostDecided_) {
        hostDrawsMenu_ = StatusNotifierHostRegistered();
        // Under Wayland only a host on the bus can take the icon: until one
        // is there, nothing is decided (Qt is not asked either).
        hostDecided_ = hostDrawsMenu_ || !wayland_;
    }
    return hostDrawsMenu_;
}

void QtTrayIcon::putUp() {
    putUpPending_ = false;
    watchForHosts();
    if (!added_)
        return;
    const bool drawsMenu = decideHost();
    if (wayland_ && !drawsMenu)
        return;
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &QtTrayIcon::activated);
        if (drawsMenu && menu_)
            icon_->setContextMenu(menu_);
    }
    icon_->setIcon(picture_);
    icon_->setToolTip(tip_);
    icon_->show();
}

// Under Wayland the first host on the bus is where the icon goes up: its
// watcher appears, then the host registers with it. Once up, the icon
// registers again with a watcher that restarts by itself, and an XEmbed
// icon docks into a new tray by itself.
void QtTrayIcon::watchForHosts() {
    if (watcher_ || !wayland_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    watcher_ =
        new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher_, &QDBusServiceWatcher::serviceRegistered, this, &QtTrayIcon::hostRegistered);
    bus.connect(kWatcher, kWatcherPath, kWatcher, QStringLiteral("StatusNotifierHostRegistered"),
                this, SLOT(hostRegistered()));
}

void QtTrayIcon::hostRegistered() {
    if (added_ && !hostDecided_ && StatusNotifierHostRegistered())
        putUp();
}

bool QtTrayIcon::Modify(const TrayIconData& data) {
    if (!Exists())
        return false;
    if (data.callback)
        callback_ = data.callback;
    if (!data.icon.isNull())
        picture_ = data.icon;
    tip_ = data.tip;
    if (icon_ && icon_->isVisible()) {
        icon_->setIcon(picture_);
        icon_->setToolTip(tip_);
    }
    return true;
}

bool QtTrayIcon::Remove() {
    if (!Exists())
        return false;
    added_ = false;
    if (icon_)
        icon_->hide();
    return true;
}

bool QtTrayIcon::Exists() const {
    return added_;
}

bool QtTrayIcon::Available() const {
    if (decideHost())
        return StatusNotifierHostRegistered();
    return !wayland_ && QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::SetMenu(QMenu* menu) {
    menu_ = menu;
}

bool QtTrayIcon::HostDrawsMenu() const {
    return hostDecided_ && hostDrawsMenu_;
}

bool QtTrayIcon::PointerKnown() const {
    return !wayland_;
}

void QtTrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    if (!callback_)
        return;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        // A host that draws the menu sends its primary activation (a left
        // click) instead of the double click it never sends.
        callback_(HostDrawsMenu() ? kTrayLeftDoubleClick : kTrayLeftDown);
        break;
    case QSystemTrayIcon::DoubleClick:
        callback_(kTrayLeftDoubleClick);
        break;
    case QSystemTrayIcon::Context:
        callback_(kTrayRightDown);
        break;
    default:
        break;
    }
}

} // namespace tavorin
