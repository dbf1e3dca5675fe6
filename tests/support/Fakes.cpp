#include "tests/support/Fakes.h"

#include <QFileInfo>

namespace tavorin::test {

MsgResult FakeDialogs::MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                              const QString& title) {
    messages.push_back({text, buttons, icon, title});
    if (answers.empty())
        return defaultAnswer;
    const MsgResult answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {
QString next(std::deque<QString>& queue) {
    if (queue.empty())
        return {};
    QString answer = queue.front();
    queue.pop_front();
    return answer;
}
} // namespace

QString FakeDialogs::GetOpenFileName(QWidget*, const QString& title, const QString& startPath,
                                     const QString& filter) {
    fileDialogs.push_back({title, startPath, filter});
    return next(openAnswers);
}

QString FakeDialogs::GetSaveFileName(QWidget*, const QString& title, const QString& startPath,
                                     const QString& filter) {
    fileDialogs.push_back({title, startPath, filter});
    return next(saveAnswers);
}

QString FakeDialogs::BrowseForFolder(QWidget*, const QString& title) {
    fileDialogs.push_back({title, {}, {}});
    return next(folderAnswers);
}

FakeRegistry::FakeRegistry() {
    existingKeys << KeyId(RootKey::LocalMachine,
                          QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run"))
                 << KeyId(RootKey::CurrentUser, QStringLiteral("Control Panel\\Desktop"));
}

QString FakeRegistry::KeyId(RootKey root, const QString& subKey) {
    return QString::number(static_cast<quint32>(root), 16) + QLatin1Char('|') + subKey.toLower();
}

bool FakeRegistry::SetStringValue(RootKey root, const QString& subKey, const QString& name,
                                  const QString& data) {
    const QString key = KeyId(root, subKey);
    log << QStringLiteral("set ") + key + QLatin1Char('|') + name + QLatin1Char('=') + data;
    if (!existingKeys.contains(key))
        return false;
    values[key + QLatin1Char('|') + name.toLower()] = data;
    return true;
}

bool FakeRegistry::DeleteValue(RootKey root, const QString& subKey, const QString& name) {
    const QString key = KeyId(root, subKey);
    log << QStringLiteral("delete ") + key + QLatin1Char('|') + name;
    return values.remove(key + QLatin1Char('|') + name.toLower()) > 0;
}

std::optional<QString> FakeRegistry::StringValue(RootKey root, const QString& subKey,
                                                 const QString& name) const {
    const auto it = values.find(KeyId(root, subKey) + QLatin1Char('|') + name.toLower());
    if (it == values.end())
        return std::nullopt;
    return *it;
}

bool FakeWallpaper::SetActiveDesktopWallpaper(const QString& path, int style, QString* errorText) {
    calls.push_back({QStringLiteral("active"), path, style});
    if (refuse || !QFileInfo(path).isFile()) {
        if (errorText)
            *errorText = QStringLiteral("refused");
        return false;
    }
    return true;
}

bool FakeWallpaper::SetClassicWallpaper(const ClassicPicture& picture, QString* errorText) {
    calls.push_back({QStringLiteral("classic"), picture.path, 0});
    const bool written = !picture.fileWritten || picture.fileWritten();
    if (refuse || !written || !QFileInfo(picture.path).isFile()) {
        if (errorText)
            *errorText = QStringLiteral("refused");
        return false;
    }
    return true;
}

int FakeShell::ShellExecuteOpen(const QString& path) {
    opened << path;
    if (results.contains(path))
        return results.value(path);
    return QFileInfo(path).isFile() ? kOpened : kFileNotFound;
}

void FakeShell::OpenWith(const QString& path) {
    openedWith << path;
}

bool FakeTray::Add(const TrayIconData& d) {
    log << QStringLiteral("add");
    if (exists)
        return false;
    exists = true;
    data = d;
    return true;
}

bool FakeTray::Modify(const TrayIconData& d) {
    log << QStringLiteral("modify");
    if (!exists)
        return false;
    const auto callback = data.callback;
    data = d;
    if (!data.callback)
        data.callback = callback;
    return true;
}

bool FakeTray::Remove() {
    log << QStringLiteral("remove");
    const bool was = exists;
    exists = false;
    return was;
}

void FakeTray::Send(int message) const {
    if (exists && data.callback)
        data.callback(message);
}

FakePlatform::FakePlatform(const QString& programFolder)
    : services{ProgramFolder(programFolder, programFolder + QStringLiteral("/.data-home")),
               dialogs,
               registry,
               wallpaper,
               shell,
               instance,
               clock,
               tray} {}

} // namespace tavorin::test
