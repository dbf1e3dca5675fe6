#include "tests/support/TestPictures.h"
#include "browser/BrowseRules.h"
#include "browser/DirListBox.h"
#include "browser/ThumbList.h"
#include "browser/frmBrowse.h"
#include "engine/PictureTarget.h"
#include "settings/Module1.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"
#include "viewer/frmFullscreen.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace tavorin;
using namespace tavorin::browse;
using tavorin::test::ReadFile;
using tavorin::test::WriteHostileFiles;
using tavorin::test::WritePicture;

namespace {

class RecordingTarget final : public PictureTarget {
  public:
    QStringList appended;
    QStringList wallpapers;
    void Append_Picture(const QString& path) override { appended << path; }
    void Set_Wallpaper(QString& path) override { wallpapers << path; }
};

struct VolumeState {
    QStringList drives;
    QStringList notReady;
};

class FakeVolumes final : public IVolumes {
  public:
    explicit FakeVolumes(std::shared_ptr<VolumeState> state) : state_(std::move(state)) {}
    QStringList Drives() const override { return state_->drives; }
    bool IsReady(const QString& drive) const override { return !state_->notReady.contains(drive); }

  private:
    std::shared_ptr<VolumeState> state_;
};

QString key(const frmBrowse& w, int row) {
    return w.flb->item(row)->data(ThumbList::kKeyRole).toString();
}

// Titles the window showed, in order.
QStringList titles(const QSignalSpy& spy) {
    QStringList list;
    for (const QList<QVariant>& args : spy)
        list << args.at(0).toString();
    return list;
}

int viewersOpen() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmFullscreen*>(w) && w->isVisible())
            ++n;
    return n;
}

void closeViewers() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmFullscreen*>(w))
            w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class tst_frmBrowse : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();

    void scanShowsPicturesInListingOrderWithProgress();
    void scanOfFolderWithoutPicturesEndsEmpty();
    void undecodablePictureGetsEmptyCellNotThePrevious();
    void hostileFolderIsShownAsFarAsPossible();
    void filterChangeRescansAndStores();
    void firstScanIsNotStoredLaterOnesAre();
    void driveChangeScansWithoutStoringThenFolderIsStored();
    void reactivationReturnsToStoredFolder();
    void reactivationOnSameFolderDoesNotScan();
    void aDeadNetworkMountIsNeverTouched();
    void unloadForgetsToStore();
    void longStoredFolderIsCutAndNotRestored();
    void driveNotReadyFallsBackToRoot();
    void rootNotReadyDoesNotLoop();
    void vanishedFolderIsNotEntered();
    void clickRecordDecidesWhatIsAdded_data();
    void clickRecordDecidesWhatIsAdded();
    void emptyClickHidesPreviewAndDisablesCommands();
    void wallpaperOnlyWithOnePictureRecorded();
    void previewFitsTheBox();
    void unreadablePictureIsNotPreviewed();
    void doubleClickOpensViewer();
    void helpOpensSubReference();
    void layoutFollowsSizeAndKeepsMinimum();
    void neverWritesAnythingButInitDir();

  private:
    std::unique_ptr<frmBrowse> makeWindow();
    void show(frmBrowse& w);
    void click(frmBrowse& w, int row, Qt::KeyboardModifiers mods = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton);
    void clickEmpty(frmBrowse& w);
    QString folderWithPictures(const QString& name, int count);
    QString initDir() const { return module->GetINIFile("Settings", "InitDir"); }

    std::unique_ptr<test::TempProgramFolder> program;
    std::unique_ptr<test::FakePlatform> platform;
    std::unique_ptr<Module1> module;
    RecordingTarget target;
    std::shared_ptr<VolumeState> volumes;
    QString usb; // a second "drive"
};

