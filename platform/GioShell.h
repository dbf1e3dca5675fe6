#pragma once

#include "platform/InternetShortcut.h"
#include "platform/OpenWithDialog.h"
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

// The programs the "Open with" chooser offers for a document: those the
// desktop knows for its type (for an internet shortcut, for its URL's
// scheme), or every program when none does.
QList<OpenWithDialog::Program> OpenWithPrograms(const QString& path);
// Opens the document (an internet shortcut: its URL) with the program of
// that desktop id. False when there is no such program or it did not start.
bool OpenWithProgram(const QString& path, const QString& programId);

} // namespace tavorin
