#include "search/frmSearch.h"
#include "tests/search/TestPictures.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"
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
#include <memory>

using namespace tavorin;
using tavorin::test::WriteFile;
using tavorin::test::WritePicture;

namespace {

// The main window's side, recorded.
class RecordingTarget final : public PictureTarget {
  public:
    QStringList appended;
    QStringList wallpapers;
    void Append_Picture(const QString& path) override { appended << path; }
    void Set_Wallpaper(QString& path) override {
        wallpapers << path;
        path = QStringLiteral("/converted/Temp.bmp"); // what a conversion does to it
    }
};

// Runs f at the next point where the search lets events run.
void AtNextEventPoint(std::function<void()> f) {
    QTimer::singleShot(0, qApp, std::move(f));
}

QList<frmFullscreen*> Viewers() {
    QList<frmFullscreen*> viewers;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* v = qobject_cast<frmFullscreen*>(w); v && v->isVisible())
            viewers << v;
    }
    return viewers;
}

} // namespace

class tst_frmSearch : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();

    void controlsSitAtTheirPlaces_data();
    void controlsSitAtTheirPlaces();
    void loadsTheDefaultCriteria();
    void folderBoxListsVolumesThenBrowse();
    void browsingAddsTheFolderOnceAtTheTop();
    void cancelledBrowsingShowsTheRoot();
    void sizeBoxesKeepDigitsOnly();
    void comparisonEnablesTheSizeBoxes();
    void resizingLaysTheWindowOut();
    void helpLinkColoursAndOpensTheHelpPage();

    void searchListsHitsWithSizeAndThumbnail();
    void searchWithoutHitsLeavesAddDisabled();
    void secondSearchClearsTheFirst();
    void stopAnswersAtTheNextEventPoint();
    void timerTicksOnlyWhileSearching();
    void measuringSearchWithEmptyOrHugeBoxesDoesNotStart();
    void undecodableFilesAreLeftOut();
    void closingWhileSearchingStopsAndThenCloses();

    void clickOnEmptySpaceUnselects();
    void popupOnlyWhileIdle();
    void removeCountsAndNeedsANewClick();
    void setAsWallpaperPassesACopy();
    void addAllAppendsEveryResultEachTime();
    void fullScreenShowsTheSelectedPicture();

  private:
    frmSearch* open(const std::vector<search::Volume>& volumes = {{"/", true}});
    void search(const QString& folder, bool subfolders = true);
    void clickItem(int row, Qt::MouseButton button = Qt::LeftButton);
    QStringList resultNames() const;

    std::unique_ptr<test::TempProgramFolder> folder_;
    std::unique_ptr<test::FakePlatform> platform_;
    std::unique_ptr<Module1> m_;
    RecordingTarget target_;
    QPointer<frmSearch> window_;
    std::unique_ptr<QTemporaryDir> pictures_;
};

void tst_frmSearch::init() {
    folder_ = std::make_unique<test::TempProgramFolder>();
    platform_ = std::make_unique<test::FakePlatform>(folder_->path());
    m_ = std::make_unique<Module1>(platform_->services);
    target_ = RecordingTarget();
    pictures_ = std::make_unique<QTemporaryDir>();
}

void tst_frmSearch::cleanup() {
    delete window_;
    for (frmFullscreen* viewer : Viewers())
        delete viewer;
    m_.reset();
    platform_.reset();
    folder_.reset();
}

frmSearch* tst_frmSearch::open(const std::vector<search::Volume>& volumes) {
    window_ = new frmSearch(*m_, target_, volumes);
    window_->show();
    return window_;
}

void tst_frmSearch::search(const QString& folder, bool subfolders) {
    window_->cboBrowse->setEditText(folder);
    window_->chkSubfolders->setChecked(subfolders);
    window_->cmdOK_Click();
}

void tst_frmSearch::clickItem(int row, Qt::MouseButton button) {
    QListWidget* list = window_->lstResult;
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mousePress(list->viewport(), button, {}, at);
    QTest::mouseRelease(list->viewport(), button, {}, at);
}

QStringList tst_frmSearch::resultNames() const {
    QStringList names;
    for (int i = 0; i < window_->lstResult->count(); ++i)
        names << search::Get_FileName(window_->ResultKey(i));
    return names;
}

