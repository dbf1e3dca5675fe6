// The options dialog's skin list: the pictures in the Skins folder.
#include "dialogs/SkinList.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tavorin {

QStringList SkinFiles(const QString& skinsFolder) {
    if (skinsFolder.isEmpty())
        return {}; // QDir would read the current folder
    // "*.jpg" exactly: the Skins routine opens "<name>.jpg", and on this
    // file system "Blue.JPG" is another file than "Blue.jpg".
    const QDir folder(skinsFolder, QStringLiteral("*.jpg"), QDir::NoSort,
                      QDir::Files | QDir::CaseSensitive);
    QStringList names;
    for (const QFileInfo& file : folder.entryInfoList())
        if (!file.fileName().startsWith(QLatin1Char('.')))
            names << file.fileName();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

QStringList SkinListEntries(const QString& skinsFolder) {
    QStringList entries{kNoSkinEntry};
    const QStringList files = SkinFiles(skinsFolder);
    for (qsizetype i = 0; i < files.size() && i < kMostSkins; ++i)
        entries << files[i].chopped(4); // without ".jpg"
    return entries;
}

} // namespace tavorin
