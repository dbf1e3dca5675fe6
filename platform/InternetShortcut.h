#pragma once

#include <QByteArray>
#include <QString>

namespace tavorin {

// The URL= line of an internet shortcut's [InternetShortcut] section
// (section and key names in any case, a byte order mark and CR line ends
// accepted), the URL taken as it stands; empty when there is none.
QString InternetShortcutUrl(const QByteArray& fileText);

} // namespace tavorin
