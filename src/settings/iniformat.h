#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The INI dialect that QSettings uses for its native format on Linux, read the way QSettings 6
// reads it, with three exceptions that hand-edited files need: a byte order mark may start any
// line, invalid UTF-8 gives one U+FFFD per invalid sequence, and a leading U+FEFF in a value is
// kept. The store does its own reading because QSettings turns unquoted commas into lists and
// decodes "@..." values into non-text types, and its own writing because QSettings rewrites the
// whole file, dropping comments, and does not notice a short write.
namespace kestrelon::ini {

// A "key=value" line; offsets are into the parsed data.
struct Entry {
    QString key;          // full key: section prefix plus the unescaped key, e.g. "Properties/Vin0"
    qsizetype valueStart; // the raw value, just after the '='
    qsizetype valueEnd;   // the raw value's end: a comment or the line break
    qsizetype trimmedEnd; // valueEnd less the blanks before it, which a new value leaves in place
};

struct Section {
    QString prefix;       // "" for the top level ([General]), otherwise "Name/"
    bool isGroup = false; // the group asked for, its name in any case
    qsizetype end = 0;    // just past the line break of the section's last header or entry line
    std::vector<Entry> entries; // listed for the group's sections and the top level only
};

// Sections in file order; the first one holds the entries that precede any header. Comments and
// lines that are neither header nor entry are skipped, as QSettings skips them. Entries of other
// sections are not listed, which keeps a large file quick to read.
struct Document {
    std::vector<Section> sections;
    QByteArray lineBreak = "\n"; // the file's first line break
    // What text appended to the file must follow, so that it starts a line of its own: a line
    // break, or a closing quote or a second line break for a last line left open.
    QByteArray closing;
};

Document parse(QByteArrayView data, QStringView group);

// The text of a raw value. Quotes and escapes are resolved as QSettings resolves them, but an
// unquoted comma is an ordinary character, so "1, 2" is the text "1, 2" and not a list.
// nullopt when QSettings would read the value as something other than text (@ByteArray,
// @Variant, @DateTime, @Rect, @Size, @Point, @Invalid()).
std::optional<QString> valueText(QByteArrayView rawValue);

// The raw value written for a text: valid UTF-8 on one line, read back as the very same text. It
// is what QSettings writes, except that a lone surrogate is escaped.
QByteArray escapedValue(QStringView text);

// Letter case folded for key matching: ASCII letters only, so no other character can make two
// different keys equal.
QString foldedKey(QStringView key);

} // namespace kestrelon::ini
