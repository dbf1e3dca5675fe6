// The image browser window on an X server: scan, stored folder, drives, clicks, layout.
#include "browser/BrowseRules.h"
#include "browser/DirListBox.h"
#include "browser/ThumbList.h"
#include "browser/frmBrowse.h"
#include "engine/PictureTarget.h"
#include "tests/support/Rig.h"
#include "tests/support/TestPictures.h"
#include "tests/viewer/Rows.h"
#include "viewer/frmFullscreen.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>

#include <xcb/xcb.h>

using namespace tavorin;
using namespace tavorin::browse;
using namespace tavorin::test;

namespace {

struct Target final : PictureTarget {
    QStringList appended, wallpapers;
    void Append_Picture(const QString& path) override { appended << path; }
    void Set_Wallpaper(QString& path) override { wallpapers << path; }
};

struct Volumes final : IVolumes {
    QStringList drives, notReady;
    QStringList Drives() const override { return drives; }
    bool IsReady(const QString& drive) const override { return !notReady.contains(drive); }
};

// The title a window manager reads now, through a connection of its own.
QString titleOnServer(xcb_connection_t* c, xcb_window_t window) {
    auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 12, "_NET_WM_NAME"), nullptr);
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom->atom, XCB_ATOM_ANY, 0, 1024), nullptr);
    const QString title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                            xcb_get_property_value_length(reply));
    free(atom);
    free(reply);
    return title;
}

int viewersOpen() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<frmFullscreen*>(w) && w->isVisible();
    return n;
}

