#pragma once

#include <QListWidget>

namespace tavorin::browse {

// The folder list: the folders from the root down to the current one, then
// the current folder's subfolders. A double-click (or Enter) on an entry
// makes it the current folder. Change is raised only when the path really
// changes.
class DirListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit DirListBox(QWidget* parent = nullptr);

    // The current folder, absolute and without a trailing "/" ("/" for the root).
    QString Path() const { return path_; }
    // Makes a folder current. False, and nothing changes, when the path is
    // not an absolute path of an existing folder.
    bool setPath(const QString& path);
    // Lists the current folder again (its subfolders may have changed).
    void Refresh();

  Q_SIGNALS:
    void Change();

  private:
    void openFolder(const QString& folder);

    QString path_;
};

} // namespace tavorin::browse
