// The search window's search (start, walk, stop, progress) and what the user
// does with its results.
#include "search/frmSearch.h"

#include "engine/Thumbnail.h"
#include "platform/Mounts.h"
#include "search/SearchWalk.h"
#include "search/Thumbnail.h"
#include "viewer/frmFullscreen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <unordered_set>

namespace tavorin {

using namespace search;

namespace {
const QString kStop = QStringLiteral("Stop");
const QString kSearch = QStringLiteral("Search");
} // namespace

void frmSearch::cmdOK_Click() {
    if (cmdOK->text() == kStop) {
        endSearch();
        return;
    }
    // A click that arrives while a stopped search is still returning is not a new search.
    if (engineRunning_)
        return;
    startSearch();
}

void frmSearch::startSearch() {
    const Comparison comparison = ComparisonFromText(cboSize->currentText());
    if (const auto problem =
            SizeBoxProblem(comparison, cboWidth->currentText(), cboHeight->currentText())) {
        panelStatus->setText(*problem);
        return;
    }
    intFound = 0;
    intRemoved = 0;
    const std::initializer_list<QWidget*> disabled = {cmdRemove, cmdWallpaper, cmdAdd,   cboWidth,
                                                      cboHeight, cboSize,      cboBrowse};
    for (QWidget* control : disabled)
        control->setEnabled(false);
    cmdOK->setText(kStop);
    blnStop = false;
    cboFileType->setEnabled(false);
    chkSubfolders->setEnabled(false);
    strPattern = PatternForFileType(cboFileType->currentText());
    lstResult->clear();
    lstResult->update();
    blnSelected = false;
    intSelected = 0;
    runSearch();
}

void frmSearch::runSearch() {
    WalkCriteria criteria;
    criteria.pattern = strPattern;
    criteria.comparison = ComparisonFromText(cboSize->currentText());
    criteria.width = ReadDimension(cboWidth->currentText()).value;
    criteria.height = ReadDimension(cboHeight->currentText()).value;

    WalkHooks hooks;
    hooks.letEventsRun = [this] { letEventsRun(); };
    hooks.stopRequested = [this] { return blnStop; };
    hooks.folderChanged = [this](const QString& folder) { currentFolder_ = folder; };
    hooks.recordHit = [this](const QString& path, QSize) { Add_Result(path); };
    std::unordered_set<std::string> mountPoints;
    for (const Mount& mount : CurrentMounts())
        mountPoints.insert(mount.point.toStdString());
    hooks.otherFileSystem = [&mountPoints](const std::string& folder) {
        return mountPoints.count(folder) != 0;
    };

    ThumbnailQueue queue([this](Thumbnail&& thumbnail) { appendResult(std::move(thumbnail)); });
    queue_ = &queue;
    engineRunning_ = true;
    Timer1->start();

    SearchWalk walk(criteria, hooks);
    const QString folder = cboBrowse->currentText();
    if (chkSubfolders->isChecked())
        walk.Search_Folder(folder);
    else
        walk.SearchSingleFolder(folder);

    queue.DeliverAll();
    queue_ = nullptr;
    engineRunning_ = false;
    if (cmdOK->text() == kStop)
        endSearch(); // ran out of files
    else if (lstResult->count() != intFound)
        showFound(); // the hit whose recording had begun at the stop
    if (closeRequested_)
        close();
}

void frmSearch::letEventsRun() {
    if (queue_)
        queue_->DeliverReady();
    QCoreApplication::processEvents();
}

void frmSearch::endSearch() {
    blnStop = true;
    Timer1->stop();
    cmdOK->setText(kSearch);
    cboFileType->setEnabled(true);
    chkSubfolders->setEnabled(true);
    cboSize->setEnabled(true);
    cboBrowse->setEnabled(true);
    if (cboSize->currentText() != QLatin1String("Any"))
        setSizeBoxesEnabled(true);
    if (queue_)
        queue_->DeliverAll();
    showFound();
}

void frmSearch::showFound() {
    const int count = lstResult->count();
    if (count > 0)
        cmdAdd->setEnabled(true);
    panelStatus->setText(QString::number(count) + QStringLiteral(" image(s) found"));
    intFound = count;
}

void frmSearch::Timer1_Timer() {
    if (cmdOK->text() == kStop && !blnStop)
        panelStatus->setText(currentFolder_);
}

void frmSearch::Add_Result(const QString& strFile) {
    letEventsRun();
    if (queue_)
        queue_->Submit(strFile);
}

void frmSearch::appendResult(Thumbnail&& thumbnail) {
    // A file that cannot be decoded is left out: there is no picture of it to show.
    if (!thumbnail.ok())
        return;
    auto* item = new QListWidgetItem(ResultItemText(thumbnail.path, thumbnail.pictureSize.width(),
                                                    thumbnail.pictureSize.height()));
    item->setData(KeyRole, thumbnail.path);
    // The list keeps its own copy, made on this thread: the decoding threads'
    // memory then holds nothing that lives on, and goes back whole.
    item->setData(ThumbnailRole, thumbnail.image.copy());
    item->setToolTip(thumbnail.path);
    lstResult->addItem(item);
}

// ---- Results.

void frmSearch::lstResult_MouseDown(int button) {
    intButton = button;
    // Every press starts a new click: a release the menu took from the list
    // must not leave the last one's state behind.
    blnItemClicked = false;
}

void frmSearch::lstResult_ItemClick(QListWidgetItem* item) {
    if (item == nullptr)
        return;
    intSelected = lstResult->row(item) + 1;
    cmdRemove->setEnabled(true);
    cmdWallpaper->setEnabled(true);
    cmdAdd->setEnabled(true);
    blnItemClicked = true;
    blnSelected = true;
    if (intButton == 2 && cmdOK->text() == kSearch)
        popUpMenu();
}

// Shown once the press has been handled, where it was made.
void frmSearch::popUpMenu() {
    QTimer::singleShot(0, this, [this, at = pressGlobal_] { mMenu->popup(at); });
}

void frmSearch::lstResult_MouseUp() {
    if (!blnItemClicked) {
        lstResult->clearSelection();
        cmdRemove->setEnabled(false);
        cmdWallpaper->setEnabled(false);
        blnSelected = false;
    }
    blnItemClicked = false;
}

QListWidgetItem* frmSearch::selectedResult() const {
    const QList<QListWidgetItem*> selected = lstResult->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void frmSearch::lstResult_DblClick() {
    if (!blnSelected)
        return;
    const QListWidgetItem* item = selectedResult();
    if (item == nullptr)
        return;
    const QString path = item->data(KeyRole).toString();
    const QImage picture = ReadPictureForScreen(path, frmFullscreen::ScreenPixels(this));
    if (picture.isNull()) {
        // Deleted or changed since the search.
        panelStatus->setText(QStringLiteral("Image not found:'") + path + QLatin1Char('\''));
        return;
    }
    auto* viewer = new frmFullscreen();
    viewer->show();
    viewer->Preview_Picture(QPixmap::fromImage(picture));
}

void frmSearch::cmdRemove_Click() {
    if (intSelected >= 1 && intSelected <= lstResult->count()) {
        delete lstResult->takeItem(intSelected - 1);
        ++intRemoved;
    }
    panelStatus->setText(QString::number(intFound) + QStringLiteral(" image(s) found and ") +
                         QString::number(intRemoved) +
                         QStringLiteral(" image(s) removed from list"));
    cmdRemove->setEnabled(false);
    cmdWallpaper->setEnabled(false);
}

void frmSearch::cmdWallpaper_Click() {
    const QListWidgetItem* item = selectedResult();
    if (item == nullptr)
        return;
    QString copy = item->data(KeyRole).toString();
    target_.Set_Wallpaper(copy);
}

void frmSearch::cmdAdd_Click() {
    for (int i = 0; i < lstResult->count(); ++i) {
        target_.Append_Picture(ResultKey(i));
        ++intAdded;
        panelAdded->setText(QStringLiteral("Total: ") + QString::number(intAdded) +
                            QStringLiteral(" image(s) added"));
    }
}

} // namespace tavorin
