#pragma once

#include "platform/Services.h"

#include <QDate>
#include <QImage>
#include <QList>
#include <QMap>
#include <QStringList>

#include <deque>
#include <functional>

namespace tavorin::test {

// Message boxes answer from a script; every box shown is recorded.
class FakeDialogs final : public IDialogs {
  public:
    struct Shown {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
        QString title;
    };
    QList<Shown> messages;
    std::deque<MsgResult> answers; // next answers; Ok/Yes-less default below
    MsgResult defaultAnswer = MsgResult::Ok;
    std::deque<QString> openAnswers;   // file names for GetOpenFileName
    std::deque<QString> saveAnswers;   // file names for GetSaveFileName
    std::deque<QString> folderAnswers; // folders for BrowseForFolder
    struct FileDialog {
        QString title;
        QString startPath;
        QString filter;
    };
    QList<FileDialog> fileDialogs;

    MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                     const QString& title) override;
    QString GetOpenFileName(QWidget*, const QString& title, const QString& startPath,
                            const QString& filter) override;
    QString GetSaveFileName(QWidget*, const QString& title, const QString& startPath,
                            const QString& filter) override;
    QString BrowseForFolder(QWidget*, const QString& title) override;
};

class FakeRegistry final : public IRegistryStore {
  public:
    // Keys that exist, as "root|subkey" in lower case; values by "root|subkey|name".
    QStringList existingKeys;
    QMap<QString, QString> values;
    QStringList log;

    FakeRegistry();
    bool SetStringValue(RootKey root, const QString& subKey, const QString& name,
                        const QString& data) override;
    bool DeleteValue(RootKey root, const QString& subKey, const QString& name) override;
    std::optional<QString> StringValue(RootKey root, const QString& subKey,
                                       const QString& name) const override;
    static QString KeyId(RootKey root, const QString& subKey);
};

class FakeWallpaper final : public IDesktopWallpaper {
  public:
    struct Call {
        QString method; // "active" or "classic"
        QString path;
        int style = 0;
    };
    QList<Call> calls;
    bool refuse = false;

    bool SetActiveDesktopWallpaper(const QString& path, int style, QString* errorText) override;
    bool SetClassicWallpaper(const ClassicPicture& picture, QString* errorText) override;
};

class FakeShell final : public IShell {
  public:
    QMap<QString, int> results; // by path; default kOpened for existing files
    QStringList opened;
    QStringList openedWith;

    int ShellExecuteOpen(const QString& path) override;
    void OpenWith(const QString& path) override;
};

class FakeInstance final : public ISingleInstance {
  public:
    bool running = false;
    std::function<void()> onCall; // what a later start reaches
    int calls = 0;                // calls this copy made to the running one
    bool PrevInstance() override { return running; }
    void Listen(std::function<void()> call) override { onCall = std::move(call); }
    bool CallRunningCopy() override {
        ++calls;
        return running;
    }
};

class FakeClock final : public IClock {
  public:
    QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(9, 0));
    QDate Today() const override { return now.date(); }
    QDateTime Now() const override { return now; }
};

class FakeTray final : public ITrayIcon {
  public:
    bool exists = false;
    bool available = true;
    bool hostDrawsMenu = false;
    bool pointerKnown = true;
    QMenu* menu = nullptr;
    TrayIconData data;
    QStringList log; // "add", "modify", "remove"

    bool Add(const TrayIconData& d) override;
    bool Modify(const TrayIconData& d) override;
    bool Remove() override;
    bool Exists() const override { return exists; }
    bool Available() const override { return available; }
    void SetMenu(QMenu* m) override { menu = m; }
    bool HostDrawsMenu() const override { return hostDrawsMenu; }
    bool PointerKnown() const override { return pointerKnown; }
    // Sends a mouse message to the icon's owner.
    void Send(int message) const;
};

// A whole set of fakes, ready to hand to the program's windows.
struct FakePlatform {
    explicit FakePlatform(const QString& programFolder);

    FakeDialogs dialogs;
    FakeRegistry registry;
    FakeWallpaper wallpaper;
    FakeShell shell;
    FakeInstance instance;
    FakeClock clock;
    FakeTray tray;
    Services services;
};

} // namespace tavorin::test
