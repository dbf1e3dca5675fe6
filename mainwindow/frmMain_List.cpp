// The main window's wallpaper list: selection, editing, the list menu,
// drag-and-drop, and loading and saving list files.
#include "mainwindow/Schedule.h"
#include "mainwindow/frmMain.h"

#include "engine/FilePaths.h"
#include "engine/ListFile.h"
#include "engine/PictureInfo.h"
#include "engine/Thumbnail.h"
#include "mainwindow/ButtonIcons.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>

namespace tavorin {

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kListFilter = QStringLiteral("Tavorin Picturelist (*.tl)");
// What a drag inside the list carries: the name of the dragged control.
const QString kDragFormat = QStringLiteral("application/x-tavorin-control");

// Decodes a picture for the preview box, no larger than needed to fill it.
QImage PreviewImage(const QString& path, const QSize& box) {
    return ReadPictureForScreen(path, box * 2);
}

} // namespace

// ------------------------------------------------------------ the lists

QStringList frmMain::ListPaths() const {
    QStringList paths;
    paths.reserve(lstAdd->count());
    for (int i = 0; i < lstAdd->count(); ++i)
        paths << lstAdd->item(i)->text();
    return paths;
}

int frmMain::ListIndex() const {
    const int row = lstWallpaper->currentRow();
    if (row < 0 || !lstWallpaper->item(row)->isSelected())
        return -1;
    return row;
}

void frmMain::appendEntry(const QString& path, const QString& name) {
    lstAdd->addItem(path);
    lstWallpaper->addItem(name);
}

// A whole list goes in with one insertion into each list box, which is far
// quicker than one insertion a picture.
void frmMain::appendEntries(const QStringList& paths) {
    QStringList names;
    names.reserve(paths.size());
    for (const QString& path : paths)
        names << GetFileName(path);
    lstAdd->addItems(paths);
    lstWallpaper->addItems(names);
}

void frmMain::Append_Picture(const QString& path) {
    appendEntry(GetAbsolutePathName(path), GetFileName(path));
    List_Count();
}

void frmMain::List_Count() {
    lblListCount->setText(ListCountText(ListIndex(), lstWallpaper->count()));
}

void frmMain::SetListButtons() {
    const int count = lstWallpaper->count();
    const ListButtonStates states = ListButtons(ListIndex(), count);
    cmdUp->setEnabled(states.up);
    mUp->setEnabled(states.up);
    cmdDown->setEnabled(states.down);
    mDown->setEnabled(states.down);
    cmdDelete->setEnabled(states.remove);
    mDelete->setEnabled(states.remove);
    if (count == 0)
        stopPreview();
    if (isFrequently())
        cmdPreview->setEnabled(count >= 1);
}

// Selects a row of both lists (-1: none) and runs the selection handling
// when the selection changed.
void frmMain::setListSelection(int row) {
    if (row == ListIndex())
        return;
    {
        const QSignalBlocker blockShown(lstWallpaper);
        const QSignalBlocker blockPaths(lstAdd);
        if (row < 0) {
            lstWallpaper->setCurrentRow(-1);
            lstWallpaper->clearSelection();
        } else {
            lstWallpaper->setCurrentRow(row);
        }
    }
    lstWallpaper_Click();
}

// ------------------------------------------------------ selection change

void frmMain::lstWallpaper_Click() {
    if (inClick_)
        return;
    inClick_ = true;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    clearPreview();
    lblLoading->show();
    lblInfo->clear();
    imgPreview->repaint();
    lblLoading->repaint();
    lblInfo->repaint();
    SetListButtons();
    const int index = ListIndex();
    {
        const QSignalBlocker block(lstAdd);
        lstAdd->setCurrentRow(index);
    }
    bool loaded = true;
    if (index >= 0) {
        const QString path = lstAdd->item(index)->text();
        loaded = showPreview(path);
        if (loaded) {
            const auto info = Image_Info(path);
            loaded = info.has_value();
            if (loaded)
                lblInfo->setText(*info);
        }
    }
    lblLoading->hide();
    inClick_ = false;
    if (!loaded) {
        showNoPictureInfo();
        reportMissingPicture();
        return;
    }
    cmdApplyNow->setEnabled(index >= 0);
    if (index < 0)
        showNoPictureInfo();
    List_Count();
}

bool frmMain::showPreview(const QString& path) {
    const QImage picture = PreviewImage(path, Frame2->size());
    if (picture.isNull())
        return false;
    imgPreview->setPixmap(QPixmap::fromImage(picture));
    previewPath_ = path;
    return true;
}

// With no picture selected the label keeps its design text.
void frmMain::showNoPictureInfo() {
    lblInfo->setText(QStringLiteral("Picture information"));
}

void frmMain::clearPreview() {
    imgPreview->clear();
    previewPath_.clear();
}