void tst_frmSearch::controlsSitAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("lstResult") << "lstResult" << QRect(0, 0, 448, 433);
    QTest::newRow("frameSearch") << "frameSearch" << QRect(448, 0, 177, 433);
    QTest::newRow("lblHelp") << "lblHelp" << QRect(144, 8, 27, 13);
    QTest::newRow("Frame1") << "Frame1" << QRect(8, 24, 161, 41);
    QTest::newRow("cboFileType") << "cboFileType" << QRect(8, 16, 145, 21);
    QTest::newRow("Frame2") << "Frame2" << QRect(8, 72, 161, 97);
    QTest::newRow("cboSize") << "cboSize" << QRect(8, 16, 145, 21);
    QTest::newRow("Label1") << "Label1" << QRect(8, 48, 33, 17);
    QTest::newRow("cboWidth") << "cboWidth" << QRect(48, 48, 105, 21);
    QTest::newRow("Label2") << "Label2" << QRect(8, 72, 41, 17);
    QTest::newRow("cboHeight") << "cboHeight" << QRect(48, 72, 105, 21);
    QTest::newRow("Frame3") << "Frame3" << QRect(8, 176, 161, 65);
    QTest::newRow("cboBrowse") << "cboBrowse" << QRect(8, 16, 145, 22);
    QTest::newRow("chkSubfolders") << "chkSubfolders" << QRect(24, 40, 105, 17);
    QTest::newRow("cmdOK") << "cmdOK" << QRect(40, 256, 97, 25);
    QTest::newRow("cmdRemove") << "cmdRemove" << QRect(40, 288, 97, 25);
    QTest::newRow("cmdWallpaper") << "cmdWallpaper" << QRect(40, 320, 97, 25);
    QTest::newRow("cmdAdd") << "cmdAdd" << QRect(40, 352, 97, 25);
    QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 433, 625, 18);
}

void tst_frmSearch::controlsSitAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    frmSearch* w = open();
    const QMap<QString, QWidget*> controls = {{"lstResult", w->lstResult},
                                              {"frameSearch", w->frameSearch},
                                              {"lblHelp", w->lblHelp},
                                              {"Frame1", w->Frame1},
                                              {"cboFileType", w->cboFileType},
                                              {"Frame2", w->Frame2},
                                              {"cboSize", w->cboSize},
                                              {"Label1", w->Label1},
                                              {"cboWidth", w->cboWidth},
                                              {"Label2", w->Label2},
                                              {"cboHeight", w->cboHeight},
                                              {"Frame3", w->Frame3},
                                              {"cboBrowse", w->cboBrowse},
                                              {"chkSubfolders", w->chkSubfolders},
                                              {"cmdOK", w->cmdOK},
                                              {"cmdRemove", w->cmdRemove},
                                              {"cmdWallpaper", w->cmdWallpaper},
                                              {"cmdAdd", w->cmdAdd},
                                              {"StatusBar1", w->StatusBar1}};
    QCOMPARE(controls.value(name)->geometry(), place);
}

void tst_frmSearch::loadsTheDefaultCriteria() {
    frmSearch* w = open();
    QCOMPARE(w->windowTitle(), QString("Search for Images"));
    QCOMPARE(w->size(), QSize(625, 451));
    QCOMPARE(w->cboSize->currentText(), QString("Any"));
    QCOMPARE(w->cboWidth->currentText(), QString("640"));
    QCOMPARE(w->cboHeight->currentText(), QString("480"));
    QCOMPARE(w->cboFileType->currentText(), QString("Background Files (*.bmp; *.jpg; *.gif)"));
    QCOMPARE(w->cboFileType->toolTip(), w->cboFileType->currentText());
    QCOMPARE(w->cboFileType->count(), 5);
    QCOMPARE(w->cboWidth->itemText(4), QString("1280"));
    QCOMPARE(w->cboHeight->itemText(4), QString("960"));
    QVERIFY(!w->cboWidth->isEnabled());
    QVERIFY(!w->cboHeight->isEnabled());
    QVERIFY(w->chkSubfolders->isChecked());
    QCOMPARE(w->chkSubfolders->text(), QString("include subfolders"));
    QCOMPARE(w->cmdOK->text(), QString("Search"));
    QCOMPARE(w->cmdOK->toolTip(), QString("Click here to begin searhing"));
    QVERIFY(!w->cmdRemove->isEnabled() && !w->cmdWallpaper->isEnabled() && !w->cmdAdd->isEnabled());
    QCOMPARE(w->AddedText(), QString("Total: 0 image(s) added"));
    QCOMPARE(w->panelAdded->toolTip(), QString("Total: 0 image(s) added"));
    QCOMPARE(w->lblHelp->toolTip(), QString("View help document"));
    QVERIFY(!w->Timer1->isActive());
    QStringList menu;
    for (QAction* action : w->mMenu->actions())
        menu << (action->isSeparator() ? "-" : action->text());
    QCOMPARE(menu, QStringList({"&Fullscreen", "-", "&Remove", "&Set As Wallpaper"}));
}

