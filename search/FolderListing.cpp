// One folder listed once: the matching file names and the sub-folders.
#include "search/FolderListing.h"

#include <QString>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace tavorin::search {

namespace {

bool IsAscii(const std::string& name) {
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string SortKey(const std::string& name) {
    if (!IsAscii(name))
        return QString::fromUtf8(name.data(), qsizetype(name.size())).toCaseFolded().toStdString();
    std::string key = name;
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return key;
}

enum class Kind { File, Folder, Other };

Kind KindOf(const std::string& folder, const dirent& entry, bool nameMatches) {
    unsigned char type = entry.d_type;
    if (type == DT_UNKNOWN) {
        struct stat info {};
        if (lstat(JoinPath(folder, entry.d_name).c_str(), &info) != 0)
            return Kind::Other;
        type = S_ISREG(info.st_mode)   ? DT_REG
               : S_ISDIR(info.st_mode) ? DT_DIR
               : S_ISLNK(info.st_mode) ? DT_LNK
                                       : DT_UNKNOWN;
    }
    if (type == DT_REG)
        return Kind::File;
    if (type == DT_DIR)
        return Kind::Folder;
    if (type == DT_LNK && nameMatches) {
        // A link counts as the file it points to; a link to a folder is not followed.
        struct stat target {};
        if (stat(JoinPath(folder, entry.d_name).c_str(), &target) == 0 && S_ISREG(target.st_mode))
            return Kind::File;
    }
    return Kind::Other;
}

} // namespace

void SortNames(std::vector<std::string>& names) {
    if (names.size() < 2)
        return;
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names)
        keyed.emplace_back(SortKey(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[i].second);
}

FolderListing ListFolder(const std::string& folder, const NamePattern& pattern,
                         bool withSubfolders) {
    FolderListing listing;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return listing;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.')
            continue; // hidden, and "." and ".."
        const bool nameMatches = pattern.Matches(name);
        if (!nameMatches && !withSubfolders)
            continue;
        switch (KindOf(folder, *entry, nameMatches)) {
        case Kind::File:
            if (nameMatches)
                listing.files.emplace_back(name);
            break;
        case Kind::Folder:
            if (withSubfolders)
                listing.subfolders.emplace_back(name);
            break;
        case Kind::Other:
            break;
        }
    }
    closedir(dir);
    listing.listed = true;
    SortNames(listing.files);
    SortNames(listing.subfolders);
    return listing;
}

} // namespace tavorin::search
