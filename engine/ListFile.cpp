// Picture list files: reading and writing the fixed 200-byte records.
#include "engine/ListFile.h"

#include "settings/SettingsKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tavorin {

namespace {

constexpr qint64 recordOffset(qint64 record) {
    return (record - 1) * kRecordLength;
}

// Only plain files are list files: a folder, a pipe or a device in the
// file's place is never opened (a pipe would block the reader).
bool isPlainFileOrAbsent(const QString& fileName) {
    const QFileInfo info(fileName);
    return !info.exists() || info.isFile();
}

// The text of one record from the bytes the file holds at its place (up
// to 200, fewer at the end of the file). "" for an empty record and for a
// bad one: a length field above 198, a text cut short by the end of the
// file, a NUL byte or bytes that are not UTF-8.
QString decodeRecord(const QByteArray& bytes) {
    if (bytes.size() < 2)
        return {};
    const int length =
        static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8);
    if (length == 0 || length > kMaxPathBytes || bytes.size() < 2 + length)
        return {};
    const QByteArray text = bytes.mid(2, length);
    if (text.contains('\0'))
        return {};
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = toUtf16(text);
    if (toUtf16.hasError())
        return {};
    return decoded;
}

// The whole 200-byte record of a text that fits: length, text, zeros.
QByteArray encodeRecord(const QByteArray& text) {
    QByteArray record(kRecordLength, '\0');
    record[0] = static_cast<char>(text.size() & 0xFF);
    record[1] = static_cast<char>((text.size() >> 8) & 0xFF);
    std::copy(text.begin(), text.end(), record.begin() + 2);
    return record;
}

std::optional<QByteArray> recordText(const QString& path) {
    QByteArray text = path.toUtf8();
    if (text.size() > kMaxPathBytes)
        return std::nullopt;
    return text;
}

// Reads records from 1 on, keeping the file open once. Each record reads
// exactly as GetListRecord reads it.
class RecordReader {
  public:
    explicit RecordReader(const QString& fileName) : file_(fileName) {
        if (QFileInfo(fileName).isFile())
            open_ = file_.open(QIODevice::ReadOnly);
    }
    // Records the file holds, a partial last one included.
    qint64 recordsInFile() const {
        return open_ ? (file_.size() + kRecordLength - 1) / kRecordLength : 0;
    }
    QString next() { return open_ ? decodeRecord(file_.read(kRecordLength)) : QString(); }

  private:
    QFile file_;
    bool open_ = false;
};

// Texts of records 1, 2, ... until the first empty or bad record, the end
// marker (when asked) or maxRecords.
QStringList readList(const QString& fileName, qint64 maxRecords, bool stopAtMarker) {
    RecordReader reader(fileName);
    const qint64 count = std::min(maxRecords, reader.recordsInFile());
    QStringList paths;
    for (qint64 i = 0; i < count; ++i) {
        QString text = reader.next();
        if (text.isEmpty() || (stopAtMarker && text == kEndMarker))
            break;
        paths << std::move(text);
    }
    return paths;
}

// The records a list of paths becomes: the texts of the paths that fit,
// in order, and the paths too long for a record. Empty paths are left
// out: an empty record would end the list there.
struct ListRecords {
    QList<QByteArray> texts;
    QStringList skipped;
};

ListRecords toRecords(const QStringList& paths) {
    ListRecords records;
    for (const QString& path : paths) {
        if (path.isEmpty())
            continue;
        if (auto text = recordText(path))
            records.texts << std::move(*text);
        else
            records.skipped << path;
    }
    return records;
}

// Writes the records (and the marker when asked) to a new file beside the
// old one and renames it over it, so the old list stays whole until the
// new one is complete.
bool writeRecords(const QString& fileName, const QList<QByteArray>& texts, bool withMarker) {
    if (!isPlainFileOrAbsent(fileName))
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool ok = true;
    for (const QByteArray& text : texts)
        ok = ok && file.write(encodeRecord(text)) == kRecordLength;
    if (withMarker)
        ok = ok && file.write(encodeRecord(kEndMarker.toUtf8())) == kRecordLength;
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// "ListCount" as a count of records: a whole number, halves to even, 0
// when absent, not a number or not positive.
qint64 listCountValue(const QString& text) {
    const auto value = NumericValue(text);
    if (!value || !std::isfinite(*value) || *value <= 0)
        return 0;
    const double rounded = std::nearbyint(*value);
    if (rounded >= static_cast<double>(std::numeric_limits<qint64>::max()))
        return std::numeric_limits<qint64>::max();
    return static_cast<qint64>(rounded);
}

} // namespace

QString GetListRecord(const QString& fileName, int record) {
    if (record < 1 || !QFileInfo(fileName).isFile())
        return {};
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(recordOffset(record)))
        return {};
    return decodeRecord(file.read(kRecordLength));
}

bool PutListRecord(const QString& fileName, int record, const QString& text) {
    const auto bytes = recordText(text);
    if (record < 1 || !bytes || !isPlainFileOrAbsent(fileName))
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const qint64 offset = recordOffset(record);
    // Records skipped over read as empty: fill the gap with zeros.
    if (file.size() < offset && !file.resize(offset))
        return false;
    return file.seek(offset) && file.write(encodeRecord(*bytes)) == kRecordLength && file.flush();
}

bool FitsRecord(const QString& path) {
    return recordText(path).has_value();
}

QStringList ReadSavedList(const QString& fileName, int maxRecords) {
    return readList(fileName, maxRecords, true);
}

ListWriteResult WriteSavedList(const QString& fileName, const QStringList& paths) {
    ListRecords records = toRecords(paths);
    return {writeRecords(fileName, records.texts, true), std::move(records.skipped)};
}

QString AutomaticListFile(const Module1& m) {
    return m.folder().OwnFile(QStringLiteral("Tavorin.tl"));
}

ListWriteResult SaveAutomaticList(const Module1& m, const QStringList& paths) {
    const QString fileName = AutomaticListFile(m);
    ListRecords records = toRecords(paths);
    ListWriteResult result{false, std::move(records.skipped)};
    if (records.texts.isEmpty()) // nothing to store: no file, as after saving an empty list
        result.written = !QFileInfo::exists(fileName) || QFile::remove(fileName);
    else
        result.written = writeRecords(fileName, records.texts, false);
    // A failed write leaves the old list whole, with the count that goes with it.
    if (result.written)
        m.WriteINIFile(ini::kSettings, ini::kListCount, QString::number(records.texts.size()));
    return result;
}

QStringList LoadAutomaticList(const Module1& m) {
    const qint64 count = listCountValue(m.GetINIFile(ini::kSettings, ini::kListCount));
    return readList(AutomaticListFile(m), count, false);
}

} // namespace tavorin