void tst_frmSearch::folderBoxListsVolumesThenBrowse() {
    frmSearch* w = open({{"/media/usb", true}, {"/", true}, {"/mnt/cd", false}});
    QStringList texts, keys;
    for (int i = 0; i < w->cboBrowse->count(); ++i) {
        texts << w->cboBrowse->itemText(i);
        keys << w->cboBrowse->itemData(i).toString();
    }
    QCOMPARE(texts, QStringList({"/", "/media/usb", "Browse..."}));
    QCOMPARE(keys, QStringList({"/", "/media/usb", "[BrowseFolder]"}));
    QCOMPARE(w->cboBrowse->currentText(), QString("/"));
    QCOMPARE(w->cboBrowse->toolTip(), QString("/"));
}

void tst_frmSearch::browsingAddsTheFolderOnceAtTheTop() {
    frmSearch* w = open();
    const QString chosen = pictures_->path();
    platform_->dialogs.folderAnswers = {chosen, chosen};
    for (int round = 0; round < 2; ++round) {
        w->cboBrowse->setCurrentIndex(w->cboBrowse->findText("Browse..."));
        w->cboBrowse_Click();
        QCOMPARE(w->cboBrowse->currentText(), chosen);
        QCOMPARE(w->cboBrowse->toolTip(), chosen);
    }
    QCOMPARE(w->cboBrowse->count(), 3);
    QCOMPARE(w->cboBrowse->itemText(0), chosen);
    QCOMPARE(w->cboBrowse->itemData(0).toString(), chosen);
    QCOMPARE(platform_->dialogs.fileDialogs.size(), 2);
    QCOMPARE(platform_->dialogs.fileDialogs[0].title, QString("Please, choose a folder"));
}

void tst_frmSearch::cancelledBrowsingShowsTheRoot() {
    frmSearch* w = open();
    w->cboBrowse->setEditText("/somewhere");
    w->cboBrowse->setCurrentIndex(w->cboBrowse->findText("Browse..."));
    w->cboBrowse_Click(); // no answer: cancelled
    QCOMPARE(w->cboBrowse->currentText(), QString("/"));
    QCOMPARE(w->cboBrowse->toolTip(), QString("/"));
    QCOMPARE(w->cboBrowse->count(), 2);
}

void tst_frmSearch::sizeBoxesKeepDigitsOnly() {
    frmSearch* w = open();
    w->cboSize->setCurrentText("Equal To");
    QLineEdit* edit = w->cboWidth->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, "1o24");
    QCOMPARE(w->cboWidth->currentText(), QString("124"));
    QCOMPARE(edit->cursorPosition(), 3);
    w->cboHeight->setEditText("800x600"); // pasted
    QCOMPARE(w->cboHeight->currentText(), QString("800600"));
    w->cboWidth->setEditText("");
    QTest::keyClicks(edit, "abc");
    QCOMPARE(w->cboWidth->currentText(), QString(""));
}

void tst_frmSearch::comparisonEnablesTheSizeBoxes() {
    frmSearch* w = open();
    const QColor window = w->palette().color(QPalette::Window);
    QCOMPARE(w->cboWidth->palette().color(QPalette::Base), window);
    w->cboSize->setCurrentText("Less Than");
    QVERIFY(w->cboWidth->isEnabled() && w->cboHeight->isEnabled());
    QCOMPARE(w->cboHeight->palette().color(QPalette::Base),
             w->palette().color(QPalette::Active, QPalette::Base));
    w->cboWidth->setEditText("1024");
    w->cboSize->setCurrentText("Any");
    QVERIFY(!w->cboWidth->isEnabled() && !w->cboHeight->isEnabled());
    QCOMPARE(w->cboHeight->palette().color(QPalette::Base), window);
    QCOMPARE(w->cboWidth->currentText(), QString("1024"));
}

