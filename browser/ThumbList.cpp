// The image browser's thumbnail list and the clicks it reports.
#include "browser/ThumbList.h"

#include "browser/BrowseRules.h"

#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace tavorin::browse {

namespace {

// Item texts hold "name \r\n W * H"; the carriage return is not drawn.
class CaptionDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override {
        QString text = QStyledItemDelegate::displayText(value, locale);
        text.remove(QLatin1Char('\r'));
        return text;
    }
};

} // namespace

ThumbList::ThumbList(QWidget* parent) : QListWidget(parent) {
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(kCellPixels);
    setGridSize(QSize(kCellPixels.width() + 20, kCellPixels.height() + 40));
    setUniformItemSizes(true);
    setWordWrap(true);
    setDragEnabled(false);
    setItemDelegate(new CaptionDelegate(this));
}

void ThumbList::pressed(QMouseEvent* event, bool doubleClick) {
    lastPressGlobal = event->globalPosition().toPoint();
    if (onMouseDown)
        onMouseDown(event->button(), event->modifiers());
    if (doubleClick)
        QListWidget::mouseDoubleClickEvent(event);
    else
        QListWidget::mousePressEvent(event);
    QListWidgetItem* hit = itemAt(event->position().toPoint());
    if (hit && onItemClick)
        onItemClick(hit);
}

void ThumbList::mousePressEvent(QMouseEvent* event) {
    pressed(event, false);
}

void ThumbList::mouseDoubleClickEvent(QMouseEvent* event) {
    doubleClickPending_ = true;
    pressed(event, true);
}

void ThumbList::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (onMouseUp)
        onMouseUp(event->button(), event->modifiers());
    if (doubleClickPending_) {
        doubleClickPending_ = false;
        if (onDblClick)
            onDblClick();
    }
}

} // namespace tavorin::browse
