// The registry stand-in: Run key as XDG autostart entries, desktop key as Desktop.INI.
#include "platform/RegistryStore.h"

#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// Undoes the string-level escapes of a desktop entry value.
QString unescapeStringValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar n = value[++i];
            out += n == QLatin1Char('s')   ? QChar(QLatin1Char(' '))
                   : n == QLatin1Char('n') ? QChar(QLatin1Char('\n'))
                   : n == QLatin1Char('t') ? QChar(QLatin1Char('\t'))
                   : n == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                           : n;
        } else {
            out += value[i];
        }
    }
    return out;
}

// The arguments of an Exec value (string escapes already undone): plain
// words split at spaces, double-quoted ones with their backslash escapes
// undone, "%%" as a literal "%".
QStringList execArguments(const QString& exec) {
    QStringList args;
    QString arg;
    bool inArg = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size())
                arg += exec[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else if (c == QLatin1Char('%') && i + 1 < exec.size() && exec[i + 1] == c)
                arg += exec[++i];
            else
                arg += c;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArg)
                args << arg;
            arg.clear();
            inArg = false;
        } else {
            inArg = true;
            if (c == QLatin1Char('"'))
                quoted = true;
            else if (c == QLatin1Char('%') && i + 1 < exec.size() && exec[i + 1] == c)
                arg += exec[++i];
            else
                arg += c;
        }
    }
    if (inArg)
        args << arg;
    return args;
}

// Desktops that read entries through GIO look for the program of an Exec
// line before they turn "%%" back into "%", so a program whose path holds
// a "%" is never found there. Such a program is started by a fixed
// command that takes the path as its argument: the path is never read as
// a command.
const QStringList kPercentWrapper{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                  QStringLiteral("exec \"$0\"")};

// The program an Exec value starts: the inverse of DesktopEntryExec.
QString execProgram(const QString& exec) {
    const QStringList args = execArguments(unescapeStringValue(exec));
    if (args.size() == kPercentWrapper.size() + 1 &&
        args.mid(0, kPercentWrapper.size()) == kPercentWrapper)
        return args.last();
    return args.value(0);
}

// The autostart entry is written at every start: an entry that already
// says the same is left as it is.
bool writeUnlessSame(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.isFile() && info.size() == bytes.size()) {
        QFile old(path);
        if (old.open(QIODevice::ReadOnly) && old.read(bytes.size() + 1) == bytes)
            return true;
    }
    return profile::WriteWhole(path, bytes);
}

} // namespace

QString DesktopEntryExec(const QString& program) {
    QString quoted = quoteArgument(program);
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (program.contains(QLatin1Char('%'))) {
        QStringList words;
        for (const QString& word : kPercentWrapper)
            words << (word.contains(QLatin1Char(' ')) ? quoteArgument(word) : word);
        quoted = words.join(QLatin1Char(' ')) + QLatin1Char(' ') + quoted;
    }
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
        return writeUnlessSame(AutostartFolder() + QLatin1Char('/') + name +
                                   QStringLiteral(".desktop"),
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
        return execProgram(*exec);
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