void tst_frmSearch::resizingLaysTheWindowOut() {
    frmSearch* w = open();
    QCOMPARE(w->panelStatus->width(), 420);
    w->resize(800, 600);
    QCOMPARE(w->lstResult->geometry(), QRect(0, 0, 623, 582));
    QCOMPARE(w->frameSearch->geometry(), QRect(623, 0, 177, 582));
    QCoreApplication::processEvents();
    QCOMPARE(w->panelStatus->width(), 595);
    QCOMPARE(w->panelAdded->width(), 210);
    QCOMPARE(w->StatusBar1->geometry(), QRect(0, 582, 800, 18));
    QCOMPARE(w->cmdOK->geometry(), QRect(40, 256, 97, 25));
}

void tst_frmSearch::helpLinkColoursAndOpensTheHelpPage() {
    frmSearch* w = open();
    const QPoint at = w->lblHelp->rect().center();
    QTest::mousePress(w->lblHelp, Qt::LeftButton, {}, at);
    QCOMPARE(w->lblHelp->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QTest::mouseMove(w->lblHelp, at + QPoint(1, 0));
    QMouseEvent move(QEvent::MouseMove, QPointF(at), w->lblHelp->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w->lblHelp, &move);
    QCOMPARE(w->lblHelp->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QTest::mouseRelease(w->lblHelp, Qt::LeftButton, {}, at);
    QCOMPARE(platform_->shell.opened, QStringList({folder_->path() + "/Help/sub ref.htm"}));
}

void tst_frmSearch::searchListsHitsWithSizeAndThumbnail() {
    const QString root = pictures_->path();
    WritePicture(root + "/b.jpg", {1024, 768}, Qt::blue);
    WritePicture(root + "/a.jpg", {800, 800}, Qt::red);
    WritePicture(root + "/sub/c.gif", {50, 40}, Qt::green);
    frmSearch* w = open();
    search(root);
    QCOMPARE(w->cmdOK->text(), QString("Search"));
    QCOMPARE(resultNames(), QStringList({"a.jpg", "b.jpg", "c.gif"}));
    QCOMPARE(w->ResultKey(1), root + "/b.jpg");
    QCOMPARE(w->lstResult->item(1)->text(), QString("b.jpg \r\n1024 * 768"));
    const QImage thumb = w->lstResult->item(0)->data(frmSearch::ThumbnailRole).value<QImage>();
    QCOMPARE(thumb.size(), QSize(77, 77));
    const QColor centre = thumb.pixelColor(38, 38); // JPEG: nearly red
    QVERIFY(centre.red() > 240 && centre.green() < 16 && centre.blue() < 16);
    QCOMPARE(w->StatusText(), QString("3 image(s) found"));
    QCOMPARE(w->intFound, 3);
    QVERIFY(w->cmdAdd->isEnabled());
    QVERIFY(w->cboBrowse->isEnabled() && w->cboSize->isEnabled() && w->chkSubfolders->isEnabled());
    QVERIFY(!w->cboWidth->isEnabled()); // "Any"

    search(root, false); // this folder only
    QCOMPARE(resultNames(), QStringList({"a.jpg", "b.jpg"}));
}

void tst_frmSearch::searchWithoutHitsLeavesAddDisabled() {
    WriteFile(pictures_->path() + "/notes.txt", "x");
    frmSearch* w = open();
    search(pictures_->path());
    QCOMPARE(w->StatusText(), QString("0 image(s) found"));
    QVERIFY(!w->cmdAdd->isEnabled());
}

void tst_frmSearch::secondSearchClearsTheFirst() {
    const QString root = pictures_->path();
    WritePicture(root + "/one/a.jpg", {10, 10});
    WritePicture(root + "/two/b.jpg", {10, 10});
    frmSearch* w = open();
    search(root + "/one");
    QCOMPARE(resultNames(), QStringList({"a.jpg"}));
    int countAtFirstEvent = -1;
    AtNextEventPoint([&] { countAtFirstEvent = w->lstResult->count(); });
    search(root + "/two");
    QCOMPARE(countAtFirstEvent, 0);
    QCOMPARE(resultNames(), QStringList({"b.jpg"}));
}

void tst_frmSearch::stopAnswersAtTheNextEventPoint() {
    const QString root = pictures_->path();
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "A/4.jpg"})
        WritePicture(root + "/" + name, {10, 10});
    frmSearch* w = open();
    QString captionAfterClick;
    AtNextEventPoint([&] {
        w->cmdOK->click();
        captionAfterClick = w->cmdOK->text();
    });
    search(root);
    QCOMPARE(captionAfterClick, QString("Search"));
    // The file whose turn it was is still examined; nothing after it.
    QCOMPARE(resultNames(), QStringList({"1.jpg"}));
    QCOMPARE(w->StatusText(), QString("1 image(s) found"));
    QVERIFY(!w->Timer1->isActive());
    QVERIFY(!w->Searching());
}

