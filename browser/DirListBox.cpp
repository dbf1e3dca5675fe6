// The image browser's folder list: the path from the root down, then the sub-folders.
#include "browser/DirListBox.h"

#include "browser/BrowseRules.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QTimer>

namespace tavorin::browse {

namespace {
constexpr int kPathRole = Qt::UserRole;
} // namespace

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    // Opened after the activating event has finished: the list is rebuilt.
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString folder = item->data(kPathRole).toString();
        QTimer::singleShot(0, this, [this, folder] { openFolder(folder); });
    });
}

bool DirListBox::setPath(const QString& path) {
    if (!path.startsWith(QLatin1Char('/')) || !QFileInfo(path).isDir())
        return false;
    const QString clean = QDir::cleanPath(path);
    if (clean == path_)
        return true;
    path_ = clean;
    Refresh();
    Q_EMIT Change();
    return true;
}

void DirListBox::Refresh() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QStringList chain{QStringLiteral("/")};
    for (const QString& part : path_.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        chain.append(Fix_Path(chain.last()) + part);
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name = folder == QLatin1String("/") ? folder : Get_FileName(folder);
        auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(kPathRole, folder);
        ++depth;
    }
    setCurrentRow(int(chain.size()) - 1);
    for (const QString& folder : List_Folders(path_)) {
        auto* item = new QListWidgetItem(
            closed, QString(depth * 2, QLatin1Char(' ')) + Get_FileName(folder), this);
        item->setData(kPathRole, folder);
    }
}

void DirListBox::openFolder(const QString& folder) {
    if (!setPath(folder))
        Refresh(); // the folder has gone: show what is there now
}

} // namespace tavorin::browse
