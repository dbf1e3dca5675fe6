#include "platform/RegistryStore.h"

#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace tavorin {

namespace {

const QString kRunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kDesktopKey = QStringLiteral("Control Panel\\Desktop");
const QString kDesktopSection = QStringLiteral("Desktop");

bool validEntryName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

// Escapes for a double-quoted argument of an Exec key.
QString quoteArgument(const QString& arg) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : arg) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

// Escapes of a string-type value of a desktop entry.
QString escapeStringValue(const QString& value) {
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

// The inverse of DesktopEntryExec for one quoted or plain argument.
QString unquoteExec(const QString& exec) {
    QString value;
    for (qsizetype i = 0; i < exec.size(); ++i) { // string-level escapes
        if (exec[i] == QLatin1Char('\\') && i + 1 < exec.size()) {
            const QChar n = exec[++i];
            value += n == QLatin1Char('s')   ? QChar(QLatin1Char(' '))
                     : n == QLatin1Char('n') ? QChar(QLatin1Char('\n'))
                     : n == QLatin1Char('t') ? QChar(QLatin1Char('\t'))
                     : n == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                             : n;
        } else {
            value += exec[i];
        }
    }
    value.replace(QStringLiteral("%%"), QStringLiteral("%"));
    if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) ||
        !value.endsWith(QLatin1Char('"')))
        return value;
    QString arg;
    for (qsizetype i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 2 < value.size())
            ++i;
        arg += value[i];
    }
    return arg;
}

bool writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace

QString DesktopEntryExec(const QString& program) {
    QString quoted = quoteArgument(program);
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return escapeStringValue(quoted);
}

QString AutostartEntryText(const QString& name, const QString& program) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Comment=Changes the desktop wallpaper at log-on\n"
                          "Exec=%2\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(escapeStringValue(name), DesktopEntryExec(program));
}

XdgRegistryStore::XdgRegistryStore(QString configHome) : configHome_(std::move(configHome)) {
    if (configHome_.isEmpty()) {
        configHome_ = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (configHome_.isEmpty() || !QDir::isAbsolutePath(configHome_))
            configHome_ = QDir::homePath() + QStringLiteral("/.config");
    }
}

QString XdgRegistryStore::AutostartFolder() const {
    return configHome_ + QStringLiteral("/autostart");
}

QString XdgRegistryStore::DesktopRecordFile() const {
    return configHome_ + QStringLiteral("/Tavorin/Desktop.INI");
}

XdgRegistryStore::Key XdgRegistryStore::keyOf(RootKey root, const QString& subKey) {
    // Registry key names compare without regard to case.
    if ((root == RootKey::LocalMachine || root == RootKey::CurrentUser) &&
        subKey.compare(kRunKey, Qt::CaseInsensitive) == 0)
        return Key::Run;
    if (root == RootKey::CurrentUser && subKey.compare(kDesktopKey, Qt::CaseInsensitive) == 0)
        return Key::Desktop;
    return Key::None;
}

bool XdgRegistryStore::SetStringValue(RootKey root, const QString& subKey, const QString& name,
                                      const QString& data) {
    switch (keyOf(root, subKey)) {
    case Key::Run:
        if (!validEntryName(name) || !QDir().mkpath(AutostartFolder()))
            return false;
        return writeWhole(AutostartFolder() + QLatin1Char('/') + name + QStringLiteral(".desktop"),
                          AutostartEntryText(name, data).toUtf8());
    case Key::Desktop:
        if (!QDir().mkpath(configHome_ + QStringLiteral("/Tavorin")))
            return false;
        return profile::Write(DesktopRecordFile(), kDesktopSection, name, data);
    case Key::None:
        break;
    }
    return false;
}

bool XdgRegistryStore::DeleteValue(RootKey root, const QString& subKey, const QString& name) {
    switch (keyOf(root, subKey)) {
    case Key::Run:
        return validEntryName(name) && QFile::remove(AutostartFolder() + QLatin1Char('/') + name +
                                                     QStringLiteral(".desktop"));
    case Key::Desktop: {
        // The record keeps one value; an empty one reads as absent.
        return profile::Write(DesktopRecordFile(), kDesktopSection, name, QString());
    }
    case Key::None:
        break;
    }
    return false;
}

std::optional<QString> XdgRegistryStore::StringValue(RootKey root, const QString& subKey,
                                                     const QString& name) const {
    switch (keyOf(root, subKey)) {
    case Key::Run: {
        if (!validEntryName(name))
            return std::nullopt;
        const auto exec = profile::ReadFileVerbatim(
            AutostartFolder() + QLatin1Char('/') + name + QStringLiteral(".desktop"),
            QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
        if (!exec)
            return std::nullopt;
        return unquoteExec(*exec);
    }
    case Key::Desktop: {
        auto value = profile::Read(DesktopRecordFile(), kDesktopSection, name);
        if (value && value->isEmpty())
            return std::nullopt;
        return value;
    }
    case Key::None:
        break;
    }
    return std::nullopt;
}

} // namespace tavorin
