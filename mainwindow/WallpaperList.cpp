// The main window's picture list: entries with their paths, the list
// menu, removing and moving entries, and drag and drop inside the list.
#include "mainwindow/WallpaperList.h"

#include "engine/FilePaths.h"
#include "mainwindow/ButtonIcons.h"
#include "settings/Module1.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace tavorin {

namespace {

// What a drag inside the list carries: the name of the dragged control.
const QString kDragFormat = QStringLiteral("application/x-tavorin-control");
const QString kBoxName = QStringLiteral("lstWallpaper");

QListWidgetItem* entryFor(const QString& path) {
    auto* item = new QListWidgetItem(GetFileName(path));
    item->setData(Qt::UserRole, path);
    return item;
}

} // namespace

WallpaperList::WallpaperList(QWidget* window, const QRect& where, Module1& module,
                             WallpaperListHost& host)
    : m_(module), host_(host), box_(new QListWidget(window)) {
    box_->setObjectName(kBoxName);
    box_->setGeometry(where);
    box_->setSelectionMode(QAbstractItemView::SingleSelection);
    box_->setUniformItemSizes(true); // one line per row: no row is measured
    // A palette, not a style sheet: style sheets cost the program a second
    // style object for its whole run.
    QPalette yellow = box_->palette();
    yellow.setColor(QPalette::Base, QColor(255, 255, 192));
    box_->setPalette(yellow);
    box_->viewport()->setAcceptDrops(true);
    box_->viewport()->installEventFilter(this);
    connect(box_, &QListWidget::currentRowChanged, this, [this] { host_.ListSelectionChanged(); });
    createMenu(window);
}

