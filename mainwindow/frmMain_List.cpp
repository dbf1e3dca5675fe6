// The main window's wallpaper list: the selection and its preview, the
// edit commands handed to the list, and loading and saving list files.
#include "mainwindow/Schedule.h"
#include "mainwindow/frmMain.h"

#include "engine/FilePaths.h"
#include "engine/ListFile.h"
#include "engine/PictureInfo.h"
#include "engine/Thumbnail.h"
#include "settings/SettingsKeys.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace tavorin {

namespace {

const QString kListFilter = QStringLiteral("Tavorin Picturelist (*.tl)");

// Decodes a picture for the preview box, no larger than needed to fill it.
QImage PreviewImage(const QString& path, const QSize& box) {
    return ReadPictureForScreen(path, box * 2);
}

} // namespace

// ------------------------------------------------------------ the list

QStringList frmMain::ListPaths() const {
    return list_->Paths();
}

int frmMain::ListIndex() const {
    return list_->Index();
}

int frmMain::RowAt(int Y) const {
    return list_->RowAt(Y);
}

void frmMain::Append_Picture(const QString& path) {
    list_->Append(GetAbsolutePathName(path));
    List_Count();
}

void frmMain::List_Count() {
    lblListCount->setText(ListCountText(ListIndex(), list_->Count()));
}

void frmMain::SetListButtons() {
    const int count = list_->Count();
    const ListButtonStates states = ListButtons(ListIndex(), count);
    cmdUp->setEnabled(states.up);
    cmdDown->setEnabled(states.down);
    cmdDelete->setEnabled(states.remove);
    list_->EnableEntries(states);
    if (count == 0)
        stopPreview();
    if (isFrequently())
        cmdPreview->setEnabled(count >= 1);
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
    bool loaded = true;
    if (index >= 0) {
        const QString path = list_->PathAt(index);
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
    const QString name = index >= 0 ? list_->NameAt(index) : QString();
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

// ---------------------------------------- what the list tells the window

void frmMain::ListSelectionChanged() {
    lstWallpaper_Click();
}

void frmMain::ListDoubleClicked() {
    lstWallpaper_DblClick();
}

void frmMain::ListEntriesRemoved() {
    showNoPictureInfo();
    clearPreview();
    cmdApplyNow->setEnabled(false);
    List_Count();
    SetListButtons();
}

void frmMain::ListOrderChanged() {
    SetListButtons();
}

// ------------------------------------------- the handlers the list serves

void frmMain::cmdDelete_Click() {
    list_->DeleteSelected();
}

void frmMain::cmdUp_Click() {
    list_->MoveSelected(-1);
}

void frmMain::cmdDown_Click() {
    list_->MoveSelected(+1);
}

void frmMain::mClear_Click() {
    list_->Clear();
}

void frmMain::lstWallpaper_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers, int X, int Y) {
    list_->MouseDown(Button, X, Y);
}

void frmMain::lstWallpaper_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers, int X, int Y) {
    list_->MouseMove(Button, X, Y);
}

void frmMain::lstWallpaper_DragDrop(QObject* Source, int, int Y) {
    list_->DragDrop(Source, Y);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (mainMenuEvent(watched, event))
        return true;
    if (event->type() == QEvent::MouseButtonDblClick && watched == imgPreview) {
        imgPreview_DblClick();
        return true;
    }
    if ((event->type() == QEvent::MouseButtonPress ||
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
    const ListMenuEntries& menu = list_->Menu();
    connect(cmdDelete, &QPushButton::clicked, this, &frmMain::cmdDelete_Click);
    connect(cmdUp, &QPushButton::clicked, this, &frmMain::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &frmMain::cmdDown_Click);
    connect(menu.mApply, &QAction::triggered, this, &frmMain::mApply_Click);
    connect(menu.mSearch, &QAction::triggered, this, &frmMain::mSearch_Click);
    connect(menu.mAdd, &QAction::triggered, this, &frmMain::mAdd_Click);
    connect(menu.mDelete, &QAction::triggered, this, &frmMain::mDelete_Click);
    connect(menu.mUp, &QAction::triggered, this, &frmMain::mUp_Click);
    connect(menu.mDown, &QAction::triggered, this, &frmMain::mDown_Click);
    connect(menu.mClear, &QAction::triggered, this, &frmMain::mClear_Click);
}

// ------------------------------------------------------ load and save

void frmMain::cmdLoad_Click() {
    const QString chosen =
        m_.dialogs().GetOpenFileName(this, QStringLiteral("Open Tavorin Picturelist"),
                                     m_.GetINIFile(ini::kSettings, ini::kInitSaveDir), kListFilter);
    if (chosen.isEmpty())
        return;
    const QString path = chosen.trimmed();
    lblFilePath->setText(path);
    writeSetting(ini::kSettings, ini::kInitSaveDir, GetAbsolutePathName(path));
    mClear_Click();
    list_->AppendAll(ReadSavedList(path, kMaxLoadRecords));
    List_Count();
    SetListButtons();
    lblFilePath->clear();
}

void frmMain::cmdSave_Click() {
    const QString chosen =
        m_.dialogs().GetSaveFileName(this, QStringLiteral("Save Tavorin Picturelist"),
                                     m_.GetINIFile(ini::kSettings, ini::kInitSaveDir), kListFilter);
    if (chosen.trimmed().isEmpty()) {
        lblFilePath->clear();
        return;
    }
    QString path = chosen.trimmed();
    lblFilePath->setText(path);
    writeSetting(ini::kSettings, ini::kInitSaveDir, GetAbsolutePathName(path));
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
