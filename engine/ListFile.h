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

// Writers leave out empty paths (an empty record would end the list) and
// paths too long for a record (named in `skipped`); the records of the
// others follow each other in list order.

// A saved picture list: records 1..N then the end marker. Reads stop at
// the first empty record, the marker, a bad record or maxRecords.
QStringList ReadSavedList(const QString& fileName, int maxRecords = kMaxLoadRecords);
// Replaces the file whole (written beside it and renamed over it).
ListWriteResult WriteSavedList(const QString& fileName, const QStringList& paths);

// The automatic list "Tavorin.tl" in the program's own files and its
// count "Settings"/"ListCount".
QString AutomaticListFile(const Module1& m);
// Replaces the automatic list whole and stores "ListCount" (the number
// of pictures written); with nothing to store the file is deleted and
// "ListCount" = "0". When the file cannot be written, the old list and
// its "ListCount" stay as they were and `written` is false.
ListWriteResult SaveAutomaticList(const Module1& m, const QStringList& paths);
// Reads "ListCount" records (rounded to a whole number; 0 when absent,
// not a number or below 1), stopping early at the first empty or bad one
// and at the end of the file.
QStringList LoadAutomaticList(const Module1& m);

} // namespace tavorin
