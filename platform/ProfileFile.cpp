// Profile (INI) files read and written with the platform's rules.
#include "platform/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tavorin::profile {

namespace {

struct Line {
    qsizetype begin; // first byte of the line
    qsizetype end;   // one past the last byte, before CR LF / LF
    qsizetype next;  // first byte of the next line
};

std::vector<Line> splitLines(const QByteArray& text, qsizetype start) {
    std::vector<Line> lines;
    qsizetype pos = start;
    while (pos < text.size()) {
        qsizetype nl = text.indexOf('\n', pos);
        const qsizetype next = nl < 0 ? text.size() : nl + 1;
        qsizetype end = nl < 0 ? text.size() : nl;
        if (end > pos && text.at(end - 1) == '\r')
            --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

qsizetype bomLength(const QByteArray& text) {
    return text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

QByteArray lineText(const QByteArray& text, const Line& line) {
    return text.mid(line.begin, line.end - line.begin).trimmed();
}

// The section name of a header line "[name]", or nothing.
std::optional<QString> sectionOf(const QByteArray& trimmed) {
    if (!trimmed.startsWith('['))
        return std::nullopt;
    qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        close = trimmed.size();
    return QString::fromUtf8(trimmed.mid(1, close - 1).trimmed());
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QString> keyOf(const QByteArray& trimmed) {
    const qsizetype eq = trimmed.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return QString::fromUtf8(trimmed.left(eq).trimmed());
}

QByteArray verbatimValueOf(const QByteArray& trimmed) {
    return trimmed.mid(trimmed.indexOf('=') + 1).trimmed();
}

QString valueOf(const QByteArray& trimmed) {
    QByteArray value = verbatimValueOf(trimmed);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return QString::fromUtf8(value);
}

// Where the named section's lines are: index of its header and one past
// its last line. Nothing when the section is absent.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> findSection(const QByteArray& text, const std::vector<Line>& lines,
                                       const QString& section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionOf(lineText(text, lines[i]));
        if (!name || !sameName(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionOf(lineText(text, lines[end])))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const QByteArray& text, const std::vector<Line>& lines,
                                   const SectionSpan& span, const QString& key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto name = keyOf(lineText(text, lines[i]));
        if (name && sameName(*name, key))
            return i;
    }
    return std::nullopt;
}

QByteArray lineEnding(const QByteArray& text) {
    const qsizetype nl = text.indexOf('\n');
    return (nl > 0 && text.at(nl - 1) == '\r') ? QByteArrayLiteral("\r\n")
                                               : QByteArrayLiteral("\n");
}

bool hasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

// The trimmed line of key in section, or nothing.
std::optional<QByteArray> entryLine(const QByteArray& text, const QString& section,
                                    const QString& key) {
    const auto lines = splitLines(text, bomLength(text));
    const auto span = findSection(text, lines, section);
    if (!span)
        return std::nullopt;
    const auto index = findKey(text, lines, *span, key);
    if (!index)
        return std::nullopt;
    return lineText(text, lines[*index]);
}

// A name that a written line could not give back: a line break would
// split the entry, "=" would end a key early, "]" would end a section
// name early, and a key starting with "[" would read as a section.
bool storableNames(const QString& section, const QString& key) {
    return !hasLineBreak(section) && !hasLineBreak(key) && !section.contains(QLatin1Char(']')) &&
           !key.contains(QLatin1Char('=')) && !key.trimmed().isEmpty() &&
           !key.trimmed().startsWith(QLatin1Char('['));
}

// Larger than any settings file: something else stands in its place.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

// The file's bytes; nothing when it is absent, unreadable, or not a plain
// file of settings size (a folder, a pipe, a device: reading those could
// block or never end).
std::optional<QByteArray> readFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kLargestFile)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Read to the end; a file that grew past the limit since it was looked
    // at is refused all the same.
    QByteArray text = file.readAll();
    if (file.error() != QFile::NoError || text.size() > kLargestFile)
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> ReadValue(const QByteArray& text, const QString& section,
                                 const QString& key) {
    const auto line = entryLine(text, section, key);
    if (!line)
        return std::nullopt;
    return valueOf(*line);
}

std::optional<QString> ReadVerbatim(const QByteArray& text, const QString& section,
                                    const QString& key) {
    const auto line = entryLine(text, section, key);
    if (!line)
        return std::nullopt;
    return QString::fromUtf8(verbatimValueOf(*line));
}

QByteArray WithValue(const QByteArray& text, const QString& section, const QString& key,
                     const QString& value) {
    const auto lines = splitLines(text, bomLength(text));
    const QByteArray eol = lineEnding(text);
    const auto span = findSection(text, lines, section);
    const QByteArray entry = key.toUtf8() + '=' + value.toUtf8();
    QByteArray out;
    if (!span) {
        out = text;
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += eol;
        return out + '[' + section.toUtf8() + ']' + eol + entry + eol;
    }
    if (const auto index = findKey(text, lines, *span, key)) {
        const Line& line = lines[*index];
        const QByteArray trimmed = lineText(text, line);
        const QByteArray storedKey = trimmed.left(trimmed.indexOf('=')).trimmed();
        return text.left(line.begin) + storedKey + '=' + value.toUtf8() + text.mid(line.end);
    }
    // After the section's last non-blank line.
    std::size_t last = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (!lineText(text, lines[i]).isEmpty())
            last = i;
    const Line& after = lines[last];
    out = text.left(after.next);
    if (after.next == after.end) // the last line had no line end
        out += eol;
    return out + entry + eol + text.mid(after.next);
}

std::optional<QString> Read(const QString& path, const QString& section, const QString& key) {
    const auto text = readFile(path);
    if (!text)
        return std::nullopt;
    return ReadValue(*text, section, key);
}

std::optional<QString> ReadFileVerbatim(const QString& path, const QString& section,
                                        const QString& key) {
    const auto text = readFile(path);
    if (!text)
        return std::nullopt;
    return ReadVerbatim(*text, section, key);
}

namespace {

// The file a write lands in: a link is followed, so the link stays.
QString writeTarget(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// A new file beside `target`, open for writing; -1 when none can be made.
int createBeside(const QString& target, QByteArray& tempName) {
    const QFileInfo info(target);
    const QString stem = info.absolutePath() + QStringLiteral("/.") + info.fileName();
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempName = QFile::encodeName(
            stem + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                 QLatin1Char('0')));
        const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool WriteWhole(const QString& path, const QByteArray& bytes) {
    const QString target = writeTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return false;
    QByteArray tempName;
    const int fd = createBeside(target, tempName);
    if (fd < 0)
        return false;
    // The old file's permissions stay; a new file gets the usual ones.
    bool ok = (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    // Renaming over the old file replaces it in one step: a reader sees the
    // old text or the new, never a part. No sync per write: the file
    // systems in use order a rename-over-existing after its data.
    if (ok && ::rename(tempName.constData(), targetName.constData()) == 0)
        return true;
    ::unlink(tempName.constData());
    return false;
}

bool Write(const QString& path, const QString& section, const QString& key, const QString& value) {
    if (!storableNames(section, key) || hasLineBreak(value))
        return false;
    QByteArray old;
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
        // Only a file that could be read whole is replaced.
        const auto text = readFile(path);
        if (!text)
            return false;
        old = *text;
    }
    const QByteArray text = WithValue(old, section, key, value);
    if (QFileInfo(path).exists() && text == old)
        return true; // already stored: the file is left as it is
    return WriteWhole(path, text);
}

} // namespace tavorin::profile
