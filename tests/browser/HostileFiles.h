#pragma once

#include "tests/support/TestPictures.h"

#include <QString>
#include <QStringList>

namespace tavorin::test {

// Files that claim to be pictures and are not, or not quite; returns the
// names written into the folder, each ending in jpg, bmp or gif.
// "Surely unreadable" ones start with "bad-".
QStringList WriteHostileFiles(const QString& folder);

} // namespace tavorin::test
