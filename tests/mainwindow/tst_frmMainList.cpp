#include "tests/mainwindow/MainWindowHarness.h"
#include "tests/support/TestPictures.h"

#include "viewer/frmFullscreen.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {

// A shown window whose list holds `count` pictures (not yet applied).
struct Listed : MainWindowHarness {
    QStringList list;
    explicit Listed(int count, const QString& mode = QStringLiteral("Never (manually only)")) {
        list = pictures(count);
        set(QStringLiteral("change"), mode);
        start();
        for (const QString& path : list)
            w->Append_Picture(path);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    int rowY(int row) const {
        return w->lstWallpaper->visualItemRect(w->lstWallpaper->item(row)).center().y();
    }
    int belowLastRowY() const { return w->lstWallpaper->viewport()->height() - 2; }
    void press(Qt::MouseButton button, int y) {
        w->lstWallpaper_MouseDown(button, Qt::NoModifier, 5, y);
        w->mlist->hide();
    }
    bool previewShown() const { return !w->imgPreview->pixmap().isNull(); }
};

QStringList visibleEntries(const QMenu* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible())
            entries << action->objectName();
    }
    return entries;
}

int fullscreenViewers() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmFullscreen*>(widget) && widget->isVisible())
            ++count;
    }
    return count;
}

} // namespace

class tst_frmMainList : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void appendAddsNameAndAbsolutePath();
    void selectionShowsPictureAndInformation();
    void buttonsFollowTheSelection();
    void missingPictureOffersItsRemoval();
    void deleteAsksAndRemovesFromBothLists();
    void previewWaitsWhileAMissingPictureIsReported();
    void deleteWithoutSelectionSaysSo();
    void upThenDownRestoresTheOrder();
    void clearStopsARunningPreview();
    void pressBelowTheLastRowClearsTheSelection();
    void rightPressSelectsAndShowsTheMenu();
    void menuOfAnEmptyList();
    void dropMovesTheSelectedEntry();
    void dropFromElsewhereIsIgnored();
    void captionsToggleTheirCheckBoxes();
    void bigPicturesPreviewAndOpenAtScreenSize_data();
    void bigPicturesPreviewAndOpenAtScreenSize();
    void commandsOpenTheOtherWindows();
};

void tst_frmMainList::appendAddsNameAndAbsolutePath() {
    Listed h(2);
    frmMain& w = *h.w;
    w.lstWallpaper->setCurrentRow(0);
    const bool downBefore = w.cmdDown->isEnabled();
    const QString old = QDir::currentPath();
    QDir::setCurrent(h.folder.root());
    w.Append_Picture(QStringLiteral("pictures/p1.jpg"));
    QDir::setCurrent(old);
    QCOMPARE(h.paths().last(), h.folder.root() + QStringLiteral("/pictures/p1.jpg"));
    QCOMPARE(h.names().last(), QStringLiteral("p1.jpg"));
    QVERIFY(h.listsParallel());
    QCOMPARE(w.lblListCount->text(), QStringLiteral("1/3"));
    QCOMPARE(w.ListIndex(), 0);
    QCOMPARE(w.cmdDown->isEnabled(), downBefore); // left until the next selection change
}

void tst_frmMainList::selectionShowsPictureAndInformation() {
    Listed h(3);
    frmMain& w = *h.w;
    QVERIFY(!w.cmdApplyNow->isEnabled());
    QCOMPARE(w.lblInfo->text(), QStringLiteral("Picture information"));
    w.lstWallpaper->setCurrentRow(1); // as the user's click or arrow key does
    QCOMPARE(w.ListIndex(), 1);
    QCOMPARE(w.lstAdd->currentRow(), 1);
    QVERIFY(h.previewShown());
    QVERIFY(!w.lblLoading->isVisible());
    QVERIFY(w.lblInfo->text().startsWith(QStringLiteral("Resolution: 32x24 Pixels     Size: ")));
    QVERIFY(w.lblInfo->text().contains(QStringLiteral("\r\nFolder: ")));
    QVERIFY(w.cmdApplyNow->isEnabled());
    QCOMPARE(w.lblListCount->text(), QStringLiteral("2/3"));
    w.lstWallpaper_DblClick();
    QCOMPARE(h.applied(), QStringList({h.list[1]}));
}