// Clicks on rows 0..2, one a word ("^" holds Ctrl, "r" is the right button),
// then Add `adds` times: the click record and what is appended.
// clang-format off
struct ClickRow { const char* name; QString clicks, record; int adds; QString appended, info; };
const ClickRow kClickRows[] = {
    {"plain then ctrl", "0 ^1 ^2", "012", 1, "012", "Total: 3 images"},
    {"ctrl again", "0 ^1 ^0", "010", 1, "01", "Total: 2 images"},
    {"plain starts anew", "0 1 1", "1", 1, "1", "Total: 1 image"},
    {"add twice", "1", "1", 2, "11", "Total: 2 images"},
    {"right pairs", "^0 ^r1", "01", 1, "01", "Total: 2 images"},
    {"right pair anew", "^0 ^r1 ^r2", "2", 1, "2", "Total: 1 image"},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(ClickRow)

class tst_frmBrowse : public QObject {
    Q_OBJECT

    std::unique_ptr<Rig> rig;
    Target target;
    Volumes* volumes = nullptr;
    QString usb; // a second drive

    std::unique_ptr<frmBrowse> window(bool shown = false) {
        auto owned = std::make_unique<Volumes>();
        volumes = owned.get();
        volumes->drives = {"/", usb};
        auto w = std::make_unique<frmBrowse>(rig->m, target, nullptr, std::move(owned));
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        if (shown) {
            w->show();
            [&] { QVERIFY(QTest::qWaitForWindowExposed(w.get())); }();
        }
        return w;
    }
    QString pictures(const QString& name, int count) {
        const QString folder = rig->folder.root() + "/" + name;
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i)
            WritePicture(folder + QStringLiteral("/pic%1.bmp").arg(i), {40 + i, 30 + i},
                         QColor(200, 30 + 40 * i, 30), "BMP");
        return folder;
    }
    static QString key(const frmBrowse& w, int row) {
        return w.flb->item(row)->data(ThumbList::kKeyRole).toString();
    }
    static void click(frmBrowse& w, int row, Qt::KeyboardModifiers keys = {},
                      Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(w.flb->viewport(), button, keys,
                          w.flb->visualItemRect(w.flb->item(row)).center());
    }
    QString initDir() const { return rig->get(ini::kInitDir); }

  private Q_SLOTS:
    void init() {
        rig = std::make_unique<Rig>();
        target = Target();
        usb = rig->folder.root() + "/usb";
        QDir().mkpath(usb + "/DCIM");
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmFullscreen*>(w))
                delete w;
        rig.reset();
    }

    // Items in listing order with their own picture; the progress reaches the
    // X server while the scan runs, without a return to the event loop.
    void scanShowsEachPictureWithProgress() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        const QString folder = pictures("four", 3);
        WriteFile(folder + "/broken.jpg", "not a picture");
        WritePicture(folder + "/x.png", {10, 10}, Qt::red, "PNG");
        QDir().mkpath(folder + "/sub.jpg");
        auto w = window(true);
        QStringList shown, onServer;
        connect(w.get(), &QWidget::windowTitleChanged, [&](const QString& t) { shown << t; });
        xcb_connection_t* observer = xcb_connect(nullptr, nullptr);
        connect(w->flb->model(), &QAbstractItemModel::rowsInserted,
                [&] { onServer << titleOnServer(observer, xcb_window_t(w->winId())); });
        QVERIFY(w->dlb->setPath(folder));
        onServer << titleOnServer(observer, xcb_window_t(w->winId()));
        xcb_disconnect(observer);
        QCOMPARE(shown, QStringList({"GENERATING PREVIEWS  25.00%", "GENERATING PREVIEWS  50.00%",
                                     "GENERATING PREVIEWS  75.00%", "GENERATING PREVIEWS  100.00%",
                                     "Image Browser"}));
        QCOMPARE(onServer.mid(1), shown.mid(0, 3) << "Image Browser");
        QCOMPARE(w->flb->count(), 4);
        const QColor background = w->flb->palette().color(QPalette::Base);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(w->colFiles().at(i), key(*w, i));
            const QImage icon = w->flb->item(i)->icon().pixmap(QSize(102, 77)).toImage();
            QCOMPARE(icon.size(), QSize(102, 77));
            const int n = Get_FileName(key(*w, i)).mid(3, 1).toInt();
            if (key(*w, i).endsWith("broken.jpg")) {
                QCOMPARE(w->flb->item(i)->text(), QStringLiteral("broken.jpg"));
                QCOMPARE(QColor(icon.pixel(51, 38)), background);
            } else {
                QCOMPARE(w->flb->item(i)->text(),
                         QStringLiteral("pic%1.bmp \r\n%2 * %3").arg(n).arg(40 + n).arg(30 + n));
                QCOMPARE(QColor(icon.pixel(51, 38)).green(), 30 + 40 * n);
            }
        }
    }

    // Only a scan after the first one stores its folder, and not one that a
    // drive change made; a folder past 79 characters is stored cut.
    void storesTheFolderOfLaterScans() {
        const QString a = pictures("a", 2), b = pictures("b", 1);
        WritePicture(a + "/only.gif", {8, 8}, Qt::red, "GIF");
        WritePicture(usb + "/top.bmp", {8, 8}, Qt::green, "BMP");
        auto w = window();
        QVERIFY(w->dlb->setPath(a));
        QCOMPARE(initDir(), QString());
        QCOMPARE(w->flb->count(), 3);
        w->cboFileType->setCurrentIndex(2); // GIF
        w->cboFileType_Click();
        QCOMPARE(w->flb->count(), 1);
        QCOMPARE(initDir(), a);
        QVERIFY(w->setDrive(usb));
        QCOMPARE(w->dlb->Path(), usb); // the drive's root at first
        QCOMPARE(initDir(), a);
        QVERIFY(w->dlb->setPath(usb + "/DCIM"));
        QCOMPARE(initDir(), usb + "/DCIM");
        QVERIFY(w->setDrive("/"));
        QCOMPARE(w->dlb->Path(), a); // each drive keeps its own folder
        QVERIFY(w->setDrive(usb));
        QCOMPARE(w->dlb->Path(), usb + "/DCIM");
        QCOMPARE(initDir(), usb + "/DCIM");
        const QString deep = rig->folder.root() + "/" + QString(100, 'd');
        QDir().mkpath(deep);
        QVERIFY(w->dlb->setPath(deep));
        QCOMPARE(initDir(), deep.left(79));
        w->Form_Unload();
        QVERIFY(w->dlb->setPath(b));
        QCOMPARE(initDir(), deep.left(79));
        auto again = window(); // the cut folder does not exist: the lists stay
        const QString start = again->dlb->Path();
        again->Form_Activate();
        QCOMPARE(again->dlb->Path(), start);
    }

    void drivesAndFoldersThatGo() {
        const QString a = pictures("a", 2), gone = pictures("gone", 1);
        auto w = window();
        QVERIFY(w->dlb->setPath(a));
        QVERIFY(QDir(gone).removeRecursively());
        QVERIFY(!w->dlb->setPath(gone));
        QCOMPARE(w->dlb->Path(), a);
        QVERIFY(w->setDrive(usb));
        QVERIFY(w->dlb->setPath(usb + "/DCIM"));
        QVERIFY(w->setDrive("/"));
        QVERIFY(QDir(usb + "/DCIM").removeRecursively());
        QVERIFY(w->setDrive(usb));
        QCOMPARE(w->dlb->Path(), usb); // its folder has gone: its root
        volumes->notReady = {usb};
        QVERIFY(w->setDrive("/"));
        QVERIFY(w->setDrive(usb));
        QCOMPARE(w->Drive(), QStringLiteral("/")); // not ready: back to the root drive
        QCOMPARE(w->dlb->Path(), a);
        volumes->notReady = {"/", usb};
        QVERIFY(w->setDrive(usb)); // never in a loop
        QCOMPARE(w->Drive(), QStringLiteral("/"));
        QVERIFY(!w->setDrive("/nonexistent-drive"));
        QVERIFY(QDir(a).removeRecursively());
        w->cboFileType_Click();
        QCOMPARE(w->flb->count(), 0);
        QCOMPARE(w->windowTitle(), QStringLiteral("Image Browser"));
    }

    // Becoming active from within the program returns to the stored folder;
    // coming back from another application does not.
    void activationReturnsToTheStoredFolder() {
        const QString a = pictures("a", 2);
        WritePicture(usb + "/top.bmp", {8, 8}, Qt::green, "BMP");
        rig->set(ini::kInitDir, a);
        auto w = window(true);
        QApplication::setActiveWindow(w.get());
        QCOMPARE(w->dlb->Path(), a);
        QVERIFY(w->setDrive(usb));
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(w.get());
        QCOMPARE(w->Drive(), usb);
        QWidget dialog;
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        dialog.close();
        QApplication::setActiveWindow(w.get());
        QCOMPARE(w->dlb->Path(), a);
        QCOMPARE(w->flb->count(), 2);
        QSignalSpy titles(w.get(), &QWidget::windowTitleChanged);
        w->Form_Activate(); // the same folder: no scan
        QCOMPARE(titles.count(), 0);
        rig->set(ini::kInitDir, ""); // nothing stored: the lists stay
        w->Form_Activate();
        QCOMPARE(w->dlb->Path(), a);
        QCOMPARE(titles.count(), 0);
    }

    // A network mount that no longer answers: the drive list comes from the
    // kernel's list of mounts, and nothing calls the dead file system.
    void aDeadNetworkMountIsNeverTouched() {
        const QString mount = rig->folder.root() + "/nas", calls = rig->folder.root() + "/calls";
        QDir().mkpath(mount);
        QProcess fs;
        fs.start("/usr/bin/python3", {QFINDTESTDATA("DeadMount.py"), calls, mount, "-f", "-s"});
        const auto unmount = qScopeGuard([&] {
            QProcess::execute("umount", {"-l", mount});
            fs.kill();
            fs.waitForFinished();
        });
        QTRY_VERIFY_WITH_TIMEOUT(
            ReadFile("/proc/self/mountinfo").contains(" " + mount.toUtf8() + " "), 10000);
        const QByteArray before = ReadFile(calls);
        rig->set(ini::kInitDir, pictures("a", 1));
        frmBrowse w(rig->m, target);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.show();
        QApplication::setActiveWindow(&w);
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(&w);
        QCOMPARE(w.flb->count(), 1);
        QCOMPARE(ReadFile(calls), before);
    }

    void clicksDecideWhatIsAdded_data() { AddRows(kClickRows); }
    void clicksDecideWhatIsAdded() {
        QFETCH(ClickRow, row);
        auto w = window(true);
        QVERIFY(w->dlb->setPath(pictures("p", 3)));
        const auto keys = [&w](const QString& rows) {
            QStringList list;
            for (QChar r : rows)
                list << key(*w, r.digitValue());
            return list;
        };
        for (const QString& one : row.clicks.split(' ')) {
            const bool right = one.contains('r');
            click(*w, one.back().digitValue(),
                  one.startsWith('^') ? Qt::ControlModifier : Qt::NoModifier,
                  right ? Qt::RightButton : Qt::LeftButton);
            if (right) {
                QTRY_VERIFY(w->mMenu->isVisible());
                w->mMenu->hide();
            }
        }
        QCOMPARE(w->selectedKeys(), keys(row.record));
        for (int i = 0; i < row.adds; ++i)
            w->cmdAdd_Click();
        QCOMPARE(target.appended, keys(row.appended));
        QCOMPARE(w->lblInfo->text(), row.info + " added to the list");
    }

    void previewAndCommandsFollowTheClicks() {
        const QString folder = pictures("p", 3);
        WriteFile(folder + "/z-broken.jpg", "");
        WritePicture(folder + "/square.bmp", {100, 100}, Qt::red, "BMP");
        auto w = window(true);
        QVERIFY(w->dlb->setPath(folder));
        const int broken = w->colFiles().indexOf(folder + "/z-broken.jpg");
        const int square = w->colFiles().indexOf(folder + "/square.bmp");
        click(*w, square);
        w->Timer1_Timer();
        QCOMPARE(w->previewedPath(), folder + "/square.bmp");
        QCOMPARE(w->imgPreview->geometry(), QRect(28, 0, 166, 166));
        for (auto* control : {w->cmdAdd, w->cmdFullscreen, w->cmdWallpaper})
            QVERIFY(control->isEnabled());
        QVERIFY(w->mnuFullscreen->isEnabled() && w->mnuWallpaper->isEnabled());
        click(*w, broken, Qt::ControlModifier); // two recorded: no wallpaper; no preview
        w->Timer1_Timer();
        QVERIFY(!w->imgPreview->isVisible());
        QVERIFY(w->cmdAdd->isEnabled() && !w->cmdFullscreen->isEnabled());
        QVERIFY(!w->cmdWallpaper->isEnabled() && !w->mnuWallpaper->isEnabled());
        w->cmdFullscreen_Click();
        QCOMPARE(viewersOpen(), 0);
        const QPoint empty = w->flb->viewport()->rect().bottomRight() - QPoint(5, 5);
        click(*w, square);
        QTest::mouseClick(w->flb->viewport(), Qt::LeftButton, {}, empty);
        w->Timer1_Timer();
        QVERIFY(!w->imgPreview->isVisible() && w->strLastKey().isEmpty());
        QVERIFY(!w->cmdAdd->isEnabled() && !w->cmdFullscreen->isEnabled());
        QCOMPARE(w->intSelCount(), 1); // the record stays
        QTest::mouseDClick(w->flb->viewport(), Qt::LeftButton, {}, empty);
        QTest::mouseRelease(w->flb->viewport(), Qt::LeftButton, {}, empty);
        QCOMPARE(viewersOpen(), 0);
        const QPoint at = w->flb->visualItemRect(w->flb->item(square)).center();
        QTest::mouseClick(w->flb->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w->flb->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(w->flb->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(viewersOpen(), 1);
        w->Timer1_Timer();
        w->cmdWallpaper_Click();
        QCOMPARE(target.wallpapers, QStringList({folder + "/square.bmp"}));
        w->lblHelp_Click();
        QCOMPARE(rig->fake.shell.opened, QStringList({rig->folder.path() + "/Help/sub ref.htm"}));
    }

    // Growing gives the room to the thumbnails; the window never goes below
    // its minimum, and no two controls overlap at any size.
    void resizingGrowsTheThumbnails() {
        auto w = window(true);
        const auto noOverlaps = [&w] {
            const QList<QWidget*> controls = {w->drv,           w->dlb,          w->flb,
                                              w->Frame2,        w->lblHelp,      w->cboFileType,
                                              w->cmdFullscreen, w->cmdWallpaper, w->cmdAdd};
            for (QWidget* a : controls) {
                QVERIFY2(w->rect().contains(a->geometry()), qPrintable(a->objectName()));
                for (QWidget* b : controls)
                    QVERIFY(a == b || !a->geometry().intersects(b->geometry()));
            }
        };
        noOverlaps();
        // The thumbnails fill the window right of the folder column, down to the
        // bottom of the preview; the commands end two pixels from the right side.
        QCOMPARE(w->flb->x(), w->dlb->width());
        QCOMPARE(w->flb->geometry().right(), w->width() - 1);
        QCOMPARE(w->Frame2->geometry().bottom(), w->flb->geometry().bottom());
        QCOMPARE(w->cmdAdd->geometry().right(), w->width() - 3);
        const QSize thumbnails = w->flb->size();
        const QRect add = w->cmdAdd->geometry();
        w->resize(w->width() + 200, w->height() + 100);
        QTRY_COMPARE(w->flb->size(), thumbnails + QSize(200, 100));
        QCOMPARE(w->cmdAdd->geometry(), add.translated(200, 100));
        QCOMPARE(w->dlb->width(), 220);
        noOverlaps();
        w->resize(200, 100);
        QTRY_VERIFY(w->frameGeometry().width() >= 500 && w->frameGeometry().height() >= 341);
        noOverlaps();
    }
};

QTEST_MAIN(tst_frmBrowse)
#include "tst_frmBrowse.moc"
