#pragma once

#include <QIcon>
#include <QString>

#include <functional>

class QMenu;

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
    // True while a notification area is there to hold the icon.
    virtual bool Available() const = 0;
    // The menu a host that draws the icon's menu itself shows (a
    // StatusNotifierItem host). Such a host sends no double click: its
    // primary activation (a left click) arrives as kTrayLeftDoubleClick.
    virtual void SetMenu(QMenu* menu) = 0;
    // True while the icon sits in such a host.
    virtual bool HostDrawsMenu() const = 0;
    // True where a popup can open at the pointer (X11). Under Wayland the
    // pointer's position is known only over the program's own windows.
    virtual bool PointerKnown() const = 0;
};

} // namespace tavorin
