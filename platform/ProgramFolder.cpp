// The program folder: where the program, its data and its own files lie.
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace tavorin {

ProgramFolder::ProgramFolder(QString folder, QString dataHome)
    : folder_(QDir::cleanPath(std::move(folder))), dataHome_(std::move(dataHome)) {
    if (dataHome_.isEmpty()) {
        QString base = qEnvironmentVariable("XDG_DATA_HOME");
        if (base.isEmpty() || !QDir::isAbsolutePath(base))
            base = QDir::homePath() + QStringLiteral("/.local/share");
        dataHome_ = base + QStringLiteral("/Tavorin");
    }
}

QString ProgramFolder::DataFile(const QString& relative) const {
    return folder_ + QLatin1Char('/') + relative;
}

bool ProgramFolder::writable() const {
    const QByteArray path = QFile::encodeName(folder_);
    return ::access(path.constData(), W_OK | X_OK) == 0;
}

QString ProgramFolder::OwnFile(const QString& name) const {
    if (writable())
        return folder_ + QLatin1Char('/') + name;
    QDir().mkpath(dataHome_);
    return dataHome_ + QLatin1Char('/') + name;
}

QString ProgramFolder::OfRunningProgram() {
    return QCoreApplication::applicationDirPath();
}

} // namespace tavorin
