#pragma once

#include "settings/Module1.h"

#include <QString>
#include <QStringList>

namespace tavorin {

// Picture list record files: fixed 200-byte records, each a 16-bit
// little-endian length and up to 198 bytes of UTF-8 path.
inline constexpr int kRecordLength = 200;
inline constexpr int kMaxPathBytes = 198;
inline constexpr int kMaxLoadRecords = 32700;
inline const QString kEndMarker = QStringLiteral("--End File List--");

// The text of record `record` (from 1); "" for an empty record, a record
// past the end, a bad length field or an unreadable file.
QString GetListRecord(const QString& fileName, int record);
// Writes the whole record, extending the file if needed. False when the
// text does not fit a record (nothing is written) or the write failed.
bool PutListRecord(const QString& fileName, int record, const QString& text);

// Whether a path fits a record.
bool FitsRecord(const QString& path);

struct ListWriteResult {
    bool written = false; // the file now holds the list
    QStringList skipped;  // paths too long for a record, left out
};

// A saved picture list: records 1..N then the end marker. Reads stop at
// the first empty record, the marker, a bad record or maxRecords.
QStringList ReadSavedList(const QString& fileName, int maxRecords = kMaxLoadRecords);
// Replaces the file whole (written beside it and renamed over it).
ListWriteResult WriteSavedList(const QString& fileName, const QStringList& paths);

// The automatic list "Tavorin.tl" in the program's own files and its
// count "Settings"/"ListCount".
QString AutomaticListFile(const Module1& m);
// Replaces the automatic list whole and stores "ListCount" (the number
// of pictures written).
ListWriteResult SaveAutomaticList(const Module1& m, const QStringList& paths);
// Reads "ListCount" records, stopping early at the first empty one.
QStringList LoadAutomaticList(const Module1& m);

} // namespace tavorin