void tst_frmMainList::buttonsFollowTheSelection() {
    Listed h(3);
    frmMain& w = *h.w;
    w.lstWallpaper->setCurrentRow(0);
    QVERIFY(!w.cmdUp->isEnabled() && !w.mUp->isEnabled());
    QVERIFY(w.cmdDown->isEnabled() && w.cmdDelete->isEnabled());
    w.lstWallpaper->setCurrentRow(2);
    QVERIFY(w.cmdUp->isEnabled());
    QVERIFY(!w.cmdDown->isEnabled() && !w.mDown->isEnabled());

    Listed single(1);
    single.w->lstWallpaper->setCurrentRow(0);
    QVERIFY(!single.w->cmdUp->isEnabled());
    QVERIFY(!single.w->cmdDown->isEnabled());
    QVERIFY(single.w->cmdDelete->isEnabled() && single.w->mDelete->isEnabled());
}

void tst_frmMainList::missingPictureOffersItsRemoval() {
    Listed h(3);
    frmMain& w = *h.w;
    QFile::remove(h.list[1]);
    h.fake.dialogs.answers = {MsgResult::Ok, MsgResult::No};
    w.lstWallpaper->setCurrentRow(1);
    QCOMPARE(h.fake.dialogs.messages.size(), 2);
    QCOMPARE(h.fake.dialogs.messages[0].text, QStringLiteral("File not found:'p2.jpg'"));
    QCOMPARE(h.fake.dialogs.messages[0].icon, MsgIcon::Critical);
    QCOMPARE(h.fake.dialogs.messages[0].title, QStringLiteral("Tavorin"));
    QCOMPARE(h.fake.dialogs.messages[1].text,
             QStringLiteral("Are you sure you want to remove p2.jpg from the list?"));
    QCOMPARE(h.fake.dialogs.messages[1].title, QStringLiteral("Confirm"));
    QCOMPARE(h.fake.dialogs.messages[1].buttons, MsgButtons::YesNo);
    QCOMPARE(h.fake.dialogs.messages[1].icon, MsgIcon::Question);
    QCOMPARE(h.names().size(), 3);
    QVERIFY(!w.lblLoading->isVisible());

    h.fake.dialogs.answers = {MsgResult::Ok, MsgResult::Yes};
    w.lstWallpaper->setCurrentRow(0);
    w.lstWallpaper->setCurrentRow(1);
    QCOMPARE(h.paths(), QStringList({h.list[0], h.list[2]}));
    QVERIFY(h.listsParallel());
    QCOMPARE(w.ListIndex(), -1);
    QCOMPARE(w.lblListCount->text(), QStringLiteral("0/2"));
}

void tst_frmMainList::deleteAsksAndRemovesFromBothLists() {
    Listed h(3);
    frmMain& w = *h.w;
    w.lstWallpaper->setCurrentRow(2);
    h.fake.dialogs.answers = {MsgResult::No};
    w.cmdDelete_Click();
    QCOMPARE(h.paths(), h.list);
    QCOMPARE(w.ListIndex(), 2);
    h.fake.dialogs.answers = {MsgResult::Yes};
    w.mDelete_Click();
    QCOMPARE(h.paths(), h.list.mid(0, 2));
    QVERIFY(h.listsParallel());
    QCOMPARE(w.ListIndex(), -1);
    QVERIFY(!h.previewShown());
    QCOMPARE(w.lblInfo->text(), QStringLiteral("Picture information"));
    QVERIFY(!w.cmdApplyNow->isEnabled());
    QVERIFY(!w.cmdDelete->isEnabled());
    QCOMPARE(w.lblListCount->text(), QStringLiteral("0/2"));
}