void tst_frmSearch::timerTicksOnlyWhileSearching() {
    const QString root = pictures_->path();
    WritePicture(root + "/A/a.jpg", {10, 10});
    frmSearch* w = open();
    QVERIFY(!w->Timer1->isActive());
    bool activeDuring = false;
    QString shown;
    AtNextEventPoint([&] {
        activeDuring = w->Timer1->isActive();
        w->Timer1_Timer();
        shown = w->StatusText();
    });
    search(root);
    QVERIFY(activeDuring);
    QCOMPARE(shown, root); // the event point before subfolder A
    QVERIFY(!w->Timer1->isActive());
    w->Timer1_Timer(); // a late tick changes nothing once idle
    QCOMPARE(w->StatusText(), QString("1 image(s) found"));
}

void tst_frmSearch::measuringSearchWithEmptyOrHugeBoxesDoesNotStart() {
    const QString root = pictures_->path();
    WritePicture(root + "/a.jpg", {10, 10});
    frmSearch* w = open();
    search(root);
    QCOMPARE(w->lstResult->count(), 1);
    w->cboSize->setCurrentText("Equal To");
    w->cboWidth->setEditText("");
    w->cmdOK_Click();
    QCOMPARE(w->StatusText(), QString("Type a width and a height in pixels to compare with"));
    QCOMPARE(w->cmdOK->text(), QString("Search"));
    QCOMPARE(w->lstResult->count(), 1); // the last results stay
    w->cboWidth->setEditText("10");
    w->cboHeight->setEditText(QString(45, QLatin1Char('9')));
    w->cmdOK_Click();
    QCOMPARE(w->StatusText(), QString("Width and height must be at most 16777216 pixels"));
    w->cboHeight->setEditText("10");
    w->cmdOK_Click();
    QCOMPARE(w->StatusText(), QString("1 image(s) found"));
}

