#include "platform/QtTrayIcon.h"

namespace tavorin {

QtTrayIcon::QtTrayIcon() = default;
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

void QtTrayIcon::putUp() {
    putUpPending_ = false;
    if (!added_)
        return;
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &QtTrayIcon::activated);
    }
    icon_->setIcon(picture_);
    icon_->setToolTip(tip_);
    icon_->show();
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
