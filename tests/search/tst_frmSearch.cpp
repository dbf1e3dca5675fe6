// The search window: its boxes, a search with events running inside it, its results.
#include "search/frmSearch.h"
#include "tests/support/Rig.h"
#include "tests/support/TestPictures.h"
#include "viewer/frmFullscreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <fcntl.h>

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

    std::unique_ptr<Rig> rig;
    Target target;
    QPointer<frmSearch> w;
    QString root; // where the pictures are

    void open(const std::vector<search::Volume>& volumes = {{"/", true}}) {
        w = new frmSearch(rig->m, target, volumes);
        w->show();
    }
    void search(const QString& folder, bool subfolders = true) {
        w->cboBrowse->setEditText(folder);
        w->chkSubfolders->setChecked(subfolders);
        w->cmdOK_Click();
    }
    QPoint itemCentre(int row) const {
        return w->lstResult->visualItemRect(w->lstResult->item(row)).center();
    }
    void clickItem(int row, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(w->lstResult->viewport(), button, {}, itemCentre(row));
    }
    QStringList names() const {
        QStringList found;
        for (int i = 0; i < w->lstResult->count(); ++i)
            found << w->ResultKey(i).mid(root.size() + 1);
        return found;
    }
    void pictures(const QStringList& files) {
        for (const QString& file : files)
            WritePicture(root + "/" + file, {10, 10});
    }

  private Q_SLOTS:
    void init() {
        rig = std::make_unique<Rig>();
        target = Target();
        root = rig->folder.root() + "/pictures";
    }
    void cleanup() {
        delete w;
        qDeleteAll(viewers());
        rig.reset();
    }

    void folderBox() {
        open({{"/media/usb", true}, {"/", true}, {"/mnt/cd", false}});
        QStringList texts;
        for (int i = 0; i < w->cboBrowse->count(); ++i)
            texts << w->cboBrowse->itemText(i) + "=" + w->cboBrowse->itemData(i).toString();
        QCOMPARE(texts, QStringList({"/=/", "/media/usb=/media/usb", "Browse...=[BrowseFolder]"}));
        QCOMPARE(w->cboBrowse->currentText() + w->cboBrowse->toolTip(), QString("//"));
        rig->fake.dialogs.folderAnswers = {root, root};
        for (int round = 0; round < 3; ++round) { // the last is cancelled
            w->cboBrowse->setEditText("/somewhere");
            w->cboBrowse->setCurrentIndex(w->cboBrowse->findText("Browse..."));
            w->cboBrowse_Click();
            const QString shown = round < 2 ? root : "/";
            QCOMPARE(w->cboBrowse->currentText() + w->cboBrowse->toolTip(), shown + shown);
        }
        QCOMPARE(w->cboBrowse->count(), 4); // added once, at the top
        QCOMPARE(w->cboBrowse->itemData(0).toString(), root);
        QCOMPARE(rig->fake.dialogs.fileDialogs[0].title, QString("Please, choose a folder"));
    }

    void sizeBoxes() {
        open();
        QVERIFY(!w->cboWidth->isEnabled());
        w->cboSize->setCurrentText("Equal To");
        QVERIFY(w->cboWidth->isEnabled() && w->cboHeight->isEnabled());
        QLineEdit* edit = w->cboWidth->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, "1o24");
        QCOMPARE(w->cboWidth->currentText(), QString("124"));
        QCOMPARE(edit->cursorPosition(), 3);
        w->cboHeight->setEditText("800x600"); // pasted
        QCOMPARE(w->cboHeight->currentText(), QString("800600"));
        w->cboSize->setCurrentText("Any");
        QVERIFY(!w->cboWidth->isEnabled() && !w->cboHeight->isEnabled());
        QCOMPARE(w->cboWidth->currentText(), QString("124"));
    }

    // Growing gives the room to the results; the panel and the status bar keep
    // their place beside and below them, and the minimum size holds.
    void resizingGrowsTheResults() {
        open();
        const QSize results = w->lstResult->size();
        const int status = w->panelStatus->width();
        QCOMPARE(status, 420);
        w->resize(w->size() + QSize(200, 100));
        QCoreApplication::processEvents();
        QCOMPARE(w->lstResult->size(), results + QSize(200, 100));
        QCOMPARE(w->frameSearch->geometry().left(), w->lstResult->geometry().right() + 1);
        QCOMPARE(w->frameSearch->geometry().right(), w->width() - 1);
        QCOMPARE(w->StatusBar1->geometry().top(), w->lstResult->geometry().bottom() + 1);
        QCOMPARE(w->StatusBar1->geometry().bottom(), w->height() - 1);
        QCOMPARE(w->panelStatus->width(), status + 200);
        w->resize(100, 100);
        QCOMPARE(w->size(), QSize(400, 420));
    }

    void helpLink() {
        open();
        QTest::mouseClick(w->lblHelp, Qt::LeftButton);
        QCOMPARE(rig->fake.shell.opened, QStringList({rig->folder.path() + "/Help/sub ref.htm"}));
    }

    // Hits in walk order with their size and own thumbnail; files that cannot be
    // decoded are left out; a second search starts empty; a bad size box stops a search.
    void searchListsTheHits() {
        WritePicture(root + "/b.jpg", {1024, 768}, Qt::blue);
        WritePicture(root + "/a.jpg", {800, 800}, Qt::red);
        WritePicture(root + "/sub/c.gif", {50, 40}, Qt::green);
        WriteFile(root + "/d photo.jpg", {});
        WriteFile(root + "/e truncated.jpg", PictureBytes("JPG", {300, 200}, Qt::yellow).left(200));
        WriteFile(root + "/f zero.gif", GifBytes({0, 0}, {0, 0}));
        // A name that is not UTF-8 cannot be opened through the name the window knows.
        const QByteArray jpg = PictureBytes("JPG", {30, 20}, Qt::red);
        const int fd =
            ::open(QFile::encodeName(root + "/g bad") + "\xff.jpg", O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0 && ::write(fd, jpg.constData(), jpg.size()) == jpg.size() &&
                ::close(fd) == 0);
        WriteFile(root + "/empty/notes.txt", "x");
        open();
        search(root);
        QCOMPARE(w->cmdOK->text(), QString("Search"));
        const QStringList found = names();
        QCOMPARE(found.mid(0, 2), QStringList({"a.jpg", "b.jpg"}));
        QCOMPARE(found.last(), QString("sub/c.gif"));
        QVERIFY(found.size() <= 4 && !found.contains("d photo.jpg") &&
                !found.contains("f zero.gif"));
        QVERIFY(found.filter("bad").isEmpty());
        QCOMPARE(w->lstResult->item(1)->text(), QString("b.jpg \r\n1024 * 768"));
        const QImage thumb = w->lstResult->item(0)->data(frmSearch::ThumbnailRole).value<QImage>();
        QCOMPARE(thumb.size(), QSize(77, 77));
        const QColor centre = thumb.pixelColor(38, 38);
        QVERIFY(centre.red() > 240 && centre.green() < 16 && centre.blue() < 16);
        if (found.contains("e truncated.jpg"))
            QVERIFY(w->lstResult->item(2)
                        ->data(frmSearch::ThumbnailRole)
                        .value<QImage>()
                        .pixelColor(0, 0) != QColor(Qt::blue));
        QCOMPARE(w->StatusText(), QString::number(found.size()) + " image(s) found");
        QCOMPARE(w->intFound, found.size());
        QVERIFY(w->cmdAdd->isEnabled() && w->cboBrowse->isEnabled() && w->cboSize->isEnabled());
        QVERIFY(w->chkSubfolders->isEnabled() && w->cboFileType->isEnabled() &&
                !w->cboWidth->isEnabled());
        int countAtFirstEvent = -1;
        atNextEventPoint([&] { countAtFirstEvent = w->lstResult->count(); });
        search(root, false); // this folder only
        QCOMPARE(countAtFirstEvent, 0);
        QCOMPARE(names().mid(0, 2), QStringList({"a.jpg", "b.jpg"}));
        QVERIFY(!names().contains("sub/c.gif"));
        search(root + "/empty");
        QCOMPARE(w->StatusText(), QString("0 image(s) found"));
        QVERIFY(!w->cmdAdd->isEnabled());
        search(root);
        w->cboSize->setCurrentText("Equal To");
        w->cboWidth->setEditText("");
        w->cmdOK_Click();
        QCOMPARE(w->StatusText(), QString("Type a width and a height in pixels to compare with"));
        QCOMPARE(w->cmdOK->text(), QString("Search"));
        QCOMPARE(w->lstResult->count(), found.size()); // the last results stay
        w->cboWidth->setEditText("10");
        w->cboHeight->setEditText(QString(45, '9'));
        w->cmdOK_Click();
        QCOMPARE(w->StatusText(), QString("Width and height must be at most 16777216 pixels"));
        w->cboWidth->setEditText("800");
        w->cboHeight->setEditText("800");
        w->cmdOK_Click();
        QCOMPARE(names(), QStringList({"a.jpg"}));
    }

    // "Stop" answers at the next event point; the timer shows the folder only
    // while a search runs.
    void stopAndProgress() {
        pictures({"1.jpg", "2.jpg", "3.jpg", "A/4.jpg"});
        open();
        QVERIFY(!w->Timer1->isActive());
        bool activeDuring = false;
        QString shown, caption;
        atNextEventPoint([&] {
            activeDuring = w->Timer1->isActive();
            w->Timer1_Timer();
            shown = w->StatusText();
            w->cmdOK->click();
            caption = w->cmdOK->text();
        });
        search(root);
        QVERIFY(activeDuring);
        QCOMPARE(shown, root);
        QCOMPARE(caption, QString("Search"));
        QCOMPARE(names(), QStringList({"1.jpg"}));
        QCOMPARE(w->StatusText(), QString("1 image(s) found"));
        QVERIFY(!w->Timer1->isActive() && !w->Searching());
        w->Timer1_Timer(); // a late tick changes nothing once idle
        QCOMPARE(w->StatusText(), QString("1 image(s) found"));
    }

    // Closed inside its own search: hidden at once, gone once the search has returned.
    void closingWhileSearching() {
        pictures({"1.jpg", "2.jpg", "A/3.jpg"});
        open();
        bool hiddenAtOnce = false;
        atNextEventPoint([&] {
            w->close();
            hiddenAtOnce = !w->isVisible();
        });
        search(root);
        QVERIFY(hiddenAtOnce);
        QVERIFY(!w->Searching());
        QCOMPARE(w->cmdOK->text(), QString("Search"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());
        QVERIFY(target.appended.isEmpty());
    }

    void menuAndSelection() {
        pictures({"a.jpg", "b.jpg"});
        open();
        search(root);
        QWidget* list = w->lstResult->viewport();
        QTest::mousePress(list, Qt::RightButton, {}, itemCentre(0));
        QVERIFY(!w->mMenu->isVisible()); // shown once the press has been handled
        QCoreApplication::processEvents();
        QVERIFY(w->mMenu->isVisible());
        QCOMPARE(w->mMenu->pos(), list->mapToGlobal(itemCentre(0)));
        QTest::keyClick(w->mMenu, Qt::Key_Escape);
        QCOMPARE(w->intSelected, 1);
        QVERIFY(w->cmdRemove->isEnabled() && w->cmdWallpaper->isEnabled());
        const QPoint empty(list->width() - 5, list->height() - 5);
        QTest::mouseClick(list, Qt::LeftButton, {}, empty);
        QVERIFY(!w->lstResult->item(0)->isSelected() && !w->blnSelected);
        QVERIFY(!w->cmdRemove->isEnabled() && !w->cmdWallpaper->isEnabled() &&
                w->cmdAdd->isEnabled());
        QTest::mouseDClick(list, Qt::LeftButton, {}, empty);
        QCoreApplication::processEvents();
        QVERIFY(viewers().isEmpty());
        bool popup = true, removable = false; // while a search runs: selects, no menu
        atNextEventPoint([&] {
            auto* item = new QListWidgetItem("x.jpg \r\n1 * 1");
            w->lstResult->addItem(item);
            w->lstResult_MouseDown(2);
            w->lstResult_ItemClick(item);
            popup = w->mMenu->isVisible();
            removable = w->cmdRemove->isEnabled();
            w->lstResult_MouseUp();
        });
        search(root);
        QCoreApplication::processEvents();
        QVERIFY(!popup && !w->mMenu->isVisible() && removable);
    }

    void removeWallpaperAddAndView() {
        pictures({"a.jpg", "b.bmp", "c.gif"});
        WritePicture(root + "/d.bmp", {8000, 6000});
        open();
        search(root);
        clickItem(1);
        w->cmdRemove->click();
        QCOMPARE(names(), QStringList({"a.jpg", "c.gif", "d.bmp"}));
        QCOMPARE(w->StatusText(), QString("4 image(s) found and 1 image(s) removed from list"));
        QVERIFY(!w->cmdRemove->isEnabled() && !w->cmdWallpaper->isEnabled());
        clickItem(0);
        w->mRemove->trigger();
        QCOMPARE(w->StatusText(), QString("4 image(s) found and 2 image(s) removed from list"));
        clickItem(0);
        w->cmdWallpaper->click();
        w->mWallpaper->trigger();
        QCOMPARE(target.wallpapers, QStringList({root + "/c.gif", root + "/c.gif"})); // a copy
        w->cmdAdd->click();
        w->cmdAdd->click();
        QCOMPARE(target.appended,
                 QStringList({root + "/c.gif", root + "/d.bmp", root + "/c.gif", root + "/d.bmp"}));
        QCOMPARE(w->AddedText(), QString("Total: 4 image(s) added"));
        search(root); // counted across searches
        w->cmdAdd->click();
        QCOMPARE(w->AddedText(), QString("Total: 8 image(s) added"));
        w->lstResult_DblClick(); // nothing selected
        QVERIFY(viewers().isEmpty());
        QTest::mouseDClick(w->lstResult->viewport(), Qt::LeftButton, {}, itemCentre(3));
        QCOMPARE(viewers().size(), 1);
        QCOMPARE(viewers().first()->imgPreview().pixmap().size(), QSize(800, 600)); // the screen's
        delete viewers().first();
        clickItem(0);
        QFile::remove(root + "/a.jpg");
        w->mFullscreen->trigger();
        QVERIFY(viewers().isEmpty());
        QCOMPARE(w->StatusText(), "Image not found:'" + root + "/a.jpg'");
    }
};

QTEST_MAIN(tst_frmSearch)
#include "tst_frmSearch.moc"
