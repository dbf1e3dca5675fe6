#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tavorin::profile {

// A profile (INI) file with the platform's rules: section and key names
// compare without regard to case, the first of duplicate sections or keys
// wins, values are trimmed and a pair of surrounding quotes is dropped,
// CRLF and LF line ends and a UTF-8 byte order mark are accepted.

// The value of key in section of the text, or nothing when absent.
std::optional<QString> ReadValue(const QByteArray& text, const QString& section,
                                 const QString& key);
// The same without dropping surrounding quotes: the value as it stands
// on its line, trimmed (for files whose values carry their own quoting).
std::optional<QString> ReadVerbatim(const QByteArray& text, const QString& section,
                                    const QString& key);
// The text with key in section set to value: the key's line replaced in
// place, or a new line after the section's last entry, or a new section
// at the end. Everything else is kept byte for byte.
QByteArray WithValue(const QByteArray& text, const QString& section, const QString& key,
                     const QString& value);

// Reads the file; nothing when it is absent, unreadable, not a plain file
// (a folder, a pipe, a device) or larger than 16 MiB.
std::optional<QString> Read(const QString& path, const QString& section, const QString& key);
std::optional<QString> ReadFileVerbatim(const QString& path, const QString& section,
                                        const QString& key);
// Writes the whole file anew beside the old one and renames it over it,
// so a failed write never leaves a half-written file. False when the
// value cannot be stored (a line break in a name or value, a key that
// holds "=" or starts with "[", a section name with "]", a folder in the
// file's place, an old file that cannot be read whole, no room, no right
// to write).
bool Write(const QString& path, const QString& section, const QString& key, const QString& value);

} // namespace tavorin::profile
