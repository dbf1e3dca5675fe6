#include "tests/search/SearchWindowFixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

using namespace tavorin;
using namespace tavorin::test;

class tst_frmSearchResults : public QObject, protected SearchWindowFixture {
    Q_OBJECT
  private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void menuThenClickOnEmptySpaceUnselects();
    void removeCountsAndNeedsANewClick();
    void setAsWallpaperPassesACopy();
    void addAllAppendsEveryResultEachTime();
    void fullScreenShowsTheSelectedPicture();
};

void tst_frmSearchResults::menuThenClickOnEmptySpaceUnselects() {
    const QString root = pictures_->path();
    WritePicture(root + "/a.jpg", {10, 10});
    WritePicture(root + "/b.jpg", {10, 10});
    frmSearch* w = open();
    search(root);
    QWidget* list = w->lstResult->viewport();
    // A right press opens the menu once handled, where the press was; the
    // menu takes the release, and Escape closes it.
    const QPoint at = w->lstResult->visualItemRect(w->lstResult->item(0)).center();
    QTest::mousePress(list, Qt::RightButton, {}, at);
    QVERIFY(!w->mMenu->isVisible());
    QCoreApplication::processEvents();
    QVERIFY(w->mMenu->isVisible());
    QCOMPARE(w->mMenu->pos(), list->mapToGlobal(at));
    QTest::keyClick(w->mMenu, Qt::Key_Escape);
    QVERIFY(!w->mMenu->isVisible());
    QCOMPARE(w->intSelected, 1);
    QVERIFY(w->cmdRemove->isEnabled() && w->cmdWallpaper->isEnabled() && w->cmdAdd->isEnabled());
    QVERIFY(w->lstResult->item(0)->isSelected());
    const QPoint empty(list->width() - 5, list->height() - 5);
    QTest::mouseClick(list, Qt::LeftButton, {}, empty);
    QVERIFY(!w->lstResult->item(0)->isSelected());
    QVERIFY(!w->cmdRemove->isEnabled() && !w->cmdWallpaper->isEnabled());
    QVERIFY(w->cmdAdd->isEnabled());
    QVERIFY(!w->blnSelected);
    // Double-clicking empty space then opens nothing.
    QTest::mouseDClick(list, Qt::LeftButton, {}, empty);
    QCoreApplication::processEvents();
    QVERIFY(Viewers().isEmpty());

    // While a search runs, a right click selects but opens no menu.
    bool popupWhileRunning = true;
    bool removeEnabledWhileRunning = false;
    AtNextEventPoint([&] {
        auto* item = new QListWidgetItem("x.jpg \r\n1 * 1");
        w->lstResult->addItem(item);
        w->lstResult_MouseDown(2);
        w->lstResult_ItemClick(item);
        popupWhileRunning = w->mMenu->isVisible();
        removeEnabledWhileRunning = w->cmdRemove->isEnabled();
        w->lstResult_MouseUp();
    });
    search(root);
    QCoreApplication::processEvents();
    QVERIFY(!popupWhileRunning && !w->mMenu->isVisible());
    QVERIFY(removeEnabledWhileRunning);
}

void tst_frmSearchResults::removeCountsAndNeedsANewClick() {
    const QString root = pictures_->path();
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        WritePicture(root + "/" + name, {10, 10});
    frmSearch* w = open();
    search(root);
    clickItem(1);
    w->cmdRemove->click();
    QCOMPARE(resultNames(), QStringList({"a.jpg", "c.jpg"}));
    QCOMPARE(w->StatusText(), QString("3 image(s) found and 1 image(s) removed from list"));
    QVERIFY(!w->cmdRemove->isEnabled() && !w->cmdWallpaper->isEnabled());
    clickItem(0);
    w->mRemove->trigger();
    QCOMPARE(resultNames(), QStringList({"c.jpg"}));
    QCOMPARE(w->StatusText(), QString("3 image(s) found and 2 image(s) removed from list"));
}

void tst_frmSearchResults::setAsWallpaperPassesACopy() {
    const QString root = pictures_->path();
    WritePicture(root + "/a.jpg", {10, 10});
    WritePicture(root + "/b.jpg", {10, 10});
    frmSearch* w = open();
    search(root);
    clickItem(1);
    w->cmdWallpaper->click();
    QCOMPARE(target_.wallpapers, QStringList({root + "/b.jpg"}));
    QCOMPARE(w->ResultKey(1), root + "/b.jpg"); // the conversion's path did not reach the list
    w->mWallpaper->trigger();
    QCOMPARE(target_.wallpapers.size(), 2);
}

void tst_frmSearchResults::addAllAppendsEveryResultEachTime() {
    const QString root = pictures_->path();
    for (const char* name : {"a.jpg", "b.bmp", "c.gif"})
        WritePicture(root + "/" + name, {10, 10});
    frmSearch* w = open();
    search(root);
    w->cmdAdd->click();
    w->cmdAdd->click();
    QCOMPARE(target_.appended, QStringList({root + "/a.jpg", root + "/b.bmp", root + "/c.gif",
                                            root + "/a.jpg", root + "/b.bmp", root + "/c.gif"}));
    QCOMPARE(w->AddedText(), QString("Total: 6 image(s) added"));
    // Counts across searches while the window stays open.
    search(root);
    w->cmdAdd->click();
    QCOMPARE(w->AddedText(), QString("Total: 9 image(s) added"));
}

void tst_frmSearchResults::fullScreenShowsTheSelectedPicture() {
    const QString root = pictures_->path();
    WritePicture(root + "/a.bmp", {8000, 6000}); // found, and viewed at the screen's size
    WritePicture(root + "/b.jpg", {10, 10});
    frmSearch* w = open();
    search(root);
    w->lstResult_DblClick(); // nothing selected yet
    QVERIFY(Viewers().isEmpty());
    const QPoint at = w->lstResult->visualItemRect(w->lstResult->item(0)).center();
    QTest::mouseDClick(w->lstResult->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(Viewers().size(), 1);
    QCOMPARE(Viewers().first()->imgPreview().pixmap().size(), QSize(800, 600));
    delete Viewers().first();

    // The file went away after the search: no viewer, and the window says why.
    clickItem(1);
    QFile::remove(root + "/b.jpg");
    w->mFullscreen->trigger();
    QVERIFY(Viewers().isEmpty());
    QCOMPARE(w->StatusText(), "Image not found:'" + root + "/b.jpg'");
}

QTEST_MAIN(tst_frmSearchResults)
#include "tst_frmSearchResults.moc"
