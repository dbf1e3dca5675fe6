#pragma once

#include <QListWidget>

#include <functional>

namespace tavorin::browse {

// The thumbnail list. It reports one click as mouse-down, item click (only
// when an item is hit), mouse-up; a double-click adds a double-click after
// its second mouse-up.
class ThumbList : public QListWidget {
    Q_OBJECT
  public:
    static constexpr int kKeyRole = Qt::UserRole; // the item's full path

    explicit ThumbList(QWidget* parent = nullptr);

    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers)> onMouseDown;
    std::function<void(QListWidgetItem*)> onItemClick;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers)> onMouseUp;
    std::function<void()> onDblClick;
    // Where the last mouse button went down, in screen coordinates.
    QPoint lastPressGlobal;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void pressed(QMouseEvent* event, bool doubleClick);

    bool doubleClickPending_ = false;
};

} // namespace tavorin::browse