void tst_frmBrowse::init() {
    program = std::make_unique<test::TempProgramFolder>();
    platform = std::make_unique<test::FakePlatform>(program->path());
    module = std::make_unique<Module1>(platform->services);
    target = RecordingTarget();
    QDir().mkpath(program->root() + "/home");
    usb = program->root() + "/usb";
    QDir().mkpath(usb + "/DCIM");
    volumes = std::make_shared<VolumeState>();
    volumes->drives = {"/", usb};
}

void tst_frmBrowse::cleanup() {
    closeViewers();
    module.reset();
    platform.reset();
    program.reset();
}

std::unique_ptr<frmBrowse> tst_frmBrowse::makeWindow() {
    auto w = std::make_unique<frmBrowse>(*module, target, nullptr,
                                         std::make_unique<FakeVolumes>(volumes));
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    return w;
}

void tst_frmBrowse::show(frmBrowse& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

void tst_frmBrowse::click(frmBrowse& w, int row, Qt::KeyboardModifiers mods,
                          Qt::MouseButton button) {
    const QRect rect = w.flb->visualItemRect(w.flb->item(row));
    QTest::mouseClick(w.flb->viewport(), button, mods, rect.center());
}

void tst_frmBrowse::clickEmpty(frmBrowse& w) {
    QTest::mouseClick(w.flb->viewport(), Qt::LeftButton, Qt::NoModifier,
                      w.flb->viewport()->rect().bottomRight() - QPoint(5, 5));
}

QString tst_frmBrowse::folderWithPictures(const QString& name, int count) {
    const QString folder = program->root() + "/" + name;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i)
        WritePicture(folder + QStringLiteral("/pic%1.bmp").arg(i), QSize(40 + i, 30 + i),
                     QColor(200, 30 + 40 * i, 30), "BMP");
    return folder;
}

// ------------------------------------------------------------------ the scan

void tst_frmBrowse::scanShowsPicturesInListingOrderWithProgress() {
    const QString folder = folderWithPictures("three", 3);
    WritePicture(folder + "/x.png", QSize(10, 10), Qt::red, "PNG");
    WritePicture(folder + "/photo.jpeg", QSize(10, 10), Qt::red, "JPG");
    QDir().mkpath(folder + "/sub.jpg");
    auto w = makeWindow();
    QSignalSpy spy(w.get(), &QWidget::windowTitleChanged);
    QVERIFY(w->dlb->setPath(folder));

    const QStringList expected = FilterFiles(List_Files(folder), DefaultFileType());
    QCOMPARE(expected.size(), 3);
    QCOMPARE(w->colFiles(), expected);
    QCOMPARE(w->flb->count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(key(*w, i), expected.at(i));
        const int n = QFileInfo(expected.at(i)).baseName().mid(3).toInt();
        QCOMPARE(w->flb->item(i)->text(),
                 Get_FileName(expected.at(i)) +
                     QStringLiteral(" \r\n%1 * %2").arg(40 + n).arg(30 + n));
        const QImage icon = w->flb->item(i)->icon().pixmap(kCellPixels).toImage();
        QCOMPARE(icon.size(), kCellPixels);
        QCOMPARE(QColor(icon.pixel(51, 38)).green(), 30 + 40 * n); // its own picture
    }
    QCOMPARE(titles(spy), QStringList({"GENERATING PREVIEWS  33.33%", "GENERATING PREVIEWS  66.67%",
                                       "GENERATING PREVIEWS  100.00%", "Image Browser"}));
    QVERIFY(w->strLastKey().isEmpty());
}

void tst_frmBrowse::scanOfFolderWithoutPicturesEndsEmpty() {
    const QString empty = program->root() + "/nothing";
    QDir().mkpath(empty);
    const QString other = folderWithPictures("other", 1);
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(other)); // the first scan
    QSignalSpy spy(w.get(), &QWidget::windowTitleChanged);
    QVERIFY(w->dlb->setPath(empty));
    QCOMPARE(w->flb->count(), 0);
    QCOMPARE(w->windowTitle(), QStringLiteral("Image Browser"));
    QCOMPARE(spy.count(), 0); // no progress, and the caption never changed
    QCOMPARE(initDir(), empty);
}

