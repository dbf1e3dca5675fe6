#pragma once

#include "dialogs/OptionsHost.h"

#include <QStringList>

namespace tavorin::test {

// The main window as the options dialog sees it: a change-mode list and a log of the changes.
class FakeOptionsHost final : public OptionsHost {
  public:
    QStringList modes{"Once a day", "Frequently", "Manually"}, log;
    QString modeText = "Once a day";
    void AddTrayIcon() override { log << "AddTrayIcon"; }
    void RemoveTrayIcon() override { log << "RemoveTrayIcon"; }
    QString ChangeModeText() const override { return modeText; }
    void SetChangeModeText(const QString& text) override { modeText = text; }
    QString ChangeModeAt(int index) const override { return modes.value(index); }
    void InsertChangeMode(int index, const QString& text) override { modes.insert(index, text); }
    void RemoveChangeMode(int index) override { modes.removeAt(index); }
    void Skins() override { log << "Skins"; }
    void SetAboutAndRestoreEnabled(bool enabled) override { log << (enabled ? "on" : "off"); }
};

} // namespace tavorin::test
