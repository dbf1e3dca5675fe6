#pragma once

#include "search/SearchCriteria.h"

#include <string>
#include <vector>

namespace tavorin::search {

// One folder, listed once: the names of its files that match the pattern and
// the names of its subfolders, each sorted by name without regard to letter
// case (ties in raw byte order). Names starting with "." are hidden and left
// out. A link to a folder is never listed as a subfolder (no loops); a link
// to a file is listed as a file. Only regular files are listed: a pipe or a
// device named "x.jpg" would block whoever opens it.
struct FolderListing {
    bool listed = false; // false: the folder could not be read (nothing listed)
    std::vector<std::string> files;
    std::vector<std::string> subfolders;
};

FolderListing ListFolder(const std::string& folder, const NamePattern& pattern,
                         bool withSubfolders = true);

// The order of the listings: case-insensitive, then raw bytes.
void SortNames(std::vector<std::string>& names);

} // namespace tavorin::search
