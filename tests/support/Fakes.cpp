#include "tests/support/Fakes.h"

namespace tavorin::test {

bool FakeRegistry::SetStringValue(RootKey root, const QString& subKey, const QString& name,
                                  const QString& data) {
    log << "set " + KeyId(root, subKey) + '|' + name + '=' + data;
    const QString key = KeyId(root, subKey); // only the keys the program writes to exist
    const bool exists =
        key == KeyId(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run") ||
        key == KeyId(RootKey::CurrentUser, "Control Panel\\Desktop");
    if (exists)
        values[Id(root, subKey, name)] = data;
    return exists;
}

bool FakeRegistry::DeleteValue(RootKey root, const QString& subKey, const QString& name) {
    log << "delete " + KeyId(root, subKey) + '|' + name;
    return values.remove(Id(root, subKey, name)) > 0;
}

bool FakeWallpaper::Accept(const QString& path, QString* errorText) const {
    if (!refuse && QFileInfo(path).isFile())
        return true;
    if (errorText)
        *errorText = QStringLiteral("refused");
    return false;
}

bool FakeTray::Add(const TrayIconData& d) {
    log << QStringLiteral("add");
    if (exists)
        return false;
    data = d;
    return exists = true;
}

bool FakeTray::Modify(const TrayIconData& d) {
    log << QStringLiteral("modify");
    const auto callback = data.callback;
    data = exists ? d : data;
    if (!data.callback)
        data.callback = callback;
    return exists;
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