void WallpaperList::createMenu(QWidget* window) {
    mlist_ = new QMenu(QStringLiteral("List Menu"), window);
    mlist_->setObjectName(QStringLiteral("mlist"));
    auto entry = [this](const char* name, const QString& caption) {
        QAction* action = caption.isEmpty() ? mlist_->addSeparator() : mlist_->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    entries_.mApply = entry("mApply", QStringLiteral("Set As Wallpaper"));
    entries_.mnuListSeperator = entry("mnuListSeperator", QString());
    entries_.mSearch = entry("mSearch", QStringLiteral("&Search"));
    entries_.mAdd = entry("mAdd", QStringLiteral("&Add"));
    entries_.mDelete = entry("mDelete", QStringLiteral("&Delete"));
    entries_.mUp = entry("mUp", QStringLiteral("Move &Up"));
    entries_.mDown = entry("mDown", QStringLiteral("Move D&own"));
    entries_.mnuListSeperator2 = entry("mnuListSeperator2", QString());
    entries_.mClear = entry("mClear", QStringLiteral("&Clear"));
}

// ------------------------------------------------------------ reading

int WallpaperList::Count() const {
    return box_->count();
}

int WallpaperList::Index() const {
    const int row = box_->currentRow();
    if (row < 0 || !box_->item(row)->isSelected())
        return -1;
    return row;
}

QString WallpaperList::PathAt(int row) const {
    const QListWidgetItem* item = box_->item(row);
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QString WallpaperList::NameAt(int row) const {
    const QListWidgetItem* item = box_->item(row);
    return item ? item->text() : QString();
}

QStringList WallpaperList::Paths() const {
    QStringList paths;
    paths.reserve(box_->count());
    for (int i = 0; i < box_->count(); ++i)
        paths << PathAt(i);
    return paths;
}

QStringList WallpaperList::Names() const {
    QStringList names;
    names.reserve(box_->count());
    for (int i = 0; i < box_->count(); ++i)
        names << box_->item(i)->text();
    return names;
}

int WallpaperList::RowAt(int Y) const {
    const QModelIndex index = box_->indexAt(QPoint(1, Y));
    return index.isValid() ? index.row() : box_->count();
}

// ------------------------------------------------------------ editing

void WallpaperList::Append(const QString& path) {
    box_->addItem(entryFor(path));
}

// A whole list goes in with one insertion, which is far quicker than one
// insertion a picture; the paths follow without telling the view, which
// shows only the names.
void WallpaperList::AppendAll(const QStringList& paths) {
    QStringList names;
    names.reserve(paths.size());
    for (const QString& path : paths)
        names << GetFileName(path);
    const int first = box_->count();
    box_->addItems(names);
    const QSignalBlocker quiet(box_->model());
    for (int i = 0; i < paths.size(); ++i)
        box_->item(first + i)->setData(Qt::UserRole, paths[i]);
}

void WallpaperList::Select(int row) {
    if (row == Index())
        return;
    {
        const QSignalBlocker block(box_);
        if (row < 0) {
            box_->setCurrentRow(-1);
            box_->clearSelection();
        } else {
            box_->setCurrentRow(row);
        }
    }
    host_.ListSelectionChanged();
}

void WallpaperList::DeleteSelected() {
    const int index = Index();
    if (index < 0) {
        m_.dialogs().MsgBox(QStringLiteral("You did not select an item from listbox to delete."),
                            MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    const QString question = QStringLiteral("Are you sure you want to remove ") +
                             box_->item(index)->text() + QStringLiteral(" from the list?");
    if (m_.dialogs().MsgBox(question, MsgButtons::YesNo, MsgIcon::Question,
                            QStringLiteral("Confirm")) != MsgResult::Yes)
        return;
    removeEntry(index);
    host_.ListEntriesRemoved();
}

void WallpaperList::removeEntry(int row) {
    const QSignalBlocker block(box_);
    delete box_->takeItem(row);
    box_->setCurrentRow(-1);
    box_->clearSelection();
}

// Moves entry `from` to index `to`, leaving nothing selected until the
// caller selects the moved entry.
void WallpaperList::moveEntry(int from, int to) {
    const QSignalBlocker block(box_);
    box_->insertItem(to, box_->takeItem(from));
    box_->setCurrentRow(-1);
    box_->clearSelection();
}

void WallpaperList::MoveSelected(int offset) {
    const int index = Index();
    const int target = index + offset;
    if (index < 0 || target < 0 || target >= box_->count())
        return;
    moveEntry(index, target);
    Select(target);
}

void WallpaperList::Clear() {
    {
        const QSignalBlocker block(box_);
        box_->clear();
    }
    host_.ListEntriesRemoved();
}

void WallpaperList::EnableEntries(const ListButtonStates& states) {
    entries_.mUp->setEnabled(states.up);
    entries_.mDown->setEnabled(states.down);
    entries_.mDelete->setEnabled(states.remove);
}

// ------------------------------------------------------ mouse and menu

void WallpaperList::MouseDown(Qt::MouseButton Button, int X, int Y) {
    const int row = RowAt(Y);
    const int count = box_->count();
    if (row > count - 1 && Index() >= 0)
        Select(-1);
    if (row < count)
        Select(row);
    if (Button != Qt::RightButton)
        return;
    const ListMenuVisibility visible = ListMenu(Index(), count);
    for (QAction* entry : {entries_.mApply, entries_.mnuListSeperator, entries_.mDelete,
                           entries_.mUp, entries_.mDown})
        entry->setVisible(visible.selectionEntries);
    for (QAction* entry : {entries_.mnuListSeperator2, entries_.mClear})
        entry->setVisible(visible.clearEntries);
    entries_.mSearch->setVisible(true);
    entries_.mAdd->setVisible(true);
    mlist_->popup(box_->viewport()->mapToGlobal(QPoint(X, Y)));
}

void WallpaperList::MouseMove(Qt::MouseButtons Button, int X, int Y) {
    if (!(Button & Qt::LeftButton))
        return;
    if ((QPoint(X, Y) - dragStart_).manhattanLength() < QApplication::startDragDistance())
        return;
    beginDrag();
}

void WallpaperList::beginDrag() {
    if (Index() < 0)
        return;
    auto* drag = new QDrag(box_);
    auto* data = new QMimeData;
    data->setData(kDragFormat, box_->objectName().toUtf8());
    drag->setMimeData(data);
    drag->setPixmap(ButtonIcon(ButtonPicture::Add).pixmap(18, 18));
    drag->exec(Qt::MoveAction);
}

// A drop inside the list moves the selected entry onto the row it was
// dropped on; below the last row, to the end.
void WallpaperList::DragDrop(QObject* Source, int Y) {
    const int count = box_->count();
    if (!Source || Source->objectName() != kBoxName || count == 0)
        return;
    const int selected = Index();
    const auto target = DropTarget(RowAt(Y), selected, count);
    if (!target)
        return;
    if (selected >= 0) {
        moveEntry(selected, *target);
        Select(*target);
    }
    host_.ListOrderChanged();
}

bool WallpaperList::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_->viewport())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* press = static_cast<QMouseEvent*>(event);
        dragStart_ = press->position().toPoint();
        box_->setFocus();
        MouseDown(press->button(), dragStart_.x(), dragStart_.y());
        return true;
    }
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        const QPoint at = move->position().toPoint();
        MouseMove(move->buttons(), at.x(), at.y());
        return true;
    }
    case QEvent::MouseButtonDblClick:
        host_.ListDoubleClicked();
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
        if (drop->mimeData()->hasFormat(kDragFormat)) {
            drop->acceptProposedAction();
            DragDrop(drop->source(), drop->position().toPoint().y());
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace tavorin