// A picture that cannot be shown: say so, then offer to drop it.
void frmMain::reportMissingPicture() {
    const int index = ListIndex();
    const QString name = index >= 0 ? lstWallpaper->item(index)->text() : QString();
    // The preview must not move the selection while the user answers.
    reportingMissing_ = true;
    m_.dialogs().MsgBox(QStringLiteral("File not found:'") + name + QLatin1Char('\''),
                        MsgButtons::Ok, MsgIcon::Critical);
    cmdDelete_Click();
    reportingMissing_ = false;
}

void frmMain::lstWallpaper_DblClick() {
    cmdApplyNow_Click();
}

// ------------------------------------------------------------ edit commands

void frmMain::cmdDelete_Click() {
    const int index = ListIndex();
    if (index < 0) {
        m_.dialogs().MsgBox(QStringLiteral("You did not select an item from listbox to delete."),
                            MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    const QString question = QStringLiteral("Are you sure you want to remove ") +
                             lstWallpaper->item(index)->text() + QStringLiteral(" from the list?");
    if (m_.dialogs().MsgBox(question, MsgButtons::YesNo, MsgIcon::Question,
                            QStringLiteral("Confirm")) != MsgResult::Yes)
        return;
    removeEntry(index);
    showNoPictureInfo();
    clearPreview();
    cmdApplyNow->setEnabled(false);
    List_Count();
    SetListButtons();
}

void frmMain::removeEntry(int row) {
    const QSignalBlocker blockShown(lstWallpaper);
    const QSignalBlocker blockPaths(lstAdd);
    delete lstWallpaper->takeItem(row);
    delete lstAdd->takeItem(row);
    for (QListWidget* list : {lstWallpaper, lstAdd}) {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

// Moves entry `from` to index `to` in both lists, leaving nothing selected
// until the caller selects the moved entry.
void frmMain::moveEntry(int from, int to) {
    const QSignalBlocker blockShown(lstWallpaper);
    const QSignalBlocker blockPaths(lstAdd);
    for (QListWidget* list : {lstAdd, lstWallpaper}) {
        QListWidgetItem* item = list->takeItem(from);
        list->insertItem(to, item);
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

void frmMain::cmdUp_Click() {
    moveSelected(-1);
}

void frmMain::cmdDown_Click() {
    moveSelected(+1);
}

// Moves the selected entry one row up (-1) or down (+1) in both lists.
void frmMain::moveSelected(int offset) {
    const int index = ListIndex();
    const int target = index + offset;
    if (index < 0 || target < 0 || target >= lstWallpaper->count())
        return;
    moveEntry(index, target);
    setListSelection(target);
}

void frmMain::mClear_Click() {
    {
        const QSignalBlocker blockShown(lstWallpaper);
        const QSignalBlocker blockPaths(lstAdd);
        lstWallpaper->clear();
        lstAdd->clear();
    }
    clearPreview();
    cmdApplyNow->setEnabled(false);
    SetListButtons();
    showNoPictureInfo();
    List_Count();
}

// ------------------------------------------------------ mouse and menu

int frmMain::RowAt(int Y) const {
    const QModelIndex index = lstWallpaper->indexAt(QPoint(1, Y));
    if (index.isValid())
        return index.row();
    return lstWallpaper->count();
}

void frmMain::lstWallpaper_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers, int X, int Y) {
    const int row = RowAt(Y);
    const int count = lstWallpaper->count();
    if (row > count - 1 && ListIndex() >= 0)
        setListSelection(-1);
    if (row < count)
        setListSelection(row);
    if (Button != Qt::RightButton)
        return;
    const ListMenuVisibility visible = ListMenu(ListIndex(), count);
    for (QAction* entry : {mApply, mnuListSeperator, mDelete, mUp, mDown})
        entry->setVisible(visible.selectionEntries);
    for (QAction* entry : {mnuListSeperator2, mClear})
        entry->setVisible(visible.clearEntries);
    mSearch->setVisible(true);
    mAdd->setVisible(true);
    mlist->popup(lstWallpaper->viewport()->mapToGlobal(QPoint(X, Y)));
}

void frmMain::lstWallpaper_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers, int X, int Y) {
    if (!(Button & Qt::LeftButton))
        return;
    if ((QPoint(X, Y) - dragStart_).manhattanLength() < QApplication::startDragDistance())
        return;
    beginDrag();
}

void frmMain::beginDrag() {
    if (ListIndex() < 0)
        return;
    auto* drag = new QDrag(lstWallpaper);
    auto* data = new QMimeData;
    data->setData(kDragFormat, lstWallpaper->objectName().toUtf8());
    drag->setMimeData(data);
    drag->setPixmap(ButtonIcon(ButtonPicture::Add).pixmap(18, 18));
    drag->exec(Qt::MoveAction);
}

// A drop inside the list moves the selected entry onto the row it was
// dropped on; below the last row, to the end.
void frmMain::lstWallpaper_DragDrop(QObject* Source, int, int Y) {
    const int count = lstWallpaper->count();
    if (!Source || Source->objectName() != QLatin1String("lstWallpaper") || count == 0)
        return;
    const int selected = ListIndex();
    const auto target = DropTarget(RowAt(Y), selected, count);
    if (!target)
        return;
    if (selected >= 0) {
        moveEntry(selected, *target);
        setListSelection(*target);
    }
    SetListButtons();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (mainMenuEvent(watched, event))
        return true;
    if (watched == lstWallpaper->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* press = static_cast<QMouseEvent*>(event);
            const QPoint at = press->position().toPoint();
            dragStart_ = at;
            lstWallpaper->setFocus();
            lstWallpaper_MouseDown(press->button(), press->modifiers(), at.x(), at.y());
            return true;
        }
        case QEvent::MouseMove: {
            auto* move = static_cast<QMouseEvent*>(event);
            const QPoint at = move->position().toPoint();
            lstWallpaper_MouseMove(move->buttons(), move->modifiers(), at.x(), at.y());
            return true;
        }
        case QEvent::MouseButtonDblClick:
            lstWallpaper_DblClick();
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasFormat(kDragFormat))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QPoint at = drop->position().toPoint();
            if (drop->mimeData()->hasFormat(kDragFormat)) {
                drop->acceptProposedAction();
                lstWallpaper_DragDrop(drop->source(), at.x(), at.y());
            }
            return true;
        }
        default:
            break;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == imgPreview) {
        imgPreview_DblClick();
        return true;
    } else if ((event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick) &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblRandom) {
            lblRandom_Click();
            return true;
        }
        if (watched == lblShutdown) {
            lblShutdown_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::connectListHandlers() {
    connect(lstWallpaper, &QListWidget::currentRowChanged, this, [this] { lstWallpaper_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, &frmMain::cmdDelete_Click);
    connect(cmdUp, &QPushButton::clicked, this, &frmMain::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &frmMain::cmdDown_Click);
    connect(mApply, &QAction::triggered, this, &frmMain::mApply_Click);
    connect(mSearch, &QAction::triggered, this, &frmMain::mSearch_Click);
    connect(mAdd, &QAction::triggered, this, &frmMain::mAdd_Click);
    connect(mDelete, &QAction::triggered, this, &frmMain::mDelete_Click);
    connect(mUp, &QAction::triggered, this, &frmMain::mUp_Click);
    connect(mDown, &QAction::triggered, this, &frmMain::mDown_Click);
    connect(mClear, &QAction::triggered, this, &frmMain::mClear_Click);
}

// ------------------------------------------------------ load and save

void frmMain::cmdLoad_Click() {
    const QString chosen = m_.dialogs().GetOpenFileName(
        this, QStringLiteral("Open Tavorin Picturelist"),
        m_.GetINIFile(kSettings, QStringLiteral("InitSaveDir")), kListFilter);
    if (chosen.isEmpty())
        return;
    const QString path = chosen.trimmed();
    lblFilePath->setText(path);
    writeSetting(kSettings, QStringLiteral("InitSaveDir"), GetAbsolutePathName(path));
    mClear_Click();
    appendEntries(ReadSavedList(path, kMaxLoadRecords));
    List_Count();
    SetListButtons();
    lblFilePath->clear();
}

void frmMain::cmdSave_Click() {
    const QString chosen = m_.dialogs().GetSaveFileName(
        this, QStringLiteral("Save Tavorin Picturelist"),
        m_.GetINIFile(kSettings, QStringLiteral("InitSaveDir")), kListFilter);
    if (chosen.trimmed().isEmpty()) {
        lblFilePath->clear();
        return;
    }
    QString path = chosen.trimmed();
    lblFilePath->setText(path);
    writeSetting(kSettings, QStringLiteral("InitSaveDir"), GetAbsolutePathName(path));
    if (GetExtensionName(path).isEmpty())
        path += QStringLiteral(".tl");
    const ListWriteResult result = WriteSavedList(path, ListPaths());
    if (!result.written)
        m_.dialogs().MsgBox(QStringLiteral("Could not save the list:'") + path + QLatin1Char('\''),
                            MsgButtons::Ok, MsgIcon::Critical);
    else
        reportUnsavedPictures(result.skipped);
    lblFilePath->clear();
}

// Names the pictures a list file could not hold (paths too long for a record).
void frmMain::reportUnsavedPictures(const QStringList& skipped) {
    if (skipped.isEmpty())
        return;
    QString text =
        QStringLiteral("These pictures could not be saved in the list, their paths are too long:");
    for (const QString& path : skipped)
        text += QStringLiteral("\r\n'") + path + QLatin1Char('\'');
    m_.dialogs().MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace tavorin
