// The search walk through a folder tree, one folder per step.
#include "search/SearchWalk.h"

#include "search/FolderListing.h"

#include <QImageReader>

namespace tavorin::search {

std::optional<QSize> MeasurePicture(const QString& path) {
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    return size;
}

SearchWalk::SearchWalk(WalkCriteria criteria, WalkHooks hooks)
    : criteria_(std::move(criteria)), pattern_(criteria_.pattern), hooks_(std::move(hooks)) {}

void SearchWalk::letEventsRun() const {
    if (hooks_.letEventsRun)
        hooks_.letEventsRun();
}

void SearchWalk::folderChanged(const QString& folder) const {
    if (hooks_.folderChanged)
        hooks_.folderChanged(folder);
}

bool SearchWalk::sizeTest(const QString& path, QSize& measured) {
    ++counts_.filesExamined;
    if (criteria_.comparison == Comparison::Any)
        return true;
    const std::optional<QSize> size = MeasurePicture(path);
    if (!size) {
        ++counts_.picturesUnreadable;
        return false;
    }
    measured = *size;
    return PassesSizeTest(criteria_.comparison, size->width(), size->height(), criteria_.width,
                          criteria_.height);
}

void SearchWalk::examine(const std::string& folder, const std::string& name) {
    const QString path = QString::fromStdString(JoinPath(folder, name));
    QSize measured;
    if (sizeTest(path, measured)) {
        ++counts_.hits;
        if (hooks_.recordHit)
            hooks_.recordHit(path, measured);
    }
}

void SearchWalk::Search_Folder(const QString& folder) {
    walk(folder.toStdString(), folder);
}

void SearchWalk::walk(const std::string& folder, const QString& folderText) {
    if (stopped())
        return;
    folderChanged(folderText);
    const FolderListing listing = ListFolder(folder, pattern_, true);
    if (!listing.listed) {
        ++counts_.foldersSkipped;
        return;
    }
    ++counts_.foldersListed;
    for (const std::string& name : listing.files) {
        letEventsRun();
        examine(folder, name);
        if (stopped())
            return;
    }
    for (const std::string& name : listing.subfolders) {
        // After a stop nothing further is walked and no more events run: every
        // level returns at once.
        if (stopped())
            return;
        letEventsRun();
        if (stopped())
            return;
        const std::string sub = JoinPath(folder, name);
        if (hooks_.otherFileSystem && hooks_.otherFileSystem(sub))
            continue;
        walk(sub, QString::fromStdString(sub));
        folderChanged(folderText);
    }
}

void SearchWalk::SearchSingleFolder(const QString& folder) {
    folderChanged(folder);
    const std::string path = folder.toStdString();
    const FolderListing listing = ListFolder(path, pattern_, false);
    if (!listing.listed) {
        ++counts_.foldersSkipped;
        return;
    }
    ++counts_.foldersListed;
    for (const std::string& name : listing.files) {
        examine(path, name);
        if (stopped())
            return;
    }
}

} // namespace tavorin::search
