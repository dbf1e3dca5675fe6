// Message boxes and the common file dialogs over Qt.
#include "platform/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace tavorin {

namespace {

QMessageBox::Icon toQtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MsgResult fromQt(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        return MsgResult::Ok;
    }
}

} // namespace

MsgResult QtDialogs::MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                            const QString& title) {
    QMessageBox box(toQtIcon(icon), title, text, toQtButtons(buttons));
    return fromQt(box.exec());
}

QString QtDialogs::GetOpenFileName(QWidget* owner, const QString& title, const QString& startPath,
                                   const QString& filter) {
    return QFileDialog::getOpenFileName(owner, title, startPath, filter);
}

QString QtDialogs::GetSaveFileName(QWidget* owner, const QString& title, const QString& startPath,
                                   const QString& filter) {
    return QFileDialog::getSaveFileName(owner, title, startPath, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::BrowseForFolder(QWidget* owner, const QString& title) {
    // Starts at the top of the user's own files, as the chooser starts at
    // the desktop on other systems.
    return QFileDialog::getExistingDirectory(owner, title, QDir::homePath());
}

} // namespace tavorin
