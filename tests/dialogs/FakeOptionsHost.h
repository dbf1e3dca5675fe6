#pragma once

#include "dialogs/OptionsHost.h"

#include <QStringList>

namespace tavorin::test {

// The main window as the options dialog sees it: a change-mode list and a
// log of every other call.
class FakeOptionsHost final : public OptionsHost {
  public:
    QStringList modes{QStringLiteral("Startup"), QStringLiteral("Once a day"),
                      QStringLiteral("Frequently"), QStringLiteral("Manually")};
    QString modeText = QStringLiteral("Once a day");
    QStringList log;

    void AddTrayIcon() override { log << QStringLiteral("AddTrayIcon"); }
    void RemoveTrayIcon() override { log << QStringLiteral("RemoveTrayIcon"); }
    QString ChangeModeText() const override { return modeText; }
    void SetChangeModeText(const QString& text) override {
        if (modes.contains(text))
            modeText = text;
    }
    QString ChangeModeAt(int index) const override { return modes.value(index); }
    void InsertChangeMode(int index, const QString& text) override {
        log << QStringLiteral("insert %1 %2").arg(index).arg(text);
        modes.insert(index, text);
    }
    void RemoveChangeMode(int index) override {
        log << QStringLiteral("remove %1").arg(index);
        if (modeText == modes.value(index))
            modeText.clear();
        modes.removeAt(index);
    }
    void Skins() override { log << QStringLiteral("Skins"); }
    void SetAboutAndRestoreEnabled(bool enabled) override {
        log << (enabled ? QStringLiteral("menu enabled") : QStringLiteral("menu disabled"));
    }

    // Only the calls that change the main window.
    QStringList changes() const {
        QStringList out = log;
        out.removeAll(QStringLiteral("menu enabled"));
        out.removeAll(QStringLiteral("menu disabled"));
        return out;
    }
};

} // namespace tavorin::test