void tst_frmBrowse::undecodablePictureGetsEmptyCellNotThePrevious() {
    const QString folder = program->root() + "/mixed";
    QDir().mkpath(folder);
    WritePicture(folder + "/good.bmp", QSize(1024, 768), Qt::red, "BMP");
    QFile broken(folder + "/broken.jpg");
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    WritePicture(folder + "/after.bmp", QSize(20, 20), Qt::blue, "BMP");
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folder));
    QCOMPARE(w->flb->count(), 3);
    const QColor background = w->flb->palette().color(QPalette::Base);
    for (int i = 0; i < 3; ++i) {
        const QImage icon = w->flb->item(i)->icon().pixmap(kCellPixels).toImage();
        if (key(*w, i).endsWith("broken.jpg")) {
            QCOMPARE(w->flb->item(i)->text(), QStringLiteral("broken.jpg"));
            for (const QPoint p : {QPoint(0, 0), QPoint(51, 38), QPoint(101, 76)})
                QCOMPARE(QColor(icon.pixel(p)), background);
        } else {
            QVERIFY(w->flb->item(i)->text().contains(" * "));
        }
    }
}

void tst_frmBrowse::hostileFolderIsShownAsFarAsPossible() {
    const QString folder = program->root() + "/hostile";
    QDir().mkpath(folder);
    const QStringList names = WriteHostileFiles(folder);
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folder));
    QCOMPARE(w->flb->count(), names.size()); // one item for every kept file
    for (int i = 0; i < w->flb->count(); ++i) {
        const QString name = Get_FileName(key(*w, i));
        if (name.startsWith("bad-"))
            QCOMPARE(w->flb->item(i)->text(), name);
    }
    QCOMPARE(w->windowTitle(), QStringLiteral("Image Browser"));
}

void tst_frmBrowse::filterChangeRescansAndStores() {
    const QString folder = folderWithPictures("filter", 2);
    WritePicture(folder + "/only.gif", QSize(8, 8), Qt::red, "GIF");
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folder));
    QCOMPARE(w->flb->count(), 3);
    QCOMPARE(initDir(), QString());     // the first scan is not stored
    w->cboFileType->setCurrentIndex(2); // GIF
    w->cboFileType_Click();
    QCOMPARE(w->flb->count(), 1);
    QCOMPARE(Get_FileName(key(*w, 0)), QStringLiteral("only.gif"));
    QCOMPARE(initDir(), folder);
    w->cboFileType_Click(); // again, unchanged
    QCOMPARE(initDir(), folder);
}

void tst_frmBrowse::firstScanIsNotStoredLaterOnesAre() {
    const QString a = folderWithPictures("a", 1);
    const QString b = folderWithPictures("b", 1);
    auto w = makeWindow();
    QVERIFY(!w->blnSaveDir());
    QVERIFY(w->dlb->setPath(a));
    QCOMPARE(initDir(), QString());
    QVERIFY(w->blnSaveDir());
    QVERIFY(w->dlb->setPath(b));
    QCOMPARE(initDir(), b);
}

void tst_frmBrowse::driveChangeScansWithoutStoringThenFolderIsStored() {
    const QString a = folderWithPictures("a", 1);
    WritePicture(usb + "/DCIM/cam.jpg", QSize(64, 48), Qt::green, "JPG");
    WritePicture(usb + "/top.bmp", QSize(8, 8), Qt::green, "BMP");
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(a));
    QVERIFY(w->dlb->setPath(a + "/..")); // stored
    QVERIFY(w->dlb->setPath(a));         // stored
    QCOMPARE(initDir(), a);

    QVERIFY(w->setDrive(usb));
    QCOMPARE(w->dlb->Path(), usb); // the drive's current folder: its root at first
    QCOMPARE(w->flb->count(), 1);
    QCOMPARE(initDir(), a); // not stored
    QVERIFY(w->blnSaveDir());

    QVERIFY(w->dlb->setPath(usb + "/DCIM"));
    QCOMPARE(initDir(), usb + "/DCIM");

    // Back to the first drive: its own current folder, again not stored.
    QVERIFY(w->setDrive("/"));
    QCOMPARE(w->dlb->Path(), a);
    QCOMPARE(initDir(), usb + "/DCIM");
    // And the other drive remembers where it was.
    QVERIFY(w->setDrive(usb));
    QCOMPARE(w->dlb->Path(), usb + "/DCIM");
}

