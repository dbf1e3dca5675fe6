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

// Message boxes answer from a script (then defaultAnswer); every box is recorded.
// `during` runs while a box is open, as timers tick under a real one.
class FakeDialogs final : public IDialogs {
  public:
    struct Shown {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
        QString title;
    };
    QList<Shown> messages;
    std::deque<MsgResult> answers;
    MsgResult defaultAnswer = MsgResult::Ok;
    std::function<void()> during;
    std::deque<QString> openAnswers, saveAnswers, folderAnswers; // GetOpen/GetSave/BrowseForFolder

    MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                     const QString& title) override {
        messages.push_back({text, buttons, icon, title});
        if (during)
            during();
        return Next(answers, defaultAnswer);
    }
    QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return Next(openAnswers);
    }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return Next(saveAnswers);
    }
    QString BrowseForFolder(QWidget*, const QString&) override { return Next(folderAnswers); }

  private:
    template <typename T> static T Next(std::deque<T>& queue, T otherwise = T()) {
        if (queue.empty())
            return otherwise;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

// A registry in memory: values by "root|subkey|name" (KeyId in lower case, then the name).
class FakeRegistry final : public IRegistryStore {
  public:
    QMap<QString, QString> values;
    QStringList log; // "set <key>|<name>=<data>", "delete <key>|<name>"

    bool SetStringValue(RootKey root, const QString& subKey, const QString& name,
                        const QString& data) override {
        log << "set " + KeyId(root, subKey) + '|' + name + '=' + data;
        const QString key = KeyId(root, subKey); // only the keys the program writes to exist
        const bool exists = key == KeyId(RootKey::LocalMachine,
                                         "Software\\Microsoft\\Windows\\CurrentVersion\\Run") ||
                            key == KeyId(RootKey::CurrentUser, "Control Panel\\Desktop");
        if (exists)
            values[Id(root, subKey, name)] = data;
        return exists;
    }
    bool DeleteValue(RootKey root, const QString& subKey, const QString& name) override {
        log << "delete " + KeyId(root, subKey) + '|' + name;
        return values.remove(Id(root, subKey, name)) > 0;
    }
    std::optional<QString> StringValue(RootKey root, const QString& subKey,
                                       const QString& name) const override {
        return values.contains(Id(root, subKey, name))
                   ? std::optional(values.value(Id(root, subKey, name)))
                   : std::nullopt;
    }
    static QString KeyId(RootKey root, const QString& subKey) {
        return QString::number(quint32(root), 16) + QLatin1Char('|') + subKey.toLower();
    }

  private:
    static QString Id(RootKey root, const QString& subKey, const QString& name) {
        return KeyId(root, subKey) + QLatin1Char('|') + name.toLower();
    }
};

// Records every call; refuses (as a desktop does) a file that is not there once written.
class FakeWallpaper final : public IDesktopWallpaper {
  public:
    struct Call {
        QString method; // "active" or "classic"
        QString path;
        QImage image; // the decoded picture a classic call hands on, if any
    };
    QList<Call> calls;
    bool refuse = false;

    bool SetActiveDesktopWallpaper(const QString& path, int, QString* errorText) override {
        calls.push_back({QStringLiteral("active"), path, {}});
        return Accept(path, errorText);
    }
    bool SetClassicWallpaper(const ClassicPicture& picture, QString* errorText) override {
        calls.push_back({QStringLiteral("classic"), picture.path, picture.decoded});
        return (!picture.fileWritten || picture.fileWritten()) && Accept(picture.path, errorText);
    }

  private:
    bool Accept(const QString& path, QString* errorText) const {
        if (!refuse && QFileInfo(path).isFile())
            return true;
        if (errorText)
            *errorText = QStringLiteral("refused");
        return false;
    }
};

class FakeShell final : public IShell {
  public:
    QStringList opened;

    int ShellExecuteOpen(const QString& path) override {
        opened << path;
        return QFileInfo(path).isFile() ? kOpened : kFileNotFound;
    }
    void OpenWith(const QString&) override {}
};

class FakeInstance final : public ISingleInstance {
  public:
    bool running = false;
    int calls = 0; // calls this copy made to the running one
    bool PrevInstance() override { return running; }
    void Listen(std::function<void()>) override {}
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
    TrayIconData data;
    QStringList log; // "add", "modify", "remove"

    bool Add(const TrayIconData& d) override {
        log << QStringLiteral("add");
        if (!exists)
            data = d;
        return !std::exchange(exists, true);
    }
    bool Modify(const TrayIconData& d) override {
        log << QStringLiteral("modify");
        const auto callback = data.callback;
        data = exists ? d : data;
        data.callback = data.callback ? data.callback : callback;
        return exists;
    }
    bool Remove() override { return log << QStringLiteral("remove"), std::exchange(exists, false); }
    bool Exists() const override { return exists; }
    bool Available() const override { return available; }
    void SetMenu(QMenu*) override {}
    bool HostDrawsMenu() const override { return hostDrawsMenu; }
    bool PointerKnown() const override { return pointerKnown; }
    void Send(int message) const { // a mouse message to the icon's owner
        if (exists && data.callback)
            data.callback(message);
    }
};

// A whole set of fakes, ready to hand to the program's windows.
struct FakePlatform {
    explicit FakePlatform(const QString& programFolder)
        : services{ProgramFolder(programFolder, programFolder + QStringLiteral("/.data-home")),
                   dialogs,
                   registry,
                   wallpaper,
                   shell,
                   instance,
                   clock,
                   tray} {}

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
