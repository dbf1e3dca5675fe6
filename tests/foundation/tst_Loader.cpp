#include "app/Loader.h"
#include "platform/ProgramFolder.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QFile>
#include <QImage>
#include <QTest>

using namespace tavorin;

namespace {
const QString kDesktop = QStringLiteral("Control Panel\\Desktop");

// A stand-in for the program: records its working folder and the settings
// it found at its start, then ends.
const QByteArray kProgramScript = "#!/bin/sh\n"
                                  "cat Settings.INI > seen.tmp\n"
                                  "pwd > started.tmp\n"
                                  "mv seen.tmp seen\n"
                                  "mv started.tmp started\n";
} // namespace

// The companion starter: "Loader" = "1", the classic wallpaper put back,
// then the program from the same folder.
class tst_Loader : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();

    void signalsLogOnStartThenStartsTheProgram();
    void keepsOtherSettings();
    void missingProgramIsReportedAfterTheSignal();
    void reappliesTheRecordedClassicWallpaper();
    void noRecordOrMissingPictureAppliesNothing();

  private:
    std::unique_ptr<test::TempProgramFolder> folder_;
    std::unique_ptr<test::FakePlatform> platform_;
    void installProgram() const {
        const QString path = folder_->write("Tavorin", kProgramScript);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

void tst_Loader::init() {
    folder_ = std::make_unique<test::TempProgramFolder>();
    platform_ = std::make_unique<test::FakePlatform>(folder_->path());
}

void tst_Loader::cleanup() {
    platform_.reset();
    folder_.reset();
}

void tst_Loader::signalsLogOnStartThenStartsTheProgram() {
    installProgram();
    QVERIFY(RunLoader(platform_->services.folder, platform_->registry, platform_->wallpaper));
    // Waiting for another process to run, not for a clock.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder_->file("started")), 10000);
    QCOMPARE(folder_->read("started").trimmed(), folder_->path().toUtf8());
    // The program found the signal already written.
    QCOMPARE(folder_->read("seen"), QByteArray("[Settings]\nLoader=1\n"));
}

void tst_Loader::keepsOtherSettings() {
    folder_->write("Settings.INI",
                   "[Settings]\r\nLoader=0\r\nchange=Startup\r\n[Memory]\r\nX=3\r\n");
    QVERIFY(SignalLogOnStart(platform_->services.folder));
    QCOMPARE(folder_->read("Settings.INI"),
             QByteArray("[Settings]\r\nLoader=1\r\nchange=Startup\r\n[Memory]\r\nX=3\r\n"));
}

void tst_Loader::missingProgramIsReportedAfterTheSignal() {
    QVERIFY(!RunLoader(platform_->services.folder, platform_->registry, platform_->wallpaper));
    QCOMPARE(folder_->read("Settings.INI"), QByteArray("[Settings]\nLoader=1\n"));
}

void tst_Loader::reappliesTheRecordedClassicWallpaper() {
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString bmp = folder_->file("Temp.bmp");
    QVERIFY(picture.save(bmp, "BMP"));
    platform_->registry.SetStringValue(RootKey::CurrentUser, kDesktop, "Wallpaper", bmp);
    installProgram();
    QVERIFY(RunLoader(platform_->services.folder, platform_->registry, platform_->wallpaper));
    QCOMPARE(platform_->wallpaper.calls.size(), 1);
    QCOMPARE(platform_->wallpaper.calls[0].method, QStringLiteral("classic"));
    QCOMPARE(platform_->wallpaper.calls[0].path, bmp);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder_->file("started")), 10000);
}

void tst_Loader::noRecordOrMissingPictureAppliesNothing() {
    ReapplyClassicWallpaper(platform_->registry, platform_->wallpaper);
    QVERIFY(platform_->wallpaper.calls.isEmpty());
    platform_->registry.SetStringValue(RootKey::CurrentUser, kDesktop, "Wallpaper",
                                       folder_->file("deleted.bmp"));
    ReapplyClassicWallpaper(platform_->registry, platform_->wallpaper);
    QVERIFY(platform_->wallpaper.calls.isEmpty());
    // A folder is not a picture either.
    platform_->registry.SetStringValue(RootKey::CurrentUser, kDesktop, "Wallpaper",
                                       folder_->path());
    ReapplyClassicWallpaper(platform_->registry, platform_->wallpaper);
    QVERIFY(platform_->wallpaper.calls.isEmpty());
}

QTEST_GUILESS_MAIN(tst_Loader)
#include "tst_Loader.moc"
