#pragma once

#include "platform/Shell.h"

#include <QByteArray>
#include <QString>

namespace tavorin {

// Opens documents with the desktop's default program through GIO, never
// through a shell. An internet shortcut (.url) is opened as its URL.
class GioShell final : public IShell {
  public:
    int ShellExecuteOpen(const QString& path) override;
    void OpenWith(const QString& path) override;
};

// The URL= line of an internet shortcut's [InternetShortcut] section,
// taken verbatim; empty when there is none.
QString InternetShortcutUrl(const QByteArray& fileText);

} // namespace tavorin