void tst_frmSearch::undecodableFilesAreLeftOut() {
    const QString root = pictures_->path();
    WriteFile(root + "/a photo.jpg", QByteArray());
    WritePicture(root + "/b.jpg", {30, 20}, Qt::blue);
    WriteFile(root + "/c truncated.jpg",
              test::PictureBytes("JPG", {300, 200}, Qt::yellow).left(200));
    WriteFile(root + "/d zero.gif", test::GifBytes({0, 0}, {0, 0}, Qt::red));
    // A name that is not UTF-8 cannot be opened through the name the window knows.
    const QByteArray notUtf8 = QFile::encodeName(root) + "/e bad\xff.jpg";
    QFile raw;
    const int fd = ::open(notUtf8.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    QVERIFY(raw.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    raw.write(test::PictureBytes("JPG", {30, 20}, Qt::red));
    raw.close();
    frmSearch* w = open();
    search(root);
    // Whatever else is listed shows its own picture, never the one before it.
    QVERIFY(resultNames().contains("b.jpg"));
    QVERIFY(!resultNames().contains("a photo.jpg"));
    QVERIFY(!resultNames().contains("d zero.gif"));
    QCOMPARE(resultNames().filter("bad").size(), 0);
    for (int i = 0; i < w->lstResult->count(); ++i) {
        if (resultNames()[i] == "c truncated.jpg") {
            const QImage thumb =
                w->lstResult->item(i)->data(frmSearch::ThumbnailRole).value<QImage>();
            QVERIFY(thumb.pixelColor(0, 0) != QColor(Qt::blue));
        }
    }
    QCOMPARE(w->StatusText(), QString::number(w->lstResult->count()) + " image(s) found");
}

void tst_frmSearch::closingWhileSearchingStopsAndThenCloses() {
    const QString root = pictures_->path();
    for (const char* name : {"1.jpg", "2.jpg", "A/3.jpg"})
        WritePicture(root + "/" + name, {10, 10});
    frmSearch* w = open();
    bool hiddenAtOnce = false;
    AtNextEventPoint([&] {
        w->close();
        hiddenAtOnce = !w->isVisible();
    });
    search(root);
    QVERIFY(hiddenAtOnce);
    QVERIFY(!w->Searching());
    QCOMPARE(w->cmdOK->text(), QString("Search"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window_.isNull()); // closed and gone once the search had returned
    QVERIFY(target_.appended.isEmpty());
}

void tst_frmSearch::clickOnEmptySpaceUnselects() {
    const QString root = pictures_->path();
    WritePicture(root + "/a.jpg", {10, 10});
    frmSearch* w = open();
    search(root);
    clickItem(0);
    QCOMPARE(w->intSelected, 1);
    QVERIFY(w->cmdRemove->isEnabled() && w->cmdWallpaper->isEnabled() && w->cmdAdd->isEnabled());
    QVERIFY(w->lstResult->item(0)->isSelected());
    const QPoint empty(w->lstResult->viewport()->width() - 5,
                       w->lstResult->viewport()->height() - 5);
    QTest::mouseClick(w->lstResult->viewport(), Qt::LeftButton, {}, empty);
    QVERIFY(!w->lstResult->item(0)->isSelected());
    QVERIFY(!w->cmdRemove->isEnabled() && !w->cmdWallpaper->isEnabled());
    QVERIFY(w->cmdAdd->isEnabled());
    QVERIFY(!w->blnSelected);
    // Double-clicking empty space then opens nothing.
    QTest::mouseDClick(w->lstResult->viewport(), Qt::LeftButton, {}, empty);
    QVERIFY(Viewers().isEmpty());
}

void tst_frmSearch::popupOnlyWhileIdle() {
    const QString root = pictures_->path();
    WritePicture(root + "/a.jpg", {10, 10});
    WritePicture(root + "/b.jpg", {10, 10});
    frmSearch* w = open();
    search(root);
    QTest::mousePress(w->lstResult->viewport(), Qt::RightButton, {},
                      w->lstResult->visualItemRect(w->lstResult->item(0)).center());
    QVERIFY(w->mMenu->isVisible());
    w->mMenu->hide();
    QTest::mouseRelease(w->lstResult->viewport(), Qt::RightButton, {},
                        w->lstResult->visualItemRect(w->lstResult->item(0)).center());

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
    QVERIFY(!popupWhileRunning);
    QVERIFY(removeEnabledWhileRunning);
}

void tst_frmSearch::removeCountsAndNeedsANewClick() {
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

void tst_frmSearch::setAsWallpaperPassesACopy() {
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

void tst_frmSearch::addAllAppendsEveryResultEachTime() {
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

void tst_frmSearch::fullScreenShowsTheSelectedPicture() {
    const QString root = pictures_->path();
    WritePicture(root + "/a.jpg", {10, 10});
    WritePicture(root + "/b.jpg", {10, 10});
    frmSearch* w = open();
    search(root);
    w->lstResult_DblClick(); // nothing selected yet
    QVERIFY(Viewers().isEmpty());
    const QPoint at = w->lstResult->visualItemRect(w->lstResult->item(0)).center();
    QTest::mouseDClick(w->lstResult->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(Viewers().size(), 1);
    delete Viewers().first();

    // The file went away after the search: no viewer, and the window says why.
    clickItem(1);
    QFile::remove(root + "/b.jpg");
    w->mFullscreen->trigger();
    QVERIFY(Viewers().isEmpty());
    QCOMPARE(w->StatusText(), "Image not found:'" + root + "/b.jpg'");
}

QTEST_MAIN(tst_frmSearch)
#include "tst_frmSearch.moc"
