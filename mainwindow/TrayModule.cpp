// The notification-area icon and the plain rules of background mode.
#include "mainwindow/TrayModule.h"

#include "settings/Module1.h"

#include <QImageReader>
#include <QPixmap>

namespace tavorin {

void TrayModule::fill(const Owner& owner, const QString& tip) {
    if (owner)
        TrayIconData_.callback = owner;
    if (!tip.isEmpty())
        TrayIconData_.tip = tip;
}

bool TrayModule::AddTrayIcon(const Owner& owner, const QIcon& icon, const QString& tip) {
    fill(owner, tip);
    if (!icon.isNull())
        TrayIconData_.icon = icon;
    if (tray_.Exists())
        return false;
    return tray_.Add(TrayIconData_);
}

bool TrayModule::ModifyTrayIcon(const Owner& owner, const QIcon& icon, const QString& tip) {
    fill(owner, tip);
    TrayIconData_.icon = icon;
    return tray_.Modify(TrayIconData_);
}

bool TrayModule::RemoveTrayIcon() {
    return tray_.Remove();
}

TrayAction DecodeTrayEvent(int code) {
    switch (code) {
    case kTrayLeftDown:
        return TrayAction::HideMainMenu;
    case kTrayLeftDoubleClick:
        return TrayAction::ToggleWindow;
    case kTrayRightDown:
        return TrayAction::PopupMenu;
    default:
        return TrayAction::None;
    }
}

bool BackgroundMode::Minimise() {
    if (state_ != TrayState::Shown)
        return false;
    state_ = TrayState::Background;
    return true;
}

bool BackgroundMode::Restore() {
    if (state_ == TrayState::Shown)
        return false;
    state_ = TrayState::Shown;
    return true;
}

bool BackgroundMode::ToggleDisabled() {
    switch (state_) {
    case TrayState::Background:
        state_ = TrayState::BackgroundDisabled;
        return true;
    case TrayState::BackgroundDisabled:
        state_ = TrayState::Background;
        return true;
    case TrayState::Shown:
        return false;
    }
    return false;
}

TrayIconLook TrayIconLookFor(TrayState state, const QString& windowCaption) {
    if (state == TrayState::BackgroundDisabled)
        return {kDisabledIconFile, kDisabledTip};
    return {kNormalIconFile, windowCaption};
}

std::optional<QIcon> LoadIconFile(const QString& path) {
    QImageReader reader(path);
    const QSize size = reader.size();
    // An icon larger than this is no icon; never decode it.
    if (!size.isValid() || size.isEmpty() || size.width() > 1024 || size.height() > 1024)
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    // Further sizes in the file (an .ico holds several).
    while (reader.jumpToNextImage()) {
        const QImage next = reader.read();
        if (!next.isNull() && next.width() <= 1024 && next.height() <= 1024)
            icon.addPixmap(QPixmap::fromImage(next));
    }
    return icon;
}

QStringList WallpaperMenuEntries(const QStringList& names) {
    QStringList entries;
    entries.reserve(names.size());
    for (qsizetype k = 0; k < names.size(); ++k)
        entries << QString::number(k + 1) + QStringLiteral(". ") + names[k];
    return entries;
}

MenuLook TrayMenuLook(const BackgroundMode& mode, const QStringList& names) {
    MenuLook look;
    look.pictureEntries = WallpaperMenuEntries(names);
    look.changeVisible = mode.Minimised() && !names.isEmpty();
    look.placeholderVisible = !look.changeVisible;
    look.restoreCaption = mode.RestoreCaption();
    look.disableVisible = mode.DisableVisible();
    look.disableCaption = mode.DisableCaption();
    return look;
}

MenuLook MainMenuLook(const BackgroundMode& mode, const QStringList& names) {
    MenuLook look = TrayMenuLook(mode, names);
    look.restoreCaption = kHideCaption;
    return look;
}

bool ShowsHiddenIconNotice(const QString& systray, const QString& info) {
    return EqualsNumber(systray, 0) && !EqualsNumber(info, 1);
}

} // namespace tavorin
