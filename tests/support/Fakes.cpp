// Fakes of the platform services: scripted dialogs, a registry in memory, recording wallpaper,
// shell, single instance, clock and tray icon.
#include "tests/support/Fakes.h"

#include <QFileInfo>

namespace tavorin::test {

namespace {
bool refused(bool refuse, bool ok, const QString& path, QString* errorText) {
    if (!refuse && ok && QFileInfo(path).isFile())
        return false;
    if (errorText)
        *errorText = QStringLiteral("refused");
    return true;
}
} // namespace

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
    return it == values.end() ? std::nullopt : std::optional<QString>(*it);
}

bool FakeWallpaper::SetActiveDesktopWallpaper(const QString& path, int style, QString* errorText) {
    calls.push_back({QStringLiteral("active"), path, style, {}});
    return !refused(refuse, true, path, errorText);
}

bool FakeWallpaper::SetClassicWallpaper(const ClassicPicture& picture, QString* errorText) {
    calls.push_back({QStringLiteral("classic"), picture.path, 0, picture.decoded});
    const bool written = !picture.fileWritten || picture.fileWritten();
    return !refused(refuse, written, picture.path, errorText);
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
