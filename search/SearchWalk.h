#pragma once

#include "search/SearchCriteria.h"

#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace tavorin::search {

// What the walk asks of the window around it.
struct WalkHooks {
    // Lets pending window events run: before each file and each subfolder of
    // the walk (the "Stop" button and the progress timer answer here).
    std::function<void()> letEventsRun;
    // The stop flag, read after each file and before each subfolder.
    std::function<bool()> stopRequested;
    // The folder being searched changed (entering a folder, or back to its parent).
    std::function<void(const QString& folder)> folderChanged;
    // A hit: its full path and, under a measuring comparison, its measured size
    // (an invalid size under "Any", where nothing is measured).
    std::function<void(const QString& path, QSize measured)> recordHit;
    // Whether a subfolder is the mount point of another file system; such a
    // folder is not entered (the folder the walk starts in always is).
    std::function<bool(const std::string& folder)> otherFileSystem;
};

struct WalkCriteria {
    QString pattern = QStringLiteral("*.bmp;*.jpg;*.gif");
    Comparison comparison = Comparison::Any;
    float width = 0;
    float height = 0;
};

struct WalkCounts {
    long foldersListed = 0;
    long foldersSkipped = 0; // could not be read
    long filesExamined = 0;
    long picturesUnreadable = 0; // matched the pattern, but no size could be read
    long hits = 0;
};

// The depth-first search: a folder's matching files in sorted order, then each
// subfolder in sorted order, each completely before the next. Every folder is
// listed once; a folder that cannot be listed is skipped. The walk stays on
// the file system it starts on.
class SearchWalk {
  public:
    SearchWalk(WalkCriteria criteria, WalkHooks hooks);

    // Examines folder and, recursively, all its subfolders.
    void Search_Folder(const QString& folder);
    // Examines the folder's own files only; events run only as hits are recorded.
    void SearchSingleFolder(const QString& folder);

    const WalkCounts& counts() const { return counts_; }

  private:
    void walk(const std::string& folder, const QString& folderText);
    // True when the file is a hit; measured holds its size under a measuring comparison.
    bool sizeTest(const QString& path, QSize& measured);
    void examine(const std::string& folder, const std::string& name);
    bool stopped() const { return hooks_.stopRequested && hooks_.stopRequested(); }
    void letEventsRun() const;
    void folderChanged(const QString& folder) const;

    WalkCriteria criteria_;
    NamePattern pattern_;
    WalkHooks hooks_;
    WalkCounts counts_;
};

// The picture's width and height as its header gives them, without decoding
// it; nothing when the file is not a readable picture.
std::optional<QSize> MeasurePicture(const QString& path);

} // namespace tavorin::search