void tst_frmBrowse::reactivationReturnsToStoredFolder() {
    const QString a = folderWithPictures("a", 2);
    WritePicture(usb + "/top.bmp", QSize(8, 8), Qt::green, "BMP");
    module->WriteINIFile("Settings", "InitDir", a);
    auto w = makeWindow();
    show(*w);
    QApplication::setActiveWindow(w.get()); // first showing restores a: its first scan
    QCOMPARE(w->dlb->Path(), a);
    QCOMPARE(w->flb->count(), 2);

    QVERIFY(w->setDrive(usb)); // another drive only, not stored
    QCOMPARE(w->flb->count(), 1);
    QCOMPARE(initDir(), a);

    // Away to another application and back: the window stays where it is.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(w.get());
    QCOMPARE(w->Drive(), usb);

    // A window of ours (the viewer, a dialog) opened and closed: the
    // window becomes active again from within the program.
    QWidget dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.close();
    QApplication::setActiveWindow(w.get());
    QCOMPARE(w->Drive(), QStringLiteral("/"));
    QCOMPARE(w->dlb->Path(), a);
    QCOMPARE(w->flb->count(), 2);
    QCOMPARE(initDir(), a);
}

// A network mount that no longer answers (each call sleeps) while the
// window starts and activates: the drive list comes from the kernel's list
// of mounts, and nothing calls the dead file system.
void tst_frmBrowse::aDeadNetworkMountIsNeverTouched() {
    const QString mount = program->root() + "/nas";
    const QString calls = program->root() + "/calls";
    QDir().mkpath(mount);
    QProcess fs;
    fs.start("/usr/bin/python3", {QFINDTESTDATA("DeadMount.py"), calls, mount, "-f", "-s"});
    const auto unmount = qScopeGuard([&] {
        QProcess::execute("umount", {"-l", mount});
        fs.kill();
        fs.waitForFinished();
    });
    const auto mounted = [&] {
        return ReadFile("/proc/self/mountinfo").contains(" " + mount.toUtf8() + " ");
    };
    QTRY_VERIFY_WITH_TIMEOUT(mounted(), 10000);
    const QByteArray before = ReadFile(calls); // what mounting itself asked
    module->WriteINIFile("Settings", "InitDir", folderWithPictures("a", 1));
    frmBrowse w(*module, target);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    show(w);
    QApplication::setActiveWindow(&w);
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&w);
    QCOMPARE(w.flb->count(), 1);
    QCOMPARE(ReadFile(calls), before);
}

void tst_frmBrowse::reactivationOnSameFolderDoesNotScan() {
    const QString a = folderWithPictures("a", 1);
    module->WriteINIFile("Settings", "InitDir", a);
    auto w = makeWindow();
    w->Form_Activate();
    QSignalSpy spy(w.get(), &QWidget::windowTitleChanged);
    w->Form_Activate();
    w->Form_Activate();
    QCOMPARE(spy.count(), 0);

    // An empty stored folder leaves the lists where they are.
    module->WriteINIFile("Settings", "InitDir", "");
    auto fresh = makeWindow();
    const QString start = fresh->dlb->Path();
    QSignalSpy freshSpy(fresh.get(), &QWidget::windowTitleChanged);
    fresh->Form_Activate();
    QCOMPARE(fresh->dlb->Path(), start);
    QCOMPARE(freshSpy.count(), 0);
}

