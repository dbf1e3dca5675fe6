#pragma once

#include "platform/Services.h"

#include <QDate>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QMap>
#include <QStringList>

#include <deque>
#include <functional>
#include <utility>

namespace tavorin::test {

// Message boxes answer from a script (then defaultAnswer); every box and file dialog is recorded.
class FakeDialogs final : public IDialogs {
  public:
    struct Shown {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
        QString title;
    };
    struct FileDialog {
        QString title, startPath, filter;
    };
    QList<Shown> messages;
    std::deque<MsgResult> answers;
    MsgResult defaultAnswer = MsgResult::Ok;
    std::deque<QString> openAnswers, saveAnswers, folderAnswers; // GetOpen/GetSave/BrowseForFolder
    QList<FileDialog> fileDialogs;

    MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                     const QString& title) override {
        messages.push_back({text, buttons, icon, title});
        return answers.empty() ? defaultAnswer : Next(answers);
    }
    QString GetOpenFileName(QWidget*, const QString& title, const QString& startPath,
                            const QString& filter) override {
        return Ask(openAnswers, {title, startPath, filter});
    }
    QString GetSaveFileName(QWidget*, const QString& title, const QString& startPath,
                            const QString& filter) override {
        return Ask(saveAnswers, {title, startPath, filter});
    }
    QString BrowseForFolder(QWidget*, const QString& title) override {
        return Ask(folderAnswers, {title, {}, {}});
    }

  private:
    template <typename T> static T Next(std::deque<T>& queue) {
        T answer = queue.empty() ? T() : queue.front();
        if (!queue.empty())
            queue.pop_front();
        return answer;
    }
    QString Ask(std::deque<QString>& queue, const FileDialog& shown) {
        fileDialogs.push_back(shown);
        return Next(queue);
    }
};

// Keys that exist as KeyId ("root|subkey" in lower case); values by "root|subkey|name".
class FakeRegistry final : public IRegistryStore {
  public:
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

// Records every call; refuses (as a desktop does) a file that is not there once written.
class FakeWallpaper final : public IDesktopWallpaper {
  public:
    struct Call {
        QString method; // "active" or "classic"
        QString path;
        int style = 0;
        QImage image; // the decoded picture a classic call hands on, if any
    };
    QList<Call> calls;
    bool refuse = false;

    bool SetActiveDesktopWallpaper(const QString& path, int style, QString* errorText) override;
    bool SetClassicWallpaper(const ClassicPicture& picture, QString* errorText) override;
};

class FakeShell final : public IShell {
  public:
    QMap<QString, int> results; // by path; default kOpened for existing files
    QStringList opened, openedWith;

    int ShellExecuteOpen(const QString& path) override {
        opened << path;
        return results.value(path, QFileInfo(path).isFile() ? kOpened : kFileNotFound);
    }
    void OpenWith(const QString& path) override { openedWith << path; }
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
    bool exists = false, available = true, hostDrawsMenu = false, pointerKnown = true;
    QMenu* menu = nullptr;
    TrayIconData data;
    QStringList log; // "add", "modify", "remove"

    bool Add(const TrayIconData& d) override;
    bool Modify(const TrayIconData& d) override;
    bool Remove() override { return log << QStringLiteral("remove"), std::exchange(exists, false); }
    bool Exists() const override { return exists; }
    bool Available() const override { return available; }
    void SetMenu(QMenu* m) override { menu = m; }
    bool HostDrawsMenu() const override { return hostDrawsMenu; }
    bool PointerKnown() const override { return pointerKnown; }
    void Send(int message) const { // a mouse message to the icon's owner
        if (exists && data.callback)
            data.callback(message);
    }
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
