#include "platform/QtTrayIcon.h"

namespace tavorin {

QtTrayIcon::QtTrayIcon() = default;
QtTrayIcon::~QtTrayIcon() = default;

bool QtTrayIcon::Add(const TrayIconData& data) {
    if (Exists())
        return false;
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &QtTrayIcon::activated);
    }
    callback_ = data.callback;
    icon_->setIcon(data.icon);
    icon_->setToolTip(data.tip);
    icon_->show();
    return true;
}

bool QtTrayIcon::Modify(const TrayIconData& data) {
    if (!Exists())
        return false;
    if (data.callback)
        callback_ = data.callback;
    if (!data.icon.isNull())
        icon_->setIcon(data.icon);
    icon_->setToolTip(data.tip);
    return true;
}

bool QtTrayIcon::Remove() {
    if (!Exists())
        return false;
    icon_->hide();
    return true;
}

bool QtTrayIcon::Exists() const {
    return icon_ && icon_->isVisible();
}

bool QtTrayIcon::Available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    if (!callback_)
        return;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        callback_(kTrayLeftDown);
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
