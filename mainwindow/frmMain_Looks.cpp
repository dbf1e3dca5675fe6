// The main window's face: the skin, the help label, the documents, and
// the other windows it opens.
#include "mainwindow/frmMain.h"

#include "browser/frmBrowse.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "search/frmSearch.h"

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPixmap>

namespace tavorin {

namespace {

void setTextColour(QLabel* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// A modeless window of which one copy is open at a time: brought to the
// front when it is open, made when it is not.
template <typename Make> void showSingle(QPointer<QWidget>& window, Make make) {
    if (!window)
        window = make();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

// ----------------------------------------------------------------- skin

void frmMain::Skins() {
    ApplySkin(m_, *this, size(), &skinPreload_);
}

void frmMain::SetSkinPicture(const QImage& picture) {
    if (picture.isNull())
        Image1->clear();
    else
        Image1->setPixmap(QPixmap::fromImage(picture));
}

void frmMain::SetLabelColour(const QColor& colour) {
    for (QLabel* onSkin : {Label2, Label3, lblListCount})
        setTextColour(onSkin, colour);
}

void frmMain::SetHelpColour(const QColor& colour) {
    setTextColour(lblHelp, colour);
}

void frmMain::applyHelpLook(const HelpLook& look) {
    setTextColour(lblHelp, look.colour);
    QFont font = lblHelp->font();
    font.setUnderline(look.underline);
    lblHelp->setFont(font);
}

void frmMain::lblHelp_MouseMove() {
    applyHelpLook(HelpHoverLook(m_.GetINIFile(ini::kSettings, ini::kSkin)));
}

void frmMain::lblHelp_Layout() {
    // Only a label that shows its hover look has anything to give back.
    if (!lblHelp->font().underline())
        return;
    applyHelpLook(HelpRestLook(m_.GetINIFile(ini::kSettings, ini::kSkin)));
}

// ------------------------------------------------------------ documents

void frmMain::openDocument(const QString& relative) {
    m_.OpenDocument(m_.folder().DataFile(relative));
}

void frmMain::lblHelp_Click() {
    openDocument(QStringLiteral("Help/main ref.htm"));
}

void frmMain::mnuHelp_Click() {
    openDocument(QStringLiteral("Help/index.htm"));
}

void frmMain::mnuReadme_Click() {
    openDocument(QStringLiteral("readme.txt"));
}

void frmMain::mnuWebsite_Click() {
    openDocument(QStringLiteral("URLS/Updates.url"));
}

// -------------------------------------------------------- other windows

void frmMain::setDefaultOpeners() {
    openers_.Browse = [this] {
        showSingle(browseWindow_, [this] { return new frmBrowse(m_, *this); });
    };
    openers_.Search = [this] {
        showSingle(searchWindow_, [this] { return new frmSearch(m_, *this); });
    };
    openers_.Options = [this] {
        frmOption dialog(m_, *this, this);
        dialog.exec();
    };
    openers_.AboutModal = [this] {
        frmAbout dialog(m_, this);
        dialog.exec();
    };
}

void frmMain::cmdBrowse_Click() {
    if (openers_.Browse)
        openers_.Browse();
}

void frmMain::cmdSearch_Click() {
    if (openers_.Search)
        openers_.Search();
}

void frmMain::cmdOption_Click() {
    if (openers_.Options)
        openers_.Options();
}

void frmMain::cmdAbout_Click() {
    if (openers_.AboutModal)
        openers_.AboutModal();
}

// From the tray menu the about dialog does not block the program.
void frmMain::mAbout_Click() {
    if (!aboutWindow_) {
        aboutWindow_ = new frmAbout(m_, this);
        aboutWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    aboutWindow_->show();
    aboutWindow_->raise();
    aboutWindow_->activateWindow();
}

// ------------------------------------------------- the options dialog

QString frmMain::ChangeModeText() const {
    return cboChange->currentText();
}

void frmMain::SetChangeModeText(const QString& text) {
    const int index = cboChange->findText(text);
    if (index < 0 || index == cboChange->currentIndex())
        return;
    cboChange->setCurrentIndex(index);
    cboChange_Click();
}

QString frmMain::ChangeModeAt(int index) const {
    return index >= 0 && index < cboChange->count() ? cboChange->itemText(index) : QString();
}

void frmMain::InsertChangeMode(int index, const QString& text) {
    cboChange->insertItem(index, text);
}

void frmMain::RemoveChangeMode(int index) {
    if (index >= 0 && index < cboChange->count())
        cboChange->removeItem(index);
}

void frmMain::SetAboutAndRestoreEnabled(bool enabled) {
    mAbout->setEnabled(enabled);
    mRestore->setEnabled(enabled);
}

} // namespace tavorin
