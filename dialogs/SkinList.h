#pragma once

#include <QString>
#include <QStringList>

namespace tavorin {

inline const QString kNoSkinEntry = QStringLiteral("[none]");
inline const QString kDefaultSkinName = QStringLiteral("Metalic");
// The skin list offers at most this many pictures.
inline constexpr int kMostSkins = 1001;

// The skin pictures of a folder as the skins' file list shows them: the
// names of the files matching "*.jpg", hidden files left out, sorted by
// name ignoring case. A folder that does not exist or cannot be read
// gives an empty list.
QStringList SkinFiles(const QString& skinsFolder);

// The entries of the options dialog's skin list: "[none]", then the base
// name of every skin picture in the file list's order, at most kMostSkins.
QStringList SkinListEntries(const QString& skinsFolder);

} // namespace tavorin
