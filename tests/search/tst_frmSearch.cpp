// The search window through one user's story, with events running inside its searches.
#include "search/frmSearch.h"
#include "tests/support/Rig.h"
#include "tests/support/TestPictures.h"
#include "viewer/frmFullscreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tavorin;
using namespace tavorin::test;

namespace {

struct Target final : PictureTarget {
    QStringList appended, wallpapers;
    void Append_Picture(const QString& path) override { appended << path; }
    void Set_Wallpaper(QString& path) override {
        wallpapers << path;
        path = QStringLiteral("/converted/Temp.bmp"); // what a conversion does to it
    }
};

// Runs f at the next point where the search lets events run.
void atNextEventPoint(std::function<void()> f) {
    QTimer::singleShot(0, qApp, std::move(f));
}

QList<frmFullscreen*> viewers() {
    QList<frmFullscreen*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<frmFullscreen*>(w); v && v->isVisible())
            found << v;
    return found;
}

} // namespace

class tst_frmSearch : public QObject {
    Q_OBJECT

    Rig rig;
    Target target;
    QPointer<frmSearch> w;
    QString root; // where the pictures are

    void search(const QString& folder, bool subfolders = true) {
        w->cboBrowse->setEditText(folder);
        w->chkSubfolders->setChecked(subfolders);
        w->cmdOK_Click();
    }
    QPoint itemCentre(int row) const {
        return w->lstResult->visualItemRect(w->lstResult->item(row)).center();
    }
    void clickItem(int row) {
        QTest::mouseClick(w->lstResult->viewport(), Qt::LeftButton, {}, itemCentre(row));
    }
    QStringList names() const {
        QStringList found;
        for (int i = 0; i < w->lstResult->count(); ++i)
            found << w->ResultKey(i).mid(root.size() + 1);
        return found;
    }

  private Q_SLOTS:
    // Pick the folder, search, narrow by size, stop, select, remove, make the
    // wallpaper, add, view; then close the window inside its own search.
    void aUsersSearch() {
        root = rig.folder.root() + "/pictures";
        WritePicture(root + "/b.jpg", {1024, 768}, Qt::blue);
        WritePicture(root + "/a.jpg", {800, 800}, Qt::red);
        WritePicture(root + "/sub/c.gif", {50, 40}, Qt::green);
        WriteFile(root + "/d photo.jpg", {});
        w = new frmSearch(rig.m, target, {{"/", true}});
        w->show();
        rig.fake.dialogs.folderAnswers = {root};
        w->cboBrowse->setCurrentIndex(w->cboBrowse->findText("Browse..."));
        w->cboBrowse_Click();
        QCOMPARE(w->cboBrowse->currentText() + w->cboBrowse->toolTip(), root + root);
        QCOMPARE(w->cboBrowse->itemData(0).toString(), root); // added at the top
        w->cmdOK_Click();
        QCOMPARE(names(), QStringList({"a.jpg", "b.jpg", "sub/c.gif"}));
        QCOMPARE(w->lstResult->item(1)->text(), QString("b.jpg \r\n1024 * 768"));
        const QImage thumb = w->lstResult->item(0)->data(frmSearch::ThumbnailRole).value<QImage>();
        QVERIFY(thumb.pixelColor(38, 38).red() > 240); // a.jpg's own, not b.jpg's blue
        QCOMPARE(w->StatusText(), QString("3 image(s) found"));
        int countAtFirstEvent = -1;
        atNextEventPoint([&] { countAtFirstEvent = w->lstResult->count(); });
        search(root, false); // this folder only, starting empty
        QCOMPARE(countAtFirstEvent, 0);
        QCOMPARE(names(), QStringList({"a.jpg", "b.jpg"}));
        w->cboSize->setCurrentText("Equal To");
        QVERIFY(w->cboWidth->isEnabled() && w->cboHeight->isEnabled());
        w->cboWidth->setEditText("");
        w->cmdOK_Click();
        QCOMPARE(w->StatusText(), QString("Type a width and a height in pixels to compare with"));
        QCOMPARE(w->lstResult->count(), 2); // the last results stay
        w->cboWidth->lineEdit()->clear();
        QTest::keyClicks(w->cboWidth->lineEdit(), "8o00");
        w->cboHeight->setEditText("800x"); // pasted
        QCOMPARE(w->cboWidth->currentText() + w->cboHeight->currentText(), QString("800800"));
        w->cmdOK_Click();
        QCOMPARE(names(), QStringList({"a.jpg"}));
        w->cboSize->setCurrentText("Any");
        QString caption; // "Stop" answers at the next event point
        atNextEventPoint([&] {
            w->cmdOK->click();
            caption = w->cmdOK->text();
        });
        search(root);
        QCOMPARE(caption, QString("Search"));
        QCOMPARE(names(), QStringList({"a.jpg"}));
        QVERIFY(!w->Timer1->isActive() && !w->Searching());
        search(root);
        QWidget* list = w->lstResult->viewport();
        QTest::mousePress(list, Qt::RightButton, {}, itemCentre(0));
        QCoreApplication::processEvents();
        QVERIFY(w->mMenu->isVisible());
        QTest::keyClick(w->mMenu, Qt::Key_Escape);
        QVERIFY(w->cmdRemove->isEnabled() && w->cmdWallpaper->isEnabled());
        w->cmdRemove->click();
        QCOMPARE(names(), QStringList({"b.jpg", "sub/c.gif"}));
        QCOMPARE(w->StatusText(), QString("3 image(s) found and 1 image(s) removed from list"));
        clickItem(1);
        w->cmdWallpaper->click();
        w->mWallpaper->trigger();
        QCOMPARE(target.wallpapers, QStringList({root + "/sub/c.gif", root + "/sub/c.gif"}));
        w->cmdAdd->click();
        QCOMPARE(target.appended, QStringList({root + "/b.jpg", root + "/sub/c.gif"}));
        search(root); // counted across searches
        w->cmdAdd->click();
        QCOMPARE(w->AddedText(), QString("Total: 5 image(s) added"));
        QTest::mouseDClick(list, Qt::LeftButton, {}, itemCentre(2));
        QCOMPARE(viewers().size(), 1);
        qDeleteAll(viewers());
        QTest::mouseClick(w->lblHelp, Qt::LeftButton);
        QCOMPARE(rig.fake.shell.opened, QStringList({rig.folder.path() + "/Help/sub ref.htm"}));
        // Closed inside its own search: hidden at once, gone once the search has returned.
        bool hiddenAtOnce = false;
        atNextEventPoint([&] {
            w->close();
            hiddenAtOnce = !w->isVisible();
        });
        search(root);
        QVERIFY(hiddenAtOnce && !w->Searching());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());
    }
};

QTEST_MAIN(tst_frmSearch)
#include "tst_frmSearch.moc"
