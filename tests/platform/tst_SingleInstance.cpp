// One running copy per program folder, found through a lock file; the later
// copy calls the running one.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavorin;

class tst_SingleInstance : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    const QString runtime = dir.path() + "/run", program = dir.path() + "/Program Folder";

  private Q_SLOTS:
    void initTestCase() {
        QDir().mkpath(program + "/../Other Folder");
        QFile::link(program, dir.path() + "/link");
    }
    void init() { QDir().mkpath(runtime); }
    void cleanup() { QDir(runtime).removeRecursively(); }
    // A call made while the running copy is still starting waits until it listens.
    void laterCopyCallsTheRunningOne() {
        LockFileInstance first(program, runtime), second(program + "/", runtime);
        LockFileInstance viaLink(dir.path() + "/link", runtime),
            other(dir.path() + "/Other Folder", runtime);
        QVERIFY(!second.CallRunningCopy()); // nobody runs yet
        QVERIFY(!first.PrevInstance());
        QVERIFY(!first.PrevInstance()); // asking again is not a second copy
        QVERIFY(second.PrevInstance());
        QVERIFY(viaLink.PrevInstance());
        QVERIFY(!other.PrevInstance());
        QVERIFY(second.CallRunningCopy());
        int calls = 0;
        first.Listen([&] { ++calls; });
        QTRY_COMPARE(calls, 1);
    }
    void lockOfACrashedCopyDoesNotBlock() {
        const pid_t child = ::fork(); // takes the lock and dies holding it
        QVERIFY(child >= 0);
        if (child == 0)
            ::_exit(LockFileInstance(program, runtime).PrevInstance() ? 1 : 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        LockFileInstance next(program, runtime), third(program, runtime);
        QVERIFY(QFile::exists(next.LockPath())); // left behind
        QVERIFY(!next.PrevInstance());
        QVERIFY(third.PrevInstance()); // the next start holds it now
    }
};

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
