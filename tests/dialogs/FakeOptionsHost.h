#pragma once

#include "dialogs/OptionsHost.h"

#include <QRegularExpression>
#include <QStringList>

namespace tavorin::test {

// The main window as the options dialog sees it: a change-mode list and a
// log of every other call.
class FakeOptionsHost final : public OptionsHost {
  public:
    QStringList modes{"Startup", "Once a day", "Frequently", "Manually"};
    QString modeText = "Once a day";
    QStringList log;

    void AddTrayIcon() override { log << "AddTrayIcon"; }
    void RemoveTrayIcon() override { log << "RemoveTrayIcon"; }
    QString ChangeModeText() const override { return modeText; }
    void SetChangeModeText(const QString& text) override {
        modeText = modes.contains(text) ? text : modeText;
    }
    QString ChangeModeAt(int index) const override { return modes.value(index); }
    void InsertChangeMode(int index, const QString& text) override {
        log << QStringLiteral("insert %1 %2").arg(index).arg(text);
        modes.insert(index, text);
    }
    void RemoveChangeMode(int index) override {
        log << QStringLiteral("remove %1").arg(index);
        modeText = modeText == modes.value(index) ? QString() : modeText;
        modes.removeAt(index);
    }
    void Skins() override { log << "Skins"; }
    void SetAboutAndRestoreEnabled(bool enabled) override {
        log << (enabled ? QStringLiteral("menu enabled") : QStringLiteral("menu disabled"));
    }

    QStringList changes() const { // only the calls that change the main window
        return log.filter(QRegularExpression("^(?!menu )"));
    }
};

} // namespace tavorin::test