void tst_frmMainList::previewWaitsWhileAMissingPictureIsReported() {
    MainWindowHarness h;
    const QStringList list = h.pictures(3);
    h.storeAutomaticList(list);
    h.set(QStringLiteral("change"), QStringLiteral("Frequently"));
    h.set(QStringLiteral("min"), QStringLiteral("1"));
    TickingDialogs dialogs(h.fake.dialogs);
    Services services{h.fake.services.folder, dialogs,         h.fake.registry, h.fake.wallpaper,
                      h.fake.shell,           h.fake.instance, h.fake.clock,    h.fake.tray};
    Module1 module(services);
    frmMain w(module, h.splash);
    w.LoadData();
    QFile::remove(list[0]);
    w.cmdPreview_Click(); // one step a second
    h.fake.dialogs.answers = {MsgResult::Ok, MsgResult::Yes};
    dialogs.during = [&] {
        for (int i = 0; i < 4; ++i)
            w.Timer2_Timer();
    };
    w.Timer2_Timer(); // selects the missing first picture
    QCOMPARE(h.fake.dialogs.messages.size(), 2);
    QCOMPARE(h.fake.dialogs.messages[0].text, QStringLiteral("File not found:'p1.jpg'"));
    QCOMPARE(h.fake.dialogs.messages[1].text,
             QStringLiteral("Are you sure you want to remove p1.jpg from the list?"));
    QStringList paths;
    for (int i = 0; i < w.lstAdd->count(); ++i)
        paths << w.lstAdd->item(i)->text();
    QCOMPARE(paths, list.mid(1));
}

void tst_frmMainList::deleteWithoutSelectionSaysSo() {
    Listed h(2);
    h.w->cmdDelete_Click();
    QCOMPARE(h.fake.dialogs.messages.size(), 1);
    QCOMPARE(h.fake.dialogs.messages[0].text,
             QStringLiteral("You did not select an item from listbox to delete."));
    QCOMPARE(h.fake.dialogs.messages[0].icon, MsgIcon::Critical);
    QCOMPARE(h.paths(), h.list);
}

void tst_frmMainList::upThenDownRestoresTheOrder() {
    Listed h(4);
    frmMain& w = *h.w;
    w.lstWallpaper->setCurrentRow(2);
    w.cmdUp_Click();
    QCOMPARE(h.paths(), QStringList({h.list[0], h.list[2], h.list[1], h.list[3]}));
    QVERIFY(h.listsParallel());
    QCOMPARE(w.ListIndex(), 1);
    QCOMPARE(w.lstAdd->currentRow(), 1);
    QCOMPARE(w.lblListCount->text(), QStringLiteral("2/4"));
    QVERIFY(h.previewShown());
    w.mDown_Click();
    QCOMPARE(h.paths(), h.list);
    QCOMPARE(w.ListIndex(), 2);
    // The ends stop the move.
    w.lstWallpaper->setCurrentRow(0);
    w.cmdUp_Click();
    w.lstWallpaper->setCurrentRow(3);
    w.cmdDown_Click();
    QCOMPARE(h.paths(), h.list);
    QVERIFY(h.fake.dialogs.messages.isEmpty());
}

void tst_frmMainList::clearStopsARunningPreview() {
    Listed h(3, QStringLiteral("Frequently"));
    frmMain& w = *h.w;
    w.cmdPreview_Click();
    QCOMPARE(w.cmdPreview->text(), QStringLiteral("S&top"));
    w.lstWallpaper->setCurrentRow(1);
    w.mClear_Click();
    QCOMPARE(w.cmdPreview->text(), QStringLiteral("Pre&view"));
    QVERIFY(!w.Timer2.isActive());
    QVERIFY(!w.cmdPreview->isEnabled());
    QVERIFY(h.paths().isEmpty() && h.names().isEmpty());
    QCOMPARE(w.lblListCount->text(), QStringLiteral("0/0"));
    QVERIFY(!h.previewShown());
    QVERIFY(!w.cmdApplyNow->isEnabled());
    QVERIFY(h.fake.dialogs.messages.isEmpty()); // no question
}