void tst_frmBrowse::unloadForgetsToStore() {
    const QString a = folderWithPictures("a", 1);
    const QString b = folderWithPictures("b", 1);
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(a));
    QVERIFY(w->blnSaveDir());
    w->Form_Unload();
    QVERIFY(!w->blnSaveDir());
    QVERIFY(w->dlb->setPath(b));
    QCOMPARE(initDir(), QString());
}

void tst_frmBrowse::longStoredFolderIsCutAndNotRestored() {
    QString deep = program->root() + "/";
    while (deep.size() < 100)
        deep += "abcdefghij";
    QDir().mkpath(deep);
    const QString a = folderWithPictures("a", 1);
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(a));
    QVERIFY(w->dlb->setPath(deep));
    QCOMPARE(initDir(), deep.left(79)); // read back cut
    QVERIFY(!QFileInfo(deep.left(79)).exists());

    auto again = makeWindow();
    const QString start = again->dlb->Path();
    again->Form_Activate();
    QCOMPARE(again->dlb->Path(), start);
}

void tst_frmBrowse::driveNotReadyFallsBackToRoot() {
    const QString a = folderWithPictures("a", 1);
    volumes->notReady = {usb};
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(a));
    QVERIFY(w->setDrive(usb));
    QCOMPARE(w->Drive(), QStringLiteral("/"));
    QCOMPARE(w->dlb->Path(), a); // the root drive's current folder
}

void tst_frmBrowse::rootNotReadyDoesNotLoop() {
    volumes->notReady = {"/", usb};
    auto w = makeWindow();
    QVERIFY(w->setDrive(usb));
    QCOMPARE(w->Drive(), QStringLiteral("/"));
    QVERIFY(!w->setDrive("/nonexistent-drive"));
}

void tst_frmBrowse::vanishedFolderIsNotEntered() {
    const QString a = folderWithPictures("a", 2);
    const QString gone = folderWithPictures("gone", 1);
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(a));
    QVERIFY(QDir(gone).removeRecursively());
    QVERIFY(!w->dlb->setPath(gone));
    QCOMPARE(w->dlb->Path(), a);
    QCOMPARE(w->flb->count(), 2);
    // A drive whose current folder has gone opens at its root.
    QVERIFY(w->setDrive(usb));
    QVERIFY(w->dlb->setPath(usb + "/DCIM"));
    QVERIFY(w->setDrive("/"));
    QVERIFY(QDir(usb + "/DCIM").removeRecursively());
    QVERIFY(w->setDrive(usb));
    QCOMPARE(w->dlb->Path(), usb);
    QVERIFY(w->setDrive("/"));
    QCOMPARE(w->dlb->Path(), a);
    // The current folder itself vanishes: a rescan shows nothing, quietly.
    QVERIFY(QDir(a).removeRecursively());
    w->cboFileType_Click();
    QCOMPARE(w->flb->count(), 0);
    QCOMPARE(w->windowTitle(), QStringLiteral("Image Browser"));
}

// ------------------------------------------------------------ clicks and adding

// Clicks on rows 0..2, one a word: "^" holds Ctrl, "r" is the right
// button; then Add, `adds` times. A plain click starts a new record, so
// does a right click after a right click; Ctrl-clicks add to it (a second
// Ctrl-click on a row deselects it but records it again; it is added once).
void tst_frmBrowse::clickRecordDecidesWhatIsAdded_data() {
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("adds");
    QTest::addColumn<QString>("appended");
    QTest::addColumn<QString>("info");
    QTest::newRow("plain then ctrl") << "0 ^1 ^2"
                                     << "012" << 1 << "012"
                                     << "Total: 3 images";
    QTest::newRow("ctrl again") << "0 ^1 ^0"
                                << "010" << 1 << "01"
                                << "Total: 2 images";
    QTest::newRow("plain starts anew") << "0 1 1"
                                       << "1" << 1 << "1"
                                       << "Total: 1 image";
    QTest::newRow("add twice") << "1"
                               << "1" << 2 << "11"
                               << "Total: 2 images";
    QTest::newRow("right pairs") << "^0 ^r1"
                                 << "01" << 1 << "01"
                                 << "Total: 2 images";
    QTest::newRow("right pair anew") << "^0 ^r1 ^r2"
                                     << "2" << 1 << "2"
                                     << "Total: 1 image";
}

