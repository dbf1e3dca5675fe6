// The "Open with" dialog: the programs the desktop knows for a file.
#include "platform/OpenWithDialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavorin {

OpenWithDialog::OpenWithDialog(const QString& path, const QList<Program>& programs, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Open With"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Choose the program you want to use to open "
                                            "this file:\n") +
                                 QFileInfo(path).fileName(),
                             this);
    label->setWordWrap(true);
    layout->addWidget(label);
    list_ = new QListWidget(this);
    for (const Program& program : programs) {
        auto* item = new QListWidgetItem(program.name, list_);
        item->setData(Qt::UserRole, program.id);
    }
    if (list_->count())
        list_->setCurrentRow(0);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(list_->count() > 0);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

QString OpenWithDialog::ChosenId() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

} // namespace tavorin