void tst_frmMainList::pressBelowTheLastRowClearsTheSelection() {
    Listed h(3);
    frmMain& w = *h.w;
    h.press(Qt::LeftButton, h.rowY(1));
    QCOMPARE(w.ListIndex(), 1);
    QVERIFY(h.previewShown());
    h.press(Qt::LeftButton, h.belowLastRowY());
    QCOMPARE(w.ListIndex(), -1);
    QCOMPARE(w.lblListCount->text(), QStringLiteral("0/3"));
    QVERIFY(!h.previewShown());
    QCOMPARE(w.lblInfo->text(), QStringLiteral("Picture information"));
    QVERIFY(!w.cmdApplyNow->isEnabled());
}

void tst_frmMainList::rightPressSelectsAndShowsTheMenu() {
    Listed h(3);
    frmMain& w = *h.w;
    w.lstWallpaper_MouseDown(Qt::RightButton, Qt::NoModifier, 5, h.rowY(2));
    QCOMPARE(w.ListIndex(), 2);
    QVERIFY(h.previewShown());
    QVERIFY(w.mlist->isVisible());
    QCOMPARE(visibleEntries(w.mlist),
             QStringList({"mApply", "mnuListSeperator", "mSearch", "mAdd", "mDelete", "mUp",
                          "mDown", "mnuListSeperator2", "mClear"}));
    QVERIFY(!w.mDown->isEnabled()); // the last row
    w.mlist->hide();
    h.press(Qt::RightButton, h.belowLastRowY());
    QCOMPARE(w.ListIndex(), -1);
    QCOMPARE(visibleEntries(w.mlist),
             QStringList({"mSearch", "mAdd", "mnuListSeperator2", "mClear"}));
}

void tst_frmMainList::menuOfAnEmptyList() {
    Listed h(0);
    h.press(Qt::RightButton, 5);
    QCOMPARE(visibleEntries(h.w->mlist), QStringList({"mSearch", "mAdd"}));
    QVERIFY(!h.w->cmdUp->isEnabled() && !h.w->cmdDown->isEnabled());
    QVERIFY(!h.w->cmdDelete->isEnabled());
}

void tst_frmMainList::dropMovesTheSelectedEntry() {
    Listed h(4);
    frmMain& w = *h.w;
    w.lstWallpaper->setCurrentRow(1);
    w.lstWallpaper_DragDrop(w.lstWallpaper, 5, h.rowY(1)); // its own row
    QCOMPARE(h.paths(), h.list);
    QCOMPARE(w.ListIndex(), 1);

    w.lstWallpaper_DragDrop(w.lstWallpaper, 5, h.belowLastRowY());
    QCOMPARE(h.paths(), QStringList({h.list[0], h.list[2], h.list[3], h.list[1]}));
    QVERIFY(h.listsParallel());
    QCOMPARE(w.ListIndex(), 3);
    QCOMPARE(w.lstAdd->currentRow(), 3);
    QCOMPARE(w.lblListCount->text(), QStringLiteral("4/4"));

    w.lstWallpaper_DragDrop(w.lstWallpaper, 5, h.rowY(0));
    QCOMPARE(h.paths(), QStringList({h.list[1], h.list[0], h.list[2], h.list[3]}));
    QCOMPARE(w.ListIndex(), 0);
    QVERIFY(!w.cmdUp->isEnabled());
    QVERIFY(w.lblInfo->text().contains(QStringLiteral("Folder: ")));

    // Nothing selected: the order stays.
    h.press(Qt::LeftButton, h.belowLastRowY());
    w.lstWallpaper_DragDrop(w.lstWallpaper, 5, h.rowY(2));
    QCOMPARE(h.paths(), QStringList({h.list[1], h.list[0], h.list[2], h.list[3]}));
}

