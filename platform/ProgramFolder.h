#pragma once

#include <QString>

namespace tavorin {

// The program folder: where the program, its delivered data and its own
// files live. When the folder cannot be written (a system-wide install),
// the files the program writes go to $XDG_DATA_HOME/Tavorin instead.
class ProgramFolder {
  public:
    // dataHome: the folder that stands in for a read-only program folder.
    // Empty means $XDG_DATA_HOME/Tavorin (or ~/.local/share/Tavorin).
    explicit ProgramFolder(QString folder, QString dataHome = {});

    // The folder of the program and its delivered data ("App.Path").
    const QString& App_Path() const { return folder_; }
    // A data file delivered with the program, e.g. "Skins/Metalic.jpg".
    QString DataFile(const QString& relative) const;
    // One of the files the program writes itself: "Settings.INI",
    // "Tavorin.tl", "Temp.bmp". Decided here, and only here.
    QString OwnFile(const QString& name) const;

    // The folder of the running executable.
    static QString OfRunningProgram();

  private:
    bool writable() const;

    QString folder_;
    QString dataHome_;
};

} // namespace tavorin