void tst_frmBrowse::clickRecordDecidesWhatIsAdded() {
    QFETCH(QString, clicks);
    QFETCH(QString, record);
    QFETCH(int, adds);
    QFETCH(QString, appended);
    QFETCH(QString, info);
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folderWithPictures("p", 3)));
    show(*w);
    const auto keys = [&w](const QString& rows) {
        QStringList list;
        for (QChar row : rows)
            list << key(*w, row.digitValue());
        return list;
    };
    for (const QString& one : clicks.split(' ')) {
        const bool right = one.contains('r');
        click(*w, one.back().digitValue(),
              one.startsWith('^') ? Qt::ControlModifier : Qt::NoModifier,
              right ? Qt::RightButton : Qt::LeftButton);
        if (right) { // the right button opens the menu
            QTRY_VERIFY(w->mMenu->isVisible());
            w->mMenu->hide();
        }
    }
    QCOMPARE(w->selectedKeys(), keys(record));
    for (int i = 0; i < adds; ++i)
        w->cmdAdd_Click();
    QCOMPARE(target.appended, keys(appended));
    QCOMPARE(w->intAdded(), appended.size());
    QCOMPARE(w->lblInfo->text(), info + " added to the list");
}

void tst_frmBrowse::emptyClickHidesPreviewAndDisablesCommands() {
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folderWithPictures("p", 3)));
    show(*w);
    click(*w, 0);
    w->Timer1_Timer();
    QVERIFY(w->imgPreview->isVisible());
    QVERIFY(w->cmdAdd->isEnabled());
    QVERIFY(w->cmdFullscreen->isEnabled());
    QVERIFY(w->mnuFullscreen->isEnabled());
    QVERIFY(w->cmdWallpaper->isEnabled());

    clickEmpty(*w);
    w->Timer1_Timer();
    QVERIFY(!w->imgPreview->isVisible());
    QVERIFY(w->flb->selectedItems().isEmpty());
    QVERIFY(w->strLastKey().isEmpty());
    QVERIFY(!w->cmdAdd->isEnabled());
    QVERIFY(!w->cmdFullscreen->isEnabled());
    QVERIFY(!w->cmdWallpaper->isEnabled());
    QVERIFY(!w->mnuWallpaper->isEnabled());
    QCOMPARE(w->intSelCount(), 1); // the record stays

    const QPoint empty = w->flb->viewport()->rect().bottomRight() - QPoint(5, 5);
    QTest::mouseDClick(w->flb->viewport(), Qt::LeftButton, Qt::NoModifier, empty);
    QTest::mouseRelease(w->flb->viewport(), Qt::LeftButton, Qt::NoModifier, empty);
    QCOMPARE(viewersOpen(), 0);
}

void tst_frmBrowse::wallpaperOnlyWithOnePictureRecorded() {
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folderWithPictures("p", 3)));
    show(*w);
    click(*w, 0);
    click(*w, 1, Qt::ControlModifier);
    w->Timer1_Timer();
    QVERIFY(w->imgPreview->isVisible());
    QVERIFY(!w->cmdWallpaper->isEnabled());
    QVERIFY(!w->mnuWallpaper->isEnabled());
    click(*w, 2);
    w->Timer1_Timer();
    QVERIFY(w->cmdWallpaper->isEnabled());
    w->cmdWallpaper_Click();
    QCOMPARE(target.wallpapers, QStringList({key(*w, 2)}));
}

