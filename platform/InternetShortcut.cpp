// Internet shortcut files: the URL= line of their [InternetShortcut] section.
#include "platform/InternetShortcut.h"

#include <QList>

namespace tavorin {

QString InternetShortcutUrl(const QByteArray& fileText) {
    QByteArray text = fileText;
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.mid(3);
    bool inSection = false;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            inSection = trimmed.compare("[InternetShortcut]", Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = trimmed.indexOf('=');
        if (inSection && eq > 0 &&
            trimmed.left(eq).trimmed().compare("URL", Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(trimmed.mid(eq + 1).trimmed());
    }
    return {};
}

} // namespace tavorin
