// Module1: the settings store, registry access and opening documents.
#include "settings/Module1.h"

#include "platform/ProfileFile.h"

#include <new>

namespace tavorin {

std::optional<double> NumericValue(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

bool EqualsNumber(const QString& text, double n) {
    const auto value = NumericValue(text);
    return value && *value == n;
}

QString CutToBytes(const QString& text, int limit) {
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= limit)
        return text;
    bytes.truncate(limit);
    // Drop a character cut in half: trailing continuation bytes and their lead.
    qsizetype end = bytes.size();
    qsizetype i = end - 1;
    while (i >= 0 && (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80)
        --i;
    if (i >= 0) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const qsizetype need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (end - i < need)
            end = i;
    }
    return QString::fromUtf8(bytes.left(end));
}

QString Module1::SettingsFile() const {
    return services_.folder.OwnFile(QLatin1String(kSettingsFileName));
}

void Module1::reportError(int number, const QString& description, const QString& routine) const {
    services_.dialogs.MsgBox(QString::number(number) + description + QLatin1Char('\n') + routine,
                             MsgButtons::Ok, MsgIcon::Critical);
}

QString Module1::GetINIFile(const QString& section, const QString& key) const {
    try {
        const auto value = profile::Read(SettingsFile(), section, key);
        if (!value)
            return {};
        return CutToBytes(*value, kReadBuffer - 1);
    } catch (const std::bad_alloc&) {
        reportError(7, QStringLiteral("Out of memory"), QStringLiteral("GetINIFile"));
        return {};
    }
}

bool Module1::WriteINIFile(const QString& section, const QString& key, const QString& value) const {
    try {
        return profile::Write(SettingsFile(), section, key, value);
    } catch (const std::bad_alloc&) {
        reportError(7, QStringLiteral("Out of memory"), QStringLiteral("WriteINIFile"));
        return false;
    }
}

RootKey Module1::RootKeyHandle(const QString& name) {
    static const std::pair<const char*, RootKey> roots[] = {
        {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
        {"HKEY_CURRENT_USER", RootKey::CurrentUser},
        {"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
        {"HKEY_USERS", RootKey::Users},
        {"HKEY_PERFORMANCE_DATA", RootKey::PerformanceData},
        {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
        {"HKEY_DYN_DATA", RootKey::DynData},
    };
    for (const auto& [text, root] : roots)
        if (name == QLatin1String(text))
            return root;
    return RootKey::None;
}

RootKey Module1::SplitKeyPath(QString& path) const {
    const qsizetype slash = path.indexOf(QLatin1Char('\\'));
    if (!path.startsWith(QLatin1String("HKEY_")) || path.endsWith(QLatin1Char('\\'))) {
        services_.dialogs.MsgBox(QStringLiteral("Incorrect Format:\n\n") + path, MsgButtons::Ok,
                                 MsgIcon::None);
        return RootKey::None;
    }
    if (slash < 0) {
        const RootKey root = RootKeyHandle(path);
        path.clear();
        return root;
    }
    const RootKey root = RootKeyHandle(path.left(slash));
    path = path.mid(slash + 1);
    return root;
}

void Module1::WriteRegValue(const QString& keyPath, const QString& valueName,
                            const QString& data) const {
    QString subKey = keyPath;
    const RootKey root = SplitKeyPath(subKey);
    if (root == RootKey::None)
        return;
    services_.registry.SetStringValue(root, subKey, valueName, data);
}

void Module1::WriteLogOnEntry() const {
    WriteRegValue(kRunKeyPath, kRunValue, App_Path() + QStringLiteral("/Loader.exe"));
}

void Module1::DeleteRegValue(const QString& valuePath) const {
    // Every failure is ignored, a malformed path included.
    const qsizetype slash = valuePath.indexOf(QLatin1Char('\\'));
    const qsizetype last = valuePath.lastIndexOf(QLatin1Char('\\'));
    if (slash < 0 || last <= slash)
        return;
    const RootKey root = RootKeyHandle(valuePath.left(slash));
    if (root == RootKey::None)
        return;
    services_.registry.DeleteValue(root, valuePath.mid(slash + 1, last - slash - 1),
                                   valuePath.mid(last + 1));
}

void Module1::OpenDocument(const QString& path) const {
    if (services_.shell.ShellExecuteOpen(path) == IShell::kNoAssociation)
        services_.shell.OpenWith(path);
}

} // namespace tavorin
