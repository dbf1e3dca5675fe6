// The image browser window on an X server, through one user's visit.
#include "browser/BrowseRules.h"
#include "browser/DirListBox.h"
#include "browser/ThumbList.h"
#include "browser/frmBrowse.h"
#include "engine/PictureTarget.h"
#include "tests/support/Rig.h"
#include "tests/support/TestPictures.h"
#include "viewer/frmFullscreen.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

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

void click(frmBrowse& w, int row, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(w.flb->viewport(), Qt::LeftButton, keys,
                      w.flb->visualItemRect(w.flb->item(row)).center());
}

} // namespace

class tst_frmBrowse : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The scan shows its progress; only later scans store their folder; each drive
    // keeps its own; the clicks decide what is previewed, added, viewed and made the
    // wallpaper; growing gives the room to the thumbnails.
    void aUsersVisit() {
        Rig rig;
        Target target;
        const QString a = rig.folder.root() + "/a", usb = rig.folder.root() + "/usb";
        for (int i = 0; i < 3; ++i)
            WritePicture(a + QStringLiteral("/pic%1.bmp").arg(i), {40 + i, 30 + i},
                         QColor(200, 30 + 40 * i, 30), "BMP");
        WriteFile(a + "/broken.jpg", "not a picture");
        QDir().mkpath(usb + "/DCIM");
        auto owned = std::make_unique<Volumes>();
        Volumes& volumes = *owned;
        volumes.drives = {"/", usb};
        frmBrowse w(rig.m, target, nullptr, std::move(owned));
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QStringList shown;
        connect(&w, &QWidget::windowTitleChanged, [&](const QString& t) { shown << t; });
        QVERIFY(w.dlb->setPath(a));
        QCOMPARE(shown, QStringList({"GENERATING PREVIEWS  25.00%", "GENERATING PREVIEWS  50.00%",
                                     "GENERATING PREVIEWS  75.00%", "GENERATING PREVIEWS  100.00%",
                                     "Image Browser"}));
        const auto key = [&w](int row) {
            return w.flb->item(row)->data(ThumbList::kKeyRole).toString();
        };
        QCOMPARE(w.flb->findItems("pic1.bmp \r\n41 * 31", Qt::MatchExactly).size(), 1);
        for (int i = 0; i < 4; ++i) { // each picture in its own item
            const QImage icon = w.flb->item(i)->icon().pixmap(QSize(102, 77)).toImage();
            if (const int n = key(i).right(5).left(1).toInt(); key(i).endsWith(".bmp"))
                QCOMPARE(icon.pixelColor(51, 38), QColor(200, 30 + 40 * n, 30));
        }
        QCOMPARE(rig.get(ini::kInitDir), QString()); // the first scan stores nothing
        w.cboFileType->setCurrentIndex(0);           // bitmaps
        w.cboFileType_Click();
        QCOMPARE(w.flb->count(), 3);
        QCOMPARE(rig.get(ini::kInitDir), a);
        QVERIFY(w.setDrive(usb));
        QCOMPARE(w.dlb->Path(), usb); // the drive's root at first, not stored
        QCOMPARE(rig.get(ini::kInitDir), a);
        QVERIFY(w.dlb->setPath(usb + "/DCIM"));
        QVERIFY(w.setDrive("/"));
        QCOMPARE(w.dlb->Path(), a); // each drive keeps its own folder
        w.Form_Activate();
        QCOMPARE(w.dlb->Path(), usb + "/DCIM"); // the stored one
        const QString deep = usb + "/" + QString(100, 'd');
        QDir().mkpath(deep);
        QVERIFY(w.dlb->setPath(deep));
        QCOMPARE(rig.get(ini::kInitDir), deep.left(79)); // stored cut
        w.Form_Unload();
        QVERIFY(w.dlb->setPath(usb + "/DCIM"));
        QCOMPARE(rig.get(ini::kInitDir), deep.left(79));
        volumes.notReady = {usb};
        QVERIFY(w.setDrive("/"));
        QVERIFY(w.setDrive(usb));
        QCOMPARE(w.Drive(), QStringLiteral("/")); // not ready: back to the root drive
        QVERIFY(w.dlb->setPath(a));
        click(w, 0);
        click(w, 1, Qt::ControlModifier);
        click(w, 2, Qt::ControlModifier);
        w.cmdAdd_Click();
        QCOMPARE(target.appended, QStringList({key(0), key(1), key(2)}));
        QCOMPARE(w.lblInfo->text(), QStringLiteral("Total: 3 images added to the list"));
        click(w, 0);
        click(w, 1);
        click(w, 1); // a plain click starts anew
        w.Timer1_Timer();
        QCOMPARE(w.previewedPath(), key(1));
        QVERIFY(w.imgPreview->isVisible() && w.cmdFullscreen->isEnabled());
        w.cmdWallpaper_Click();
        QCOMPARE(target.wallpapers, QStringList({key(1)}));
        click(w, 2, Qt::ControlModifier); // two recorded: no wallpaper
        w.Timer1_Timer();
        QCOMPARE(w.previewedPath(), key(2));
        QVERIFY(w.cmdAdd->isEnabled() && w.cmdFullscreen->isEnabled());
        QVERIFY(!w.cmdWallpaper->isEnabled() && !w.mnuWallpaper->isEnabled());
        const QPoint at = w.flb->visualItemRect(w.flb->item(0)).center();
        QTest::mouseClick(w.flb->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.flb->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(w.flb->viewport(), Qt::LeftButton, {}, at);
        const QWidgetList tops = QApplication::topLevelWidgets();
        const auto viewer = std::find_if(tops.begin(), tops.end(), [](QWidget* t) {
            return qobject_cast<frmFullscreen*>(t) && t->isVisible();
        });
        QVERIFY(viewer != tops.end());
        delete *viewer;
        w.lblHelp_Click();
        QCOMPARE(rig.fake.shell.opened, QStringList({rig.folder.path() + "/Help/sub ref.htm"}));
        const QSize thumbnails = w.flb->size();
        const QRect add = w.cmdAdd->geometry();
        QCOMPARE(add.right(), w.width() - 3);
        w.resize(w.width() + 200, w.height() + 100);
        QTRY_COMPARE(w.flb->size(), thumbnails + QSize(200, 100));
        QCOMPARE(w.cmdAdd->geometry(), add.translated(200, 100));
    }
};

QTEST_MAIN(tst_frmBrowse)
#include "tst_frmBrowse.moc"
