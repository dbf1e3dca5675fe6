#pragma once

#include "mainwindow/frmMain.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QStringList>

#include <functional>

#include <memory>

namespace tavorin::test {

class RecordingSplash final : public SplashStatus {
  public:
    QStringList statuses;
    void SetStatus(const QString& text) override { statuses << text; }
};

// A main window over the fakes, in a temporary program folder, with
// pictures made on demand.
class MainWindowHarness {
  public:
    MainWindowHarness();

    TempProgramFolder folder;
    FakePlatform fake{folder.path()};
    Module1 m{fake.services};
    RecordingSplash splash;
    std::unique_ptr<frmMain> w;

    void set(const QString& key, const QString& value,
             const QString& section = QStringLiteral("Settings")) const;
    QString get(const QString& key, const QString& section = QStringLiteral("Settings")) const;

    // A small JPEG picture outside the program folder; returns its path.
    QString picture(const QString& name) const;
    QStringList pictures(int count) const;
    // Stores the automatic list as Apply would.
    void storeAutomaticList(const QStringList& paths) const;

    // Creates the window and runs its initialisation.
    frmMain& start();
    // Creates the window without initialising it.
    frmMain& create();

    // The paths handed to the wallpaper, in order.
    QStringList applied() const;
    // Both lists of the window: the paths and the shown names.
    QStringList paths() const;
    QStringList names() const;
    // Whether both lists are parallel: same length, names the last
    // components of the paths.
    bool listsParallel() const;
};

// Runs `during` while a message box is open, as timers tick under a real one.
class TickingDialogs final : public IDialogs {
  public:
    explicit TickingDialogs(FakeDialogs& inner) : inner_(inner) {}
    std::function<void()> during;
    MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                     const QString& title) override {
        if (during)
            during();
        return inner_.MsgBox(text, buttons, icon, title);
    }
    QString GetOpenFileName(QWidget* owner, const QString& title, const QString& start,
                            const QString& filter) override {
        return inner_.GetOpenFileName(owner, title, start, filter);
    }
    QString GetSaveFileName(QWidget* owner, const QString& title, const QString& start,
                            const QString& filter) override {
        return inner_.GetSaveFileName(owner, title, start, filter);
    }
    QString BrowseForFolder(QWidget* owner, const QString& title) override {
        return inner_.BrowseForFolder(owner, title);
    }

  private:
    FakeDialogs& inner_;
};

} // namespace tavorin::test
