#pragma once

#include <QString>

namespace tavorin {

// What the options dialog does to the main window. frmMain implements it;
// the dialog calls nothing else of the main window.
class OptionsHost {
  public:
    virtual ~OptionsHost() = default;

    // Adds the tray icon with the main window, its icon and its caption
    // as tip (TrayModule::AddTrayIcon); refused while the icon exists.
    virtual void AddTrayIcon() = 0;
    // Removes the tray icon (TrayModule::RemoveTrayIcon).
    virtual void RemoveTrayIcon() = 0;

    // The change-mode list cboChange: its shown text, its entries.
    virtual QString ChangeModeText() const = 0;
    virtual void SetChangeModeText(const QString& text) = 0;
    // The entry at index, "" when there is none.
    virtual QString ChangeModeAt(int index) const = 0;
    virtual void InsertChangeMode(int index, const QString& text) = 0;
    virtual void RemoveChangeMode(int index) = 0;

    // The Skins routine: applies the stored skin at once.
    virtual void Skins() = 0;

    // Enables or disables the tray-menu items mAbout and mRestore.
    virtual void SetAboutAndRestoreEnabled(bool enabled) = 0;
};

} // namespace tavorin
