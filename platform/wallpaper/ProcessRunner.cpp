// Runs a program with an argument list, never through a shell, and waits for it.
#include "platform/wallpaper/ProcessRunner.h"

#include "platform/wallpaper/WallpaperBackend.h"

#include <QProcess>
#include <QStandardPaths>

namespace tavorin {

bool QtProcessRunner::Run(const QString& program, const QStringList& arguments, QString* error) {
    const QString executable = QStandardPaths::findExecutable(program);
    if (executable.isEmpty())
        return Fail(error, QStringLiteral("%1 is not installed").arg(program));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(executable, arguments);
    if (!process.waitForStarted(timeoutMs_))
        return Fail(error,
                    QStringLiteral("%1 did not start: %2").arg(program, process.errorString()));
    if (!process.waitForFinished(timeoutMs_)) {
        process.kill();
        process.waitForFinished(1000);
        return Fail(error, QStringLiteral("%1 did not finish in time").arg(program));
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return Fail(error, QStringLiteral("%1 crashed").arg(program));
    if (process.exitCode() != 0) {
        const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
        return Fail(error, QStringLiteral("%1 failed with exit code %2%3")
                               .arg(program)
                               .arg(process.exitCode())
                               .arg(output.isEmpty() ? QString() : QStringLiteral(": ") + output));
    }
    return true;
}

} // namespace tavorin