void tst_frmBrowse::previewFitsTheBox() {
    const QString folder = program->root() + "/sizes";
    QDir().mkpath(folder);
    WritePicture(folder + "/square.bmp", QSize(100, 100), Qt::red, "BMP");
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folder));
    show(*w);
    click(*w, 0);
    QVERIFY(w->imgPreview->isVisible());
    QCOMPARE(w->previewedPath(), key(*w, 0));
    QCOMPARE(w->imgPreview->geometry(), QRect(28, 0, 166, 166));
    QCOMPARE(w->imgPreviewBack->size(), QSize(221, 166));
}

void tst_frmBrowse::unreadablePictureIsNotPreviewed() {
    const QString folder = program->root() + "/broken";
    QDir().mkpath(folder);
    QFile f(folder + "/broken.jpg");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folder));
    show(*w);
    click(*w, 0);
    w->Timer1_Timer();
    QVERIFY(!w->imgPreview->isVisible());
    QVERIFY(w->cmdAdd->isEnabled()); // it can still be added
    QVERIFY(!w->cmdFullscreen->isEnabled());
    w->flb_DblClick();
    w->cmdFullscreen_Click();
    QCOMPARE(viewersOpen(), 0);
}

void tst_frmBrowse::doubleClickOpensViewer() {
    auto w = makeWindow();
    QVERIFY(w->dlb->setPath(folderWithPictures("p", 2)));
    show(*w);
    const QPoint at = w->flb->visualItemRect(w->flb->item(1)).center();
    QTest::mouseClick(w->flb->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->flb->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(w->flb->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(viewersOpen(), 1);
    QCOMPARE(w->selectedKeys(), QStringList({key(*w, 1)}));
    closeViewers();
    w->cmdFullscreen_Click();
    QCOMPARE(viewersOpen(), 1);
}

void tst_frmBrowse::helpOpensSubReference() {
    auto w = makeWindow();
    w->lblHelp_Click();
    QCOMPARE(platform->shell.opened, QStringList({program->path() + "/Help/sub ref.htm"}));
}

void tst_frmBrowse::layoutFollowsSizeAndKeepsMinimum() {
    auto w = makeWindow();
    show(*w);
    w->resize(900, 700);
    QTRY_COMPARE(w->flb->geometry(), QRect(220, 0, 680, 660));
    QCOMPARE(w->cmdAdd->x(), 855);
    QCOMPARE(w->Frame2->y(), 493);
    w->resize(200, 100);
    QTRY_VERIFY(w->frameGeometry().width() >= 500 && w->frameGeometry().height() >= 341);
}

void tst_frmBrowse::neverWritesAnythingButInitDir() {
    const QString a = folderWithPictures("a", 3);
    const QString b = folderWithPictures("b", 1);
    QDir().mkpath(program->root() + "/hostile");
    WriteHostileFiles(program->root() + "/hostile");
    auto listing = [this] {
        QStringList all;
        QDirIterator it(program->root(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            // Folders by name (writing the settings touches their own); files in full.
            all << (it.fileInfo().isDir()
                        ? it.filePath()
                        : it.filePath() + QString::number(it.fileInfo().size()) +
                              it.fileInfo().lastModified().toString(Qt::ISODateWithMs));
        }
        all.sort();
        return all;
    };
    const QStringList before = listing();
    {
        auto w = makeWindow();
        show(*w);
        QVERIFY(w->dlb->setPath(a));
        QVERIFY(w->dlb->setPath(b));
        QVERIFY(w->dlb->setPath(program->root() + "/hostile"));
        QVERIFY(w->setDrive(usb));
        QVERIFY(w->dlb->setPath(a));
        click(*w, 0);
        w->cmdAdd_Click();
        w->cmdWallpaper_Click();
        w->Form_Activate();
        w->Form_Unload();
    }
    const QString settings = module->SettingsFile();
    QStringList after = listing();
    after.removeIf([&](const QString& line) { return line.startsWith(settings); });
    QCOMPARE(after, before);
    QFile file(settings);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).trimmed(), QStringLiteral("[Settings]"));
    QCOMPARE(lines.at(1).trimmed(), "InitDir=" + a);
}

QTEST_MAIN(tst_frmBrowse)
#include "tst_frmBrowse.moc"
