#include "platform/GioModule.h"
#include "platform/wallpaper/GSettingsFamily.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tavorin;

// The program's way to the GIO parts: libtavorin-gio.so in the program
// folder, loaded on first use; a folder without it fails cleanly.
class tst_GioModule : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir empty_;
    const QString built_ = QStringLiteral(TAVORIN_PROGRAM_DIR);

  private Q_SLOTS:
    void theModuleIsBuiltIntoTheProgramFolder() {
        QVERIFY(QFile::exists(QDir(built_).filePath(GioModuleFileName())));
    }

    void theShellComesFromTheModule() {
        // Only the loaded shell tells a missing document apart; the stand-in
        // without the module answers its general failure.
        const auto shell = MakeGioModuleShell(built_);
        QCOMPARE(shell->ShellExecuteOpen(empty_.filePath(QStringLiteral("none.txt"))),
                 IShell::kFileNotFound);
    }

    void withoutTheModuleNothingOpens() {
        const auto shell = MakeGioModuleShell(empty_.path());
        const int result = shell->ShellExecuteOpen(empty_.filePath(QStringLiteral("none.txt")));
        QVERIFY(result != IShell::kFileNotFound && result <= 32);
        shell->OpenWith(empty_.filePath(QStringLiteral("none.txt"))); // returns, no dialog
    }

    void theWallpaperIsNamedBeforeTheModuleLoads() {
        QCOMPARE(MakeGioModuleWallpaper(GSettingsFamily::Gnome, empty_.path())->Name(),
                 QStringLiteral("GNOME"));
        QCOMPARE(MakeGioModuleWallpaper(GSettingsFamily::Cinnamon, empty_.path())->Name(),
                 QStringLiteral("Cinnamon"));
        QCOMPARE(MakeGioModuleWallpaper(GSettingsFamily::Mate, empty_.path())->Name(),
                 QStringLiteral("MATE"));
    }

    void withoutTheModuleTheWallpaperSaysWhy() {
        const auto wallpaper = MakeGioModuleWallpaper(GSettingsFamily::Gnome, empty_.path());
        QString error;
        QVERIFY(!wallpaper->Apply(QStringLiteral("/nowhere/a.jpg"), &error));
        QVERIFY2(error.contains(QLatin1String("module")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_GioModule)
#include "tst_GioModule.moc"
