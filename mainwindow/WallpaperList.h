#pragma once

#include "mainwindow/Schedule.h"

#include <QObject>
#include <QPoint>
#include <QStringList>

class QAction;
class QListWidget;
class QMenu;
class QWidget;

namespace tavorin {

class Module1;

// What the picture list tells the window it sits in. frmMain implements it.
class WallpaperListHost {
  public:
    virtual ~WallpaperListHost() = default;
    // Another entry, or none, is selected (lstWallpaper_Click).
    virtual void ListSelectionChanged() = 0;
    // A double click on an entry (lstWallpaper_DblClick).
    virtual void ListDoubleClicked() = 0;
    // Entries were removed and nothing is selected any more.
    virtual void ListEntriesRemoved() = 0;
    // An entry moved without the selection changing.
    virtual void ListOrderChanged() = 0;
};

// The entries of the list menu, named as in the window design.
struct ListMenuEntries {
    QAction* mApply = nullptr;
    QAction* mnuListSeperator = nullptr;
    QAction* mSearch = nullptr;
    QAction* mAdd = nullptr;
    QAction* mDelete = nullptr;
    QAction* mUp = nullptr;
    QAction* mDown = nullptr;
    QAction* mnuListSeperator2 = nullptr;
    QAction* mClear = nullptr;
};

// The main window's picture list: the list box lstWallpaper, which shows
// each picture's file name and keeps its path with the entry, its menu
// mlist, and the editing behind them: removing, moving by command and by
// drag and drop, clearing.
class WallpaperList final : public QObject {
    Q_OBJECT
  public:
    WallpaperList(QWidget* window, const QRect& where, Module1& module, WallpaperListHost& host);

    QListWidget* Box() const { return box_; }
    const ListMenuEntries& Menu() const { return entries_; }

    int Count() const;
    // The selected entry, -1 for none.
    int Index() const;
    QString PathAt(int row) const;
    QString NameAt(int row) const;
    QStringList Paths() const;
    QStringList Names() const;
    // The row under a point of the viewport; Count() below the last row.
    int RowAt(int Y) const;

    // A picture's path as given; the entry shows its file name.
    void Append(const QString& path);
    void AppendAll(const QStringList& paths);
    // Selects a row (-1: none) and tells the host when the selection changed.
    void Select(int row);
    // Asks, then removes the selected entry.
    void DeleteSelected();
    // Moves the selected entry one row up (-1) or down (+1).
    void MoveSelected(int offset);
    void Clear();
    // Which edit commands of the menu are enabled.
    void EnableEntries(const ListButtonStates& states);

    // The list's mouse events, in the viewport's coordinates.
    void MouseDown(Qt::MouseButton Button, int X, int Y);
    void MouseMove(Qt::MouseButtons Button, int X, int Y);
    void DragDrop(QObject* Source, int Y);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createMenu(QWidget* window);
    void removeEntry(int row);
    void moveEntry(int from, int to);
    void beginDrag();

    Module1& m_;
    WallpaperListHost& host_;
    QListWidget* box_ = nullptr;
    QMenu* mlist_ = nullptr;
    ListMenuEntries entries_;
    QPoint dragStart_;
};

} // namespace tavorin
