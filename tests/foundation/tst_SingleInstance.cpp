#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace tavorin;

// One running copy per program folder, found through a lock file.
class tst_SingleInstance : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();

    void secondInstanceOfSameFolderIsDetected();
    void otherFolderIsNotAnInstance();
    void sameFolderWrittenDifferentlyIsTheSameProgram();
    void lockOfACrashedCopyDoesNotBlock();
    void programsStartedByTheCopyDoNotKeepTheLock();
    void lockThatCannotBeMadeDoesNotStopTheStart();
    void missingRuntimeFolderFallsBackToTemp();

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString runtime_;
    QString program_;
};

void tst_SingleInstance::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    runtime_ = dir_->path() + "/run";
    program_ = dir_->path() + "/Program Folder";
    QDir().mkpath(runtime_);
    QDir().mkpath(program_);
}

// The later copy calls the running one; a call made while the running copy
// is still starting waits until it listens.
void tst_SingleInstance::secondInstanceOfSameFolderIsDetected() {
    LockFileInstance first(program_, runtime_);
    LockFileInstance second(program_, runtime_);
    QVERIFY(!second.CallRunningCopy()); // nobody runs yet
    QVERIFY(!first.PrevInstance());
    QVERIFY(!first.PrevInstance()); // asking again is not a second copy
    QVERIFY(second.PrevInstance());
    QCOMPARE(first.LockPath(), second.LockPath());
    QVERIFY(first.LockPath().startsWith(runtime_ + '/'));
    QVERIFY(second.CallRunningCopy());
    int calls = 0;
    first.Listen([&] { ++calls; });
    QTRY_COMPARE(calls, 1);
    QVERIFY(second.CallRunningCopy());
    QTRY_COMPARE(calls, 2);
}

void tst_SingleInstance::otherFolderIsNotAnInstance() {
    const QString other = dir_->path() + "/Other Folder";
    QDir().mkpath(other);
    LockFileInstance first(program_, runtime_);
    LockFileInstance second(other, runtime_);
    QVERIFY(!first.PrevInstance());
    QVERIFY(!second.PrevInstance());
    QVERIFY(first.LockPath() != second.LockPath());
}

void tst_SingleInstance::sameFolderWrittenDifferentlyIsTheSameProgram() {
    const QString link = dir_->path() + "/link";
    QVERIFY(QFile::link(program_, link));
    LockFileInstance first(program_, runtime_);
    LockFileInstance trailing(program_ + "/", runtime_);
    LockFileInstance viaLink(link, runtime_);
    QVERIFY(!first.PrevInstance());
    QVERIFY(trailing.PrevInstance());
    QVERIFY(viaLink.PrevInstance());
}

void tst_SingleInstance::lockOfACrashedCopyDoesNotBlock() {
    const QString lockPath = LockFileInstance(program_, runtime_).LockPath();
    // A copy that takes the lock and dies without letting go of it.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        LockFileInstance crashing(program_, runtime_);
        ::_exit(crashing.PrevInstance() ? 1 : 0); // no clean-up of any kind
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFile::exists(lockPath)); // left behind
    QFile left(lockPath);
    QVERIFY(left.open(QIODevice::ReadOnly));
    QCOMPARE(left.readLine().trimmed().toLongLong(), qint64(child));

    LockFileInstance next(program_, runtime_);
    QVERIFY(!next.PrevInstance());
    // ...and the next start holds the lock now.
    LockFileInstance third(program_, runtime_);
    QVERIFY(third.PrevInstance());
}

void tst_SingleInstance::programsStartedByTheCopyDoNotKeepTheLock() {
    QProcess child;
    {
        LockFileInstance first(program_, runtime_);
        QVERIFY(!first.PrevInstance());
        // A program the running copy opened (a viewer, a desktop helper)
        // outlives it.
        child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(child.waitForStarted());
    }
    LockFileInstance next(program_, runtime_);
    QVERIFY(!next.PrevInstance());
    child.kill();
    child.waitForFinished();
}

void tst_SingleInstance::lockThatCannotBeMadeDoesNotStopTheStart() {
    LockFileInstance blocked(program_, runtime_);
    // The runtime folder went away under the program: no lock can be made.
    QVERIFY(QDir(runtime_).removeRecursively());
    QVERIFY(!blocked.PrevInstance());
    QVERIFY(!QFile::exists(blocked.LockPath()));
}

void tst_SingleInstance::missingRuntimeFolderFallsBackToTemp() {
    LockFileInstance instance(program_, dir_->path() + "/no such folder");
    QVERIFY(instance.LockPath().startsWith(QDir::tempPath() + '/'));
    QVERIFY(!instance.PrevInstance());
}

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
