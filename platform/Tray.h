#pragma once

#include <QIcon>
#include <QString>

#include <functional>

namespace tavorin {

// Mouse messages of the notification-area icon, as its callback gets them.
enum TrayMessage : int {
    kTrayCallback = 512,
    kTrayLeftDown = 513,
    kTrayLeftDoubleClick = 515,
    kTrayRightDown = 516,
};

// The notification-area icon record.
struct TrayIconData {
    QIcon icon;
    QString tip;
    // Receives kTrayLeftDown, kTrayLeftDoubleClick, kTrayRightDown.
    std::function<void(int)> callback;
};

class ITrayIcon {
  public:
    virtual ~ITrayIcon() = default;
    // Refused (false) while the icon exists.
    virtual bool Add(const TrayIconData& data) = 0;
    virtual bool Modify(const TrayIconData& data) = 0;
    virtual bool Remove() = 0;
    virtual bool Exists() const = 0;
    virtual bool Available() const = 0;
};

} // namespace tavorin