void tst_frmMainList::dropFromElsewhereIsIgnored() {
    Listed h(3);
    frmMain& w = *h.w;
    w.lstWallpaper->setCurrentRow(2);
    w.lstWallpaper_DragDrop(w.cmdApply, 5, h.rowY(0));
    w.lstWallpaper_DragDrop(nullptr, 5, h.rowY(0));
    QCOMPARE(h.paths(), h.list);
    QCOMPARE(w.ListIndex(), 2);
}

void tst_frmMainList::captionsToggleTheirCheckBoxes() {
    Listed h(1, QStringLiteral("Once a day"));
    frmMain& w = *h.w;
    const bool random = w.chkRandom->isChecked();
    QTest::mouseClick(w.lblRandom, Qt::LeftButton);
    QCOMPARE(w.chkRandom->isChecked(), !random);
    w.lblRandom_Click();
    QCOMPARE(w.chkRandom->isChecked(), random);
    QTest::mouseClick(w.lblShutdown, Qt::LeftButton);
    QVERIFY(w.chkShutdown->isChecked());
}

void tst_frmMainList::bigPicturesPreviewAndOpenAtScreenSize_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("viewed"); // on the 800 x 800 screen
    QTest::newRow("jpg 32 x 24") << "p.jpg" << QSize(32, 24) << QSize(32, 24);
    QTest::newRow("jpg 12000 x 9000") << "a.jpg" << QSize(12000, 9000) << QSize(800, 600);
    QTest::newRow("bmp 8000 x 6000") << "b.bmp" << QSize(8000, 6000) << QSize(800, 600);
    QTest::newRow("bmp 1 x 40000") << "d.bmp" << QSize(1, 40000) << QSize(1, 800);
}

void tst_frmMainList::bigPicturesPreviewAndOpenAtScreenSize() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QSize, viewed);
    Listed h(0);
    frmMain& w = *h.w;
    w.imgPreview_DblClick(); // nothing shown: no viewer
    QCOMPARE(fullscreenViewers(), 0);
    w.Append_Picture(test::WritePicture(h.folder.root() + "/" + name, size));
    w.lstWallpaper->setCurrentRow(0);
    QVERIFY(h.fake.dialogs.messages.isEmpty());
    QVERIFY(h.previewShown());
    QVERIFY(w.lblInfo->text().startsWith(
        QStringLiteral("Resolution: %1x%2 ").arg(size.width()).arg(size.height())));
    w.imgPreview_DblClick();
    QCOMPARE(fullscreenViewers(), 1);
    QCOMPARE(frmFullscreen::ScreenPixels(&w), QSize(800, 800));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<frmFullscreen*>(widget)) {
            QCOMPARE(viewer->imgPreview().pixmap().size(), viewed);
            viewer->close();
        }
    }
}

void tst_frmMainList::commandsOpenTheOtherWindows() {
    Listed h(1);
    frmMain& w = *h.w;
    QStringList opened;
    w.openers.Browse = [&] { opened << QStringLiteral("browse"); };
    w.openers.Search = [&] { opened << QStringLiteral("search"); };
    w.openers.Options = [&] { opened << QStringLiteral("options"); };
    w.openers.AboutModal = [&] { opened << QStringLiteral("about"); };
    w.cmdBrowse->click();
    w.mAdd->trigger();
    w.cmdSearch->click();
    w.mSearch->trigger();
    w.cmdOption->click();
    w.cmdAbout->click();
    QCOMPARE(opened, QStringList({"browse", "browse", "search", "search", "options", "about"}));
}

QTEST_MAIN(tst_frmMainList)
#include "tst_frmMainList.moc"
