#pragma once

// The notification-area icon, and the plain logic of background mode that
// the main window wires to its widgets.
//
// How frmMain uses it:
//   TrayModule tray_(m_.services().tray);
//   - LoadData:   Systray = 0 ? tray_.RemoveTrayIcon()
//                             : tray_.AddTrayIcon(owner, windowIcon(), windowTitle());
//                 where owner = [this](int code) { Form_MouseMove(code); }
//   - Timer3_Timer, Systray = 1: tray_.AddTrayIcon(owner, windowIcon(), windowTitle())
//                 (refused while the icon exists: the shown icon stays as it is)
//   - Form_Unload: tray_.RemoveTrayIcon()
//   - Form_MouseMove(code): switch (DecodeTrayEvent(code)) ...
//   - Add_Menu:   TrayMenuLook(mode_, names) for a right press on the icon,
//                 MainMenuLook(mode_, names) for Show_Main_Menu: captions of
//                 the "&Change Wallpaper" entries and what is visible.
//   - mRestore_Click / Form_Resize / mDisable_Click: BackgroundMode mode_
//                 holds the state; TrayIconLookFor() gives the icon file and
//                 tip, LoadIconFile() loads it (nothing when it is missing:
//                 keep the current icon), ShowsHiddenIconNotice() decides
//                 the once-only notice kHiddenIconNotice.

#include "platform/Tray.h"

#include <QIcon>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tavorin {

// The operations on the one icon record of the process.
class TrayModule {
  public:
    // Receives the icon's mouse events: kTrayLeftDown, kTrayLeftDoubleClick,
    // kTrayRightDown. It stands for the owner window.
    using Owner = std::function<void(int)>;

    explicit TrayModule(ITrayIcon& tray) : tray_(tray) {}

    // Fills the record and adds the icon. An empty owner, a null icon or
    // an empty tip keeps what the record held. Refused (false) while the
    // icon exists; callers ignore the result.
    bool AddTrayIcon(const Owner& owner, const QIcon& icon, const QString& tip);
    // Fills the record the same way, except that the icon is always
    // replaced, and changes the icon that is shown.
    bool ModifyTrayIcon(const Owner& owner, const QIcon& icon, const QString& tip);
    // Removes the icon added with the record's values.
    bool RemoveTrayIcon();

  private:
    void fill(const Owner& owner, const QString& tip);

    ITrayIcon& tray_;
    TrayIconData TrayIconData_;
};

// ---- The icon's mouse events (Form_MouseMove).

enum class TrayAction {
    None,         // any other code
    HideMainMenu, // left press: make mMenu's top level invisible
    ToggleWindow, // left double click: mRestore_Click
    PopupMenu,    // right press: Add_Menu, set mRestore's caption, pop up mMenu
};

TrayAction DecodeTrayEvent(int code);

// ---- Background mode.

enum class TrayState {
    Shown,              // normal, visible
    Background,         // minimised and hidden; schedule running
    BackgroundDisabled, // as Background, with the schedule stopped
};

inline const QString kShowCaption = QStringLiteral("&Show");
inline const QString kHideCaption = QStringLiteral("&Hide");
inline const QString kDisableCaption = QStringLiteral("&Disable Tavorin");
inline const QString kEnableCaption = QStringLiteral("&Enable Tavorin");
inline const QString kDisabledTip = QStringLiteral("Tavorin (Disabled)");
inline const QString kNormalIconFile = QStringLiteral("Icon/Tavorin icon.ico");
inline const QString kDisabledIconFile = QStringLiteral("Icon/Tavorin disabled.ico");
inline const QString kHiddenIconNotice =
    QStringLiteral("You have choosen to hide the tray icon. To get the icon back, rerun Tavorin.");
inline const QString kHiddenIconNoticeTitle = QStringLiteral("Information");

// The state of the main window between shown and background, and what
// each transition asks of the window.
class BackgroundMode {
  public:
    TrayState State() const { return state_; }
    bool Minimised() const { return state_ != TrayState::Shown; }
    bool Disabled() const { return state_ == TrayState::BackgroundDisabled; }

    // The "&Hide" button or menu entry, or minimising: Shown -> Background.
    // True when the state changed (the window then hides and releases its
    // skin and preview pictures).
    bool Minimise();
    // The "&Show" entry or a double click on the icon: back to Shown. True
    // when the state changed. Restoring a disabled schedule resumes it:
    // see ResumesSchedule.
    bool Restore();
    // mDisable_Click: Background <-> Background-disabled. True when the
    // state changed; in Shown the entry is hidden and nothing happens.
    bool ToggleDisabled();

    // mRestore's caption as a right press on the icon shows it.
    QString RestoreCaption() const { return Minimised() ? kShowCaption : kHideCaption; }
    bool DisableVisible() const { return Minimised(); }
    QString DisableCaption() const { return Disabled() ? kEnableCaption : kDisableCaption; }
    bool ScheduleRunning() const { return !Disabled(); }

  private:
    TrayState state_ = TrayState::Shown;
};

// True when restoring from this state must first run mDisable_Click.
inline bool ResumesSchedule(TrayState before) {
    return before == TrayState::BackgroundDisabled;
}

// The icon file (relative to the program folder) and the tip for a state.
struct TrayIconLook {
    QString iconFile;
    QString tip;
};
TrayIconLook TrayIconLookFor(TrayState state, const QString& windowCaption);

// An icon file as the window and tray icon, or nothing when the file is
// missing or not a picture (the caller then keeps its current icon).
std::optional<QIcon> LoadIconFile(const QString& path);

// ---- The popup menu mMenu (Add_Menu).

// "1. name", "2. name", ... in list order.
QStringList WallpaperMenuEntries(const QStringList& names);

struct MenuLook {
    QStringList pictureEntries;     // the mWallpaper elements 1..n
    bool changeVisible = false;     // mChange and mnuSeperator3
    bool placeholderVisible = true; // mWallpaper element 0
    QString restoreCaption;
    bool disableVisible = false;
    QString disableCaption;
};

// The menu as a right press on the icon shows it.
MenuLook TrayMenuLook(const BackgroundMode& mode, const QStringList& names);
// The menu as a right press on the main window's controls shows it
// (Show_Main_Menu): always "&Hide".
MenuLook MainMenuLook(const BackgroundMode& mode, const QStringList& names);

// The once-only notice on minimising with the icon turned off: Systray
// equals 0 and the notice has not been shown ("info" is not 1).
bool ShowsHiddenIconNotice(const QString& systray, const QString& info);

} // namespace tavorin
