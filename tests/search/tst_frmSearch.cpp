#include "tests/search/SearchWindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include <fcntl.h>

using namespace tavorin;
using namespace tavorin::test;

class tst_frmSearch : public QObject, protected SearchWindowFixture {
    Q_OBJECT
  private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

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
};

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
    WriteFile(root + "/c truncated.jpg", PictureBytes("JPG", {300, 200}, Qt::yellow).left(200));
    WriteFile(root + "/d zero.gif", GifBytes({0, 0}, {0, 0}, Qt::red));
    // A name that is not UTF-8 cannot be opened through the name the window knows.
    const QByteArray notUtf8 = QFile::encodeName(root) + "/e bad\xff.jpg";
    QFile raw;
    const int fd = ::open(notUtf8.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    QVERIFY(raw.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    raw.write(PictureBytes("JPG", {30, 20}, Qt::red));
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

QTEST_MAIN(tst_frmSearch)
#include "tst_frmSearch.moc"
